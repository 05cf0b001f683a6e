// The makers of the DCX, TGA, PSD, PostScript (with the EPS family) and SWF
// writers, each defined in its writer_<format>.cpp, and what the run asks
// of the PostScript options before it starts.
#pragma once

#include <memory>
#include <string>

#include "engine/options.h"
#include "engine/writer.h"

std::unique_ptr<Writer> MakeDcxWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeTgaWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakePsdWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakePsWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeSwfWriter(const OutputOptions& options);

// The file extension of the PostScript type: ps, epi, eps, ept, epsi, epsf.
const char* PsExtension(const OutputOptions& options);

// What the PostScript writer does instead of the compression asked for,
// when the type's language level lacks it; empty when it does as asked.
std::string PsCompressionNote(const OutputOptions& options);

// The frames per second of an SWF movie for the job's framerate value.
double SwfFramesPerSecond(int framerate);
