// A file a writer fills: opened once, written in pieces, closed with one
// answer to "did every byte reach the disk".
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/encoders.h"

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return file_ != nullptr; }
    bool Write(const void* data, size_t length, std::string* error);
    bool Write(const Bytes& bytes, std::string* error) { return Write(bytes.data(), bytes.size(), error); }
    bool Write(const std::string& text, std::string* error) { return Write(text.data(), text.size(), error); }
    // Seeks to offset from the start (for a table filled in at the end).
    bool WriteAt(long offset, const Bytes& bytes, std::string* error);
    bool Close(std::string* error);
    // Bytes written in order since Open (WriteAt not counted).
    uint64_t Written() const { return written_; }

private:
    FILE* file_ = nullptr;
    std::string path_;
    uint64_t written_ = 0;
};
