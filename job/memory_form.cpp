// The in-memory main form.
#include "job/memory_form.h"

#include <cstdio>
#include <cstring>
#include <set>

#include "lang/language_tables.h"

namespace {

// The drop-down lists of the main form and how many entries each is filled with.
const struct {
    int id;
    int entries;
} kLists[] = {
    {1011, 5}, {1025, 17}, {1041, 4}, {1052, 3}, {1124, 4}, {1252, 1}, {1101, 8}, {1165, 9},
};

}  // namespace

bool MemoryControl::operator==(const MemoryControl& other) const {
    return check == other.check && text == other.text && enabled == other.enabled &&
           selection == other.selection && entries == other.entries;
}

unsigned ParseDialogUnsigned(const char* text) {
    if (text == nullptr) return 0;
    while (*text == ' ') ++text;
    if (*text < '0' || *text > '9') return 0;
    unsigned long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + static_cast<unsigned>(*text - '0');
        if (value > 0xFFFFFFFFull) return 0;
    }
    return static_cast<unsigned>(value);
}

MemoryForm::MemoryForm() {
    for (const auto& list : kLists) controls[list.id].entries = list.entries;
}

int MemoryForm::IsChecked(int id) { return Control(id).check == kChecked ? 1 : 0; }

void MemoryForm::SetChecked(int id, int check) { controls[id].check = check; }

int MemoryForm::GetText(int id, char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    const std::string text = Control(id).text;
    size_t count = text.size() < static_cast<size_t>(size) ? text.size() : static_cast<size_t>(size) - 1;
    std::memcpy(out, text.data(), count);
    out[count] = '\0';
    return static_cast<int>(count);
}

void MemoryForm::SetText(int id, const char* text) { controls[id].text = text != nullptr ? text : ""; }

unsigned MemoryForm::GetUnsigned(int id) { return ParseDialogUnsigned(Control(id).text.c_str()); }

void MemoryForm::SetUnsigned(int id, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", value);
    controls[id].text = text;
}

int MemoryForm::GetSelection(int id) { return Control(id).selection; }

void MemoryForm::SetSelection(int id, int index) {
    MemoryControl& control = controls[id];
    control.selection = (index >= 0 && index < control.entries) ? index : -1;
}

void MemoryForm::Enable(int id, int on) { controls[id].enabled = on ? 1 : 0; }

void MemoryForm::Focus(int id) { focus = id; }

void MemoryForm::ShowInputPage(int tab) { inputPage = tab; }

void MemoryForm::ShowOutputPage(int tab) { outputPage = tab; }

void MemoryForm::CreateTabs() {
    tabsCreated = 1;
    ShowOutputPage(0);
    ShowInputPage(0);
}

int MemoryForm::Message(const char* section, const char* key, const char* folder) {
    const LanguageMessage* known = FindLanguageMessage(section, key);
    int answer = kAnswerOk;
    if (known != nullptr && (known->kind == kMessageQuestion || known->kind == kMessageConfirmation)) {
        answer = known->kind == kMessageQuestion ? questionDefault : confirmationDefault;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
    }
    messages.push_back({section != nullptr ? section : "", key != nullptr ? key : "",
                        folder != nullptr ? folder : "", answer});
    return answer;
}

MemoryControl MemoryForm::Control(int id) const {
    auto found = controls.find(id);
    return found != controls.end() ? found->second : MemoryControl();
}

std::vector<int> MemoryForm::DifferentControls(const MemoryForm& other) const {
    std::set<int> ids;
    for (const auto& entry : controls) ids.insert(entry.first);
    for (const auto& entry : other.controls) ids.insert(entry.first);
    std::vector<int> different;
    for (int id : ids)
        if (!(Control(id) == other.Control(id))) different.push_back(id);
    return different;
}
