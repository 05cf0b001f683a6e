// See byte_file.h.
#include "engine/byte_file.h"

#include <limits>

ByteFile::~ByteFile() {
    if (file_) std::fclose(file_);
}

bool ByteFile::Open(const std::string& path, std::string* error) {
    if (file_) std::fclose(file_);
    path_ = path;
    written_ = 0;
    file_ = std::fopen(path.c_str(), "wb");
    failed_ = file_ == nullptr;
    if (!file_ && error) *error = "cannot create " + path;
    return file_ != nullptr;
}

bool ByteFile::Write(const void* data, size_t size) {
    if (!file_) failed_ = true;
    if (failed_ || size == 0) return !failed_;
    if (std::fwrite(data, 1, size, file_) != size) failed_ = true;
    written_ += size;
    return !failed_;
}

bool ByteFile::WriteAt(uint64_t offset, const Bytes& bytes) {
    if (!file_) failed_ = true;
    if (failed_) return false;
    if (offset > static_cast<uint64_t>(std::numeric_limits<long>::max()) ||
        std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
        failed_ = true;
        return false;
    }
    const uint64_t written = written_;
    Write(bytes);
    written_ = written;
    if (std::fseek(file_, 0, SEEK_END) != 0) failed_ = true;
    return !failed_;
}

bool ByteFile::Close(std::string* error) {
    if (!file_) {
        if (error) *error = "no file is open";
        return false;
    }
    bool ok = !failed_ && std::fflush(file_) == 0 && !std::ferror(file_);
    if (std::fclose(file_) != 0) ok = false;
    file_ = nullptr;
    if (!ok && error) *error = "cannot write to " + path_;
    return ok;
}

