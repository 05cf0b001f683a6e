// The one description of the job file: every section and key, its value
// form, the default a reader applies, the limit of characters taken from the
// form, and what the value is written from. Loading, saving, the tools and
// the tests all read this table; no other code spells a section or key.
//
// The entries stand in the order in which a complete save first writes them,
// so the sections of a job file written from scratch come out in table order.
#pragma once

#include <cstddef>

enum JobValueForm {
    kFormFlag,      // "1" or "0"
    kFormInteger,   // decimal, written with "%d"
    kFormIndex,     // a list's selection index, "-1" without selection
    kFormGeometry,  // "%dx%d", width then height
    kFormColour,    // a 32-bit colour in decimal, "%ld"
    kFormText,
    kFormPath
};

// Where a saved value comes from when it is not a form control.
enum JobSource {
    kSourceControl,            // the control(s) named in the entry
    kSourceLanguageCode,       // the language code, 1 or 33
    kSourceDisplayDetails,     // the display-details flag
    kSourceTooltips,           // the tooltips flag
    kSourceTransparencyColour, // the transparency colour of GIF output
    kSourceEngine              // written by the engine, never by a save
};

enum JobKeyId {
    kKeyLangue,
    kKeyDisplayDetails,
    kKeySource,
    kKeyTempPath,
    kKeyRecurse,
    kKeyExtractAll,
    kKeyMovePath,
    kKeyReproducePathInMove,
    kKeyOnlyFromRoot,
    kKeyMove,
    kKeyDelete,
    kKeyEraseLog,
    kKeyPassword,
    kKeyErrorsMove,
    kKeyMoveErrorPath,
    kKeyScanDelay,
    kKeyScan,
    kKeyScanMinutes,
    kKeyTrim,
    kKeyImageType,
    kKeyRotateRadius,
    kKeyRotate,
    kKeyTarget,
    kKeyReproducePath,
    kKeyReproducePathFromRoot,
    kKeyTiffCompress,
    kKeyTiffAdjoin,
    kKeyDensity,
    kKeyFirstPage,
    kKeyLastPage,
    kKeyTargetFileNameType,
    kKeyPrefixFileName,
    kKeyAddDateToName,
    kKeySize,
    kKeyKeepProportions,
    kKeyColorspace,
    kKeyTooltips,
    kKeyShave,
    kKeyShaveGeometry,
    kKeyUseASignature,
    kKeySignatureFile,
    kKeySignatureText,
    kKeySignatureRegion,
    kKeySignatureDissolve,
    kKeyContrast,
    kKeyEqualize,
    kKeyMonochrome,
    kKeyTiffDpiV,
    kKeyTiffDpiH,
    kKeyTiffPixelsInch,
    kKeyTiffAuthor,
    kKeyTiffCopyright,
    kKeyTiffComment,
    kKeyDcxAdjoin,
    kKeyGif87a,
    kKeyGifInterlace,
    kKeyGifTransparency,
    kKeyGifColor,
    kKeyJpegQuality,
    kKeyJpegProgressive,
    kKeyPngQuality,
    kKeyPngProgressive,
    kKeyRtfRaw,
    kKeySwfAdjoin,
    kKeySwfQuality,
    kKeySwfFramerate,
    kKeyTxtType,
    kKeyTxtRaw,
    kKeyTxtColumns,
    kKeyTxtMarkCrlf,
    kKeyPsType,
    kKeyPsPage,
    kKeyPsCompress,
    kKeyPsCompressType,
    kKeyPsAdjoin,
    kKeyBmpType,
    kKeyBmpCompress,
    kKeyInfosFileName,
    kKeyInfosFileSize,
    kKeyInfosTitle,
    kKeyInfosSubject,
    kKeyInfosKeywords,
    kKeyInfosAuthor,
    kKeyInfosCreator,
    kKeyInfosProducer,
    kKeyInfosCreation,
    kKeyInfosModification,
    kKeyInfosOptimization,
    kKeyInfosVersion,
    kKeyInfosPageSize,
    kKeyInfosEncrypted,
    kKeyInfosTagged,
    kKeyProcessId,
    kJobKeyCount
};

enum { kMaxBoundControls = 3 };

// Properties of an entry beyond its form.
enum JobKeyFlags {
    kKeyPlain = 0,
    kKeyOnlyWhen = 1,         // a save writes it only in some states; otherwise the old value stays
    kKeyTempFolderDefault = 2 // a missing or empty value means the system temporary folder
};

struct JobKey {
    JobKeyId id;
    const char* section;
    const char* key;
    JobValueForm form;
    int defaultNumber;        // load default of numeric forms
    const char* defaultText;  // load default of texts, paths and geometry ("" when none)
    int maxChars;             // longest text taken from the form or the file, 0 for numbers
    JobSource source;
    int flags;                // JobKeyFlags
    // The bound controls: the control itself; for a geometry the width then
    // the height field; for a choice, the button that decides the value first,
    // then the other buttons of the choice. 0 ends the list.
    int controls[kMaxBoundControls];
};

// Entry by identifier; every identifier below kJobKeyCount has one.
const JobKey& JobKeyAt(JobKeyId id);

// Looks a key up by section and key name, without regard to case; null when
// the job file format has no such key.
const JobKey* FindJobKey(const char* section, const char* key);

// The sections of a complete save, in the order a save writes them first
// (the engine's PROCESS section is not among them). Returns how many there
// are; fills at most capacity names.
size_t SavedSectionOrder(const char** names, size_t capacity);

// The job file's name beside the program.
extern const char kDefaultJobFileName[];
