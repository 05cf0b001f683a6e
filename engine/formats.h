// The output formats as the engine knows them: for each catalogue index its
// file extension, whether it draws pages, whether its files can hold several
// pages, and the function that makes its writer. One entry a format; a
// format not yet written has no maker.
#pragma once

#include <memory>

#include "engine/options.h"
#include "engine/writer.h"

struct FormatEntry {
    int format;                 // catalogue index, 0..16
    const char* extension;      // without the dot
    bool raster;                // pages are drawn and processed into a Picture
    // Whether this job's files hold a whole document rather than a page.
    bool (*wholeDocument)(const OutputOptions& options);
    std::unique_ptr<Writer> (*make)(const OutputOptions& options);
};

// The entry of a catalogue index; null outside 0..16.
const FormatEntry* FindFormat(int format);

// Stands a table of the caller's in for this one (tests that record what a
// run hands its writers); null brings this one back.
void ReplaceFormatTable(const FormatEntry* (*find)(int format));

// The extension of the job's output files, without the dot: the entry's,
// except for the PostScript types (ps, epi, eps, ept, epsi, epsf).
const char* OutputExtension(const OutputOptions& options);
