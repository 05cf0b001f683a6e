// The program group: Program Manager commands over DDE, one conversation
// per command, and the same group as a folder of shortcuts.
#include "installer/program_group.h"

#include <windows.h>
#include <ddeml.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstring>

#include "installer/install_tables.h"

namespace {

HDDEDATA CALLBACK ClientCallback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    switch (type) {
    case XTYP_ADVSTART:
    case XTYP_CONNECT:
    case XTYP_ADVSTOP:
        return reinterpret_cast<HDDEDATA>(1);
    default:
        return nullptr;
    }
}

bool SendOne(DWORD instance, const char* command) {
    // The execute data is the command with its terminating zero.
    BYTE data[kGroupCommandSize];
    size_t length = std::strlen(command) + 1;
    if (length > sizeof data) return false;
    std::memcpy(data, command, length);

    HSZ progman = DdeCreateStringHandleA(instance, kProgmanService, CP_WINANSI);
    if (progman == nullptr) return false;
    bool done = false;
    HCONV conversation = DdeConnect(instance, progman, progman, nullptr);
    if (conversation != nullptr) {
        done = DdeClientTransaction(data, static_cast<DWORD>(length), conversation, nullptr, CF_TEXT,
                                    XTYP_EXECUTE, 1000, nullptr) != nullptr;
        DdeDisconnect(conversation);
    }
    DdeFreeStringHandle(instance, progman);
    return done;
}

// The common Programs folder of the Start Menu; false when the system names none.
bool CommonPrograms(char out[MAX_PATH]) {
    return SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, out));
}

bool SaveShortcut(const char* installFolder, const GroupItem& item, const char* linkPath) {
    char target[kPathSize];
    char icon[kPathSize] = "";
    if (!InstallPath(installFolder, item.file, target)) return false;
    if (item.iconFile != nullptr) {
        char windows[kPathSize];
        UINT length = GetWindowsDirectoryA(windows, sizeof windows);
        if (length == 0 || length >= sizeof windows || !InstallPath(windows, item.iconFile, icon)) return false;
    }
    WCHAR wideLink[kPathSize];
    if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wideLink, kPathSize) == 0) return false;

    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    bool saved = SUCCEEDED(link->SetPath(target)) && SUCCEEDED(link->SetWorkingDirectory(installFolder)) &&
                 (icon[0] == '\0' || SUCCEEDED(link->SetIconLocation(icon, item.iconIndex)));
    IPersistFile* file = nullptr;
    if (saved && SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        saved = SUCCEEDED(file->Save(wideLink, TRUE));
        file->Release();
    } else {
        saved = false;
    }
    link->Release();
    return saved;
}

}  // namespace

int SendProgmanCommands(const char* const commands[], int count, bool carriedOut[]) {
    for (int i = 0; carriedOut != nullptr && i < count; ++i) carriedOut[i] = false;
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return 0;
    int done = 0;
    for (int i = 0; i < count; ++i) {
        bool one = SendOne(instance, commands[i]);
        if (carriedOut != nullptr) carriedOut[i] = one;
        if (one) ++done;
    }
    DdeUninitialize(instance);
    return done;
}

int CreateShortcutGroup(const char* installFolder) {
    char programs[MAX_PATH];
    char group[kPathSize];
    if (!CommonPrograms(programs) || !GroupShortcutPath(programs, nullptr, group)) return 0;
    CreateFolderChain(group);
    int all = 1;
    for (const GroupItem& item : kGroupItems) {
        char link[kPathSize];
        if (!GroupShortcutPath(programs, &item, link) || !SaveShortcut(installFolder, item, link)) all = 0;
    }
    return all;
}

void RemoveShortcutGroup() {
    char programs[MAX_PATH];
    char group[kPathSize];
    if (!CommonPrograms(programs) || !GroupShortcutPath(programs, nullptr, group)) return;
    for (const GroupItem& item : kGroupItems) {
        char link[kPathSize];
        if (GroupShortcutPath(programs, &item, link)) DeleteFileA(link);
    }
    // Fails, as it should, while the folder holds anything else.
    RemoveDirectoryA(group);
}
