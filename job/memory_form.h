// The main form held in memory: the state of every control by identifier,
// the page shown on each tab, the focus, and every message with the answer it
// got. Questions and confirmations take their answers from a script. Tests
// use it to drive LoadJob and SaveJob; so can a tool without windows.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "job/form.h"

struct MemoryControl {
    int check = kUnchecked;
    std::string text;
    int enabled = 1;
    int selection = -1;
    int entries = 0;  // entries of a list; 0 for any other control

    bool operator==(const MemoryControl& other) const;
};

struct MemoryMessage {
    std::string section;
    std::string key;
    std::string folder;  // empty when the message takes none
    int answer;
};

// GetDlgItemInt's reading with bSigned FALSE: leading spaces skipped, then
// decimal digits up to the first other character; no digit, or a value above
// 4294967295, reads as 0.
unsigned ParseDialogUnsigned(const char* text);

struct MemoryForm : JobForm {
    // A fresh dialog: every control unchecked, empty and enabled, the eight
    // drop-down lists filled and without selection, no tabs.
    MemoryForm();

    int IsChecked(int id) override;
    void SetChecked(int id, int check) override;
    int GetText(int id, char* out, int size) override;
    void SetText(int id, const char* text) override;
    unsigned GetUnsigned(int id) override;
    void SetUnsigned(int id, unsigned value) override;
    int GetSelection(int id) override;
    void SetSelection(int id, int index) override;
    void Enable(int id, int on) override;
    void Focus(int id) override;
    void ShowInputPage(int tab) override;
    void ShowOutputPage(int tab) override;
    void CreateTabs() override;
    int Message(const char* section, const char* key, const char* folder) override;

    // The state of one control (a control never touched reads as fresh).
    MemoryControl Control(int id) const;
    // Identifiers of the controls whose state differs between the two forms;
    // the pages, focus and messages are not compared.
    std::vector<int> DifferentControls(const MemoryForm& other) const;

    std::map<int, MemoryControl> controls;
    int tabsCreated = 0;
    int inputPage = -1;   // -1 while no page has been shown
    int outputPage = -1;
    int focus = 0;        // 0 while nothing has been focused
    std::vector<MemoryMessage> messages;
    // Answers for the next questions and confirmations, first one first; when
    // it runs out, the defaults answer.
    std::deque<int> answers;
    int questionDefault = kAnswerNo;
    int confirmationDefault = kAnswerCancel;
};
