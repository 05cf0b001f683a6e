// Reading and writing one job-file key, named by its entry in the key table
// (job_keys.h), through the private-profile functions (profile.h). Readers
// apply the table's default; text readers take at most the table's limit.
#pragma once

#include "job/job_keys.h"

// The integer or flag of the key, or its default when missing; unsigned as
// the profile reader returns it, so "-1" gives 4294967295.
unsigned ReadJobInt(JobKeyId id, const char* path);

// The text of the key ("" when missing), cut to the smaller of size-1 and the
// table's limit; returns the number of characters copied. For a key whose
// missing or empty value means the system temporary folder, that folder.
unsigned long ReadJobText(JobKeyId id, char* out, unsigned long size, const char* path);

// Each writes one value; 1 on success, 0 when the file could not be written.
int WriteJobInt(JobKeyId id, int value, const char* path);          // "%d"
int WriteJobText(JobKeyId id, const char* text, const char* path);  // as given
int WriteJobGeometry(JobKeyId id, int width, int height, const char* path);  // "%dx%d"
int WriteJobColour(JobKeyId id, unsigned colour, const char* path);  // "%ld"

// The system temporary folder with its trailing separator; returns its
// length, or 0 with out empty when it cannot be had or does not fit.
unsigned long SystemTempFolder(char* out, unsigned long size);

// The control an entry is bound to; which = 1 names the second one (the
// height of a geometry, the other button of a choice). 0 when none.
int BoundControl(JobKeyId id, int which = 0);
