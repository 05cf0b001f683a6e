// The format catalogue, the page tables and their agreement with the main
// dialog's template (resources/zandrix_gui.rc, read as text) and with the
// controls that the job file binds.
#include "gui/pages.h"
#include "job/job_keys.h"
#include "resources/main_ids.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// ---- The catalogue

TEST(FormatCatalogue, EveryFormatSelectsItsTab) {
    struct Row { const char* label; int tab; };
    const Row expected[kFormatCount] = {
        {"BMP", 4},    {"DCX", 5},  {"DXF", kNoTab}, {"GIF", 6},    {"HTML", kNoTab},
        {"JPEG", 7},   {"PDF", kNoTab}, {"PNG", 8},  {"PS", 9},     {"PSD", kNoTab},
        {"RTF", 10},   {"SWF", 11}, {"TGA", kNoTab}, {"TIFF", 12},  {"TXT", 14},
        {"Database Infos", 15}, {"BoundingBox Infos", kNoTab}};
    for (int i = 0; i < kFormatCount; ++i) {
        ASSERT_NE(nullptr, FormatLabel(i)) << i;
        EXPECT_STREQ(expected[i].label, FormatLabel(i)) << i;
        EXPECT_EQ(expected[i].tab, OutputTabOfFormat(i)) << expected[i].label;
    }
}

TEST(FormatCatalogue, AFormatsTabCarriesItsName) {
    std::set<int> reached;
    int withoutPage = 0;
    for (int i = 0; i < kFormatCount; ++i) {
        int tab = OutputTabOfFormat(i);
        if (tab == kNoTab) {
            ++withoutPage;
            continue;
        }
        EXPECT_TRUE(reached.insert(tab).second) << "two formats on tab " << tab;
        std::string label = FormatLabel(i);
        std::string tabLabel = TabLabel(kOutputStack, tab);
        if (label == "Database Infos") {
            EXPECT_EQ("Infos", tabLabel);
        } else {
            EXPECT_EQ(label, tabLabel) << "format " << i;
        }
    }
    EXPECT_EQ(6, withoutPage);
    // The four general pages and the TIFF metadata page belong to no format.
    for (int tab : {0, 1, 2, 3, 13}) EXPECT_EQ(0u, reached.count(tab)) << tab;
    EXPECT_EQ(11u, reached.size());
}

TEST(FormatCatalogue, IndexesOutsideTheListHaveNoFormat) {
    for (int index : {-1, static_cast<int>(kFormatCount), 1000, -1000}) {
        EXPECT_EQ(nullptr, FormatLabel(index)) << index;
        EXPECT_EQ(kNoTab, OutputTabOfFormat(index)) << index;
    }
}

// ---- The page tables

TEST(PageTables, TabLabelsAsCreated) {
    ASSERT_EQ(16, TabCount(kOutputStack));
    ASSERT_EQ(7, TabCount(kInputStack));
    const char* output[] = {" ", " ", " ", " ", "BMP", "DCX", "GIF", "JPEG", "PNG", "PS",
                            "RTF", "SWF", "TIFF", "TIFF chunks", "TXT", "Infos"};
    for (int tab = 0; tab < 16; ++tab) EXPECT_STREQ(output[tab], TabLabel(kOutputStack, tab));
    for (int tab = 0; tab < 7; ++tab) EXPECT_STREQ("", TabLabel(kInputStack, tab));
    EXPECT_EQ(nullptr, TabLabel(kOutputStack, 16));
    EXPECT_EQ(nullptr, TabLabel(kInputStack, 7));
    EXPECT_EQ(nullptr, TabLabel(kInputStack, -1));
}

TEST(PageTables, PagesOfAStackAreDisjointAndMakeUpItsManagedSet) {
    struct Stack { PageStack stack; int paged; std::set<int> unpaged; };
    const Stack stacks[] = {{kOutputStack, 101, {IDC_CK_ONE_PDF, IDC_CK_EPDF}},
                            {kInputStack, 47, {}}};
    for (const Stack& s : stacks) {
        std::set<int> seen;
        int paged = 0;
        for (int tab = 0; tab < TabCount(s.stack); ++tab) {
            PageSet page = PageControls(s.stack, tab);
            EXPECT_GT(page.count, 0) << "tab " << tab;
            for (int i = 0; i < page.count; ++i) {
                int id = page.ids[i];
                EXPECT_TRUE(seen.insert(id).second) << id << " on two pages";
                EXPECT_EQ(tab, TabOfControl(s.stack, id)) << id;
                ++paged;
            }
        }
        EXPECT_EQ(s.paged, paged);
        PageSet unpaged = UnpagedControls(s.stack);
        std::set<int> unpagedIds(unpaged.ids, unpaged.ids + unpaged.count);
        EXPECT_EQ(s.unpaged, unpagedIds);
        for (int id : unpagedIds) {
            EXPECT_EQ(kNoTab, TabOfControl(s.stack, id)) << id;
            EXPECT_TRUE(seen.insert(id).second) << id << " also on a page";
        }

        std::set<int> managed;
        ASSERT_EQ(static_cast<int>(seen.size()), ManagedControlCount(s.stack));
        for (int i = 0; i < ManagedControlCount(s.stack); ++i) {
            managed.insert(ManagedControlAt(s.stack, i));
        }
        EXPECT_EQ(seen, managed);
        for (int id : seen) EXPECT_EQ(1, IsManagedControl(s.stack, id)) << id;
        EXPECT_EQ(0, ManagedControlAt(s.stack, -1));
        EXPECT_EQ(0, ManagedControlAt(s.stack, ManagedControlCount(s.stack)));
    }
}

TEST(PageTables, TheStacksShareNoControl) {
    for (int i = 0; i < ManagedControlCount(kInputStack); ++i) {
        int id = ManagedControlAt(kInputStack, i);
        EXPECT_EQ(0, IsManagedControl(kOutputStack, id)) << id;
    }
    // Controls outside the pages belong to neither stack.
    for (int id : {IDC_ED_JOB_FILE, IDC_BT_JOB_FILE, IDC_BT_SAVE_QUIT, IDC_BT_SAVE, IDC_BT_QUIT,
                   IDC_BT_SELECT_FILES, IDC_BT_LAUNCH, IDC_BT_STOP_SCAN, IDC_GB_INPUT,
                   IDC_GB_OUTPUT, IDC_ST_SEPARATOR, IDC_ST_RELAY_1, IDC_ST_RELAY_2}) {
        EXPECT_EQ(0, IsManagedControl(kInputStack, id)) << id;
        EXPECT_EQ(0, IsManagedControl(kOutputStack, id)) << id;
    }
}

TEST(PageTables, TabsOutsideAStackShowNothing) {
    for (PageStack stack : {kInputStack, kOutputStack}) {
        for (int tab : {-1, TabCount(stack), 99}) {
            PageSet page = PageControls(stack, tab);
            EXPECT_EQ(0, page.count) << tab;
            EXPECT_EQ(nullptr, page.ids) << tab;
        }
    }
}

// A few pages as a user sees them.
TEST(PageTables, SomePagesAsAUserSeesThem) {
    struct Row { PageStack stack; int tab; std::set<int> ids; };
    const Row rows[] = {
        {kOutputStack, 12, {1006, 1007, 1011, 1072, 1073, 1074, 1075, 1154, 1155}},
        {kOutputStack, 13, {1018, 1002, 1019, 1020, 1021, 1022}},
        {kOutputStack, 4, {1042, 1043, 1044, 1045}},
        {kInputStack, 4, {1024, 1025, 1186}},
        {kInputStack, 6, {1248, 1245, 1247, 1249, 1246}},
    };
    for (const Row& row : rows) {
        PageSet page = PageControls(row.stack, row.tab);
        EXPECT_EQ(row.ids, std::set<int>(page.ids, page.ids + page.count)) << row.tab;
    }
}

// ---- The dialog template

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Trim(const std::string& s) {
    size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    size_t last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

// The numeric #defines of main_ids.h, by name.
std::map<std::string, int> ReadIdentifiers(const std::string& path) {
    std::map<std::string, int> ids;
    std::istringstream lines(ReadText(path));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string hash, name, value;
        if (!(words >> hash >> name >> value) || hash != "#define") continue;
        std::string digits;
        for (char c : value) {
            if (std::isdigit(static_cast<unsigned char>(c)) || c == '-') digits += c;
            else if (c != '(' && c != ')') { digits.clear(); break; }
        }
        if (!digits.empty()) ids[name] = std::stoi(digits);
    }
    return ids;
}

// Splits a statement's arguments at commas outside quoted texts.
std::vector<std::string> SplitArguments(const std::string& text) {
    std::vector<std::string> parts;
    std::string current;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
                current += "\"\"";
                ++i;
                continue;
            }
            quoted = !quoted;
        }
        if (c == ',' && !quoted) {
            parts.push_back(Trim(current));
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(Trim(current));
    return parts;
}

struct TemplateControl {
    std::string keyword;
    int id;
    std::string statement;
};

// The control statements of dialog IDD_MAIN.
std::vector<TemplateControl> ReadDialog(const std::string& rc,
                                        const std::map<std::string, int>& ids) {
    const std::set<std::string> keywords = {
        "LTEXT", "RTEXT", "CTEXT", "EDITTEXT", "COMBOBOX", "LISTBOX", "AUTOCHECKBOX",
        "CHECKBOX", "AUTORADIOBUTTON", "RADIOBUTTON", "GROUPBOX", "PUSHBUTTON",
        "DEFPUSHBUTTON", "CONTROL", "ICON", "SCROLLBAR", "AUTO3STATE", "STATE3"};
    std::vector<TemplateControl> controls;
    std::istringstream lines(rc);
    std::string line;
    bool inDialog = false, inBody = false;
    std::vector<std::string> statements;
    while (std::getline(lines, line)) {
        std::string t = Trim(line);
        if (!inDialog) {
            inDialog = t.rfind("IDD_MAIN DIALOGEX", 0) == 0;
            continue;
        }
        if (!inBody) {
            inBody = t == "BEGIN";
            continue;
        }
        if (t == "END") break;
        if (t.empty() || t.rfind("//", 0) == 0) continue;
        std::string first = t.substr(0, t.find_first_of(" \t"));
        if (keywords.count(first)) statements.push_back(t);
        else if (!statements.empty()) statements.back() += " " + t;
        else ADD_FAILURE() << "stray line: " << t;
    }
    EXPECT_TRUE(inBody) << "no IDD_MAIN DIALOGEX body";
    for (const std::string& s : statements) {
        size_t gap = s.find_first_of(" \t");
        TemplateControl control;
        control.keyword = s.substr(0, gap);
        control.statement = s;
        std::vector<std::string> args = SplitArguments(s.substr(gap + 1));
        bool textless = control.keyword == "EDITTEXT" || control.keyword == "COMBOBOX" ||
                        control.keyword == "LISTBOX" || control.keyword == "SCROLLBAR";
        std::string idText = args.size() > 1 ? args[textless ? 0 : 1] : "";
        auto known = ids.find(idText);
        if (known != ids.end()) {
            control.id = known->second;
        } else {
            ADD_FAILURE() << "unknown identifier " << idText << " in: " << s;
            control.id = 0;
        }
        controls.push_back(control);
    }
    return controls;
}

class DialogTemplate : public ::testing::Test {
protected:
    void SetUp() override {
        ids_ = ReadIdentifiers(ZANDRIX_RESOURCES_DIR "/main_ids.h");
        ASSERT_EQ(IDC_CB_OUTPUT_FORMAT, ids_["IDC_CB_OUTPUT_FORMAT"]);
        ASSERT_EQ(-1, ids_["IDC_ST_SEPARATOR"]);
        rc_ = ReadText(ZANDRIX_RESOURCES_DIR "/zandrix_gui.rc");
        controls_ = ReadDialog(rc_, ids_);
        for (const TemplateControl& c : controls_) byId_[c.id].push_back(&c);
    }
    std::map<std::string, int> ids_;
    std::string rc_;
    std::vector<TemplateControl> controls_;
    std::map<int, std::vector<const TemplateControl*>> byId_;
};

TEST_F(DialogTemplate, HoldsEveryManagedControlOnceAndVisible) {
    for (PageStack stack : {kInputStack, kOutputStack}) {
        for (int i = 0; i < ManagedControlCount(stack); ++i) {
            int id = ManagedControlAt(stack, i);
            ASSERT_EQ(1u, byId_[id].size()) << "control " << id;
            // The pages are made by hiding; the template shows them all.
            EXPECT_EQ(std::string::npos, byId_[id][0]->statement.find("NOT WS_VISIBLE")) << id;
        }
    }
}

TEST_F(DialogTemplate, HoldsNothingBesideThePagesAndTheFrame) {
    const std::set<int> frame = {IDC_ED_JOB_FILE,  IDC_BT_JOB_FILE,    IDC_GB_INPUT,
                                 IDC_GB_OUTPUT,    IDC_BT_SAVE_QUIT,   IDC_BT_SAVE,
                                 IDC_BT_QUIT,      IDC_BT_SELECT_FILES, IDC_BT_LAUNCH,
                                 IDC_BT_STOP_SCAN, IDC_ST_RELAY_1,     IDC_ST_RELAY_2,
                                 IDC_ST_SEPARATOR};
    for (int id : frame) EXPECT_EQ(1u, byId_[id].size()) << "frame control " << id;
    for (const TemplateControl& c : controls_) {
        bool known = frame.count(c.id) || IsManagedControl(kInputStack, c.id) ||
                     IsManagedControl(kOutputStack, c.id);
        EXPECT_TRUE(known) << c.statement;
    }
    EXPECT_EQ(13u + 47u + 103u, controls_.size());
}

TEST_F(DialogTemplate, EveryControlTheJobFileBindsIsInTheTemplate) {
    for (int key = 0; key < kJobKeyCount; ++key) {
        const JobKey& entry = JobKeyAt(static_cast<JobKeyId>(key));
        for (int control : entry.controls) {
            if (control == 0) break;
            EXPECT_EQ(1u, byId_[control].size())
                << entry.section << "/" << entry.key << " binds " << control;
        }
    }
}

// Sizes and styles that the running dialog cannot show exactly.
TEST_F(DialogTemplate, FormatListIsAnUnsortedDropDownOfEightyByOneHundredFifteen) {
    ASSERT_EQ(1u, byId_[IDC_CB_OUTPUT_FORMAT].size());
    std::string statement = byId_[IDC_CB_OUTPUT_FORMAT][0]->statement;
    std::vector<std::string> args = SplitArguments(statement.substr(statement.find(' ') + 1));
    ASSERT_GE(args.size(), 6u) << statement;
    EXPECT_EQ("80", args[3]);
    EXPECT_EQ("115", args[4]);
    EXPECT_NE(std::string::npos, args[5].find("CBS_DROPDOWN |")) << statement;
    EXPECT_EQ(std::string::npos, args[5].find("CBS_SORT")) << statement;
}

}  // namespace
