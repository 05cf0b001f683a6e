// The configurator's main form as the job binding sees it: controls of
// dialog 101 addressed by their identifiers, the two page stacks, the focus
// and the message boxes. The dialog implements it on real controls, the
// in-memory form (memory_form.h) for tests and tools; LoadJob and SaveJob
// (form_binding.h) talk only to this interface.
#pragma once

// The button that closed a message box. The values are those of IDOK,
// IDCANCEL, IDYES and IDNO, so the dialog side can pass MessageBoxA's result on.
enum FormAnswer { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// Check states, as BST_UNCHECKED, BST_CHECKED and BST_INDETERMINATE.
enum FormCheck { kUnchecked = 0, kChecked = 1, kIndeterminate = 2 };

struct JobForm {
    virtual ~JobForm() = default;

    // 1 only when the button is exactly checked (IsDlgButtonChecked == BST_CHECKED).
    virtual int IsChecked(int id) = 0;
    // Sets one button's state (CheckDlgButton); the other buttons of its group stay.
    virtual void SetChecked(int id, int check) = 0;

    // Copies at most size-1 characters of the control's text and a terminator
    // into out and returns how many were copied (GetDlgItemTextA); size 0
    // writes nothing.
    virtual int GetText(int id, char* out, int size) = 0;
    virtual void SetText(int id, const char* text) = 0;

    // The text read as an unsigned number (GetDlgItemInt, bSigned FALSE, its
    // success flag ignored): an empty or non-numeric text reads as 0.
    virtual unsigned GetUnsigned(int id) = 0;
    // Shows the value as an unsigned decimal number (SetDlgItemInt, bSigned FALSE).
    virtual void SetUnsigned(int id, unsigned value) = 0;

    // The selected entry of a list (CB_GETCURSEL), -1 without selection.
    virtual int GetSelection(int id) = 0;
    // Selects an entry without notification (CB_SETCURSEL); an index outside
    // the list leaves it without selection.
    virtual void SetSelection(int id, int index) = 0;

    virtual void Enable(int id, int on) = 0;
    virtual void Focus(int id) = 0;

    // Shows one page of the input or the output tab.
    virtual void ShowInputPage(int tab) = 0;
    virtual void ShowOutputPage(int tab) = 0;
    // The start-up load's tab creation: the output tab with page 0 shown,
    // then the input tab with page 0 shown. A failure is not reported.
    virtual void CreateTabs() = 0;

    // Shows the language file's message section/key in the box that its
    // entry of the message table (lang/language_tables.h) gives; folder, when
    // not null, fills the text's one "%s". Returns the FormAnswer of the
    // button pressed.
    virtual int Message(const char* section, const char* key, const char* folder) = 0;
};

// The values the main window keeps outside the controls that a load sets and
// a save writes.
struct ProgramValues {
    int languageCode = 1;             // 1 English, 33 French
    int displayDetails = 0;           // 0 or 1
    int tooltips = 0;                 // 0 or 1; a save writes it, a load leaves it
    unsigned transparencyColour = 0;  // GIF transparency, red in the low byte
    int reproduceInMoveRemembered = 0;  // last state of check box 1096
};
