// The makers of the writers, one a format file, for the format table.
#pragma once

#include <memory>

#include "engine/options.h"
#include "engine/writer.h"

std::unique_ptr<Writer> MakePngWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeJpegWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeInfosWriter(const OutputOptions& options);
