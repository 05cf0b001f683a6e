// The frame of the formats whose files hold one page picture each (BMP,
// GIF, JPEG, PNG, PSD, TGA): the file is opened by Begin, one picture goes
// into it, and End answers whether every byte reached the disk. Each format
// writes the picture in WritePicture.
#pragma once

#include <string>

#include "engine/byte_file.h"
#include "engine/quantize.h"
#include "engine/writer.h"

class OnePageWriter : public Writer {
public:
    explicit OnePageWriter(const char* format) : format_(format) {}

    bool Begin(const std::string& path, PDFDoc*, std::string* error) final {
        written_ = false;
        return file_.Open(path, error);
    }

    bool AddPage(const PageInput& page, std::string* error) final {
        if (page.picture == nullptr || !PictureIsWritable(*page.picture) || !file_.IsOpen()) {
            *error = "no picture to write";
            return false;
        }
        if (written_) {
            *error = std::string("a ") + format_ + " file holds one page";
            return false;
        }
        if (!WritePicture(*page.picture, error)) return false;
        written_ = true;
        return true;
    }

    bool End(std::string* error) final {
        if (!written_) {
            file_.Close(nullptr);
            *error = std::string("no page was written to the ") + format_ + " file";
            return false;
        }
        return file_.Close(error);
    }

protected:
    virtual bool WritePicture(const Picture& picture, std::string* error) = 0;

    ByteFile file_;

private:
    const char* format_;
    bool written_ = false;
};
