// The BMP writer: one Windows bitmap per page, black and white, 256 colours
// (optionally RLE8) or 24 bits.
#pragma once

#include <memory>

#include "engine/options.h"
#include "engine/writer.h"

std::unique_ptr<Writer> MakeBmpWriter(const OutputOptions& options);
