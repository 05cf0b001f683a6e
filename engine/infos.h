// The "Database Infos" output: one table per run in the target folder, a CSV
// file that a spreadsheet opens (UTF-8 with a byte order mark, RFC 4180
// quoting), a header and one row per PDF with the columns the job's Infos
// keys choose.
#pragma once

#include <string>
#include <vector>

#include "engine/options.h"

class PDFDoc;

// The header row's cells for the chosen columns.
std::vector<std::string> InfosHeader(const OutputOptions& options);

// The row of one PDF (its path as the user knows it, the open document).
std::vector<std::string> InfosRow(const OutputOptions& options, const std::string& path, PDFDoc* document);

// One CSV line (CR LF ended) of cells, quoted as RFC 4180 asks.
std::string CsvLine(const std::vector<std::string>& cells);

// The UTF-8 byte order mark: it tells a spreadsheet the table's encoding.
inline constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// The bytes a table starts with, once per file: the byte order mark and the
// header line. Rows follow as CsvLine(InfosRow(...)).
std::string InfosTableStart(const OutputOptions& options);

// A PDF date string ("D:YYYYMMDDHHmmSSOHH'mm'") in ISO 8601
// ("YYYY-MM-DDTHH:MM:SS+HH:MM", "Z" for UTC, no zone when the PDF gives
// none); a text that is no PDF date comes back as it is.
std::string PdfDateToIso(const std::string& date);
