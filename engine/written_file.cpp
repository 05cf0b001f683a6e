// The document writers' output file.
#include "engine/written_file.h"

WrittenFile::~WrittenFile() {
    if (file_) std::fclose(file_);
}

bool WrittenFile::Open(const std::string& path) {
    if (file_) std::fclose(file_);
    offset_ = 0;
    file_ = std::fopen(path.c_str(), "wb");
    failed_ = file_ == nullptr;
    return !failed_;
}

void WrittenFile::Write(const char* bytes, size_t count) {
    if (!file_ || failed_ || count == 0) return;
    if (std::fwrite(bytes, 1, count, file_) != count) failed_ = true;
    offset_ += static_cast<long long>(count);
}

bool WrittenFile::Close() {
    if (!file_) return false;
    bool ok = !failed_ && std::fflush(file_) == 0 && !std::ferror(file_);
    if (std::fclose(file_) != 0) ok = false;
    file_ = nullptr;
    return ok;
}
