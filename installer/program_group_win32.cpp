// Program Manager commands over DDE, one conversation per command.
#include "installer/program_group.h"

#include <windows.h>
#include <ddeml.h>

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

void SendOne(DWORD instance, const char* command) {
    // The execute data is the command with its terminating zero.
    BYTE data[kGroupCommandSize];
    size_t length = std::strlen(command) + 1;
    if (length > sizeof data) return;
    std::memcpy(data, command, length);

    HSZ progman = DdeCreateStringHandleA(instance, kProgmanService, CP_WINANSI);
    if (progman == nullptr) return;
    HCONV conversation = DdeConnect(instance, progman, progman, nullptr);
    if (conversation != nullptr) {
        DdeClientTransaction(data, static_cast<DWORD>(length), conversation, nullptr, CF_TEXT,
                             XTYP_EXECUTE, 1000, nullptr);
        DdeDisconnect(conversation);
    }
    DdeFreeStringHandle(instance, progman);
}

}  // namespace

void SendProgmanCommands(const char* const commands[], int count) {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return;
    for (int i = 0; i < count; ++i) SendOne(instance, commands[i]);
    DdeUninitialize(instance);
}
