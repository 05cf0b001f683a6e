// A file the document writers fill from start to end: every failure to
// open, write or close is remembered, so that the writer reports it once at
// the end instead of checking every call.
#pragma once

#include <cstdio>
#include <string>

class WrittenFile {
public:
    WrittenFile() = default;
    WrittenFile(const WrittenFile&) = delete;
    WrittenFile& operator=(const WrittenFile&) = delete;
    ~WrittenFile();

    bool Open(const std::string& path);
    void Write(const char* bytes, size_t count);
    void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
    // Bytes written so far: the offset of the next byte.
    long long Offset() const { return offset_; }
    bool IsOpen() const { return file_ != nullptr; }
    // Closes the file; false when any open, write or the close failed.
    bool Close();

private:
    std::FILE* file_ = nullptr;
    long long offset_ = 0;
    bool failed_ = false;
};
