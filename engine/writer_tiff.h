// The TIFF writer: one file per page or, adjoined, every page of a PDF in
// one multi-page file.
#pragma once

#include <memory>

#include "engine/options.h"
#include "engine/writer.h"

std::unique_ptr<Writer> MakeTiffWriter(const OutputOptions& options);
