// The bounding box writer: per PDF a text file with, per page, the box of
// what the page draws, in the form of PostScript's bounding box comments.
#pragma once

#include <memory>

#include "engine/options.h"
#include "engine/writer.h"

std::unique_ptr<Writer> MakeBboxWriter(const OutputOptions& options);
