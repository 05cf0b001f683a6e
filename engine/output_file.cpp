// The writers' output file (see output_file.h).
#include "engine/output_file.h"

OutputFile::~OutputFile() {
    if (file_) std::fclose(file_);
}

bool OutputFile::Open(const std::string& path, std::string* error) {
    if (file_) std::fclose(file_);
    path_ = path;
    written_ = 0;
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) *error = "cannot create " + path;
    return file_ != nullptr;
}

bool OutputFile::Write(const void* data, size_t length, std::string* error) {
    if (!file_) {
        *error = "no file is open";
        return false;
    }
    if (length > 0 && std::fwrite(data, 1, length, file_) != length) {
        *error = "cannot write to " + path_;
        return false;
    }
    written_ += length;
    return true;
}

bool OutputFile::WriteAt(long offset, const Bytes& bytes, std::string* error) {
    if (!file_ || std::fseek(file_, offset, SEEK_SET) != 0) {
        *error = "cannot write to " + path_;
        return false;
    }
    const uint64_t written = written_;
    const bool ok = Write(bytes, error);
    written_ = written;
    if (std::fseek(file_, 0, SEEK_END) != 0) {
        *error = "cannot write to " + path_;
        return false;
    }
    return ok;
}

bool OutputFile::Close(std::string* error) {
    if (!file_) {
        *error = "no file is open";
        return false;
    }
    const bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!ok || !closed) *error = "cannot write to " + path_;
    return ok && closed;
}
