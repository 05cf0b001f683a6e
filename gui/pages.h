// The format catalogue and the option pages of the main dialog as plain
// data: the seventeen output formats with the output tab each one selects,
// and the two stacks of pages (input and output), each page a fixed set of
// control identifiers of dialog 101. No window system is needed here.
#pragma once

enum {
    kFormatCount = 17,
    kOutputTabCount = 16,
    kInputTabCount = 7,
    kNoTab = -1,
    kTiffOutputTab = 12  // the page that puts its own caption on check box 1006
};

enum PageStack { kInputStack, kOutputStack };

// A set of control identifiers; count 0 (and ids null) for an empty set.
struct PageSet {
    const int* ids;
    int count;
};

// The label of format index 0..16 as combo 1025 lists it; null outside.
const char* FormatLabel(int format);

// The output tab that shows the options of a format; kNoTab for the six
// formats without a page and for any index outside 0..16.
int OutputTabOfFormat(int format);

// How many tabs a stack has (7 input, 16 output).
int TabCount(PageStack stack);

// The label a tab is created with: " " for output tabs 0 to 3 and "" for
// every input tab (the language file gives those later), the format name
// for output tabs 4 to 15; null outside the stack.
const char* TabLabel(PageStack stack, int tab);

// The controls that a tab's page shows; empty outside the stack.
PageSet PageControls(PageStack stack, int tab);

// Controls of the stack's area that belong to no page, so every page of the
// stack hides them: 1048 and 1050 of the output stack; none for input.
PageSet UnpagedControls(PageStack stack);

// The managed controls of a stack: the controls of all its pages and its
// unpaged controls, numbered 0 to ManagedControlCount - 1.
int ManagedControlCount(PageStack stack);
int ManagedControlAt(PageStack stack, int index);  // 0 outside the range

// 1 when the control is among the stack's managed controls, 0 otherwise.
int IsManagedControl(PageStack stack, int id);

// The tab whose page shows the control; kNoTab when it is on no page.
int TabOfControl(PageStack stack, int id);
