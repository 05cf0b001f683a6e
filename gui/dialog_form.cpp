// DialogForm: the form interface on Win32 controls.
#include "gui/dialog_form.h"

#include "gui/tabs_win32.h"
#include "lang/language_win32.h"

int DialogForm::IsChecked(int id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED ? 1 : 0; }

void DialogForm::SetChecked(int id, int check) { CheckDlgButton(dialog_, id, static_cast<UINT>(check)); }

int DialogForm::GetText(int id, char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    out[0] = '\0';
    return static_cast<int>(GetDlgItemTextA(dialog_, id, out, size));
}

void DialogForm::SetText(int id, const char* text) { SetDlgItemTextA(dialog_, id, text); }

unsigned DialogForm::GetUnsigned(int id) { return GetDlgItemInt(dialog_, id, nullptr, FALSE); }

void DialogForm::SetUnsigned(int id, unsigned value) { SetDlgItemInt(dialog_, id, value, FALSE); }

int DialogForm::GetSelection(int id) {
    return static_cast<int>(SendDlgItemMessageA(dialog_, id, CB_GETCURSEL, 0, 0));
}

void DialogForm::SetSelection(int id, int index) {
    SendDlgItemMessageA(dialog_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DialogForm::Enable(int id, int on) { EnableWindow(GetDlgItem(dialog_, id), on ? TRUE : FALSE); }

void DialogForm::Focus(int id) { SetFocus(GetDlgItem(dialog_, id)); }

void DialogForm::ShowInputPage(int tab) { ::ShowInputPage(dialog_, tab); }

void DialogForm::ShowOutputPage(int tab) { ::ShowOutputPage(dialog_, tab); }

void DialogForm::CreateTabs() {
    CreateOutputTab(dialog_, 0);
    ::ShowOutputPage(dialog_, 0);
    CreateInputTab(dialog_, 0);
    ::ShowInputPage(dialog_, 0);
}

int DialogForm::Message(const char* section, const char* key, const char* folder) {
    return ShowLanguageMessage(dialog_, section, key, folder);
}
