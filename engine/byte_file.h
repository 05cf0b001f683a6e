// The file a writer fills: opened once, written in pieces, closed with one
// answer to "did every byte reach the disk". A failed write is remembered,
// so a writer may check each call or only the answer of Close.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/encoders.h"

class ByteFile {
public:
    ByteFile() = default;
    ByteFile(const ByteFile&) = delete;
    ByteFile& operator=(const ByteFile&) = delete;
    ~ByteFile();

    // error may be null when the caller words its own message.
    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return file_ != nullptr; }
    // Each write answers false once any write since Open has failed.
    bool Write(const void* data, size_t size);
    bool Write(const std::string& text) { return Write(text.data(), text.size()); }
    bool Write(const Bytes& bytes) { return Write(bytes.data(), bytes.size()); }
    // Overwrites bytes from offset (a table filled in at the end), then
    // carries on at the end; Written() is not changed.
    bool WriteAt(uint64_t offset, const Bytes& bytes);
    // Bytes written in order through Write since Open: the offset of the
    // next byte.
    uint64_t Written() const { return written_; }
    // The open file for a library that writes through stdio itself; its
    // failures are caught by Close, which checks the stream's error flag.
    std::FILE* Stream() const { return file_; }
    // Closes the file; false when it was never open or any write, the flush
    // or the close failed. error may be null.
    bool Close(std::string* error);

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    uint64_t written_ = 0;
    bool failed_ = false;
};
