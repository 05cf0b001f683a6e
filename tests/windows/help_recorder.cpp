// Stands in for a browser or help viewer in the Help tests: the file the
// shell asked it to open goes into help_opened.txt beside it.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    std::string opened = commandLine;
    while (!opened.empty() && (opened.front() == ' ' || opened.front() == '"')) opened.erase(0, 1);
    while (!opened.empty() && (opened.back() == ' ' || opened.back() == '"')) opened.pop_back();
    char own[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    std::string folder(own, length);
    folder.erase(folder.find_last_of('\\') + 1);
    std::string part = folder + "help_opened.part";
    HANDLE file = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(file, opened.data(), static_cast<DWORD>(opened.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != opened.size()) return 1;
    return MoveFileExA(part.c_str(), (folder + "help_opened.txt").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
