// The messages a save shows: the language-file section and key of each and
// the kind of box it needs. SaveJob names its messages by identifier; the
// dialog side finds the box of a section/key with FindJobMessage. (The
// sections named here are those of the language file, not of the job file.)
#pragma once

enum JobMessageBox {
    kBoxWarning,           // OK, warning icon, the text as stored
    kBoxWarningConverted,  // OK, warning icon, the converted text
    kBoxError,             // OK, error icon, the text as stored
    kBoxErrorConverted,    // OK, error icon, the converted text
    kBoxErrorWithPath,     // OK, error icon, the converted text whose "%s" receives a path
    kBoxQuestion,          // Yes and No, question icon, the converted text whose "%s" receives a folder
    kBoxConfirmation       // OK and Cancel, error icon, the converted text
};

enum JobMessageId {
    kMsgNoSource,
    kMsgNoTempFolder,
    kMsgNoMovetoFolder,
    kMsgNoFolder,
    kMsgDeletePdf,
    kMsgNoMoveerrorFolder,
    kMsgScan,
    kMsgScanDelay,
    kMsgNoTargetFolder,
    kMsgFirstPage,
    kMsgLastPage,
    kMsgPrefix,
    kMsgSize,
    kMsgWriteFailed,
    kJobMessageCount
};

struct JobMessage {
    JobMessageId id;
    const char* section;
    const char* key;
    JobMessageBox box;
};

const JobMessage& JobMessageAt(JobMessageId id);

// By section and key, compared without regard to case; null for a message
// that no save shows.
const JobMessage* FindJobMessage(const char* section, const char* key);
