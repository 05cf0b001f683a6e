// jobtool: shows, checks, reads, writes and creates job files from the
// command line, for users who keep job files under version control and edit
// them by script. It goes through the configurator's own job code: the key
// table, the private-profile access (kernel32 on Windows, the project's own
// elsewhere), LoadJob and SaveJob on the in-memory form. Nothing here knows a
// section or key of its own; the table says what a job holds.
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "tools/jobtool/jobtool.h"

#include "job/form_binding.h"
#include "job/ini_text.h"
#include "job/job_access.h"
#include "job/job_keys.h"
#include "job/memory_form.h"
#include "job/paths.h"
#include "job/platform.h"
#include "job/profile.h"
#include "lang/language.h"
#include "lang/language_tables.h"

namespace {

enum {
    kExitOk = 0,
    kExitNo = 1,     // check: a save would stop; get: no such key
    kExitError = 2,  // usage, or a file that cannot be read or written
};

enum : unsigned long long { kMaxJobBytes = 16ull << 20 };  // every read of a key reads the whole file
enum : unsigned long { kMaxValueSize = 8ul << 20 };        // the largest buffer get reads a value into

const char kHelp[] =
    "jobtool: shows, checks, reads, writes and creates the configurator's job files.\n"
    "\n"
    "  jobtool show JOB\n"
    "  jobtool check JOB\n"
    "  jobtool get JOB SECTION KEY\n"
    "  jobtool set JOB SECTION KEY VALUE\n"
    "  jobtool new JOB --source FOLDER --target FOLDER\n"
    "  jobtool --help\n"
    "\n"
    "show JOB\n"
    "  Every key of the job file format as the configurator loads it, section by\n"
    "  section in the order a complete save writes them, a \"[SECTION]\" line then one\n"
    "  \"key=value\" line a key; PROCESS ID, written by the engine, comes last.\n"
    "  A number is the leading decimal number of its value (\"42abc\" is 42, a text\n"
    "  is 0); a text is cut to the length a load takes. Marks after a value:\n"
    "    # default               the key is missing (a number: missing or empty),\n"
    "                            so a load takes this default; for temp_path that\n"
    "                            is the system temporary folder\n"
    "    # cut to N characters   the stored text is longer; a load takes the first N\n"
    "    # longer than 259 characters\n"
    "                            a stored path (a folder or the signature file)\n"
    "                            too long to be a path: shown to 259 characters, a\n"
    "                            load takes it whole and a save refuses it\n"
    "    # not loaded while ...  a load ignores the key in this state:\n"
    "                            shave_geometry while shave=0, rotate_radius while\n"
    "                            rotate=0, color_gif while transparency=0,\n"
    "                            signature_text while signature_file is set\n"
    "  Keys the format does not know are not shown (get reads them). MISC tooltips is\n"
    "  read only from the default job file, when the configurator starts.\n"
    "\n"
    "check JOB\n"
    "  Loads the job as the configurator does and runs a save's checks on it,\n"
    "  without writing the job file or creating any folder: the save writes into a\n"
    "  scratch file in a folder of its own in the system temporary folder, removed\n"
    "  afterwards. Folders are probed as a save probes them (an empty file is\n"
    "  created in the folder and deleted at once). Prints, in the order a save\n"
    "  meets them:\n"
    "    ask SECTION/key: FOLDER: TEXT  FOLDER does not exist or cannot be written,\n"
    "                                   and a save asks whether to create it; check\n"
    "                                   takes the answer as Yes and goes on as if the\n"
    "                                   folder had been created.\n"
    "    confirm SECTION/key: TEXT      a save asks to confirm that the PDF sources\n"
    "                                   will be deleted; check takes it as OK.\n"
    "    refuse SECTION/key: TEXT       the check that stops the save.\n"
    "  then \"result: the save would go through\" or \"result: the save would stop\".\n"
    "  A save stops at its first refusal, so that is the only one shown: correct it\n"
    "  and check again. TEXT is the English message of 001.lng beside jobtool, on one\n"
    "  line; without that file only SECTION/key (and FOLDER) are shown. Whether the\n"
    "  job file itself can be written is not tested.\n"
    "  Exit status 0 when the save would go through, 1 when it would stop.\n"
    "\n"
    "get JOB SECTION KEY\n"
    "  Prints the value as the private-profile reader returns it: names match\n"
    "  without regard to case, blanks around the value and one pair of outer quotes\n"
    "  are removed. Exit status 1 when the key is missing.\n"
    "\n"
    "set JOB SECTION KEY VALUE\n"
    "  Writes the value as the private-profile writer does: the key's line is\n"
    "  replaced, or the key added at the end of its section, or the section at the\n"
    "  end of the file; every other line stays as it is. A missing JOB is created.\n"
    "  Refused: CR or LF anywhere (they would make lines of their own), an empty\n"
    "  SECTION or KEY, \"]\" in SECTION, \"=\" in KEY, a KEY beginning with \";\" or \"[\".\n"
    "  A key the job file format does not know is written with a warning.\n"
    "\n"
    "new JOB --source FOLDER --target FOLDER\n"
    "  Writes the job file the configurator saves from a form holding every default\n"
    "  and the two folders, which a save requires. The source is written as given;\n"
    "  the target must be an existing folder that takes new files (a save probes it,\n"
    "  and new creates no folder). temp_path is written as the system temporary\n"
    "  folder, as the configurator does; an empty temp_path also means the system\n"
    "  temporary folder, of whichever machine loads the job. Keys a save writes only\n"
    "  in some states (shave_geometry, rotate_radius, scan_delay, ...) are not\n"
    "  written; show lists them with their defaults. Fails when JOB exists; nothing\n"
    "  is written when the save is refused.\n"
    "\n"
    "Errors go to standard error with exit status 2: a usage error, or a file that\n"
    "cannot be read or written, in which case nothing is changed. JOB may be given\n"
    "relative to the current folder. Paths (JOB and the folders) are at most 259\n"
    "characters; a JOB above 16 MiB is refused.\n";

int Error(const std::string& text) {
    std::fputs(("jobtool: " + text + "\n").c_str(), stderr);
    return kExitError;
}

int Usage(const char* synopsis) {
    return Error(std::string("usage: jobtool ") + synopsis + " (jobtool --help tells more)");
}

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

bool HasLineBreak(const char* text) { return std::strpbrk(text, "\r\n") != nullptr; }

// ---- files

enum FileState { kFileMissing, kFileRegular, kFileOther };

FileState InspectFile(const char* path, unsigned long long* size) {
    *size = 0;
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        DWORD error = GetLastError();
        return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? kFileMissing : kFileOther;
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return kFileOther;
    *size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return kFileRegular;
#else
    struct stat info;
    if (stat(path, &info) != 0) return (errno == ENOENT || errno == ENOTDIR) ? kFileMissing : kFileOther;
    if (!S_ISREG(info.st_mode)) return kFileOther;
    *size = static_cast<unsigned long long>(info.st_size);
    return kFileRegular;
#endif
}

// Every program takes a path of at most kPathMax characters.
int CheckPathLength(const char* path, const char* what) {
    if (path[0] == '\0') {
        Error(std::string(what) + " is empty");
        return 0;
    }
    if (std::strlen(path) > kPathMax) {
        Error(std::string(what) + " is longer than 259 characters: " + path);
        return 0;
    }
    return 1;
}

// The job file's path as the profile functions must get it. kernel32 looks
// for a bare file name in the Windows folder, not in the current one, so on
// Windows the path is made full first.
int JobPath(const char* given, char path[kPathSize]) {
    path[0] = '\0';
    if (!CheckPathLength(given, "the job file path")) return 0;
#ifdef _WIN32
    DWORD length = GetFullPathNameA(given, kPathSize, path, nullptr);
    if (length == 0 || length > kPathMax) {
        path[0] = '\0';
        Error(std::string("the full path of ") + given + " is longer than 259 characters");
        return 0;
    }
    return 1;
#else
    return CopyBounded(path, kPathSize, given);
#endif
}

// A job file that the reads may take: an existing, readable, plain file of a
// bounded size; with mayBeMissing, also a file that does not exist yet.
int UsableJob(const char* path, bool mayBeMissing) {
    unsigned long long size = 0;
    FileState state = InspectFile(path, &size);
    if (state == kFileMissing) {
        if (mayBeMissing) return 1;
        Error(std::string("no such job file: ") + path);
        return 0;
    }
    if (state == kFileOther) {
        Error(std::string("not a readable file: ") + path);
        return 0;
    }
    if (size > kMaxJobBytes) {
        Error(std::string("larger than 16 MiB, not a job file: ") + path);
        return 0;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        Error(std::string("cannot read ") + path);
        return 0;
    }
    std::fclose(file);
    return 1;
}

enum CreateResult { kCreated, kCreateExists, kCreateFailed };

// Creates path with bytes, never over an existing file; a failed write
// leaves no file behind.
CreateResult CreateNewFile(const char* path, const std::string& bytes) {
#ifdef _WIN32
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS ? kCreateExists
                                                                                              : kCreateFailed;
    DWORD put = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
              put == bytes.size();
    if (!CloseHandle(file)) ok = false;
    if (!ok) DeleteFileA(path);
#else
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno == EEXIST ? kCreateExists : kCreateFailed;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        ok = put > 0;
        if (ok) done += static_cast<size_t>(put);
    }
    if (close(fd) != 0) ok = false;
    if (!ok) unlink(path);
#endif
    return ok ? kCreated : kCreateFailed;
}

bool RemoveFolder(const char* path) {
#ifdef _WIN32
    return RemoveDirectoryA(path) != 0;
#else
    return rmdir(path) == 0;
#endif
}

unsigned long ProcessId() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(getpid());
#endif
}

// A folder of its own in the system temporary folder, holding the file a
// save writes when nothing real may be written; removed with its file.
class Scratch {
public:
    Scratch() {
        std::string temp;
        if (!platform::GetTempFolder(&temp)) return;
        for (unsigned n = 0; n < 100 && folder_.empty(); ++n) {
            char name[64];
            std::snprintf(name, sizeof name, "jobtool-%lu-%u", ProcessId(), n);
            std::string candidate = temp + name;
            if (platform::MakeDirectory(candidate.c_str())) folder_ = candidate;
        }
        if (!folder_.empty()) file_ = folder_ + kDirSeparator + "job.ini";
        if (file_.size() > kPathMax) Remove();
    }
    ~Scratch() { Remove(); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    bool ready() const { return !file_.empty(); }
    const char* file() const { return file_.c_str(); }

    // Removes the file and the folder; false when the folder stays.
    bool Remove() {
        if (folder_.empty()) return true;
        std::remove(file_.c_str());
        bool removed = RemoveFolder(folder_.c_str());
        if (!removed) Error("could not remove the scratch folder " + folder_);
        folder_.clear();
        file_.clear();
        return removed;
    }

private:
    std::string folder_;
    std::string file_;
};

// ---- show

// Whether the key stands in the file: the reader gives its default only for
// a missing key, so two different defaults coming back both mean missing.
bool KeyPresent(const char* section, const char* key, const char* path) {
    char out[4];
    ProfileReadString(section, key, "a", out, sizeof out, path);
    if (std::strcmp(out, "a") != 0) return true;
    ProfileReadString(section, key, "b", out, sizeof out, path);
    return std::strcmp(out, "b") != 0;
}

bool KeyEmpty(const JobKey& entry, const char* path) {
    char out[2];
    return ProfileReadString(entry.section, entry.key, "", out, sizeof out, path) == 0;
}

// A load reads the dissolve as a number although a save writes its text.
bool LoadedAsNumber(const JobKey& entry) {
    return entry.form == kFormFlag || entry.form == kFormInteger || entry.form == kFormIndex ||
           entry.form == kFormColour || entry.id == kKeySignatureDissolve;
}

// The longest text a load takes of the key (the size is read into a path buffer).
unsigned long LoadLimit(const JobKey& entry) {
    return entry.maxChars > 0 ? static_cast<unsigned long>(entry.maxChars)
                              : static_cast<unsigned long>(kPathMax);
}

// Why a load ignores the key in the file's present state; empty when it does not.
std::string IgnoredBecause(JobKeyId id, const char* path) {
    char text[kPathSize];
    switch (id) {
    case kKeyShaveGeometry: return ReadJobInt(kKeyShave, path) == 0 ? "not loaded while shave=0" : "";
    case kKeyRotateRadius: return ReadJobInt(kKeyRotate, path) == 0 ? "not loaded while rotate=0" : "";
    case kKeyGifColor:
        return ReadJobInt(kKeyGifTransparency, path) == 0 ? "not loaded while transparency=0" : "";
    case kKeySignatureText:
        return ReadJobText(kKeySignatureFile, text, sizeof text, path) > 0
                   ? "not loaded while signature_file is set"
                   : "";
    default: return "";
    }
}

std::string ShownLine(const JobKey& entry, const char* path) {
    std::vector<std::string> notes;
    bool present = KeyPresent(entry.section, entry.key, path);
    std::string value;
    if (LoadedAsNumber(entry)) {
        char number[16];
        std::snprintf(number, sizeof number, "%d", static_cast<int>(ReadJobInt(entry.id, path)));
        value = number;
        if (!present || KeyEmpty(entry, path)) notes.push_back("default");
    } else {
        const unsigned long limit = LoadLimit(entry);
        std::vector<char> text(limit + 2, '\0');
        ReadJobText(entry.id, text.data(), limit + 1, path);
        value = text.data();
        bool temp = (entry.flags & kKeyTempFolderDefault) != 0;
        if (!present || (temp && KeyEmpty(entry, path))) notes.push_back("default");
        // A path is never cut: a load keeps it whole for the save to refuse.
        if (ProfileReadString(entry.section, entry.key, "", text.data(), limit + 2, path) > limit)
            notes.push_back((entry.form == kFormPath ? "longer than " : "cut to ") + std::to_string(limit) +
                            " characters");
    }
    std::string ignored = IgnoredBecause(entry.id, path);
    if (!ignored.empty()) notes.push_back(ignored);

    std::string line = std::string(entry.key) + "=" + value;
    for (size_t i = 0; i < notes.size(); ++i) line += (i == 0 ? " # " : "; ") + notes[i];
    return line + "\n";
}

int Show(const char* given) {
    char path[kPathSize];
    if (!JobPath(given, path) || !UsableJob(path, false)) return kExitError;
    const size_t capacity = kJobKeyCount;
    const char* sections[capacity];
    size_t count = SavedSectionOrder(sections, capacity);
    std::string out;
    for (size_t s = 0; s < count && s < capacity; ++s) {
        out += std::string("[") + sections[s] + "]\n";
        for (int id = 0; id < kJobKeyCount; ++id) {
            const JobKey& entry = JobKeyAt(static_cast<JobKeyId>(id));
            if (entry.source != kSourceEngine && std::strcmp(entry.section, sections[s]) == 0)
                out += ShownLine(entry, path);
        }
    }
    const JobKey& process = JobKeyAt(kKeyProcessId);
    out += std::string("[") + process.section + "]\n" + ShownLine(process, path);
    Print(out);
    return kExitOk;
}

// ---- check and new

// The folder operations of a save that must change nothing: a folder is
// probed for real unless the save was already told to create it; creating
// only records the folder as created.
struct PretendFolders : SaveFolders {
    int Probe(const char* folder) override {
        return created.count(Cleaned(folder)) != 0 ? 1 : ProbeFolder(folder);
    }
    void Create(const char* folder) override { created.insert(Cleaned(folder)); }

    static std::string Cleaned(const char* folder) {
        char path[kPathSize];
        if (!CopyBounded(path, sizeof path, folder)) return folder;
        CollapseFolderPath(path);
        return path;
    }

    std::set<std::string> created;
};

bool IsWriteFailure(const MemoryMessage& message) {
    const LanguageMessage& failed = LanguageMessageAt(kMsgWriteFailed);
    return SameProfileName(message.section.c_str(), failed.section) &&
           SameProfileName(message.key.c_str(), failed.key);
}

// The English text of the message as its box shows it, on one line: every
// run of line feeds and tabs becomes one space.
std::string MessageText(const LanguageMessage& message, const char* folder) {
    if (ReadLanguageText(message.section, message.key)[0] == '\0') return "";
    char text[kLanguageTextSize];
    BuildLanguageMessage(message, folder, text);
    std::string line;
    for (const char* c = text; *c != '\0'; ++c) {
        bool blank = *c == '\n' || *c == '\r' || *c == '\t';
        if (!blank) line += *c;
        else if (line.empty() || line.back() != ' ') line += ' ';
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

std::string FindingLine(const MemoryMessage& message) {
    const LanguageMessage* known = FindLanguageMessage(message.section.c_str(), message.key.c_str());
    MessageKind kind = known != nullptr ? known->kind : kMessageWarning;
    const char* verb = kind == kMessageQuestion ? "ask" : kind == kMessageConfirmation ? "confirm" : "refuse";
    std::string line = std::string(verb) + " " + message.section + "/" + message.key;
    if (known != nullptr && known->withPath) line += ": " + message.folder;
    std::string text = known != nullptr ? MessageText(*known, message.folder.c_str()) : "";
    if (!text.empty()) line += ": " + text;
    return line + "\n";
}

void UseEnglishMessages() {
    char english[kPathSize];
    if (FileBesideProgram(kEnglishLanguageFile, english)) SetLanguageFile(english);
}

int Check(const char* given) {
    char path[kPathSize];
    if (!JobPath(given, path) || !UsableJob(path, false)) return kExitError;
    UseEnglishMessages();
    MemoryForm form;
    ProgramValues values;
    LoadJob(form, path, 0, values);
    form.questionDefault = kAnswerYes;
    form.confirmationDefault = kAnswerOk;

    Scratch scratch;
    if (!scratch.ready()) return Error("cannot make a scratch folder in the system temporary folder");
    PretendFolders folders;
    int saved = SaveJob(form, scratch.file(), values, folders);
    if (!scratch.Remove()) return kExitError;

    std::string out;
    for (const MemoryMessage& message : form.messages) {
        if (IsWriteFailure(message)) return Error("cannot write the scratch file " + message.folder);
        out += FindingLine(message);
    }
    out += saved ? "result: the save would go through\n" : "result: the save would stop\n";
    Print(out);
    return saved ? kExitOk : kExitNo;
}

int CheckFolderArgument(const char* folder, const char* what) {
    if (!CheckPathLength(folder, what)) return 0;
    if (HasLineBreak(folder)) {
        Error(std::string(what) + " holds a line break");
        return 0;
    }
    return 1;
}

int New(const char* given, const char* source, const char* target) {
    char path[kPathSize];
    if (!JobPath(given, path) || !CheckFolderArgument(source, "the source folder") ||
        !CheckFolderArgument(target, "the target folder"))
        return kExitError;
    unsigned long long size = 0;
    if (InspectFile(path, &size) != kFileMissing) return Error(std::string("already exists: ") + path);

    Scratch scratch;
    if (!scratch.ready()) return Error("cannot make a scratch folder in the system temporary folder");
    // The scratch file does not exist yet: the form gets every default.
    MemoryForm form;
    ProgramValues values;
    LoadJob(form, scratch.file(), 0, values);
    form.SetText(1000, source);
    form.SetText(1023, target);
    form.questionDefault = kAnswerNo;
    PretendFolders folders;
    int saved = SaveJob(form, scratch.file(), values, folders);
    std::string bytes;
    bool read = saved && platform::ReadFileBytes(scratch.file(), &bytes) == platform::kReadOk;
    if (!scratch.Remove()) return kExitError;

    if (!saved) {
        const MemoryMessage* last = form.messages.empty() ? nullptr : &form.messages.back();
        if (last == nullptr) return Error("the save stopped");
        if (IsWriteFailure(*last)) return Error("cannot write the scratch file " + last->folder);
        if (!last->folder.empty())
            return Error(last->folder + " does not exist or cannot be written (new creates no folder)");
        return Error("the save refused the job: " + last->section + "/" + last->key);
    }
    if (!read) return Error("cannot read back the scratch file");
    switch (CreateNewFile(path, bytes)) {
    case kCreated: return kExitOk;
    case kCreateExists: return Error(std::string("already exists: ") + path);
    default: return Error(std::string("cannot create ") + path);
    }
}

// ---- get and set

int CheckNames(const char* section, const char* key) {
    if (section[0] == '\0' || key[0] == '\0') {
        Error("SECTION and KEY must not be empty");
        return 0;
    }
    if (HasLineBreak(section) || HasLineBreak(key)) {
        Error("SECTION and KEY must not hold CR or LF");
        return 0;
    }
    return 1;
}

int Get(const char* given, const char* section, const char* key) {
    char path[kPathSize];
    if (!CheckNames(section, key) || !JobPath(given, path) || !UsableJob(path, false)) return kExitError;
    if (!KeyPresent(section, key, path)) {
        Error(std::string("no key ") + section + "/" + key + " in " + path);
        return kExitNo;
    }
    // A value that fills the buffer may have been cut: read it again, larger.
    std::vector<char> value;
    unsigned long got = 0;
    for (unsigned long size = 4096;; size *= 2) {
        value.assign(size, '\0');
        got = ProfileReadString(section, key, "", value.data(), size, path);
        if (got < size - 1) break;
        if (size >= kMaxValueSize)
            return Error(std::string("the value of ") + section + "/" + key + " is too long (" +
                         std::to_string(size - 1) + " characters or more)");
    }
    std::fwrite(value.data(), 1, got, stdout);
    std::fputc('\n', stdout);
    return kExitOk;
}

int Set(const char* given, const char* section, const char* key, const char* value) {
    if (!CheckNames(section, key)) return kExitError;
    if (HasLineBreak(value)) return Error("VALUE holds CR or LF, which would write lines of its own");
    if (std::strchr(section, ']') != nullptr) return Error("SECTION must not hold \"]\"");
    // The key's line would read as a comment or a section header; blanks
    // before the key are dropped when it is written, so they hide nothing.
    const char* keyStart = key + std::strspn(key, ini::kBlanks);
    if (std::strchr(key, '=') != nullptr || keyStart[0] == ';' || keyStart[0] == '[')
        return Error("KEY must not hold \"=\" or begin with \";\" or \"[\"");
    char path[kPathSize];
    if (!JobPath(given, path) || !UsableJob(path, true)) return kExitError;
    if (!ProfileWriteString(section, key, value, path))
        return Error(std::string("cannot write ") + path +
                     ": it is read-only, locked by another program, or its folder is missing");
    if (FindJobKey(section, key) == nullptr)
        std::fputs(("jobtool: warning: " + std::string(section) + "/" + key +
                    " is not a key of the job file format\n").c_str(),
                   stderr);
    return kExitOk;
}

int Run(int argc, char** argv) {
    if (argc < 2) return Usage("COMMAND ...");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        Print(kHelp);
        return kExitOk;
    }
    if (command == "show") return argc == 3 ? Show(argv[2]) : Usage("show JOB");
    if (command == "check") return argc == 3 ? Check(argv[2]) : Usage("check JOB");
    if (command == "get") return argc == 5 ? Get(argv[2], argv[3], argv[4]) : Usage("get JOB SECTION KEY");
    if (command == "set")
        return argc == 6 ? Set(argv[2], argv[3], argv[4], argv[5]) : Usage("set JOB SECTION KEY VALUE");
    if (command == "new") {
        const char* source = nullptr;
        const char* target = nullptr;
        const char* job = nullptr;
        for (int i = 2; i < argc; ++i) {
            std::string arg = argv[i];
            if (arg == "--source" && i + 1 < argc)
                source = argv[++i];
            else if (arg == "--target" && i + 1 < argc)
                target = argv[++i];
            else if (job == nullptr && arg.compare(0, 2, "--") != 0)
                job = argv[i];
            else
                return Usage("new JOB --source FOLDER --target FOLDER");
        }
        if (job == nullptr || source == nullptr || target == nullptr)
            return Usage("new JOB --source FOLDER --target FOLDER");
        return New(job, source, target);
    }
    return Error("unknown command \"" + command + "\" (jobtool --help lists the commands)");
}

}  // namespace

int RunJobtool(int argc, char** argv) { return Run(argc, argv); }
