// The writers of the formats made from the document itself rather than from
// page pictures: PDF (the pages copied), DXF (vectors and text), RTF and
// HTML (text), and what a run should tell the user once about options these
// formats do not use.
#pragma once

#include <memory>
#include <string>

#include "engine/options.h"
#include "engine/writer.h"

std::unique_ptr<Writer> MakePdfWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeDxfWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeRtfWriter(const OutputOptions& options);
std::unique_ptr<Writer> MakeHtmlWriter(const OutputOptions& options);

// The page rotation PDF and DXF apply for the job's rotate setting: the
// angle rounded to the nearest quarter turn, 0, 90, 180 or 270 clockwise.
int QuarterTurnDegrees(const OutputOptions& options);

// One log line naming the options the job sets that the document formats
// do not apply (the image operations; a rotation that is not a quarter
// turn), or an empty text when there is nothing to say.
std::string DocumentFormatNote(const OutputOptions& options);
