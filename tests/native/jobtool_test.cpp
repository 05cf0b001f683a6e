// jobtool run as a user runs it: a separate process on real job files in a
// temporary folder, with its exit status, standard output and standard error.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "binding_support.h"
#include "job/job_keys.h"

extern char** environ;

namespace {

struct Result {
    int status;  // the exit status; -1 when the process did not exit by itself
    std::string out;
    std::string err;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The line of section/key in show's output, without "key=".
std::string ShownValue(const std::string& shown, const std::string& section, const std::string& key) {
    std::string current;
    for (const std::string& line : Lines(shown)) {
        if (!line.empty() && line[0] == '[') current = line.substr(1, line.size() - 2);
        else if (current == section && line.compare(0, key.size() + 1, key + "=") == 0)
            return line.substr(key.size() + 1);
    }
    return "<not shown>";
}

class JobTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, mkdir(temp_.c_str(), 0777));
        const char* old = std::getenv("TMPDIR");
        hadTmpdir_ = old != nullptr;
        if (hadTmpdir_) oldTmpdir_ = old;
        setenv("TMPDIR", temp_.c_str(), 1);
    }
    void TearDown() override {
        if (hadTmpdir_) setenv("TMPDIR", oldTmpdir_.c_str(), 1);
        else unsetenv("TMPDIR");
        EXPECT_EQ(0, Entries(temp_)) << "jobtool left something in the temporary folder";
    }

    static int Entries(const std::string& folder) {
        DIR* dir = opendir(folder.c_str());
        if (dir == nullptr) return -1;
        int count = 0;
        while (dirent* entry = readdir(dir))
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) ++count;
        closedir(dir);
        return count;
    }

    Result Run(const std::vector<std::string>& args, const std::string& tool = JOBTOOL_PATH) {
        Result result{-1, "", ""};
        const std::string out = dir_ / "stdout";
        const std::string err = dir_ / "stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<std::string> all = {tool};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : all) argv.push_back(&arg[0]);
        argv.push_back(nullptr);
        pid_t pid = 0;
        int spawned = posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(0, spawned) << tool;
        if (spawned != 0) return result;
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status)) << "jobtool ended by signal " << WTERMSIG(status);
        if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
        result.out = ReadBytes(out);
        result.err = ReadBytes(err);
        return result;
    }

    // Writes a job and expects a check of it to print expected and leave it as it was.
    void ExpectCheck(const std::string& job, const std::string& expected, int status,
                     const std::string& tool = JOBTOOL_PATH) {
        const std::string path = dir_ / "check.ini";
        WriteBytes(path, job);
        Result r = Run({"check", path}, tool);
        EXPECT_EQ(status, r.status) << job;
        EXPECT_EQ(expected, r.out) << job;
        EXPECT_EQ("", r.err) << job;
        EXPECT_EQ(job, ReadBytes(path)) << "check never writes the job";
    }

    TempFolder dir_;
    const std::string temp_ = dir_ / "tmp";
    bool hadTmpdir_ = false;
    std::string oldTmpdir_;
};

TEST_F(JobTool, UsageErrorsGoToStandardErrorWithStatusTwo) {
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{}, "usage: jobtool COMMAND"},
        {{"frob"}, "unknown command \"frob\""},
        {{"show"}, "usage: jobtool show JOB"},
        {{"check", "a", "b"}, "usage: jobtool check JOB"},
        {{"get", "a", "b"}, "usage: jobtool get JOB SECTION KEY"},
        {{"set", "a", "b", "c"}, "usage: jobtool set JOB SECTION KEY VALUE"},
        {{"new", "a", "--source", "s"}, "usage: jobtool new JOB --source FOLDER --target FOLDER"},
        {{"new", "a", "--source"}, "usage: jobtool new JOB"},
        {{"new", "a", "b", "--source", "s", "--target", "t"}, "usage: jobtool new JOB"},
        {{"new", "a", "--source", "", "--target", "t"}, "the source folder is empty"},
    };
    for (const auto& c : cases) {
        Result r = Run(c.args);
        std::string label = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(2, r.status) << label;
        EXPECT_EQ("", r.out) << label;
        EXPECT_NE(std::string::npos, r.err.find(c.says)) << label << ": " << r.err;
    }
    Result help = Run({"--help"});
    EXPECT_EQ(0, help.status);
    for (const char* line : {"jobtool show JOB\n", "jobtool check JOB\n", "jobtool get JOB SECTION KEY\n",
                             "jobtool set JOB SECTION KEY VALUE\n",
                             "jobtool new JOB --source FOLDER --target FOLDER\n"})
        EXPECT_NE(std::string::npos, help.out.find(line)) << line;
}

TEST_F(JobTool, FilesThatCannotBeReadOrWrittenChangeNothing) {
    const std::string missing = dir_ / "missing.ini";
    const std::string folder = dir_ / "folder.ini";
    ASSERT_EQ(0, mkdir(folder.c_str(), 0777));
    const std::string tooLong = dir_.path() + "/" + std::string(260, 'j');
    const std::string huge = dir_ / "huge.ini";
    WriteBytes(huge, "[PARAMS]\r\n" + std::string(17u << 20, ';'));
    const struct {
        std::vector<std::string> args;
        std::string says;
    } cases[] = {
        {{"show", missing}, "no such job file: " + missing},
        {{"check", missing}, "no such job file: " + missing},
        {{"get", missing, "PARAMS", "trim"}, "no such job file: " + missing},
        {{"show", folder}, "not a readable file: " + folder},
        {{"set", folder, "PARAMS", "trim", "1"}, "not a readable file: " + folder},
        {{"show", tooLong}, "longer than 259 characters"},
        {{"show", huge}, "larger than 16 MiB"},
        {{"set", dir_ / "no/job.ini", "PARAMS", "trim", "1"}, "cannot write " + (dir_ / "no/job.ini")},
        {{"new", folder, "--source", "s", "--target", temp_}, "already exists: " + folder},
    };
    for (const auto& c : cases) {
        Result r = Run(c.args);
        EXPECT_EQ(2, r.status) << c.says;
        EXPECT_EQ("", r.out) << c.says;
        EXPECT_NE(std::string::npos, r.err.find(c.says)) << c.says << ": " << r.err;
    }
    EXPECT_FALSE(IsFolder(dir_ / "no"));
    EXPECT_EQ(-1, access(missing.c_str(), F_OK));

    const std::string readOnly = dir_ / "read-only.ini";
    const std::string bytes = "[PARAMS]\r\ntrim=0\r\n";
    WriteBytes(readOnly, bytes);
    ASSERT_EQ(0, chmod(readOnly.c_str(), 0444));
    Result r = Run({"set", readOnly, "PARAMS", "trim", "1"});
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.err.find("read-only")) << r.err;
    EXPECT_EQ(bytes, ReadBytes(readOnly));
    r = Run({"new", readOnly, "--source", "s", "--target", temp_});
    EXPECT_EQ(2, r.status);
    EXPECT_EQ(bytes, ReadBytes(readOnly));
}

TEST_F(JobTool, ShowOfAnEmptyJobGivesEveryKeyWithItsDefault) {
    const std::string path = dir_ / "empty.ini";
    WriteBytes(path, "");
    Result r = Run({"show", path});
    ASSERT_EQ(0, r.status);
    EXPECT_EQ("", r.err);
    std::vector<std::string> sections;
    int keys = 0;
    for (const std::string& line : Lines(r.out)) {
        if (line[0] == '[') {
            sections.push_back(line);
            continue;
        }
        ++keys;
        EXPECT_NE(std::string::npos, line.find(" # default")) << line;
    }
    const std::vector<std::string> order = {"[MAIN]", "[PARAMS]", "[FOLDERS]", "[ERRORS]", "[TIFF]",
                                            "[MISC]", "[SIGNATURE]", "[ENHANCE]", "[DCX]", "[GIF]",
                                            "[JPEG]", "[PNG]", "[RTF]", "[SWF]", "[TXT]", "[PS]",
                                            "[BMP]", "[Infos]", "[PROCESS]"};
    EXPECT_EQ(order, sections);
    EXPECT_EQ(static_cast<int>(kJobKeyCount), keys);
    const struct {
        const char* section;
        const char* key;
        std::string shown;
    } defaults[] = {
        {"MAIN", "langue", "1 # default"},
        {"PARAMS", "image_type", "1 # default"},
        {"PARAMS", "extract_all", "1 # default"},
        {"PARAMS", "rotate_radius", "90 # default; not loaded while rotate=0"},
        {"PARAMS", "shave_geometry", " # default; not loaded while shave=0"},
        {"FOLDERS", "temp_path", temp_ + "/ # default"},
        {"FOLDERS", "source", " # default"},
        {"TIFF", "pixels_inch", "72 # default"},
        {"SIGNATURE", "signature_dissolve", "50 # default"},
        {"GIF", "color_gif", "0 # default; not loaded while transparency=0"},
        {"SWF", "quality", "75 # default"},
        {"SWF", "framerate", "100 # default"},
        {"TXT", "mark_crlf", "80 # default"},
        {"Infos", "tagged", "1 # default"},
        {"PROCESS", "ID", "0 # default"},
    };
    for (const auto& d : defaults) EXPECT_EQ(d.shown, ShownValue(r.out, d.section, d.key)) << d.key;
    EXPECT_EQ("ID=0 # default", Lines(r.out).back());
}

TEST_F(JobTool, ShowReadsEachValueAsALoadDoes) {
    const std::string path = dir_ / "values.ini";
    WriteBytes(path,
               "; a comment\r\n[params]\r\nIMAGE_TYPE= 5 \r\ndensity=42abc\r\nfirstPage=-1\r\ntrim=yes\r\n"
               "recurse=\r\nshave=1\r\nshave_geometry=7x9\r\nrotate_radius=45\r\npassword=pw\r\n"
               "unknown=1\r\n"
               "[FOLDERS]\r\ntemp_path=\r\nsource=" + std::string(300, 's') + "\r\n"
               "[SIGNATURE]\r\nsignature_file=f.png\r\nsignature_text=t\r\nsignature_dissolve=7x\r\n"
               "[TIFF]\r\nauthor='quoted'\r\n[JPEG]\r\nquality=\r\n[GIF]\r\ntransparency=1\r\n"
               "color_gif=-16\r\n[PROCESS]\r\nID=4242\r\n");
    Result r = Run({"show", path});
    ASSERT_EQ(0, r.status);
    const struct {
        const char* section;
        const char* key;
        std::string shown;
    } cases[] = {
        {"PARAMS", "image_type", "5"},
        {"PARAMS", "density", "42"},
        {"PARAMS", "firstPage", "-1"},
        {"PARAMS", "trim", "0"},
        {"PARAMS", "recurse", "0 # default"},
        {"PARAMS", "shave_geometry", "7x9"},
        {"PARAMS", "rotate_radius", "45 # not loaded while rotate=0"},
        {"PARAMS", "password", "pw"},
        {"PARAMS", "unknown", "<not shown>"},
        {"FOLDERS", "temp_path", temp_ + "/ # default"},
        {"FOLDERS", "source", std::string(259, 's') + " # longer than 259 characters"},
        {"SIGNATURE", "signature_text", "t # not loaded while signature_file is set"},
        {"SIGNATURE", "signature_dissolve", "7"},
        {"TIFF", "author", "quoted"},
        {"JPEG", "quality", "75 # default"},
        {"GIF", "color_gif", "-16"},
        {"PROCESS", "ID", "4242"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.shown, ShownValue(r.out, c.section, c.key)) << c.key;
}

TEST_F(JobTool, NewWritesTheSaveOfADefaultForm) {
    const std::string path = dir_ / "new.ini";
    const std::string out = dir_ / "out";
    ASSERT_EQ(0, mkdir(out.c_str(), 0777));
    Result r = Run({"new", path, "--source", "C:\\pdf\\in", "--target", out});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.out + r.err);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(0u, bytes.find("[MAIN]\r\nlangue=1\r\n[PARAMS]\r\ndisplay_details=1\r\nrecurse=0\r\n"));
    EXPECT_NE(std::string::npos, bytes.find("[FOLDERS]\r\nsource=C:\\pdf\\in\r\ntemp_path=" + temp_ +
                                            "/\r\nmove_path=\r\ntarget=" + out + "\r\n[ERRORS]\r\n"));

    // show gives the file's own values in the file's own order; only the keys
    // a save of this form leaves unwritten fall back on their defaults.
    Result shown = Run({"show", path});
    ASSERT_EQ(0, shown.status);
    std::vector<std::string> written;
    std::set<std::string> defaulted;
    std::string section;
    for (const std::string& line : Lines(shown.out)) {
        if (line[0] == '[') section = line;
        size_t mark = line.find(" # ");
        if (mark == std::string::npos) written.push_back(line);
        else if (line.find("default", mark) != std::string::npos)
            defaulted.insert(section + line.substr(0, line.find('=')));
    }
    written.pop_back();  // [PROCESS], which a save never writes
    EXPECT_EQ(Lines(bytes), written);
    const std::set<std::string> unwritten = {
        "[PARAMS]reproduce_path_in_move", "[PARAMS]only_from_root", "[PARAMS]password",
        "[PARAMS]scan_delay", "[PARAMS]scan_minutes", "[PARAMS]rotate_radius",
        "[PARAMS]prefix_file_name", "[PARAMS]shave_geometry", "[ERRORS]move_error_path",
        "[GIF]color_gif", "[PROCESS]ID"};
    EXPECT_EQ(unwritten, defaulted);

    Result checked = Run({"check", path});
    EXPECT_EQ(0, checked.status);
    EXPECT_EQ("result: the save would go through\n", checked.out);

    // A target that is missing is refused, and new creates neither it nor the job.
    const std::string other = dir_ / "other.ini";
    r = Run({"new", other, "--source", "s", "--target", dir_ / "absent/out"});
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.err.find(dir_ / "absent/out" + " does not exist or cannot be written"))
        << r.err;
    EXPECT_FALSE(IsFolder(dir_ / "absent"));
    EXPECT_EQ(-1, access(other.c_str(), F_OK));
}

TEST_F(JobTool, CheckReportsWhatASaveWouldMeetAndChangesNothing) {
    const std::string d = dir_.path();
    const std::string job = "[FOLDERS]\r\nsource=in\r\ntarget=" + d + "\r\n";
    const struct {
        const char* name;
        std::string job;
        std::string expected;
        int status;
    } cases[] = {
        {"empty", "",
         "refuse ERRORS/no_source: Choose the source folder that holds the PDF files to convert.\n"
         "result: the save would stop\n", 1},
        {"missing folders, the temporary one the same as the target, asked once",
         "[PARAMS]\r\nmove=1\r\n[ERRORS]\r\nmove=1\r\nmove_error_path=" + d + "/n/e\r\n"
         "[FOLDERS]\r\nsource=in\r\ntemp_path=" + d + "/n/t\r\nmove_path=" + d + "/n/m\r\ntarget=" + d +
             "/n/t\r\n",
         "ask ERRORS/no_temp_folder: " + d + "/n/t: The temporary folder does not exist or cannot be "
         "written: " + d + "/n/t Create it?\n"
         "ask QUESTIONS/no_folder: " + d + "/n/m: This folder does not exist or cannot be written: " + d +
             "/n/m Create it?\n"
         "ask QUESTIONS/no_folder: " + d + "/n/e: This folder does not exist or cannot be written: " + d +
             "/n/e Create it?\n"
         "result: the save would go through\n", 0},
        {"scan with the sources moved and no error folder",
         "[PARAMS]\r\nmove=1\r\nscan=1\r\nscan_delay=5\r\n[FOLDERS]\r\nsource=in\r\nmove_path=" + d +
             "\r\ntarget=" + d + "\r\n",
         "refuse ERRORS/scan: A periodic scan would take the same files again and again. Choose \"Delete "
         "the PDF source\", or move the files that cannot be converted to a folder (tab \"Errors\").\n"
         "result: the save would stop\n", 1},
        {"deleted sources, no scan delay", "[PARAMS]\r\ndelete=1\r\nscan=1\r\n" + job,
         "confirm QUESTIONS/delete_pdf: The PDF source files will be deleted once they are converted. "
         "Click OK to confirm, or Cancel to keep them.\n"
         "refuse ERRORS/scan_delay: Type the delay between two scans: it must be 1 or more.\n"
         "result: the save would stop\n", 1},
        {"no target", "[FOLDERS]\r\nsource=in\r\n",
         "refuse ERRORS/no_target_folder: Choose the target folder that receives the converted files.\n"
         "result: the save would stop\n", 1},
        {"pages 5 to 3", "[PARAMS]\r\nextract_all=0\r\nfirstPage=5\r\nlastPage=3\r\n" + job,
         "refuse ERRORS/last_page: The last page comes before the first page. Type a last page that is "
         "the same as the first page or after it.\n"
         "result: the save would stop\n", 1},
        {"prefix naming without a prefix", "[PARAMS]\r\ntarget_file_name_type=1\r\n" + job,
         "refuse ERRORS/prefix: The prefix of the target file names is empty. Type a prefix, or create "
         "the names from the PDF name.\n"
         "result: the save would stop\n", 1},
        {"a width without a height", "[PARAMS]\r\nsize=800x\r\n" + job,
         "refuse ERRORS/size: Type both the width and the height of the new size, or leave both empty to "
         "keep the size of the pages.\n"
         "result: the save would stop\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectCheck(c.job, c.expected, c.status);
    }
    EXPECT_FALSE(IsFolder(d + "/n")) << "check creates no folder";

    // Without the language file beside it, check names the messages by their keys.
    const std::string bare = dir_ / "bare";
    ASSERT_EQ(0, mkdir(bare.c_str(), 0777));
    WriteBytes(bare + "/jobtool", ReadBytes(JOBTOOL_PATH));
    ASSERT_EQ(0, chmod((bare + "/jobtool").c_str(), 0755));
    ExpectCheck("", "refuse ERRORS/no_source\nresult: the save would stop\n", 1, bare + "/jobtool");
    ExpectCheck("[FOLDERS]\r\nsource=in\r\ntarget=" + d + "/n\r\n",
                "ask QUESTIONS/no_folder: " + d + "/n\nresult: the save would go through\n", 0,
                bare + "/jobtool");
}

TEST_F(JobTool, SetWritesAndGetReadsAsThePrivateProfileFunctions) {
    const std::string path = dir_ / "job.ini";
    Result r = Run({"set", path, "PARAMS", "trim", "1"});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.out + r.err);
    EXPECT_EQ("[PARAMS]\r\ntrim=1\r\n", ReadBytes(path));

    WriteBytes(path, "; kept\r\n[PARAMS]\r\nTrim = 0 \r\n\r\nother=x\r\n");
    ASSERT_EQ(0, Run({"set", path, "params", "TRIM", "2"}).status);
    ASSERT_EQ(0, Run({"set", path, "FOLDERS", "source", "in"}).status);
    EXPECT_EQ("; kept\r\n[PARAMS]\r\nTrim=2\r\n\r\nother=x\r\n[FOLDERS]\r\nsource=in\r\n", ReadBytes(path));

    const struct {
        const char* value;
        const char* read;
    } values[] = {
        {"plain", "plain"}, {"  spaced  ", "spaced"}, {"\"quoted \"", "quoted "}, {"'x'", "x"},
        {"\"", "\""},       {"a;b # c", "a;b # c"},   {"x=y", "x=y"},           {"C:\\a\\\\b", "C:\\a\\\\b"},
        {"", ""},
    };
    for (const auto& v : values) {
        ASSERT_EQ(0, Run({"set", path, "SIGNATURE", "signature_text", v.value}).status) << v.value;
        r = Run({"get", path, "signature", "SIGNATURE_TEXT"});
        EXPECT_EQ(0, r.status) << v.value;
        EXPECT_EQ(std::string(v.read) + "\n", r.out) << v.value;
    }

    r = Run({"get", path, "PARAMS", "nothing"});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_NE(std::string::npos, r.err.find("no key PARAMS/nothing")) << r.err;

    r = Run({"set", path, "PARAMS", "shav", "1"});
    EXPECT_EQ(0, r.status);
    EXPECT_NE(std::string::npos, r.err.find("warning: PARAMS/shav is not a key")) << r.err;

    const std::string before = ReadBytes(path);
    const struct {
        std::vector<std::string> args;
        const char* says;
    } refused[] = {
        {{"PARAMS", "trim", "1\r\n[MAIN]"}, "VALUE holds CR or LF"},
        {{"PARAMS", "trim", "1\nx=2"}, "VALUE holds CR or LF"},
        {{"PARAMS", "trim", "1\r"}, "VALUE holds CR or LF"},
        {{"PARAMS", "a\nb", "1"}, "must not hold CR or LF"},
        {{"PARAMS", "", "1"}, "must not be empty"},
        {{"", "trim", "1"}, "must not be empty"},
        {{"PAR]AMS", "trim", "1"}, "SECTION must not hold \"]\""},
        {{"PARAMS", "a=b", "1"}, "KEY must not hold \"=\""},
        {{"PARAMS", ";trim", "1"}, "KEY must not hold"},
        // Written trimmed, these would be a comment and a section header.
        {{"PARAMS", " \t;trim", "1"}, "KEY must not hold"},
        {{"PARAMS", "  [MAIN", "1"}, "KEY must not hold"},
        {{"PARAMS", "\v\f;trim", "1"}, "KEY must not hold"},
    };
    for (const auto& c : refused) {
        std::vector<std::string> args = {"set", path};
        args.insert(args.end(), c.args.begin(), c.args.end());
        r = Run(args);
        EXPECT_EQ(2, r.status) << c.says;
        EXPECT_NE(std::string::npos, r.err.find(c.says)) << r.err;
    }
    EXPECT_EQ(before, ReadBytes(path));
}

TEST_F(JobTool, HostileFilesGiveBoundedAnswers) {
    std::string binary;
    unsigned seed = 12345;
    for (int i = 0; i < 65536; ++i) {
        seed = seed * 1103515245u + 12345u;
        binary += static_cast<char>(seed >> 16);
    }
    std::string sections;
    for (int i = 0; i < 10000; ++i) sections += "[S" + std::to_string(i) + "]\r\nk=v" + std::to_string(i) + "\r\n";
    sections += "[PARAMS]\r\nimage_type=7\r\n";
    const std::string longLine = "[FOLDERS]\r\nsource=" + std::string(1u << 20, 'L') + "\r\n";
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {{"binary", binary}, {"sections", sections}, {"long line", longLine},
                 {"binary with a source", "[FOLDERS]\r\nsource=\x01\x7f\xff" + binary}};
    const std::string path = dir_ / "hostile.ini";
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        WriteBytes(path, f.bytes);
        Result shown = Run({"show", path});
        EXPECT_EQ(0, shown.status);
        EXPECT_EQ(static_cast<size_t>(kJobKeyCount) + 19, Lines(shown.out).size());
        EXPECT_LT(shown.out.size(), 16384u);
        Result checked = Run({"check", path});
        EXPECT_TRUE(checked.status == 0 || checked.status == 1) << checked.status;
        EXPECT_LT(checked.out.size(), 4096u);
        EXPECT_EQ(f.bytes, ReadBytes(path));
        EXPECT_EQ(0, Run({"set", path, "S5000", "k", "new"}).status);
        Result got = Run({"get", path, "S5000", "k"});
        EXPECT_EQ(0, got.status);
        EXPECT_EQ("new\n", got.out);
    }
    // The set replaced one line, and no more.
    WriteBytes(path, sections);
    ASSERT_EQ(0, Run({"set", path, "s5000", "K", "new"}).status);
    std::string expected = sections;
    expected.replace(expected.find("k=v5000\r\n"), 7, "k=new");
    EXPECT_EQ(expected, ReadBytes(path));

    WriteBytes(path, sections);
    EXPECT_EQ("7", ShownValue(Run({"show", path}).out, "PARAMS", "image_type"));
    EXPECT_EQ("v9999\n", Run({"get", path, "S9999", "K"}).out);
    WriteBytes(path, longLine);
    Result got = Run({"get", path, "FOLDERS", "source"});
    EXPECT_EQ(0, got.status);
    EXPECT_EQ(std::string(1u << 20, 'L') + "\n", got.out);
    EXPECT_EQ(std::string(259, 'L') + " # longer than 259 characters",
              ShownValue(Run({"show", path}).out, "FOLDERS", "source"));
}

}  // namespace
