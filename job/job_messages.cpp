// The table of the messages a save shows.
#include "job/job_messages.h"

namespace {

const JobMessage kJobMessages[kJobMessageCount] = {
    {kMsgNoSource, "ERRORS", "no_source", kBoxWarning},
    {kMsgNoTempFolder, "ERRORS", "no_temp_folder", kBoxQuestion},
    {kMsgNoMovetoFolder, "ERRORS", "no_moveto_folder", kBoxWarning},
    {kMsgNoFolder, "QUESTIONS", "no_folder", kBoxQuestion},
    {kMsgDeletePdf, "QUESTIONS", "delete_pdf", kBoxConfirmation},
    {kMsgNoMoveerrorFolder, "ERRORS", "no_moveerror_folder", kBoxWarning},
    {kMsgScan, "ERRORS", "scan", kBoxWarningConverted},
    {kMsgScanDelay, "ERRORS", "scan_delay", kBoxWarning},
    {kMsgNoTargetFolder, "ERRORS", "no_target_folder", kBoxWarning},
    {kMsgFirstPage, "ERRORS", "first_page", kBoxErrorConverted},
    {kMsgLastPage, "ERRORS", "last_page", kBoxError},
    {kMsgPrefix, "ERRORS", "prefix", kBoxErrorConverted},
    {kMsgSize, "ERRORS", "size", kBoxWarning},
    {kMsgWriteFailed, "ERRORS", "write_failed", kBoxErrorWithPath},
};

bool SameName(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        char y = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (x != y) return false;
        if (x == '\0') return true;
    }
}

}  // namespace

const JobMessage& JobMessageAt(JobMessageId id) { return kJobMessages[id]; }

const JobMessage* FindJobMessage(const char* section, const char* key) {
    if (section == nullptr || key == nullptr) return nullptr;
    for (const JobMessage& message : kJobMessages)
        if (SameName(message.section, section) && SameName(message.key, key)) return &message;
    return nullptr;
}
