// The fixed entries of the main dialog's drop-down lists other than the
// output format list (whose entries are the format catalogue). The job file
// stores a choice by its position in these lists.
#pragma once

enum { kDropDownListCount = 7, kMaxListEntries = 9 };

struct DropDownList {
    int control;
    int entryCount;
    const char* entries[kMaxListEntries];
};

// In the order the lists are filled after the output format list's place
// (1011 first, then 1025 from the catalogue, then the rest as here).
extern const DropDownList kDropDownLists[kDropDownListCount];
