// The portable rules of the scripted engine double: where the job path starts on
// its command line, which folder entries count as PDF files to handle, and
// how long a scan waits.
#pragma once

// The job file path: everything after the first "G|" of the command line,
// blanks included, up to its end. Null when the line holds no "G|".
const char* JobPathAfterMarker(const char* commandLine);

// Whether a folder entry is a PDF file to handle, by the file selection's
// rules: not an entry whose attributes are exactly the directory attribute
// (16), no name beginning with ".", an extension of exactly ".pdf" in any
// case, and a size (its low 32 bits) above 0.
int IsListedPdf(const char* name, unsigned long attributes, unsigned long sizeLow);

// Whether a folder entry is a subfolder that a recursive walk enters: its
// attributes include the directory attribute and its name does not begin
// with ".".
int IsEnteredFolder(const char* name, unsigned long attributes);

// Seconds between two scans: scan_delay in minutes (scanMinutes nonzero) or
// seconds; at least 1, at most a day, whatever the job file holds.
unsigned long ScanIntervalSeconds(long scanDelay, long scanMinutes);
