// The makers of the writers, one a format file, for the format table. The
// makers of the writers with more to say live in more_writers.h (DCX, TGA,
// PSD, PostScript, SWF), document_writers.h (PDF, DXF, RTF, HTML) and
// writer_txt.h.
#pragma once

#include <memory>

#include "engine/options.h"
#include "engine/writer.h"

std::unique_ptr<Writer> MakePngWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeJpegWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeInfosWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeBmpWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeGifWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeTiffWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeBboxWriter(const OutputOptions& options);
