// The format catalogue and the page tables of the two tab stacks.
#include "gui/pages.h"

#include "resources/main_ids.h"

#include <cstddef>

namespace {

struct Format {
    const char* label;
    int outputTab;
};

// Combo 1025 is not sorted, so a format's position there is its index,
// which the job file stores as image_type.
const Format kFormats[kFormatCount] = {
    {"BMP", 4},   {"DCX", 5},  {"DXF", kNoTab},  {"GIF", 6},  {"HTML", kNoTab},
    {"JPEG", 7},  {"PDF", kNoTab}, {"PNG", 8},   {"PS", 9},   {"PSD", kNoTab},
    {"RTF", 10},  {"SWF", 11}, {"TGA", kNoTab},  {"TIFF", 12}, {"TXT", 14},
    {"Database Infos", 15}, {"BoundingBox Infos", kNoTab}};

// Output tabs 0 to 3 get their labels from the language file; a tab control
// needs some text to size them, hence the blank.
const char* const kOutputTabLabels[kOutputTabCount] = {
    " ", " ", " ", " ", "BMP", "DCX", "GIF", "JPEG", "PNG", "PS", "RTF", "SWF",
    "TIFF", "TIFF chunks", "TXT", "Infos"};

const int kInputFolders[] = {IDC_ST_SOURCE_PATH, IDC_ED_SOURCE_PATH, IDC_BT_SOURCE_PATH,
                             IDC_CK_RECURSE, IDC_ST_TEMP_PATH, IDC_ED_TEMP_PATH,
                             IDC_BT_TEMP_PATH};
const int kInputScan[] = {IDC_CK_SCAN, IDC_ST_SCAN_WAIT, IDC_ED_SCAN_DELAY,
                          IDC_RB_SCAN_MINUTES, IDC_RB_SCAN_SECONDS, IDC_ST_SCAN_BETWEEN,
                          IDC_ST_SCAN_STOP_NOTE};
const int kInputShave[] = {IDC_CK_SHAVE, IDC_ST_SHAVE_WIDTH, IDC_ED_SHAVE_WIDTH,
                           IDC_ST_SHAVE_HEIGHT, IDC_ED_SHAVE_HEIGHT, IDC_CK_TRIM};
const int kInputAfter[] = {IDC_RB_MOVE_SOURCE, IDC_ED_MOVE_PATH, IDC_BT_MOVE_PATH,
                           IDC_CK_MOVE_REPRODUCE, IDC_CK_MOVE_FROM_ROOT,
                           IDC_RB_DELETE_SOURCE, IDC_RB_KEEP_SOURCE};
const int kInputFormat[] = {IDC_ST_OUTPUT_FORMAT, IDC_CB_OUTPUT_FORMAT, IDC_CK_ERASE_LOG};
const int kInputPages[] = {IDC_RB_EXTRACT_ALL, IDC_RB_EXTRACT_RANGE, IDC_ED_FIRST_PAGE,
                           IDC_ST_LAST_PAGE, IDC_ED_LAST_PAGE, IDC_ST_DENSITY,
                           IDC_ED_DENSITY, IDC_ST_PASSWORD, IDC_ED_PASSWORD,
                           IDC_CK_ROTATE, IDC_ED_ROTATE_RADIUS, IDC_ST_DEGREES};
const int kInputErrors[] = {IDC_ST_ERRORS, IDC_RB_ERRORS_MOVE, IDC_ED_ERRORS_PATH,
                            IDC_BT_ERRORS_PATH, IDC_RB_ERRORS_NOTHING};

const int kOutputTarget[] = {IDC_ST_TARGET_PATH, IDC_ED_TARGET_PATH, IDC_BT_TARGET_PATH,
                             IDC_CK_TARGET_REPRODUCE, IDC_CK_TARGET_FROM_ROOT};
const int kOutputNames[] = {IDC_ST_TARGET_NAME, IDC_RB_NAME_FROM_PDF, IDC_RB_NAME_PREFIX,
                            IDC_ED_NAME_PREFIX, IDC_ST_NAME_SUFFIX, IDC_CK_NAME_DATE};
const int kOutputSignature[] = {IDC_CK_SIGNATURE, IDC_RB_SIGNATURE_FILE,
                                IDC_ED_SIGNATURE_FILE, IDC_BT_SIGNATURE_FILE,
                                IDC_RB_SIGNATURE_TEXT, IDC_ED_SIGNATURE_TEXT,
                                IDC_ST_SIGNATURE_POSITION, IDC_CB_SIGNATURE_POSITION,
                                IDC_ST_SIGNATURE_DISSOLVE, IDC_ED_SIGNATURE_DISSOLVE,
                                IDC_ST_SIGNATURE_PERCENT};
const int kOutputImage[] = {IDC_ST_RESIZE, IDC_ED_RESIZE_WIDTH, IDC_ST_RESIZE_BY,
                            IDC_ED_RESIZE_HEIGHT, IDC_CK_KEEP_PROPORTIONS,
                            IDC_ST_COLORSPACE, IDC_CB_COLORSPACE, IDC_CK_CONTRAST,
                            IDC_CK_EQUALIZE, IDC_CK_MONOCHROME};
const int kOutputBmp[] = {IDC_RB_BMP_MONO, IDC_RB_BMP_256, IDC_RB_BMP_TRUE_COLOUR,
                          IDC_CK_BMP_COMPRESS};
const int kOutputDcx[] = {IDC_CK_DCX_ADJOIN};
const int kOutputGif[] = {IDC_CK_GIF_87A, IDC_CK_GIF_INTERLACE, IDC_CK_GIF_TRANSPARENCY,
                          IDC_ST_GIF_SWATCH, IDC_BT_GIF_COLOUR};
const int kOutputJpeg[] = {IDC_ST_JPEG_QUALITY, IDC_ED_JPEG_QUALITY, IDC_CK_JPEG_PROGRESSIVE};
const int kOutputPng[] = {IDC_ST_PNG_QUALITY, IDC_ED_PNG_QUALITY, IDC_CK_PNG_PROGRESSIVE};
const int kOutputPs[] = {IDC_ST_PS_TYPE, IDC_CB_PS_TYPE, IDC_ST_PS_PAGE, IDC_CB_PS_PAGE,
                         IDC_CK_PS_COMPRESS, IDC_CB_PS_COMPRESS, IDC_CK_PS_ADJOIN};
const int kOutputRtf[] = {IDC_RB_RTF_RAW, IDC_RB_RTF_FORMATTED};
const int kOutputSwf[] = {IDC_ST_SWF_QUALITY, IDC_ED_SWF_QUALITY, IDC_ST_SWF_FRAMERATE,
                          IDC_ED_SWF_FRAMERATE, IDC_CK_SWF_ADJOIN};
const int kOutputTiff[] = {IDC_CK_TIFF_ADJOIN, IDC_CK_TIFF_COMPRESS, IDC_CB_TIFF_COMPRESS,
                           IDC_ST_TIFF_DPI_V, IDC_ED_TIFF_DPI_V, IDC_ST_TIFF_DPI_H,
                           IDC_ED_TIFF_DPI_H, IDC_RB_TIFF_PER_INCH, IDC_RB_TIFF_PER_CM};
const int kOutputTiffChunks[] = {IDC_ST_TIFF_AUTHOR, IDC_ED_TIFF_AUTHOR,
                                 IDC_ST_TIFF_COPYRIGHT, IDC_ED_TIFF_COPYRIGHT,
                                 IDC_ST_TIFF_COMMENT, IDC_ED_TIFF_COMMENT};
const int kOutputTxt[] = {IDC_ST_TXT_FORMAT, IDC_CB_TXT_FORMAT, IDC_RB_TXT_RAW,
                          IDC_RB_TXT_FORMATTED, IDC_ST_TXT_COLUMNS, IDC_ED_TXT_COLUMNS,
                          IDC_CK_TXT_MARK_CRLF, IDC_CK_TXT_HTML};
const int kOutputInfos[] = {IDC_GB_INFOS, IDC_CK_INFOS_FILE_NAME, IDC_CK_INFOS_FILE_SIZE,
                            IDC_CK_INFOS_TITLE, IDC_CK_INFOS_SUBJECT,
                            IDC_CK_INFOS_KEYWORDS, IDC_CK_INFOS_AUTHOR,
                            IDC_CK_INFOS_CREATOR, IDC_CK_INFOS_PRODUCER,
                            IDC_CK_INFOS_CREATION, IDC_CK_INFOS_MODIFICATION,
                            IDC_CK_INFOS_OPTIMIZATION, IDC_CK_INFOS_VERSION,
                            IDC_CK_INFOS_PAGE_SIZE, IDC_CK_INFOS_ENCRYPTED,
                            IDC_CK_INFOS_TAGGED};
const int kOutputUnpaged[] = {IDC_CK_ONE_PDF, IDC_CK_EPDF};

template <size_t N>
constexpr PageSet Set(const int (&ids)[N]) {
    return PageSet{ids, static_cast<int>(N)};
}

const PageSet kInputStackPages[kInputTabCount] = {
    Set(kInputFolders), Set(kInputScan), Set(kInputShave), Set(kInputAfter),
    Set(kInputFormat), Set(kInputPages), Set(kInputErrors)};

const PageSet kOutputStackPages[kOutputTabCount] = {
    Set(kOutputTarget), Set(kOutputNames), Set(kOutputSignature), Set(kOutputImage),
    Set(kOutputBmp), Set(kOutputDcx), Set(kOutputGif), Set(kOutputJpeg),
    Set(kOutputPng), Set(kOutputPs), Set(kOutputRtf), Set(kOutputSwf),
    Set(kOutputTiff), Set(kOutputTiffChunks), Set(kOutputTxt), Set(kOutputInfos)};

const PageSet kEmpty = {nullptr, 0};

const PageSet* Pages(PageStack stack) {
    return stack == kOutputStack ? kOutputStackPages : kInputStackPages;
}

int Contains(PageSet set, int id) {
    for (int i = 0; i < set.count; ++i) {
        if (set.ids[i] == id) return 1;
    }
    return 0;
}

}  // namespace

const char* FormatLabel(int format) {
    if (format < 0 || format >= kFormatCount) return nullptr;
    return kFormats[format].label;
}

int OutputTabOfFormat(int format) {
    if (format < 0 || format >= kFormatCount) return kNoTab;
    return kFormats[format].outputTab;
}

int TabCount(PageStack stack) {
    return stack == kOutputStack ? kOutputTabCount : kInputTabCount;
}

const char* TabLabel(PageStack stack, int tab) {
    if (tab < 0 || tab >= TabCount(stack)) return nullptr;
    return stack == kOutputStack ? kOutputTabLabels[tab] : "";
}

PageSet PageControls(PageStack stack, int tab) {
    if (tab < 0 || tab >= TabCount(stack)) return kEmpty;
    return Pages(stack)[tab];
}

PageSet UnpagedControls(PageStack stack) {
    return stack == kOutputStack ? Set(kOutputUnpaged) : kEmpty;
}

int ManagedControlCount(PageStack stack) {
    int count = UnpagedControls(stack).count;
    for (int tab = 0; tab < TabCount(stack); ++tab) count += Pages(stack)[tab].count;
    return count;
}

int ManagedControlAt(PageStack stack, int index) {
    if (index < 0) return 0;
    for (int tab = 0; tab < TabCount(stack); ++tab) {
        PageSet page = Pages(stack)[tab];
        if (index < page.count) return page.ids[index];
        index -= page.count;
    }
    PageSet unpaged = UnpagedControls(stack);
    return index < unpaged.count ? unpaged.ids[index] : 0;
}

int IsManagedControl(PageStack stack, int id) {
    return TabOfControl(stack, id) != kNoTab || Contains(UnpagedControls(stack), id);
}

int TabOfControl(PageStack stack, int id) {
    for (int tab = 0; tab < TabCount(stack); ++tab) {
        if (Contains(Pages(stack)[tab], id)) return tab;
    }
    return kNoTab;
}
