// A file written byte by byte that remembers whether every write succeeded,
// so a writer reports a full disk at its end instead of checking each call.
#pragma once

#include <cstdio>
#include <string>

class ByteFile {
public:
    ByteFile() = default;
    ByteFile(const ByteFile&) = delete;
    ByteFile& operator=(const ByteFile&) = delete;
    ~ByteFile();

    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return file_ != nullptr; }
    void Write(const void* data, size_t size);
    void Write(const std::string& text) { Write(text.data(), text.size()); }
    // Closes the file; false when it was never open or any write failed.
    bool Close(std::string* error);

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    bool failed_ = false;
};
