// Checking the main form and saving it into a job file, key by key in the
// fixed order of the steps. A refused check or a failed write stops the save
// where it is; the keys written before stay written.
#include "job/form_binding.h"

#include <cstring>

#include "job/job_access.h"
#include "job/paths.h"
#include "job/platform.h"
#include "lang/language_tables.h"

namespace {

enum { kTextSize = 512 };  // the longest text a save takes (the prefix) and its terminator

// One save: the form, the file, and what the later checks consult.
struct Save {
    JobForm& form;
    const char* path;
    SaveFolders& folders;
    int deleteChosen;  // the user confirmed deleting the source files
    int errorMoveOn;   // the conversion-error folder was checked and written

    int Tell(LanguageMessageId id, const char* folder = nullptr) {
        const LanguageMessage& message = LanguageMessageAt(id);
        return form.Message(message.section, message.key, folder);
    }

    // Every write goes through here: the first one that fails tells the user
    // which file could not be written and ends the save.
    int Put(int written) {
        if (written) return 1;
        Tell(kMsgWriteFailed, path);
        return 0;
    }
    int Int(JobKeyId id, int value) { return Put(WriteJobInt(id, value, path)); }
    int Text(JobKeyId id, const char* text) { return Put(WriteJobText(id, text, path)); }
    int Flag(JobKeyId id) { return Int(id, form.IsChecked(BoundControl(id))); }
    int Number(JobKeyId id) { return Int(id, static_cast<int>(form.GetUnsigned(BoundControl(id)))); }
    int Selection(JobKeyId id) { return Int(id, form.GetSelection(BoundControl(id))); }
    // A field's text, at most size-1 characters, terminated whatever the form did.
    void Read(int control, char* text, int size) {
        text[0] = '\0';
        form.GetText(control, text, size);
        text[size - 1] = '\0';
    }
    // The text of the key's field, at most the table's limit of characters.
    void ReadField(JobKeyId id, char text[kTextSize]) {
        Read(BoundControl(id), text, JobKeyAt(id).maxChars + 1);
    }
    int Field(JobKeyId id) {
        char text[kTextSize];
        if (JobKeyAt(id).form == kFormPath) {
            if (!Folder(BoundControl(id), text)) return 0;
        } else {
            ReadField(id, text);
        }
        return Text(id, text);
    }
    // The path in a field. One longer than a path may be is refused whole,
    // with the path_too_long message and the focus on the field: cut short it
    // would name some other folder or file.
    int Folder(int control, char folder[kPathSize]) {
        char text[kTextSize];
        Read(control, text, kTextSize);
        if (std::strlen(text) > kPathMax) {
            folder[0] = '\0';
            Tell(kMsgPathTooLong, text);
            form.Focus(control);
            return 0;
        }
        std::strcpy(folder, text);
        return 1;
    }

    // Reduces the separator runs (keeping a network prefix) and makes the folder.
    void CleanAndCreate(char* folder) {
        CollapseFolderPath(folder);
        folders.Create(folder);
    }
};

struct FileSystemFolders : SaveFolders {
    int Probe(const char* folder) override { return ProbeFolder(folder); }
    void Create(const char* folder) override { CreateFolderChain(folder); }
};

int SaveSource(Save& s) {
    char source[kPathSize];
    if (!s.Folder(1000, source)) return 0;
    if (source[0] == '\0') {
        s.Tell(kMsgNoSource);
        s.form.ShowInputPage(0);
        s.form.Focus(1000);
        return 0;
    }
    return s.Text(kKeySource, source);
}

int SaveTempFolder(Save& s) {
    char temp[kPathSize];
    if (!s.Folder(1094, temp)) return 0;
    if (temp[0] == '\0') {
        char system[kPathSize];
        SystemTempFolder(system, sizeof system);
        return s.Text(kKeyTempPath, system);
    }
    if (!s.folders.Probe(temp)) {
        if (s.Tell(kMsgNoTempFolder, temp) != kAnswerYes) {
            s.form.Focus(1094);
            return 0;
        }
        s.folders.Create(temp);
    }
    return s.Text(kKeyTempPath, temp);
}

int SaveMove(Save& s) {
    if (!s.form.IsChecked(1083))
        return s.Int(kKeyMove, 0) && s.Int(kKeyDelete, 0) && s.Text(kKeyMovePath, "");
    char folder[kPathSize];
    if (!s.Folder(1070, folder)) return 0;
    if (folder[0] == '\0') {
        s.Tell(kMsgNoMoveToFolder);
        s.form.Focus(1070);
        return 0;
    }
    if (!s.folders.Probe(folder)) {
        if (s.Tell(kMsgNoFolder, folder) != kAnswerYes) {
            s.form.Focus(1070);
            return 0;
        }
        s.folders.Create(folder);
    }
    s.CleanAndCreate(folder);
    return s.Text(kKeyMovePath, folder) && s.Flag(kKeyReproducePathInMove) &&
           s.Flag(kKeyOnlyFromRoot) && s.Int(kKeyMove, 1) && s.Int(kKeyDelete, 0);
}

int SaveDelete(Save& s) {
    if (!s.form.IsChecked(1084)) {
        s.deleteChosen = 0;
        return s.Int(kKeyDelete, 0);
    }
    s.form.ShowInputPage(3);
    if (s.Tell(kMsgDeletePdf) != kAnswerOk) return 0;
    if (!s.Int(kKeyDelete, 1) || !s.Int(kKeyMove, 0)) return 0;
    s.deleteChosen = 1;
    return 1;
}

int SaveNothingParticular(Save& s) {
    if (!s.form.IsChecked(1092)) return 1;
    return s.Int(kKeyDelete, 0) && s.Int(kKeyMove, 0);
}

// An empty field writes nothing, so clearing the field keeps the stored password.
int SavePassword(Save& s) {
    char password[kTextSize];
    s.ReadField(kKeyPassword, password);
    return password[0] == '\0' || s.Text(kKeyPassword, password);
}

int SaveErrorFolder(Save& s) {
    if (!s.form.IsChecked(1245)) return s.Int(kKeyErrorsMove, 0);
    char folder[kPathSize];
    if (!s.Folder(1247, folder)) {
        s.form.ShowInputPage(6);
        return 0;
    }
    if (folder[0] == '\0') {
        s.Tell(kMsgNoMoveErrorFolder);
        s.form.ShowInputPage(6);
        s.form.Focus(1247);
        return 0;
    }
    if (!s.folders.Probe(folder)) {
        if (s.Tell(kMsgNoFolder, folder) != kAnswerYes) {
            s.form.ShowInputPage(6);
            s.form.Focus(1247);
            return 0;
        }
        s.folders.Create(folder);
    }
    s.CleanAndCreate(folder);
    if (!s.Int(kKeyErrorsMove, 1) || !s.Text(kKeyMoveErrorPath, folder)) return 0;
    s.errorMoveOn = 1;
    return 1;
}

int SaveScan(Save& s) {
    if (!s.form.IsChecked(1087)) return s.Int(kKeyScan, 0);
    // A scan that leaves every source file in place would convert it again on every pass.
    if (!s.errorMoveOn && !s.deleteChosen) {
        s.Tell(kMsgScan);
        s.form.ShowInputPage(3);
        return 0;
    }
    unsigned delay = s.form.GetUnsigned(1071);
    if (delay == 0) {
        s.Tell(kMsgScanDelay);
        s.form.ShowInputPage(1);
        s.form.Focus(1071);
        return 0;
    }
    return s.Int(kKeyScanDelay, static_cast<int>(delay)) && s.Int(kKeyScan, 1) &&
           s.Flag(kKeyScanMinutes);
}

int SaveRotation(Save& s) {
    if (!s.form.IsChecked(1133)) return s.Int(kKeyRotate, 0);
    return s.Number(kKeyRotateRadius) && s.Int(kKeyRotate, 1);
}

int SaveTarget(Save& s) {
    char folder[kPathSize];
    if (!s.Folder(1023, folder)) {
        s.form.ShowOutputPage(0);
        return 0;
    }
    if (folder[0] == '\0') {
        s.Tell(kMsgNoTargetFolder);
        s.form.ShowOutputPage(0);
        s.form.Focus(1023);
        return 0;
    }
    if (!s.folders.Probe(folder) && s.Tell(kMsgNoFolder, folder) != kAnswerYes) {
        s.form.ShowOutputPage(0);
        s.form.Focus(1023);
        return 0;
    }
    s.CleanAndCreate(folder);
    return s.Text(kKeyTarget, folder);
}

int SaveTiffCompression(Save& s) {
    int compress = s.form.IsChecked(1007) ? s.form.GetSelection(1011) + 1 : 0;
    return s.Int(kKeyTiffCompress, compress) && s.Flag(kKeyTiffAdjoin);
}

int SavePageRange(Save& s) {
    if (!s.form.IsChecked(1076)) return s.Int(kKeyFirstPage, -1) && s.Int(kKeyLastPage, -1);
    unsigned first = s.form.GetUnsigned(1077);
    if (first == 0) {
        s.Tell(kMsgFirstPage);
        s.form.ShowInputPage(5);
        s.form.Focus(1077);
        return 0;
    }
    unsigned last = s.form.GetUnsigned(1079);
    if (last < first) {
        s.Tell(kMsgLastPage);
        s.form.ShowInputPage(5);
        s.form.Focus(1079);
        return 0;
    }
    return s.Int(kKeyFirstPage, static_cast<int>(first)) && s.Int(kKeyLastPage, static_cast<int>(last));
}

int SaveNaming(Save& s) {
    int prefixed = s.form.IsChecked(1126) ? 0 : 1;
    if (!s.Int(kKeyTargetFileNameType, prefixed)) return 0;
    if (!prefixed) return 1;
    char prefix[kTextSize];
    s.ReadField(kKeyPrefixFileName, prefix);
    if (prefix[0] == '\0') {
        s.Tell(kMsgPrefix);
        s.form.ShowOutputPage(1);
        // The file never keeps prefix naming without a prefix.
        if (!s.Int(kKeyTargetFileNameType, 0)) return 0;
        s.form.Focus(1128);
        return 0;
    }
    return s.Text(kKeyPrefixFileName, prefix);
}

int SaveSize(Save& s) {
    unsigned width = s.form.GetUnsigned(1009);
    unsigned height = s.form.GetUnsigned(1010);
    if (width != 0 && height == 0) {
        s.Tell(kMsgSize);
        s.form.Focus(1010);
        return 0;
    }
    if (width == 0 && height != 0) {
        s.Tell(kMsgSize);
        s.form.Focus(1009);
        return 0;
    }
    if (width == 0) return s.Text(kKeySize, "");
    return s.Put(WriteJobGeometry(kKeySize, static_cast<int>(width), static_cast<int>(height), s.path));
}

int SaveShave(Save& s) {
    if (!s.form.IsChecked(1112)) return s.Int(kKeyShave, 0);
    int width = static_cast<int>(s.form.GetUnsigned(BoundControl(kKeyShaveGeometry, 0)));
    int height = static_cast<int>(s.form.GetUnsigned(BoundControl(kKeyShaveGeometry, 1)));
    return s.Int(kKeyShave, 1) && s.Put(WriteJobGeometry(kKeyShaveGeometry, width, height, s.path));
}

int SaveSignature(Save& s) {
    if (!s.Flag(kKeyUseASignature)) return 0;
    int written = s.form.IsChecked(1159)
                      ? s.Field(kKeySignatureFile) && s.Text(kKeySignatureText, "")
                      : s.Text(kKeySignatureFile, "") && s.Field(kKeySignatureText);
    // The dissolve keeps only the first two characters of the field, so 100
    // is stored as 10; stored jobs rely on that.
    return written && s.Selection(kKeySignatureRegion) && s.Field(kKeySignatureDissolve);
}

int SaveTiff(Save& s) {
    return s.Number(kKeyTiffDpiV) && s.Number(kKeyTiffDpiH) && s.Flag(kKeyTiffPixelsInch) &&
           s.Field(kKeyTiffAuthor) && s.Field(kKeyTiffCopyright) && s.Field(kKeyTiffComment);
}

int SaveGif(Save& s, unsigned colour) {
    if (!s.Flag(kKeyGif87a) || !s.Flag(kKeyGifInterlace)) return 0;
    if (!s.form.IsChecked(1177)) return s.Int(kKeyGifTransparency, 0);
    return s.Int(kKeyGifTransparency, 1) && s.Put(WriteJobColour(kKeyGifColor, colour, s.path));
}

int SaveTxt(Save& s) {
    int type = s.form.GetSelection(1252);
    if (type >= 0 && type <= 3 && !s.Int(kKeyTxtType, type)) return 0;
    if (!s.form.IsChecked(1033)) return s.Int(kKeyTxtRaw, s.form.IsChecked(1035) ? 2 : 0);
    unsigned columns = s.form.GetUnsigned(1103);
    return s.Int(kKeyTxtRaw, 1) && s.Int(kKeyTxtColumns, columns != 0 ? static_cast<int>(columns) : 80) &&
           s.Flag(kKeyTxtMarkCrlf);
}

int SaveBmp(Save& s) {
    int type = s.form.IsChecked(1042) ? 0 : s.form.IsChecked(1043) ? 1 : 2;
    return s.Int(kKeyBmpType, type) && s.Flag(kKeyBmpCompress);
}

int SaveInfos(Save& s) {
    for (int id = kKeyInfosFileName; id <= kKeyInfosTagged; ++id)
        if (!s.Flag(static_cast<JobKeyId>(id))) return 0;
    return 1;
}

}  // namespace

int ProbeFolder(const char* folder) {
    return platform::CreateAndDeleteUniqueFile(folder, "H") ? 1 : 0;
}

int SaveJob(JobForm& form, const char* path, const ProgramValues& values) {
    FileSystemFolders folders;
    return SaveJob(form, path, values, folders);
}

int SaveJob(JobForm& form, const char* path, const ProgramValues& values, SaveFolders& folders) {
    Save s{form, path != nullptr ? path : "", folders, 0, 0};
    return s.Int(kKeyLangue, values.languageCode) && s.Int(kKeyDisplayDetails, values.displayDetails) &&
           SaveSource(s) && SaveTempFolder(s) &&
           s.Flag(kKeyRecurse) && s.Flag(kKeyExtractAll) &&
           SaveMove(s) &&
           s.Flag(kKeyEraseLog) &&
           SaveDelete(s) &&
           SaveNothingParticular(s) &&
           SavePassword(s) &&
           SaveErrorFolder(s) &&
           SaveScan(s) &&
           s.Flag(kKeyTrim) && s.Selection(kKeyImageType) &&
           SaveRotation(s) &&
           SaveTarget(s) &&
           s.Flag(kKeyReproducePath) && s.Flag(kKeyReproducePathFromRoot) &&
           SaveTiffCompression(s) &&
           s.Number(kKeyDensity) &&
           SavePageRange(s) &&
           SaveNaming(s) &&
           s.Flag(kKeyAddDateToName) &&
           SaveSize(s) &&
           s.Flag(kKeyKeepProportions) && s.Selection(kKeyColorspace) &&
           s.Int(kKeyTooltips, values.tooltips) &&
           SaveShave(s) &&
           SaveSignature(s) &&
           s.Flag(kKeyContrast) && s.Flag(kKeyEqualize) && s.Flag(kKeyMonochrome) &&
           SaveTiff(s) &&
           s.Flag(kKeyDcxAdjoin) &&
           SaveGif(s, values.transparencyColour) &&
           s.Number(kKeyJpegQuality) && s.Flag(kKeyJpegProgressive) &&
           s.Number(kKeyPngQuality) && s.Flag(kKeyPngProgressive) &&
           s.Flag(kKeyRtfRaw) &&
           s.Flag(kKeySwfAdjoin) && s.Number(kKeySwfQuality) && s.Number(kKeySwfFramerate) &&
           SaveTxt(s) &&
           s.Selection(kKeyPsType) && s.Selection(kKeyPsPage) && s.Flag(kKeyPsCompress) &&
           s.Selection(kKeyPsCompressType) && s.Flag(kKeyPsAdjoin) &&
           SaveBmp(s) &&
           SaveInfos(s);
}
