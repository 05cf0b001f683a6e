// The job binding's form on the real dialog 101: every call goes to the
// dialog's controls, its two tab stacks and the language file's messages.
#pragma once

#include <windows.h>

#include "job/form.h"

class DialogForm : public JobForm {
public:
    explicit DialogForm(HWND dialog) : dialog_(dialog) {}

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

private:
    HWND dialog_;
};
