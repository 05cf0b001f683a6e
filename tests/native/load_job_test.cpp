// Loading job files into the in-memory form: the defaults of a job file
// without settings, the values and enable rules a load sets, the read limits
// and a reload's return to a fresh form.
#include "job/form_binding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "binding_support.h"

namespace {

class LoadJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        hadTmpdir_ = old != nullptr;
        if (hadTmpdir_) oldTmpdir_ = old;
        setenv("TMPDIR", dir_.path().c_str(), 1);
    }
    void TearDown() override {
        if (hadTmpdir_) setenv("TMPDIR", oldTmpdir_.c_str(), 1);
        else unsetenv("TMPDIR");
    }
    // Loads bytes as a start-up load into a fresh form.
    MemoryForm Load(const std::string& bytes, ProgramValues* values = nullptr) {
        WriteBytes(path(), bytes);
        MemoryForm form;
        ProgramValues own;
        EXPECT_EQ(1, LoadJob(form, path().c_str(), 0, values != nullptr ? *values : own));
        return form;
    }
    std::string path() const { return dir_ / "job.ini"; }
    std::string tempFolder() const { return dir_.path() + "/"; }

    TempFolder dir_;
    bool hadTmpdir_ = false;
    std::string oldTmpdir_;
};

TEST_F(LoadJobTest, JobWithoutSettingsLoadsEveryDefault) {
    ProgramValues values;
    values.languageCode = 33;
    values.transparencyColour = 77;
    values.reproduceInMoveRemembered = 1;
    values.tooltips = 1;
    MemoryForm form = Load("[PROCESS]\r\nID=0\r\n", &values);
    EXPECT_EQ(1, values.languageCode);
    EXPECT_EQ(1, values.displayDetails);
    EXPECT_EQ(0u, values.transparencyColour);
    EXPECT_EQ(0, values.reproduceInMoveRemembered);
    EXPECT_EQ(1, values.tooltips) << "a load leaves the tooltips flag";
    EXPECT_EQ(1, form.tabsCreated);
    EXPECT_EQ(0, form.inputPage);
    EXPECT_EQ(0, form.outputPage);
    EXPECT_TRUE(form.messages.empty());

    std::vector<Expect> expects = {
        Checked(1186), Selects(1025, 1),
        // No shave, trim or rotation.
        Unchecked(1112), Disabled(1108), Disabled(1109), Shows(1108, ""), Shows(1109, ""),
        Unchecked(1131), Unchecked(1133), Disabled(1134), Shows(1134, ""),
        // Source files stay where they are.
        Unchecked(1083), Unchecked(1084), Checked(1092), Disabled(1070), Disabled(1096),
        Disabled(1097), Unchecked(1096), Unchecked(1097), Shows(1070, ""),
        // No scan.
        Unchecked(1087), Disabled(1071), Disabled(1113), Disabled(1114), Shows(1071, "0"),
        Checked(1113), Unchecked(1114),
        Shows(1137, ""), Shows(1094, tempFolder()),
        // All pages.
        Checked(1012), Unchecked(1076), Disabled(1077), Disabled(1079), Shows(1077, "0"),
        Shows(1079, "0"),
        // Conversion errors: do nothing.
        Unchecked(1245), Checked(1246), Disabled(1247), Disabled(1249), Shows(1247, ""),
        // Names from the PDF name.
        Checked(1126), Unchecked(1127), Disabled(1128), Disabled(1130), Shows(1128, ""),
        Unchecked(1185),
        // No signature; the text choice.
        Unchecked(1158), Unchecked(1159), Checked(1160), Disabled(1159), Disabled(1160),
        Disabled(1161), Disabled(1162), Disabled(1163), Shows(1161, ""), Shows(1162, ""),
        Selects(1165, 0), Shows(1167, "50"),
        Unchecked(1169), Unchecked(1173), Unchecked(1174),
        Checked(1042), Unchecked(1043), Unchecked(1044), Checked(1045), Unchecked(1559),
        Unchecked(1175), Unchecked(1176), Unchecked(1177),
        Shows(1047, "75"), Unchecked(1053), Shows(1057, "75"), Unchecked(1055),
        Checked(1040), Selects(1041, 1), Selects(1101, 0), Selects(1124, 0), Unchecked(1099),
        Shows(1000, ""), Shows(1023, ""), Unchecked(1005),
        Unchecked(1031), Disabled(1098), Unchecked(1098), Shows(1008, ""),
        Unchecked(1007), Selects(1011, 0), Disabled(1011),
        Shows(1073, "72"), Shows(1075, "72"), Checked(1154), Unchecked(1155), Unchecked(1006),
        Shows(1009, ""), Shows(1010, ""), Selects(1052, 0),
        Shows(1002, ""), Shows(1020, ""), Shows(1022, ""),
        Checked(1170), Unchecked(1171),
        Checked(1180), Shows(1182, "75"), Shows(1184, "100"),
        // Raw text with 80 columns and page-break marks.
        Selects(1252, 0), Checked(1033), Unchecked(1034), Unchecked(1035), Enabled(1102),
        Enabled(1103), Enabled(1135), Disabled(1035), Shows(1103, "80"), Checked(1135),
        Checked(1086),
    };
    for (int id : {1139, 1140, 1141, 1142, 1143, 1144, 1067, 1145, 1146, 1147, 1148, 1149, 1150,
                   1151, 1152})
        expects.push_back(Checked(id));
    ExpectControls(form, expects, "defaults");

    // A missing file loads as one without settings.
    MemoryForm missing;
    ProgramValues missingValues;
    LoadJob(missing, (dir_ / "none.ini").c_str(), 0, missingValues);
    EXPECT_TRUE(missing.DifferentControls(form).empty());
}

struct LoadCase {
    const char* name;
    const char* file;
    std::vector<Expect> expects;
};

TEST_F(LoadJobTest, ValuesAndEnableRules) {
    const LoadCase cases[] = {
        {"moving without reproducing", "[PARAMS]\nmove=1\nreproduce_path_in_move=0\n",
         {Checked(1083), Enabled(1070), Enabled(1096), Unchecked(1096), Disabled(1097),
          Unchecked(1092), Unchecked(1084)}},
        {"reproducing without moving", "[PARAMS]\nmove=0\nreproduce_path_in_move=1\n",
         {Unchecked(1083), Checked(1096), Disabled(1096), Disabled(1097), Disabled(1070),
          Checked(1092)}},
        {"moving and reproducing", "[PARAMS]\nmove=1\nreproduce_path_in_move=1\nonly_from_root=1\n",
         {Enabled(1097), Checked(1097)}},
        {"deleting", "[PARAMS]\nmove=0\ndelete=1\n", {Checked(1084), Unchecked(1092)}},
        {"moving wins over deleting", "[PARAMS]\nmove=1\ndelete=1\n",
         {Checked(1083), Unchecked(1084), Unchecked(1092)}},
        {"stored signature file, signature off",
         "[SIGNATURE]\nuse_a_signature=0\nsignature_file=C:\\logo.gif\nsignature_text=t\n",
         {Checked(1159), Unchecked(1160), Shows(1161, "C:\\logo.gif"), Shows(1162, ""),
          Disabled(1159), Disabled(1160), Disabled(1161), Disabled(1162), Disabled(1163)}},
        {"signature file", "[SIGNATURE]\nuse_a_signature=1\nsignature_file=C:\\logo.gif\n",
         {Checked(1158), Checked(1159), Enabled(1159), Enabled(1160), Enabled(1161),
          Enabled(1163), Disabled(1162)}},
        {"signature text", "[SIGNATURE]\nuse_a_signature=1\nsignature_text=Draft\n",
         {Checked(1160), Unchecked(1159), Shows(1162, "Draft"), Enabled(1162), Disabled(1161),
          Disabled(1163), Enabled(1159), Enabled(1160)}},
        {"erase_log counts only as exactly 1, trim as nonzero", "[PARAMS]\nerase_log=2\ntrim=2\n",
         {Unchecked(1186), Checked(1131)}},
        {"output format outside the list", "[PARAMS]\nimage_type=17\n", {Selects(1025, -1)}},
        {"formatted text as an HTML page", "[TXT]\nraw=2\n",
         {Checked(1034), Checked(1035), Unchecked(1033), Disabled(1102), Disabled(1103),
          Disabled(1135), Enabled(1035)}},
        {"formatted text", "[TXT]\nraw=0\n", {Checked(1034), Unchecked(1035), Enabled(1035)}},
        {"missing page-break mark and columns", "[TXT]\nraw=1\n", {Checked(1135), Shows(1103, "80")}},
        {"TIFF JPEG compression", "[TIFF]\ncompress=3\n",
         {Checked(1007), Selects(1011, 2), Enabled(1011)}},
        {"TIFF compression outside the list", "[TIFF]\ncompress=9\n",
         {Checked(1007), Selects(1011, -1)}},
        {"shave geometry", "[PARAMS]\nshave=1\nshave_geometry=120x80\n",
         {Checked(1112), Shows(1109, "120"), Shows(1108, "80"), Enabled(1108), Enabled(1109)}},
        {"shave geometry without x", "[PARAMS]\nshave=1\nshave_geometry=12080\n",
         {Checked(1112), Shows(1109, ""), Shows(1108, "")}},
        {"shave geometry not read with shave off", "[PARAMS]\nshave=0\nshave_geometry=120x80\n",
         {Shows(1109, ""), Shows(1108, ""), Disabled(1109)}},
        {"shave geometry cut to 19 characters",
         "[PARAMS]\nshave=1\nshave_geometry=1234567890123456789x5\n", {Shows(1109, ""), Shows(1108, "")}},
        {"negative shave width", "[PARAMS]\nshave=1\nshave_geometry=-1x 5\n",
         {Shows(1109, "4294967295"), Shows(1108, "5")}},
        {"size", "[PARAMS]\nsize=640x480\n", {Shows(1009, "640"), Shows(1010, "480")}},
        {"size without x", "[PARAMS]\nsize=640\n", {Shows(1009, ""), Shows(1010, "")}},
        {"size goes as text", "[PARAMS]\nsize=axbx\n", {Shows(1009, "a"), Shows(1010, "bx")}},
        {"page range", "[PARAMS]\nextract_all=0\nfirstPage=2\nlastPage=-1\n",
         {Checked(1076), Unchecked(1012), Enabled(1077), Enabled(1079), Shows(1077, "2"),
          Shows(1079, "")}},
        {"all pages", "[PARAMS]\nfirstPage=-1\nlastPage=-1\n", {Shows(1077, ""), Shows(1079, "")}},
        {"prefix naming", "[PARAMS]\ntarget_file_name_type=1\nprefix_file_name=inv\n",
         {Checked(1127), Unchecked(1126), Enabled(1128), Enabled(1130), Shows(1128, "inv")}},
        {"naming type other than 1", "[PARAMS]\ntarget_file_name_type=2\nprefix_file_name=inv\n",
         {Checked(1126), Unchecked(1127), Disabled(1128), Shows(1128, "inv")}},
        {"rotation with its default", "[PARAMS]\nrotate=1\n",
         {Checked(1133), Enabled(1134), Shows(1134, "90")}},
        {"negative rotation shows unsigned", "[PARAMS]\nrotate=1\nrotate_radius=-90\n",
         {Shows(1134, "4294967206")}},
        {"rotation off leaves the radius", "[PARAMS]\nrotate=0\nrotate_radius=180\n",
         {Unchecked(1133), Disabled(1134), Shows(1134, "")}},
        {"scan in seconds", "[PARAMS]\nscan=1\nscan_delay=30\nscan_minutes=0\n",
         {Checked(1087), Enabled(1071), Enabled(1113), Enabled(1114), Shows(1071, "30"),
          Unchecked(1113), Checked(1114)}},
        {"error folder", "[ERRORS]\nmove=1\nmove_error_path=D:\\bad\n",
         {Checked(1245), Unchecked(1246), Enabled(1247), Enabled(1249), Shows(1247, "D:\\bad")}},
        {"error folder shown with moving off", "[ERRORS]\nmove=0\nmove_error_path=D:\\bad\n",
         {Checked(1246), Disabled(1247), Shows(1247, "D:\\bad")}},
        {"reproducing the source path", "[PARAMS]\nreproduce_path=1\nreproduce_path_from_root=1\n",
         {Checked(1031), Enabled(1098), Checked(1098)}},
        {"16 million colours", "[BMP]\nbmp_type=2\n", {Checked(1044), Unchecked(1042), Unchecked(1043)}},
        {"BMP type outside the choice", "[BMP]\nbmp_type=3\n",
         {Unchecked(1042), Unchecked(1043), Unchecked(1044)}},
        {"RTF formatted", "[RTF]\nraw=2\n", {Checked(1171), Unchecked(1170)}},
        {"pixels per centimetre", "[TIFF]\npixels_inch=0\n", {Checked(1155), Unchecked(1154)}},
        {"density", "[PARAMS]\ndensity=300\n", {Shows(1008, "300")}},
        {"stored dissolve", "[SIGNATURE]\nsignature_dissolve=10\n", {Shows(1167, "10")}},
        {"folders and texts", "[FOLDERS]\nsource=C:\\in\ntarget=\\\\srv\\out\ntemp_path=D:\\t\\\n"
                              "move_path=E:\\m\n[PARAMS]\npassword=pw\n[TIFF]\nauthor=Ann\n",
         {Shows(1000, "C:\\in"), Shows(1023, "\\\\srv\\out"), Shows(1094, "D:\\t\\"),
          Shows(1070, "E:\\m"), Shows(1137, "pw"), Shows(1002, "Ann")}},
        {"lists", "[PARAMS]\ncolorspace=2\n[PS]\nps_type=7\npage=4\nps_compress=0\n"
                  "[SIGNATURE]\nsignature_region=8\n[TXT]\ntxt_type=1\n",
         {Selects(1052, 2), Selects(1101, 7), Selects(1124, -1), Selects(1041, 0),
          Selects(1165, 8), Selects(1252, -1)}},
    };
    for (const LoadCase& c : cases) {
        MemoryForm form = Load(c.file);
        ExpectControls(form, c.expects, c.name);
    }
    EXPECT_EQ(tempFolder(), Load("[FOLDERS]\ntemp_path=\n").Control(1094).text);
}

TEST_F(LoadJobTest, ProgramValues) {
    struct Case {
        const char* file;
        int language;
        int details;
        unsigned colour;
        int remembered;
    };
    const Case cases[] = {
        {"[MAIN]\nlangue=33\n[PARAMS]\ndisplay_details=0\n", 33, 0, 0, 0},
        {"[MAIN]\nlangue=44\n[PARAMS]\ndisplay_details=5\n", 44, 1, 0, 0},
        {"[GIF]\ntransparency=1\ncolor_gif=16711680\n", 1, 1, 16711680u, 0},
        {"[GIF]\ntransparency=1\ncolor_gif=-1\n", 1, 1, 4294967295u, 0},
        {"[GIF]\ntransparency=0\ncolor_gif=255\n", 1, 1, 0, 0},
        {"[PARAMS]\nreproduce_path_in_move=3\n", 1, 1, 0, 1},
    };
    for (const Case& c : cases) {
        ProgramValues values;
        values.transparencyColour = 99;
        MemoryForm form = Load(c.file, &values);
        EXPECT_EQ(c.language, values.languageCode) << c.file;
        EXPECT_EQ(c.details, values.displayDetails) << c.file;
        EXPECT_EQ(c.colour, values.transparencyColour) << c.file;
        EXPECT_EQ(c.remembered, values.reproduceInMoveRemembered) << c.file;
    }
}

TEST_F(LoadJobTest, TextsAreCutToTheirLimits) {
    std::string longText(600, 'p');
    MemoryForm form = Load("[PARAMS]\ntarget_file_name_type=1\nprefix_file_name=" + longText +
                           "\npassword=" + longText + "\n[TIFF]\ncomment=" + longText +
                           "\n[FOLDERS]\nsource=" + longText + "\n");
    EXPECT_EQ(std::string(511, 'p'), form.Control(1128).text);
    EXPECT_EQ(std::string(259, 'p'), form.Control(1137).text);
    EXPECT_EQ(std::string(79, 'p'), form.Control(1022).text);
    // A path is never cut into another path: an over-long one comes as it
    // stands (up to a text's length) for the save to refuse; 259 still fit.
    EXPECT_EQ(std::string(511, 'p'), form.Control(1000).text);
    MemoryForm fits = Load("[FOLDERS]\nsource=" + std::string(259, 's') + "\n[SIGNATURE]\nsignature_file=" +
                           std::string(260, 'f') + "\n");
    EXPECT_EQ(std::string(259, 's'), fits.Control(1000).text);
    EXPECT_EQ(std::string(260, 'f'), fits.Control(1161).text);
}

// Loading one job and then another must leave the form as a start-up load of
// the second leaves a fresh form, whatever the first one set.
TEST_F(LoadJobTest, ReloadGivesTheFormOfAStartUpLoad) {
    const std::string jobs[] = {JobWithEverythingOn(dir_.path()), JobWithOtherChoices(dir_.path()),
                                "[PROCESS]\r\nID=0\r\n"};
    const char* names[] = {"everything on", "other choices", "no settings"};
    for (int first = 0; first < 3; ++first) {
        for (int second = 0; second < 3; ++second) {
            if (first == second) continue;
            std::string label = std::string(names[first]) + ", then " + names[second];
            ProgramValues values;
            MemoryForm reloaded = Load(jobs[first], &values);
            reloaded.inputPage = 4;
            reloaded.outputPage = 2;
            values.tooltips = 1;
            WriteBytes(path(), jobs[second]);
            EXPECT_EQ(1, LoadJob(reloaded, path().c_str(), 1, values));

            ProgramValues freshValues;
            freshValues.tooltips = 1;
            MemoryForm fresh = Load(jobs[second], &freshValues);
            EXPECT_EQ(std::vector<int>(), reloaded.DifferentControls(fresh)) << label;
            EXPECT_EQ(freshValues.languageCode, values.languageCode) << label;
            EXPECT_EQ(freshValues.displayDetails, values.displayDetails) << label;
            EXPECT_EQ(freshValues.transparencyColour, values.transparencyColour) << label;
            EXPECT_EQ(freshValues.reproduceInMoveRemembered, values.reproduceInMoveRemembered) << label;
            EXPECT_EQ(1, values.tooltips) << label;
            EXPECT_EQ(4, reloaded.inputPage) << label << ": a reload keeps the pages shown";
            EXPECT_EQ(2, reloaded.outputPage) << label;
        }
    }
}

TEST_F(LoadJobTest, ReloadAfterRotatedJobClearsRotation) {
    ProgramValues values;
    MemoryForm form = Load("[PARAMS]\nrotate=1\nrotate_radius=45\n", &values);
    ExpectControls(form, {Checked(1133), Enabled(1134), Shows(1134, "45")}, "job A");
    WriteBytes(path(), "[PARAMS]\nrotate=0\n");
    LoadJob(form, path().c_str(), 1, values);
    ExpectControls(form, {Unchecked(1133), Disabled(1134), Shows(1134, "")}, "job B");
}

}  // namespace
