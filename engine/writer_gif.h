// The GIF writer: one GIF87a or GIF89a file per page, 256 colours at most,
// optionally interlaced, optionally with a transparent colour.
#pragma once

#include <memory>

#include "engine/options.h"
#include "engine/writer.h"

std::unique_ptr<Writer> MakeGifWriter(const OutputOptions& options);
