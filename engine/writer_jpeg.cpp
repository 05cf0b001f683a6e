// JPEG output: one page a file, at the job's quality, progressive when
// asked, with a JFIF header stating the drawn resolution in dots per inch.
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "engine/formats.h"
#include "engine/one_page_writer.h"
#include "engine/writer_makers.h"

namespace {

struct JpegFailure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = "";
};

void OnJpegError(j_common_ptr info) {
    JpegFailure* failure = reinterpret_cast<JpegFailure*>(info->err);
    (*info->err->format_message)(info, failure->message);
    std::longjmp(failure->jump, 1);
}

void OnJpegMessage(j_common_ptr, int) {}

UINT16 Density(double dpi) {
    long value = std::lround(dpi);
    return static_cast<UINT16>(value < 1 ? 1 : (value > 65535 ? 65535 : value));
}

class JpegWriter : public OnePageWriter {
public:
    explicit JpegWriter(const OutputOptions& options) : OnePageWriter("JPEG"), options_(options) {}

    bool WritePicture(const Picture& picture, std::string* error) override {
        if (picture.width > JPEG_MAX_DIMENSION || picture.height > JPEG_MAX_DIMENSION) {
            *error = "the page is larger than a JPEG file can hold";
            return false;
        }
        if (!Encode(picture)) {
            *error = std::string("JPEG encoding failed: ") + failure_.message;
            return false;
        }
        return true;
    }

private:
    bool Encode(const Picture& picture) {
        jpeg_compress_struct info;
        info.err = jpeg_std_error(&failure_.manager);
        failure_.manager.error_exit = OnJpegError;
        failure_.manager.emit_message = OnJpegMessage;
        if (setjmp(failure_.jump) != 0) {
            jpeg_destroy_compress(&info);
            return false;
        }
        jpeg_create_compress(&info);
        jpeg_stdio_dest(&info, file_.Stream());
        info.image_width = static_cast<JDIMENSION>(picture.width);
        info.image_height = static_cast<JDIMENSION>(picture.height);
        info.input_components = picture.channels;
        info.in_color_space = picture.channels == 1 ? JCS_GRAYSCALE : (picture.channels == 4 ? JCS_CMYK : JCS_RGB);
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, options_.jpegQuality < 1 ? 1 : options_.jpegQuality, TRUE);
        if (options_.jpegProgressive) jpeg_simple_progression(&info);
        info.write_JFIF_header = TRUE;
        info.density_unit = 1;
        info.X_density = Density(picture.dpiX);
        info.Y_density = Density(picture.dpiY);
        jpeg_start_compress(&info, TRUE);
        // CMYK JPEG files hold inverted ink, as Adobe writes them and readers expect.
        if (picture.channels == 4) inverted_.resize(picture.Stride());
        while (info.next_scanline < info.image_height) {
            const uint8_t* source = picture.Row(static_cast<int>(info.next_scanline));
            if (picture.channels == 4) {
                for (size_t i = 0; i < inverted_.size(); ++i) inverted_[i] = static_cast<uint8_t>(255 - source[i]);
                source = inverted_.data();
            }
            JSAMPROW row = const_cast<JSAMPROW>(source);
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        return true;
    }

    OutputOptions options_;
    JpegFailure failure_;
    std::vector<uint8_t> inverted_;  // a member: it must survive a longjmp
};

}  // namespace

std::unique_ptr<Writer> MakeJpegWriter(const OutputOptions& options) { return std::make_unique<JpegWriter>(options); }
