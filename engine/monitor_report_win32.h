// The engine's progress shown in the configurator's monitor window: the
// monitor codes sent to the window titled " Processing..." and the relay
// messages sent to the main window ("Ombrello_zandrix Monitor") after a text
// was put into one of its hidden relay fields.
#pragma once

#include "engine/progress.h"

// Follows a one-off run in the newest visible monitor window of the
// configurator. When no configurator window is found the run goes on and
// nothing is shown.
class MonitorProgress : public Progress {
public:
    void RunStarted(int fileCount) override;
    void FileStarted(int index, int count, const std::string& path) override;
    void PagesDone(int done, int total) override;
    void FilesDone(int filesDone, int count) override;
    void Note(const std::string& text) override;
    void RunEnded(bool ok) override;

private:
    void Find();
    void Code(int code, long value);
    void Relay(int field, int message, const std::string& text);

    void* main_ = nullptr;     // HWND of the main window
    void* monitor_ = nullptr;  // HWND of the monitor window
    int lastPagePercent_ = -1;
};
