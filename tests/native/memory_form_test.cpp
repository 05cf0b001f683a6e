// The in-memory form behaves as dialog 101's controls do: the text limit of
// GetDlgItemTextA, the number reading of GetDlgItemInt, the lists' bounds,
// the exactly-checked rule and the scripted message answers.
#include "job/memory_form.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(MemoryForm, ReadsNumbersAsGetDlgItemIntUnsigned) {
    struct Case { const char* text; unsigned value; };
    const Case cases[] = {
        {"", 0},           {"42", 42},         {"  42", 42},      {"42abc", 42},
        {"007", 7},        {"abc", 0},         {"-5", 0},         {"+5", 0},
        {"4294967295", 4294967295u},          {"4294967296", 0}, {"99999999999999999999", 0},
        {" ", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value, ParseDialogUnsigned(c.text)) << "\"" << c.text << "\"";
        MemoryForm form;
        form.SetText(1071, c.text);
        EXPECT_EQ(c.value, form.GetUnsigned(1071)) << "\"" << c.text << "\"";
    }
    MemoryForm form;
    EXPECT_EQ(0u, form.GetUnsigned(1103)) << "a control never set is empty";
    form.SetUnsigned(1047, 4294967295u);
    EXPECT_EQ("4294967295", form.Control(1047).text) << "shown as unsigned";
}

TEST(MemoryForm, GetTextHonoursTheSize) {
    MemoryForm form;
    form.SetText(1000, "abcdef");
    char out[8];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(3, form.GetText(1000, out, 4));
    EXPECT_STREQ("abc", out);
    EXPECT_EQ('#', out[4]);
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(0, form.GetText(1000, out, 0));
    EXPECT_EQ('#', out[0]);
    EXPECT_EQ(0, form.GetText(1000, out, 1));
    EXPECT_STREQ("", out);
    EXPECT_EQ(6, form.GetText(1000, out, sizeof out));
    EXPECT_STREQ("abcdef", out);
    form.SetText(1000, nullptr);
    EXPECT_EQ(0, form.GetText(1000, out, sizeof out));
}

TEST(MemoryForm, ListsKeepTheirEntryCounts) {
    struct List { int id; int entries; };
    const List lists[] = {{1011, 5}, {1025, 17}, {1041, 4}, {1052, 3},
                          {1124, 4}, {1252, 1},  {1101, 8}, {1165, 9}};
    for (const List& list : lists) {
        MemoryForm form;
        EXPECT_EQ(-1, form.GetSelection(list.id)) << list.id << " starts without selection";
        form.SetSelection(list.id, list.entries - 1);
        EXPECT_EQ(list.entries - 1, form.GetSelection(list.id)) << list.id;
        form.SetSelection(list.id, list.entries);
        EXPECT_EQ(-1, form.GetSelection(list.id)) << list.id << " past the end";
        form.SetSelection(list.id, 0);
        form.SetSelection(list.id, -7);
        EXPECT_EQ(-1, form.GetSelection(list.id)) << list.id << " negative";
    }
    MemoryForm form;
    form.SetSelection(1000, 0);
    EXPECT_EQ(-1, form.GetSelection(1000)) << "not a list";
}

TEST(MemoryForm, OnlyExactlyCheckedCounts) {
    MemoryForm form;
    EXPECT_EQ(0, form.IsChecked(1005));
    form.SetChecked(1005, kChecked);
    EXPECT_EQ(1, form.IsChecked(1005));
    form.SetChecked(1005, kIndeterminate);
    EXPECT_EQ(0, form.IsChecked(1005));
    EXPECT_EQ(1, form.Control(1006).enabled) << "controls start enabled";
    form.Enable(1006, 0);
    EXPECT_EQ(0, form.Control(1006).enabled);
}

TEST(MemoryForm, QuestionsAndConfirmationsTakeScriptedAnswers) {
    MemoryForm form;
    form.answers = {kAnswerYes, kAnswerOk};
    EXPECT_EQ(kAnswerOk, form.Message("ERRORS", "no_source", nullptr)) << "a warning takes no answer";
    EXPECT_EQ(kAnswerYes, form.Message("QUESTIONS", "no_folder", "/x"));
    EXPECT_EQ(kAnswerOk, form.Message("QUESTIONS", "delete_pdf", nullptr));
    EXPECT_EQ(kAnswerNo, form.Message("ERRORS", "no_temp_folder", "/t")) << "script run out";
    EXPECT_EQ(kAnswerCancel, form.Message("QUESTIONS", "delete_pdf", nullptr));
    ASSERT_EQ(5u, form.messages.size());
    EXPECT_EQ("QUESTIONS", form.messages[1].section);
    EXPECT_EQ("no_folder", form.messages[1].key);
    EXPECT_EQ("/x", form.messages[1].folder);
    EXPECT_EQ(kAnswerYes, form.messages[1].answer);
    EXPECT_EQ("", form.messages[0].folder);
}

TEST(MemoryForm, CreateTabsShowsBothFirstPages) {
    MemoryForm form;
    EXPECT_EQ(-1, form.inputPage);
    EXPECT_EQ(-1, form.outputPage);
    form.CreateTabs();
    EXPECT_EQ(1, form.tabsCreated);
    EXPECT_EQ(0, form.inputPage);
    EXPECT_EQ(0, form.outputPage);
}

TEST(MemoryForm, ComparesControlsByState) {
    MemoryForm a;
    MemoryForm b;
    a.SetText(1000, "");  // touched but still fresh
    EXPECT_TRUE(a.DifferentControls(b).empty());
    b.SetChecked(1005, kChecked);
    a.Enable(1070, 0);
    EXPECT_EQ((std::vector<int>{1005, 1070}), a.DifferentControls(b));
}

}  // namespace
