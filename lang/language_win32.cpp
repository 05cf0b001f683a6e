// Language texts applied to the main dialog, message boxes and the
// language switch.
#include "lang/language_win32.h"

#include <commctrl.h>

#include <cstring>

#include "lang/language.h"

namespace {

void ApplyControlTexts(HWND dialog, const char* path, const char* section,
                       const ControlText* table, size_t count) {
    for (size_t i = 0; i < count; ++i)
        SetDlgItemTextA(dialog, table[i].control, ReadLanguageTextFrom(path, section, table[i].key));
}

void ApplyMenuTexts(HMENU menu, const char* path) {
    if (menu == nullptr) return;
    for (size_t i = 0; i < kMenuTextCount; ++i) {
        const MenuText& entry = kMenuTexts[i];
        const char* text = ReadLanguageTextFrom(path, kSectionMenu, entry.key);
        // Only the caption changes: a check mark (Tooltips) stays, and a top-level
        // menu keeps the drop-down menu it opens, which replacing the whole item
        // would destroy.
        const BOOL byPosition = entry.address == kMenuByPosition;
        if (byPosition && GetSubMenu(menu, entry.item) == nullptr) continue;
        MENUITEMINFOA item;
        ZeroMemory(&item, sizeof item);
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING;
        item.dwTypeData = const_cast<char*>(text);
        SetMenuItemInfoA(menu, static_cast<UINT>(entry.item), byPosition, &item);
    }
}

void ApplyTabLabels(HWND tab, const char* path, const char* section, const char* const* keys,
                    size_t count) {
    if (tab == nullptr) return;
    for (size_t i = 0; i < count; ++i) {
        // The tab item wants a writable text.
        char label[kLanguageTextSize];
        std::strcpy(label, ReadLanguageTextFrom(path, section, keys[i]));
        TCITEMA item;
        std::memset(&item, 0, sizeof item);
        item.mask = TCIF_TEXT;
        item.pszText = label;
        SendMessageA(tab, TCM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

UINT BoxStyle(MessageKind kind) {
    switch (kind) {
    case kMessageWarning: return MB_OK | MB_ICONWARNING;
    case kMessageError: return MB_OK | MB_ICONERROR;
    case kMessageInformation: return MB_OK | MB_ICONINFORMATION;
    case kMessageQuestion: return MB_YESNO | MB_ICONQUESTION;
    case kMessageConfirmation: return MB_OKCANCEL | MB_ICONERROR;
    }
    return MB_OK;
}

int ShowMessage(HWND owner, const LanguageMessage& message, const char* path) {
    char text[kLanguageTextSize];
    BuildLanguageMessage(message, path, text);
    return MessageBoxA(owner, text, message.caption, BoxStyle(message.kind));
}

}  // namespace

void ApplyLanguageTexts(HWND dialog, HWND inputTab, HWND outputTab, const char* languagePath) {
    ApplyControlTexts(dialog, languagePath, kSectionButtons, kButtonTexts, kButtonTextCount);
    ApplyMenuTexts(GetMenu(dialog), languagePath);
    ApplyTabLabels(inputTab, languagePath, kSectionInputTab, kInputTabKeys, kInputTabKeyCount);
    ApplyTabLabels(outputTab, languagePath, kSectionOutputTab, kOutputTabKeys, kOutputTabKeyCount);
    ApplyControlTexts(dialog, languagePath, kSectionMonitor, kMonitorTexts, kMonitorTextCount);
    DrawMenuBar(dialog);
}

int ShowLanguageMessageAt(HWND owner, LanguageMessageId id, const char* path) {
    return ShowMessage(owner, LanguageMessageAt(id), path);
}

int ShowLanguageMessage(HWND owner, const char* section, const char* key, const char* path) {
    const LanguageMessage* message = FindLanguageMessage(section, key);
    return message != nullptr ? ShowMessage(owner, *message, path) : 0;
}

int AskFolderQuestion(HWND owner, LanguageMessageId id, const char* folder) {
    return ShowLanguageMessageAt(owner, id, folder) == IDYES ? 1 : 0;
}

int ConfirmLanguageQuestion(HWND owner, LanguageMessageId id) {
    return ShowLanguageMessageAt(owner, id, nullptr) == IDOK ? 1 : 0;
}

void ShowLanguageCheckMarks(HWND dialog, int code) {
    HMENU menu = GetMenu(dialog);
    if (menu == nullptr) return;
    CheckMenuItem(menu, kCommandFrench,
                  MF_BYCOMMAND | (code == kLanguageFrench ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, kCommandEnglish,
                  MF_BYCOMMAND | (code == kLanguageEnglish ? MF_CHECKED : MF_UNCHECKED));
}

int SwitchLanguage(HWND dialog, HWND inputTab, HWND outputTab, int command, const char* drive,
                   const char* dir) {
    int code = LanguageCodeForCommand(command);
    if (code == 0) return 0;
    ShowLanguageCheckMarks(dialog, code);
    // A program folder too long for a path leaves no file in use: the texts
    // go blank rather than come from some other file.
    char path[kPathSize];
    LanguagePathForCode(code, drive, dir, LanguageFile(), path);
    SetLanguageFile(path);
    ApplyLanguageTexts(dialog, inputTab, outputTab, LanguageFile());
    return code;
}
