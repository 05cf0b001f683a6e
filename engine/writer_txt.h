// The text writer: the text of a whole PDF in one file, in reading order,
// in its physical layout or as an HTML page.
#pragma once

#include <memory>
#include <string>

#include "engine/options.h"
#include "engine/writer.h"

std::unique_ptr<Writer> MakeTxtWriter(const OutputOptions& options);

// Breaks every line longer than columns characters at its last blank before
// the limit (or at the limit when a word is longer). columns <= 0 wraps
// nothing. Lines end with '\n'; form feeds take no width.
std::string WrapLines(const std::string& utf8, int columns);
