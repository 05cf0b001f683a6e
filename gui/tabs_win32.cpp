// The main dialog's tab controls and option pages on Win32. The pages are
// not child windows: every option control is a direct child of the dialog,
// and showing a page shows its controls and hides the rest of its stack.
#include "gui/tabs_win32.h"

#include "gui/pages.h"
#include "gui/window_helpers.h"
#include "resources/main_ids.h"

#include <commctrl.h>

namespace {

HWND g_outputTab = nullptr;
HWND g_inputTab = nullptr;

// Offset of a tab control from the top left corner of its group box, and
// the sizes of the two tab controls, in pixels.
const int kTabOffsetX = 9;
const int kTabOffsetY = 20;
const int kTabWidth = 335;
const int kOutputTabHeight = 173;
const int kInputTabHeight = 145;

const char kTiffAdjoinText[] = "Adjoin all PDF pages in a single multi-file TIFF";

// A length in pixels of the 96-dpi layout, on a larger scale grown as the
// dialog's own units grew: the tab control keeps its place in its frame,
// whose size comes from the template. The template's font measures 6 by 13
// pixels for 4 by 8 dialog units at 96 dpi.
int ScaleLikeDialog(HWND dialog, int pixels, bool horizontal) {
    if (ScaleToSystemDpi(96) == 96) return pixels;
    RECT units = {0, 0, 4, 8};
    if (!MapDialogRect(dialog, &units)) return ScaleToSystemDpi(pixels);
    return horizontal ? MulDiv(pixels, units.right, 6) : MulDiv(pixels, units.bottom, 13);
}

HWND CreateTabControl(HWND dialog, int groupBox, int height, PageStack stack, int initialTab) {
    RECT frame;
    if (!GetWindowRect(GetDlgItem(dialog, groupBox), &frame)) return nullptr;
    InitCommonControls();
    POINT corner = {frame.left + ScaleLikeDialog(dialog, kTabOffsetX, true),
                    frame.top + ScaleLikeDialog(dialog, kTabOffsetY, false)};
    ScreenToClient(dialog, &corner);
    HWND tab = CreateWindowExA(0, "SysTabControl32", "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, corner.x, corner.y,
                               ScaleLikeDialog(dialog, kTabWidth, true), ScaleLikeDialog(dialog, height, false),
                               dialog, nullptr,
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)),
                               nullptr);
    if (!tab) return nullptr;
    // A new child window goes to the bottom of the z-order, under the group
    // box that frames it; clipping its siblings, the tab control would then
    // not be drawn at all. The frame goes under it instead, so that the order
    // is page controls, tab control, frame.
    SetWindowPos(GetDlgItem(dialog, groupBox), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The stock font keeps its 96-dpi size where the system does not scale
    // it (Wine); on a larger scale the dialog's own font, which grows, labels the tabs.
    HGDIOBJ font = GetStockObject(ANSI_VAR_FONT);
    if (ScaleToSystemDpi(96) != 96) font = reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    SendMessageA(tab, WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(TRUE, 0));
    for (int i = 0; i < TabCount(stack); ++i) {
        char label[32];
        lstrcpynA(label, TabLabel(stack, i), sizeof label);
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = label;
        if (SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item)) != i) {
            DestroyWindow(tab);
            return nullptr;
        }
    }
    SendMessageA(tab, TCM_SETCURSEL, initialTab, 0);
    return tab;
}

void ApplyPage(HWND dialog, PageStack stack, int tab) {
    PageSet page = PageControls(stack, tab);
    int managed = ManagedControlCount(stack);
    for (int i = 0; i < managed; ++i) {
        int id = ManagedControlAt(stack, i);
        if (TabOfControl(stack, id) != tab) ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
    }
    for (int i = 0; i < page.count; ++i) ShowWindow(GetDlgItem(dialog, page.ids[i]), SW_SHOW);
}

// Selecting the current tab again would change nothing, so skip the message.
void SelectTab(HWND tabControl, int tab) {
    if (tabControl && SendMessageA(tabControl, TCM_GETCURSEL, 0, 0) != tab) {
        SendMessageA(tabControl, TCM_SETCURSEL, tab, 0);
    }
}

}  // namespace

HWND CreateOutputTab(HWND dialog, int initialTab) {
    g_outputTab = CreateTabControl(dialog, IDC_GB_OUTPUT, kOutputTabHeight, kOutputStack,
                                   initialTab);
    return g_outputTab;
}

HWND CreateInputTab(HWND dialog, int initialTab) {
    g_inputTab = CreateTabControl(dialog, IDC_GB_INPUT, kInputTabHeight, kInputStack,
                                  initialTab);
    return g_inputTab;
}

HWND OutputTabWindow() { return g_outputTab; }

HWND InputTabWindow() { return g_inputTab; }

void ForgetTabControls() {
    g_outputTab = nullptr;
    g_inputTab = nullptr;
}

int ShowOutputPage(HWND dialog, int tab) {
    if (tab < 0 || tab >= kOutputTabCount) return 0;
    SelectTab(g_outputTab, tab);
    ApplyPage(dialog, kOutputStack, tab);
    // The TIFF page always shows this caption in English, whatever the
    // language file gave the check box.
    if (tab == kTiffOutputTab) SetDlgItemTextA(dialog, IDC_CK_TIFF_ADJOIN, kTiffAdjoinText);
    return 1;
}

int ShowInputPage(HWND dialog, int tab) {
    if (tab < 0 || tab >= kInputTabCount) return 0;
    SelectTab(g_inputTab, tab);
    ApplyPage(dialog, kInputStack, tab);
    return 1;
}

int OnTabSelectionChanged(HWND dialog, HWND source) {
    if (!source) return 0;
    if (source == g_outputTab) {
        ShowOutputPage(dialog, static_cast<int>(SendMessageA(source, TCM_GETCURSEL, 0, 0)));
    }
    if (source == g_inputTab) {
        ShowInputPage(dialog, static_cast<int>(SendMessageA(source, TCM_GETCURSEL, 0, 0)));
    }
    return 0;
}

int OnFormatChanged(HWND dialog, int comboIndex) {
    int tab = OutputTabOfFormat(comboIndex);
    if (tab != kNoTab) ShowOutputPage(dialog, tab);
    return 0;
}
