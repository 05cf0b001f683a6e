// Saving the in-memory form into real job files: the bytes of a complete
// save, every check with its message, page and focus and the keys written
// before it, the folder questions, the keys a save leaves alone, failed
// writes, and load-save-load round trips.
#include "job/form_binding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <dirent.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "binding_support.h"
#include "job/profile.h"

namespace {

class SaveJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"temp", "moved", "errors", "out"})
            ASSERT_EQ(0, mkdir((dir_ / name).c_str(), 0777));
        const char* old = std::getenv("TMPDIR");
        hadTmpdir_ = old != nullptr;
        if (hadTmpdir_) oldTmpdir_ = old;
        setenv("TMPDIR", dir_.path().c_str(), 1);
        values_.languageCode = 33;
        values_.displayDetails = 0;
        values_.tooltips = 1;
        values_.transparencyColour = 0x123456;
    }
    void TearDown() override {
        if (hadTmpdir_) setenv("TMPDIR", oldTmpdir_.c_str(), 1);
        else unsetenv("TMPDIR");
    }

    // A form that a save takes through every step and every key.
    void FillComplete(MemoryForm& f) const {
        f.SetText(1000, "C:\\pdf\\in");
        f.SetText(1094, (dir_ / "temp").c_str());
        f.SetChecked(1005, kChecked);
        f.SetChecked(1076, kChecked);
        f.SetChecked(1083, kChecked);
        f.SetText(1070, (dir_ / "moved").c_str());
        f.SetChecked(1096, kChecked);
        f.SetText(1137, "secret");
        f.SetChecked(1245, kChecked);
        f.SetText(1247, (dir_ / "errors").c_str());
        f.SetChecked(1087, kChecked);
        f.SetText(1071, "15");
        f.SetChecked(1114, kChecked);
        f.SetChecked(1131, kChecked);
        f.SetSelection(1025, 13);
        f.SetChecked(1133, kChecked);
        f.SetText(1134, "270");
        f.SetText(1023, (dir_ / "out").c_str());
        f.SetChecked(1031, kChecked);
        f.SetChecked(1007, kChecked);
        f.SetSelection(1011, 2);
        f.SetChecked(1006, kChecked);
        f.SetText(1008, "300");
        f.SetText(1077, "2");
        f.SetText(1079, "9");
        f.SetChecked(1127, kChecked);
        f.SetText(1128, "scan");
        f.SetChecked(1185, kChecked);
        f.SetText(1009, "640");
        f.SetText(1010, "480");
        f.SetSelection(1052, 2);
        f.SetChecked(1112, kChecked);
        f.SetText(1109, "120");
        f.SetText(1108, "80");
        f.SetChecked(1158, kChecked);
        f.SetChecked(1159, kChecked);
        f.SetText(1161, "C:\\stamps\\logo.png");
        f.SetText(1162, "not saved");
        f.SetSelection(1165, 7);
        f.SetText(1167, "100");
        f.SetChecked(1169, kChecked);
        f.SetChecked(1173, kIndeterminate);
        f.SetChecked(1174, kChecked);
        f.SetText(1073, "300");
        f.SetText(1075, "200");
        f.SetChecked(1155, kChecked);
        f.SetText(1002, "Ann");
        f.SetText(1020, "(c) 2024");
        f.SetText(1022, "scanned");
        f.SetChecked(1559, kChecked);
        f.SetChecked(1175, kChecked);
        f.SetChecked(1177, kChecked);
        f.SetText(1047, "90");
        f.SetChecked(1053, kChecked);
        f.SetText(1057, "60");
        f.SetChecked(1171, kChecked);
        f.SetText(1182, "50");
        f.SetText(1184, "25");
        f.SetSelection(1252, 0);
        f.SetChecked(1033, kChecked);
        f.SetSelection(1101, 4);
        f.SetSelection(1124, 3);
        f.SetSelection(1041, 3);
        f.SetChecked(1099, kChecked);
        f.SetChecked(1043, kChecked);
        for (int id : {1139, 1141, 1143, 1067, 1146, 1148, 1150, 1152}) f.SetChecked(id, kChecked);
    }

    // What a save of the complete form writes, in order.
    std::vector<Write> CompleteWrites() const {
        return {
            {"MAIN", "langue", "33"}, {"PARAMS", "display_details", "0"},
            {"FOLDERS", "source", "C:\\pdf\\in"}, {"FOLDERS", "temp_path", dir_ / "temp"},
            {"PARAMS", "recurse", "1"}, {"PARAMS", "extract_all", "0"},
            {"FOLDERS", "move_path", dir_ / "moved"}, {"PARAMS", "reproduce_path_in_move", "1"},
            {"PARAMS", "only_from_root", "0"}, {"PARAMS", "move", "1"}, {"PARAMS", "delete", "0"},
            {"PARAMS", "erase_log", "0"}, {"PARAMS", "delete", "0"}, {"PARAMS", "password", "secret"},
            {"ERRORS", "move", "1"}, {"ERRORS", "move_error_path", dir_ / "errors"},
            {"PARAMS", "scan_delay", "15"}, {"PARAMS", "scan", "1"}, {"PARAMS", "scan_minutes", "0"},
            {"PARAMS", "trim", "1"}, {"PARAMS", "image_type", "13"},
            {"PARAMS", "rotate_radius", "270"}, {"PARAMS", "rotate", "1"},
            {"FOLDERS", "target", dir_ / "out"},
            {"PARAMS", "reproduce_path", "1"}, {"PARAMS", "reproduce_path_from_root", "0"},
            {"TIFF", "compress", "3"}, {"TIFF", "adjoin", "1"}, {"PARAMS", "density", "300"},
            {"PARAMS", "firstPage", "2"}, {"PARAMS", "lastPage", "9"},
            {"PARAMS", "target_file_name_type", "1"}, {"PARAMS", "prefix_file_name", "scan"},
            {"PARAMS", "add_date_to_name", "1"}, {"PARAMS", "size", "640x480"},
            {"PARAMS", "keep_proportions", "0"}, {"PARAMS", "colorspace", "2"},
            {"MISC", "tooltips", "1"}, {"PARAMS", "shave", "1"}, {"PARAMS", "shave_geometry", "120x80"},
            {"SIGNATURE", "use_a_signature", "1"}, {"SIGNATURE", "signature_file", "C:\\stamps\\logo.png"},
            {"SIGNATURE", "signature_text", ""}, {"SIGNATURE", "signature_region", "7"},
            {"SIGNATURE", "signature_dissolve", "10"},
            {"ENHANCE", "contrast", "1"}, {"ENHANCE", "equalize", "0"}, {"ENHANCE", "monochrome", "1"},
            {"TIFF", "dpi_v", "300"}, {"TIFF", "dpi_h", "200"}, {"TIFF", "pixels_inch", "0"},
            {"TIFF", "author", "Ann"}, {"TIFF", "copyright", "(c) 2024"}, {"TIFF", "comment", "scanned"},
            {"DCX", "adjoin", "1"},
            {"GIF", "87a", "1"}, {"GIF", "interlace", "0"}, {"GIF", "transparency", "1"},
            {"GIF", "color_gif", "1193046"},
            {"JPEG", "quality", "90"}, {"JPEG", "progressive", "1"},
            {"PNG", "quality", "60"}, {"PNG", "progressive", "0"},
            {"RTF", "raw", "0"},
            {"SWF", "adjoin", "0"}, {"SWF", "quality", "50"}, {"SWF", "framerate", "25"},
            {"TXT", "txt_type", "0"}, {"TXT", "raw", "1"}, {"TXT", "columns", "80"},
            {"TXT", "mark_crlf", "0"},
            {"PS", "ps_type", "4"}, {"PS", "page", "3"}, {"PS", "compress", "0"},
            {"PS", "ps_compress", "3"}, {"PS", "adjoin", "1"},
            {"BMP", "bmp_type", "1"}, {"BMP", "compress", "0"},
            {"Infos", "file_name", "1"}, {"Infos", "file_size", "0"}, {"Infos", "title", "1"},
            {"Infos", "subject", "0"}, {"Infos", "keywords", "1"}, {"Infos", "author", "0"},
            {"Infos", "creator", "1"}, {"Infos", "producer", "0"}, {"Infos", "creation", "1"},
            {"Infos", "modification", "0"}, {"Infos", "optimization", "1"}, {"Infos", "version", "0"},
            {"Infos", "page_size", "1"}, {"Infos", "encrypted", "0"}, {"Infos", "tagged", "1"},
        };
    }

    std::string Value(const char* section, const char* key) const {
        char out[1024];
        ProfileReadString(section, key, "<missing>", out, sizeof out, path().c_str());
        return out;
    }
    std::string path() const { return dir_ / "job.ini"; }

    TempFolder dir_;
    ProgramValues values_;
    bool hadTmpdir_ = false;
    std::string oldTmpdir_;
};

TEST_F(SaveJobTest, CompleteSaveFromScratch) {
    MemoryForm form;
    FillComplete(form);
    ASSERT_EQ(1, SaveJob(form, path().c_str(), values_));
    EXPECT_TRUE(form.messages.empty());
    EXPECT_EQ(-1, form.inputPage);
    EXPECT_EQ(-1, form.outputPage);
    EXPECT_EQ(0, form.focus);
    const std::string expected =
        "[MAIN]\r\nlangue=33\r\n"
        "[PARAMS]\r\ndisplay_details=0\r\nrecurse=1\r\nextract_all=0\r\nreproduce_path_in_move=1\r\n"
        "only_from_root=0\r\nmove=1\r\ndelete=0\r\nerase_log=0\r\npassword=secret\r\nscan_delay=15\r\n"
        "scan=1\r\nscan_minutes=0\r\ntrim=1\r\nimage_type=13\r\nrotate_radius=270\r\nrotate=1\r\n"
        "reproduce_path=1\r\nreproduce_path_from_root=0\r\ndensity=300\r\nfirstPage=2\r\nlastPage=9\r\n"
        "target_file_name_type=1\r\nprefix_file_name=scan\r\nadd_date_to_name=1\r\nsize=640x480\r\n"
        "keep_proportions=0\r\ncolorspace=2\r\nshave=1\r\nshave_geometry=120x80\r\n"
        "[FOLDERS]\r\nsource=C:\\pdf\\in\r\ntemp_path=" + (dir_ / "temp") + "\r\nmove_path=" +
        (dir_ / "moved") + "\r\ntarget=" + (dir_ / "out") + "\r\n"
        "[ERRORS]\r\nmove=1\r\nmove_error_path=" + (dir_ / "errors") + "\r\n"
        "[TIFF]\r\ncompress=3\r\nadjoin=1\r\ndpi_v=300\r\ndpi_h=200\r\npixels_inch=0\r\nauthor=Ann\r\n"
        "copyright=(c) 2024\r\ncomment=scanned\r\n"
        "[MISC]\r\ntooltips=1\r\n"
        "[SIGNATURE]\r\nuse_a_signature=1\r\nsignature_file=C:\\stamps\\logo.png\r\nsignature_text=\r\n"
        "signature_region=7\r\nsignature_dissolve=10\r\n"
        "[ENHANCE]\r\ncontrast=1\r\nequalize=0\r\nmonochrome=1\r\n"
        "[DCX]\r\nadjoin=1\r\n"
        "[GIF]\r\n87a=1\r\ninterlace=0\r\ntransparency=1\r\ncolor_gif=1193046\r\n"
        "[JPEG]\r\nquality=90\r\nprogressive=1\r\n"
        "[PNG]\r\nquality=60\r\nprogressive=0\r\n"
        "[RTF]\r\nraw=0\r\n"
        "[SWF]\r\nadjoin=0\r\nquality=50\r\nframerate=25\r\n"
        "[TXT]\r\ntxt_type=0\r\nraw=1\r\ncolumns=80\r\nmark_crlf=0\r\n"
        "[PS]\r\nps_type=4\r\npage=3\r\ncompress=0\r\nps_compress=3\r\nadjoin=1\r\n"
        "[BMP]\r\nbmp_type=1\r\ncompress=0\r\n"
        "[Infos]\r\nfile_name=1\r\nfile_size=0\r\ntitle=1\r\nsubject=0\r\nkeywords=1\r\nauthor=0\r\n"
        "creator=1\r\nproducer=0\r\ncreation=1\r\nmodification=0\r\noptimization=1\r\nversion=0\r\n"
        "page_size=1\r\nencrypted=0\r\ntagged=1\r\n";
    EXPECT_EQ(expected, ReadBytes(path()));
    // The write list the other tests cut their expectations from gives the same bytes.
    EXPECT_EQ(expected, FreshFile(CompleteWrites()));
}

struct StopCase {
    const char* name;
    std::function<void(MemoryForm&)> change;
    std::vector<int> answers;
    const char* section;
    const char* key;
    std::string folder;
    int inputPage;
    int outputPage;
    int focus;
    std::vector<Write> written;
};

TEST_F(SaveJobTest, EveryCheckStopsWhereItShould) {
    const std::vector<Write> all = CompleteWrites();
    const std::string missing = dir_ / "missing/deeper";
    const StopCase cases[] = {
        {"empty source", [](MemoryForm& f) { f.SetText(1000, ""); }, {},
         "ERRORS", "no_source", "", 0, -1, 1000, WritesBefore(all, "FOLDERS", "source")},
        {"missing temporary folder, No", [&](MemoryForm& f) { f.SetText(1094, missing.c_str()); }, {kAnswerNo},
         "ERRORS", "no_temp_folder", missing, -1, -1, 1094, WritesBefore(all, "FOLDERS", "temp_path")},
        {"empty move folder", [](MemoryForm& f) { f.SetText(1070, ""); }, {},
         "ERRORS", "no_moveto_folder", "", -1, -1, 1070, WritesBefore(all, "FOLDERS", "move_path")},
        {"missing move folder, No", [&](MemoryForm& f) { f.SetText(1070, missing.c_str()); }, {kAnswerNo},
         "QUESTIONS", "no_folder", missing, -1, -1, 1070, WritesBefore(all, "FOLDERS", "move_path")},
        {"delete cancelled",
         [](MemoryForm& f) {
             f.SetChecked(1083, kUnchecked);
             f.SetChecked(1084, kChecked);
         },
         {kAnswerCancel}, "QUESTIONS", "delete_pdf", "", 3, -1, 0,
         WritesBefore(all, "FOLDERS", "move_path") +
             std::vector<Write>{{"PARAMS", "move", "0"}, {"PARAMS", "delete", "0"},
                                {"FOLDERS", "move_path", ""}, {"PARAMS", "erase_log", "0"}}},
        {"empty error folder", [](MemoryForm& f) { f.SetText(1247, ""); }, {},
         "ERRORS", "no_moveerror_folder", "", 6, -1, 1247, WritesBefore(all, "ERRORS", "move")},
        {"missing error folder, No", [&](MemoryForm& f) { f.SetText(1247, missing.c_str()); }, {kAnswerNo},
         "QUESTIONS", "no_folder", missing, 6, -1, 1247, WritesBefore(all, "ERRORS", "move")},
        {"scan that would leave the sources", [](MemoryForm& f) { f.SetChecked(1245, kUnchecked); }, {},
         "ERRORS", "scan", "", 3, -1, 0,
         WritesBefore(all, "ERRORS", "move") + std::vector<Write>{{"ERRORS", "move", "0"}}},
        {"empty scan delay", [](MemoryForm& f) { f.SetText(1071, ""); }, {},
         "ERRORS", "scan_delay", "", 1, -1, 1071, WritesBefore(all, "PARAMS", "scan_delay")},
        {"empty target", [](MemoryForm& f) { f.SetText(1023, ""); }, {},
         "ERRORS", "no_target_folder", "", -1, 0, 1023, WritesBefore(all, "FOLDERS", "target")},
        {"missing target, No", [&](MemoryForm& f) { f.SetText(1023, missing.c_str()); }, {kAnswerNo},
         "QUESTIONS", "no_folder", missing, -1, 0, 1023, WritesBefore(all, "FOLDERS", "target")},
        {"first page 0", [](MemoryForm& f) { f.SetText(1077, "0"); }, {},
         "ERRORS", "first_page", "", 5, -1, 1077, WritesBefore(all, "PARAMS", "firstPage")},
        {"pages 5 to 3",
         [](MemoryForm& f) {
             f.SetText(1077, "5");
             f.SetText(1079, "3");
         },
         {}, "ERRORS", "last_page", "", 5, -1, 1079, WritesBefore(all, "PARAMS", "firstPage")},
        {"empty last page", [](MemoryForm& f) { f.SetText(1079, ""); }, {},
         "ERRORS", "last_page", "", 5, -1, 1079, WritesBefore(all, "PARAMS", "firstPage")},
        {"empty prefix", [](MemoryForm& f) { f.SetText(1128, ""); }, {},
         "ERRORS", "prefix", "", -1, 1, 1128,
         WritesBefore(all, "PARAMS", "target_file_name_type") +
             std::vector<Write>{{"PARAMS", "target_file_name_type", "0"}}},
        {"width without height", [](MemoryForm& f) { f.SetText(1009, "800"); f.SetText(1010, ""); }, {},
         "ERRORS", "size", "", -1, -1, 1010, WritesBefore(all, "PARAMS", "size")},
        {"height without width", [](MemoryForm& f) { f.SetText(1009, "x"); }, {},
         "ERRORS", "size", "", -1, -1, 1009, WritesBefore(all, "PARAMS", "size")},
    };
    for (const StopCase& c : cases) {
        std::remove(path().c_str());
        MemoryForm form;
        FillComplete(form);
        c.change(form);
        form.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(0, SaveJob(form, path().c_str(), values_)) << c.name;
        ASSERT_EQ(1u, form.messages.size()) << c.name;
        EXPECT_EQ(c.section, form.messages[0].section) << c.name;
        EXPECT_EQ(c.key, form.messages[0].key) << c.name;
        EXPECT_EQ(c.folder, form.messages[0].folder) << c.name;
        EXPECT_EQ(c.inputPage, form.inputPage) << c.name;
        EXPECT_EQ(c.outputPage, form.outputPage) << c.name;
        EXPECT_EQ(c.focus, form.focus) << c.name;
        EXPECT_EQ(FreshFile(c.written), ReadBytes(path())) << c.name;
        EXPECT_FALSE(IsFolder(missing)) << c.name << ": No creates nothing";
    }
}

TEST_F(SaveJobTest, YesCreatesTheMissingFolder) {
    struct Case {
        int control;
        const char* section;
        const char* key;
        std::string typed;
        const char* jobSection;
        const char* jobKey;
        std::string written;
    };
    const Case cases[] = {
        // The temporary folder is written as typed; the others are cleaned.
        {1094, "ERRORS", "no_temp_folder", dir_ / "new/a/b/temp", "FOLDERS", "temp_path", dir_ / "new/a/b/temp"},
        {1070, "QUESTIONS", "no_folder", dir_ / "new/move\\\\\\d", "FOLDERS", "move_path", dir_ / "new/move\\d"},
        {1247, "QUESTIONS", "no_folder", dir_ / "new/err\\\\d", "ERRORS", "move_error_path", dir_ / "new/err\\d"},
        {1023, "QUESTIONS", "no_folder", dir_ / "new/x/out", "FOLDERS", "target", dir_ / "new/x/out"},
    };
    for (const Case& c : cases) {
        std::remove(path().c_str());
        MemoryForm form;
        FillComplete(form);
        form.SetText(c.control, c.typed.c_str());
        form.answers = {kAnswerYes};
        EXPECT_EQ(1, SaveJob(form, path().c_str(), values_)) << c.typed;
        ASSERT_EQ(1u, form.messages.size()) << c.typed;
        EXPECT_EQ(c.section, form.messages[0].section) << c.typed;
        EXPECT_EQ(c.key, form.messages[0].key) << c.typed;
        EXPECT_EQ(c.typed, form.messages[0].folder) << c.typed;
        EXPECT_TRUE(IsFolder(c.written)) << c.written;
        EXPECT_EQ(c.written, Value(c.jobSection, c.jobKey)) << c.typed;
        EXPECT_EQ(0, std::system(("rm -rf '" + (dir_ / "new") + "'").c_str()));
    }
}

// Folder operations that only record, as a check without saving uses them.
struct RecordedFolders : SaveFolders {
    int Probe(const char* folder) override {
        calls.push_back(std::string("probe ") + folder);
        return 0;
    }
    void Create(const char* folder) override { calls.push_back(std::string("create ") + folder); }
    std::vector<std::string> calls;
};

TEST_F(SaveJobTest, GivenFoldersProbeAndCreateInsteadOfTheFileSystem) {
    MemoryForm form;
    FillComplete(form);
    form.SetText(1070, (dir_ / "m\\\\v").c_str());
    form.questionDefault = kAnswerYes;
    RecordedFolders folders;
    ASSERT_EQ(1, SaveJob(form, path().c_str(), values_, folders));
    // Yes creates the folder as typed; the folders a save cleans are created again, cleaned.
    const std::vector<std::string> expected = {
        "probe " + (dir_ / "temp"), "create " + (dir_ / "temp"),
        "probe " + (dir_ / "m\\\\v"), "create " + (dir_ / "m\\\\v"), "create " + (dir_ / "m\\v"),
        "probe " + (dir_ / "errors"), "create " + (dir_ / "errors"), "create " + (dir_ / "errors"),
        "probe " + (dir_ / "out"), "create " + (dir_ / "out"),
    };
    EXPECT_EQ(expected, folders.calls);
    ASSERT_EQ(4u, form.messages.size());
    EXPECT_EQ("no_temp_folder", form.messages[0].key);
    EXPECT_EQ(dir_ / "m\\\\v", form.messages[1].folder);
    EXPECT_FALSE(IsFolder(dir_ / "m\\v")) << "nothing is created on disk";
    EXPECT_EQ(dir_ / "m\\v", Value("FOLDERS", "move_path"));
}

TEST_F(SaveJobTest, FoldersAreCleanedKeepingANetworkPrefix) {
    MemoryForm form;
    FillComplete(form);
    // Existing folders whose names carry doubled backslashes on this system.
    const std::string typed = dir_ / "out\\\\x";
    ASSERT_EQ(0, mkdir(typed.c_str(), 0777));
    form.SetText(1023, typed.c_str());
    form.SetText(1000, "\\\\srv\\\\share\\in");
    ASSERT_EQ(1, SaveJob(form, path().c_str(), values_));
    EXPECT_EQ(dir_ / "out\\x", Value("FOLDERS", "target"));
    EXPECT_TRUE(IsFolder(dir_ / "out\\x"));
    EXPECT_EQ("\\\\srv\\\\share\\in", Value("FOLDERS", "source")) << "the source is written as typed";
}

TEST_F(SaveJobTest, EmptyTemporaryFieldWritesTheSystemFolder) {
    MemoryForm form;
    FillComplete(form);
    form.SetText(1094, "");
    ASSERT_EQ(1, SaveJob(form, path().c_str(), values_));
    EXPECT_EQ(dir_.path() + "/", Value("FOLDERS", "temp_path"));
}

TEST_F(SaveJobTest, ConfirmedDeletePassesTheScanCheck) {
    MemoryForm form;
    FillComplete(form);
    form.SetChecked(1083, kUnchecked);
    form.SetChecked(1084, kChecked);
    form.SetChecked(1245, kUnchecked);
    form.answers = {kAnswerOk};
    ASSERT_EQ(1, SaveJob(form, path().c_str(), values_));
    ASSERT_EQ(1u, form.messages.size());
    EXPECT_EQ("delete_pdf", form.messages[0].key);
    EXPECT_EQ(3, form.inputPage);
    EXPECT_EQ("1", Value("PARAMS", "delete"));
    EXPECT_EQ("0", Value("PARAMS", "move"));
    EXPECT_EQ("", Value("FOLDERS", "move_path"));
    EXPECT_EQ("0", Value("ERRORS", "move"));
    EXPECT_EQ("1", Value("PARAMS", "scan"));
}

TEST_F(SaveJobTest, KeysAStepLeavesUnwrittenKeepTheirValues) {
    const std::string before =
        "; kept comment\r\n[PARAMS]\r\nreproduce_path_in_move=1\r\nonly_from_root=1\r\npassword=old\r\n"
        "scan_delay=7\r\nscan_minutes=0\r\nrotate_radius=33\r\nprefix_file_name=oldprefix\r\n"
        "shave_geometry=5x6\r\nunknown=stays\r\n"
        "[ERRORS]\r\nmove_error_path=D:\\old\r\n[GIF]\r\ncolor_gif=42\r\n"
        "[TXT]\r\ntxt_type=3\r\ncolumns=33\r\nmark_crlf=0\r\n";
    WriteBytes(path(), before);
    MemoryForm form;
    form.SetText(1000, "C:\\in");
    form.SetText(1023, (dir_ / "out").c_str());
    form.SetChecked(1012, kChecked);
    form.SetChecked(1092, kChecked);
    form.SetChecked(1126, kChecked);
    form.SetChecked(1034, kChecked);
    form.SetChecked(1035, kChecked);
    form.SetText(1137, "");
    ASSERT_EQ(1, SaveJob(form, path().c_str(), values_));
    EXPECT_TRUE(form.messages.empty());
    struct Kept { const char* section; const char* key; const char* value; };
    const Kept kept[] = {
        {"PARAMS", "reproduce_path_in_move", "1"}, {"PARAMS", "only_from_root", "1"},
        {"PARAMS", "password", "old"}, {"PARAMS", "scan_delay", "7"}, {"PARAMS", "scan_minutes", "0"},
        {"PARAMS", "rotate_radius", "33"}, {"PARAMS", "prefix_file_name", "oldprefix"},
        {"PARAMS", "shave_geometry", "5x6"}, {"PARAMS", "unknown", "stays"},
        {"ERRORS", "move_error_path", "D:\\old"}, {"GIF", "color_gif", "42"},
        {"TXT", "txt_type", "3"}, {"TXT", "columns", "33"}, {"TXT", "mark_crlf", "0"},
        // Written: nothing particular for the sources, all pages, HTML text.
        {"PARAMS", "move", "0"}, {"PARAMS", "delete", "0"}, {"FOLDERS", "move_path", ""},
        {"PARAMS", "firstPage", "-1"}, {"PARAMS", "lastPage", "-1"}, {"TXT", "raw", "2"},
        {"PARAMS", "size", ""}, {"ERRORS", "move", "0"}, {"PARAMS", "target_file_name_type", "0"},
    };
    for (const Kept& k : kept) EXPECT_EQ(k.value, Value(k.section, k.key)) << k.section << "/" << k.key;
    EXPECT_EQ(0u, ReadBytes(path()).rfind("; kept comment\r\n[PARAMS]\r\nreproduce_path_in_move=1\r\n", 0));
}

TEST_F(SaveJobTest, ReadOnlyJobFileStopsAtTheFirstWrite) {
    const std::string before = "[MAIN]\r\nlangue=1\r\n";
    WriteBytes(path(), before);
    ASSERT_EQ(0, chmod(path().c_str(), 0444));
    MemoryForm form;
    FillComplete(form);
    EXPECT_EQ(0, SaveJob(form, path().c_str(), values_));
    ASSERT_EQ(1u, form.messages.size());
    EXPECT_EQ("ERRORS", form.messages[0].section);
    EXPECT_EQ("write_failed", form.messages[0].key);
    EXPECT_EQ(path(), form.messages[0].folder);
    EXPECT_EQ(before, ReadBytes(path()));

    // A job file in a missing folder is not created.
    MemoryForm other;
    FillComplete(other);
    const std::string nowhere = dir_ / "none/job.ini";
    EXPECT_EQ(0, SaveJob(other, nowhere.c_str(), values_));
    ASSERT_EQ(1u, other.messages.size());
    EXPECT_EQ(nowhere, other.messages[0].folder);
    EXPECT_FALSE(IsFolder(dir_ / "none"));
}

TEST_F(SaveJobTest, OverLongPathsAreRefusedWholeNeverCut) {
    // The temporary folder at 258 and 259 characters is a path; at 260 and
    // 300 the save stops on it with its message, writes no temp_path and
    // creates no folder, least of all the path cut to 259.
    for (size_t length : {258u, 259u, 260u, 300u}) {
        std::string base = dir_ / "t";
        std::string temp = base + "/" + std::string(length - base.size() - 1, static_cast<char>('a' + length % 26));
        MemoryForm form;
        FillComplete(form);
        form.SetText(1094, temp.c_str());
        form.questionDefault = kAnswerYes;
        std::remove(path().c_str());
        int saved = SaveJob(form, path().c_str(), values_);
        char stored[600] = "";
        ProfileReadString("FOLDERS", "temp_path", "none", stored, sizeof stored, path().c_str());
        if (length <= 259) {
            EXPECT_EQ(1, saved) << length;
            EXPECT_EQ(temp, stored) << length;
            continue;
        }
        EXPECT_EQ(0, saved) << length;
        ASSERT_EQ(1u, form.messages.size()) << length;
        EXPECT_EQ("path_too_long", form.messages[0].key);
        EXPECT_EQ(temp, form.messages[0].folder) << "the message shows the whole path";
        EXPECT_EQ(1094, form.focus);
        EXPECT_STREQ("none", stored);
        EXPECT_FALSE(IsFolder(temp.substr(0, 259))) << length;
    }
    // A signature file loaded too long is refused the same way, not cut.
    const std::string signature = "C:\\" + std::string(297, 's');
    MemoryForm form;
    FillComplete(form);
    form.SetChecked(1158, kChecked);
    form.SetChecked(1159, kChecked);
    form.SetText(1161, signature.c_str());
    std::remove(path().c_str());
    EXPECT_EQ(0, SaveJob(form, path().c_str(), values_));
    ASSERT_FALSE(form.messages.empty());
    EXPECT_EQ("path_too_long", form.messages.back().key);
    EXPECT_EQ(signature, form.messages.back().folder);
    EXPECT_EQ(1161, form.focus);
    char stored[600] = "";
    ProfileReadString("SIGNATURE", "signature_file", "none", stored, sizeof stored, path().c_str());
    EXPECT_STREQ("none", stored);
}

// Makes the job file read-only when step 4 reads "Recursive search".
struct FormThatLocksTheFile : MemoryForm {
    std::string path;
    int IsChecked(int id) override {
        if (id == 1005) chmod(path.c_str(), 0444);
        return MemoryForm::IsChecked(id);
    }
};

TEST_F(SaveJobTest, FailedWriteMidwayKeepsTheEarlierKeys) {
    FormThatLocksTheFile form;
    FillComplete(form);
    form.path = path();
    EXPECT_EQ(0, SaveJob(form, path().c_str(), values_));
    ASSERT_EQ(1u, form.messages.size());
    EXPECT_EQ("write_failed", form.messages[0].key);
    EXPECT_EQ(FreshFile(WritesBefore(CompleteWrites(), "PARAMS", "recurse")), ReadBytes(path()));
}

TEST_F(SaveJobTest, LoadSaveLoadGivesTheSameForm) {
    const std::string first = dir_ / "first.ini";
    const std::string second = dir_ / "second.ini";
    const std::string third = dir_ / "third.ini";
    WriteBytes(first, JobWithEverythingOn(dir_.path()));

    MemoryForm loaded;
    ProgramValues values;
    LoadJob(loaded, first.c_str(), 0, values);
    ASSERT_EQ(1, SaveJob(loaded, second.c_str(), values));
    EXPECT_TRUE(loaded.messages.empty());

    MemoryForm again;
    ProgramValues againValues;
    LoadJob(again, second.c_str(), 0, againValues);
    EXPECT_EQ(std::vector<int>(), again.DifferentControls(loaded));
    EXPECT_EQ(33, againValues.languageCode);
    EXPECT_EQ(values.displayDetails, againValues.displayDetails);
    EXPECT_EQ(255u, againValues.transparencyColour);
    EXPECT_EQ(1, againValues.reproduceInMoveRemembered);

    ASSERT_EQ(1, SaveJob(again, third.c_str(), againValues));
    EXPECT_EQ(ReadBytes(second), ReadBytes(third)) << "a second round writes the same file";
}

TEST_F(SaveJobTest, SavingOverTheLoadedFileKeepsSwitchedOffValues) {
    WriteBytes(path(), JobWithOtherChoices(dir_.path()));
    MemoryForm loaded;
    ProgramValues values;
    LoadJob(loaded, path().c_str(), 0, values);
    loaded.answers = {kAnswerOk};
    ASSERT_EQ(1, SaveJob(loaded, path().c_str(), values));
    ASSERT_EQ(1u, loaded.messages.size());
    EXPECT_EQ("delete_pdf", loaded.messages[0].key);

    MemoryForm again;
    ProgramValues againValues;
    LoadJob(again, path().c_str(), 0, againValues);
    // Without moving a save empties the move folder, and with all pages it
    // stores no page numbers; everything else comes back.
    EXPECT_EQ((std::vector<int>{1070, 1077, 1079}), again.DifferentControls(loaded));
    ExpectControls(again, {Shows(1070, ""), Shows(1077, ""), Shows(1079, "")}, "cleared");
    EXPECT_EQ(1, againValues.reproduceInMoveRemembered);
    ExpectControls(again, {Shows(1071, "9"), Shows(1128, "kept"),
                           Shows(1247, dir_ / "errors"), Checked(1084), Checked(1160),
                           Shows(1162, "Confidential"), Checked(1044), Checked(1034)},
                   "reloaded");
}

TEST_F(SaveJobTest, ProbeFolder) {
    EXPECT_EQ(1, ProbeFolder((dir_ / "temp").c_str()));
    EXPECT_EQ(1, ProbeFolder((dir_ / "temp/").c_str()));
    DIR* folder = opendir((dir_ / "temp").c_str());
    ASSERT_NE(nullptr, folder);
    int entries = 0;
    while (readdir(folder) != nullptr) ++entries;
    closedir(folder);
    EXPECT_EQ(2, entries) << "the probe file is deleted";
    EXPECT_EQ(0, ProbeFolder((dir_ / "missing").c_str()));
    WriteBytes(dir_ / "plain", "x");
    EXPECT_EQ(0, ProbeFolder((dir_ / "plain").c_str()));
}

}  // namespace
