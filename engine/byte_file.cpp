// See byte_file.h.
#include "engine/byte_file.h"

ByteFile::~ByteFile() {
    if (file_) std::fclose(file_);
}

bool ByteFile::Open(const std::string& path, std::string* error) {
    if (file_) std::fclose(file_);
    path_ = path;
    failed_ = false;
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_ && error) *error = "cannot create " + path;
    return file_ != nullptr;
}

void ByteFile::Write(const void* data, size_t size) {
    if (!file_ || failed_ || size == 0) return;
    if (std::fwrite(data, 1, size, file_) != size) failed_ = true;
}

bool ByteFile::Close(std::string* error) {
    if (!file_) {
        if (error) *error = "no file open";
        return false;
    }
    bool ok = !failed_;
    if (std::fclose(file_) != 0) ok = false;
    file_ = nullptr;
    if (!ok && error) *error = "cannot write " + path_;
    return ok;
}
