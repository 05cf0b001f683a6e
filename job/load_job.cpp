// Loading a job file into the main form, in the fixed order of the steps,
// with the enable rules that the loaded values imply.
#include "job/form_binding.h"

#include <cstring>
#include <initializer_list>

#include "job/job_access.h"
#include "job/paths.h"
#include "job/profile.h"

namespace {

enum { kTextSize = 512 };  // the longest text a load takes (the prefix) and its terminator

// Every control a load sets, by what it sets. A reload first returns them to
// the state of a fresh dialog, because several steps set a control only in
// some cases (a check box of a radio group, a field only when the value is
// not empty, an enable only when a value is nonzero).
const int kLoadedButtons[] = {
    1186, 1112, 1131, 1133, 1083, 1084, 1092, 1096, 1097, 1087, 1113, 1114, 1012, 1076,
    1245, 1246, 1126, 1127, 1185, 1158, 1159, 1160, 1169, 1173, 1174, 1042, 1043, 1044,
    1045, 1559, 1175, 1176, 1177, 1053, 1055, 1040, 1099, 1005, 1031, 1098, 1007, 1154,
    1155, 1006, 1170, 1171, 1180, 1033, 1034, 1035, 1135, 1086, 1139, 1140, 1141, 1142,
    1143, 1144, 1067, 1145, 1146, 1147, 1148, 1149, 1150, 1151, 1152};
const int kLoadedFields[] = {
    1109, 1108, 1134, 1071, 1137, 1094, 1070, 1077, 1079, 1247, 1128, 1161, 1162, 1167,
    1047, 1057, 1000, 1023, 1008, 1073, 1075, 1009, 1010, 1002, 1020, 1022, 1182, 1184,
    1103};
const int kLoadedEnables[] = {
    1108, 1109, 1134, 1070, 1096, 1097, 1071, 1113, 1114, 1077, 1079, 1247, 1249, 1128,
    1130, 1159, 1160, 1161, 1162, 1163, 1098, 1011, 1102, 1103, 1135, 1035};

void ResetLoadedControls(JobForm& form) {
    for (int id : kLoadedButtons) form.SetChecked(id, kUnchecked);
    for (int id : kLoadedFields) form.SetText(id, "");
    for (int id : kLoadedEnables) form.Enable(id, 1);
}

int CheckOf(unsigned value) { return value != 0 ? kChecked : kUnchecked; }

void EnableAll(JobForm& form, std::initializer_list<int> ids, int on) {
    for (int id : ids) form.Enable(id, on);
}

// Checks the key's box when the value is nonzero.
unsigned LoadFlag(JobForm& form, JobKeyId id, const char* path) {
    unsigned value = ReadJobInt(id, path);
    form.SetChecked(BoundControl(id), CheckOf(value));
    return value;
}

void LoadNumber(JobForm& form, JobKeyId id, const char* path) {
    form.SetUnsigned(BoundControl(id), ReadJobInt(id, path));
}

void LoadSelection(JobForm& form, JobKeyId id, const char* path) {
    form.SetSelection(BoundControl(id), static_cast<int>(ReadJobInt(id, path)));
}

// Reads a key's text for its field, cut to the table's limit. A stored path
// longer than a path may be comes whole instead (up to a text's length), so
// that a save refuses it rather than write it cut short, which would name
// some other folder or file.
unsigned long ReadForField(JobKeyId id, char text[kTextSize], const char* path) {
    unsigned long count = ReadJobText(id, text, kTextSize, path);
    const JobKey& entry = JobKeyAt(id);
    if (entry.form == kFormPath && count == static_cast<unsigned long>(entry.maxChars)) {
        char whole[kTextSize];
        unsigned long all = ProfileReadString(entry.section, entry.key, "", whole, sizeof whole, path);
        if (all > count) {
            std::memcpy(text, whole, all + 1);
            count = all;
        }
    }
    return count;
}

// Puts the text into the key's field; an empty value leaves the field alone
// unless always is set.
void LoadText(JobForm& form, JobKeyId id, const char* path, bool always) {
    char text[kTextSize];
    if (ReadForField(id, text, path) > 0 || always) form.SetText(BoundControl(id), text);
}

// The leading decimal number of a text, as atoi reads it, wrapped to 32 bits.
unsigned LeadingNumber(const char* text) {
    while (*text == ' ' || *text == '\t') ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    unsigned value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10u + static_cast<unsigned>(*text - '0');
    return negative ? 0u - value : value;
}

void LoadShave(JobForm& form, const char* path) {
    if (ReadJobInt(kKeyShave, path) == 0) {
        form.SetChecked(1112, kUnchecked);
        EnableAll(form, {1108, 1109}, 0);
        return;
    }
    form.SetChecked(1112, kChecked);
    char geometry[kTextSize];
    ReadJobText(kKeyShaveGeometry, geometry, sizeof geometry, path);
    const char* x = std::strchr(geometry, 'x');
    if (x == nullptr) return;
    form.SetUnsigned(BoundControl(kKeyShaveGeometry, 0), LeadingNumber(geometry));
    form.SetUnsigned(BoundControl(kKeyShaveGeometry, 1), LeadingNumber(x + 1));
}

void LoadSourceHandling(JobForm& form, const char* path, ProgramValues& values) {
    unsigned move = ReadJobInt(kKeyMove, path);
    if (move != 0) {
        form.SetChecked(1083, kChecked);
        EnableAll(form, {1070, 1096, 1097}, 1);
    } else {
        form.SetChecked(1083, kUnchecked);
        EnableAll(form, {1070, 1096, 1097}, 0);
        form.SetChecked(ReadJobInt(kKeyDelete, path) != 0 ? 1084 : 1092, kChecked);
    }
    unsigned reproduce = LoadFlag(form, kKeyReproducePathInMove, path);
    values.reproduceInMoveRemembered = reproduce != 0 ? 1 : 0;
    form.Enable(1097, reproduce != 0 && move != 0);
    LoadFlag(form, kKeyOnlyFromRoot, path);
}

void LoadScan(JobForm& form, const char* path) {
    unsigned scan = LoadFlag(form, kKeyScan, path);
    EnableAll(form, {1071, 1113, 1114}, scan != 0);
    LoadNumber(form, kKeyScanDelay, path);
    unsigned minutes = ReadJobInt(kKeyScanMinutes, path);
    form.SetChecked(1113, CheckOf(minutes));
    form.SetChecked(1114, minutes != 0 ? kUnchecked : kChecked);
}

void LoadPageRange(JobForm& form, const char* path) {
    unsigned all = ReadJobInt(kKeyExtractAll, path);
    form.SetChecked(1012, CheckOf(all));
    form.SetChecked(1076, all != 0 ? kUnchecked : kChecked);
    EnableAll(form, {1077, 1079}, all == 0);
    for (JobKeyId id : {kKeyFirstPage, kKeyLastPage}) {
        unsigned page = ReadJobInt(id, path);
        if (static_cast<int>(page) != -1) form.SetUnsigned(BoundControl(id), page);
    }
}

void LoadErrorHandling(JobForm& form, const char* path) {
    unsigned move = ReadJobInt(kKeyErrorsMove, path);
    form.SetChecked(1245, CheckOf(move));
    form.SetChecked(1246, move != 0 ? kUnchecked : kChecked);
    EnableAll(form, {1247, 1249}, move != 0);
    LoadText(form, kKeyMoveErrorPath, path, false);
}

void LoadNaming(JobForm& form, const char* path) {
    if (ReadJobInt(kKeyTargetFileNameType, path) == 1) {
        form.SetChecked(1127, kChecked);
    } else {
        form.SetChecked(1126, kChecked);
        EnableAll(form, {1128, 1130}, 0);
    }
    LoadText(form, kKeyPrefixFileName, path, false);
    LoadFlag(form, kKeyAddDateToName, path);
}

void LoadSignature(JobForm& form, const char* path) {
    unsigned use = LoadFlag(form, kKeyUseASignature, path);
    if (use == 0) EnableAll(form, {1159, 1160, 1161, 1162, 1163}, 0);
    char text[kTextSize];
    if (ReadForField(kKeySignatureFile, text, path) > 0) {
        form.SetChecked(1159, kChecked);
        form.SetChecked(1160, kUnchecked);
        form.SetText(1161, text);
        form.Enable(1162, 0);
        if (use != 0) EnableAll(form, {1161, 1163}, 1);
    } else {
        ReadJobText(kKeySignatureText, text, sizeof text, path);
        form.SetChecked(1159, kUnchecked);
        form.SetChecked(1160, kChecked);
        form.SetText(1162, text);
        EnableAll(form, {1161, 1163}, 0);
        if (use != 0) form.Enable(1162, 1);
    }
    LoadSelection(form, kKeySignatureRegion, path);
    LoadNumber(form, kKeySignatureDissolve, path);
}

void LoadBmpType(JobForm& form, const char* path) {
    unsigned type = ReadJobInt(kKeyBmpType, path);
    if (type <= 2) form.SetChecked(BoundControl(kKeyBmpType, static_cast<int>(type)), kChecked);
}

void LoadGif(JobForm& form, const char* path, ProgramValues& values) {
    LoadFlag(form, kKeyGif87a, path);
    LoadFlag(form, kKeyGifInterlace, path);
    unsigned transparency = LoadFlag(form, kKeyGifTransparency, path);
    values.transparencyColour = transparency != 0 ? ReadJobInt(kKeyGifColor, path) : 0;
}

void LoadPostScript(JobForm& form, const char* path) {
    LoadFlag(form, kKeyPsCompress, path);
    LoadSelection(form, kKeyPsCompressType, path);
    LoadSelection(form, kKeyPsType, path);
    LoadSelection(form, kKeyPsPage, path);
    LoadFlag(form, kKeyPsAdjoin, path);
}

void LoadTiffCompression(JobForm& form, const char* path) {
    unsigned compress = ReadJobInt(kKeyTiffCompress, path);
    if (compress != 0) {
        form.SetChecked(1007, kChecked);
        form.SetSelection(1011, static_cast<int>(compress - 1));
    } else {
        form.SetSelection(1011, 0);
        form.Enable(1011, 0);
    }
}

void LoadSize(JobForm& form, const char* path) {
    char size[kPathSize];
    ReadJobText(kKeySize, size, sizeof size, path);
    char* x = std::strchr(size, 'x');
    if (x == nullptr) return;
    form.SetText(BoundControl(kKeySize, 1), x + 1);
    *x = '\0';
    form.SetText(BoundControl(kKeySize, 0), size);
}

void LoadTxt(JobForm& form, const char* path) {
    LoadSelection(form, kKeyTxtType, path);
    unsigned raw = ReadJobInt(kKeyTxtRaw, path);
    if (raw == 1) {
        EnableAll(form, {1102, 1103, 1135}, 1);
        form.Enable(1035, 0);
        form.SetChecked(1033, kChecked);
    } else {
        EnableAll(form, {1102, 1103, 1135}, 0);
        form.Enable(1035, 1);
        form.SetChecked(1034, kChecked);
        if (raw == 2) form.SetChecked(1035, kChecked);
    }
    LoadNumber(form, kKeyTxtColumns, path);
    LoadFlag(form, kKeyTxtMarkCrlf, path);
}

}  // namespace

int LoadJob(JobForm& form, const char* path, int reload, ProgramValues& values) {
    if (path == nullptr) path = "";
    if (reload) ResetLoadedControls(form);

    values.languageCode = static_cast<int>(ReadJobInt(kKeyLangue, path));
    if (!reload) form.CreateTabs();
    form.SetChecked(1186, ReadJobInt(kKeyEraseLog, path) == 1 ? kChecked : kUnchecked);
    values.displayDetails = ReadJobInt(kKeyDisplayDetails, path) != 0 ? 1 : 0;
    LoadSelection(form, kKeyImageType, path);
    LoadShave(form, path);
    LoadFlag(form, kKeyTrim, path);
    if (ReadJobInt(kKeyRotate, path) != 0) {
        form.SetChecked(1133, kChecked);
        form.Enable(1134, 1);
        LoadNumber(form, kKeyRotateRadius, path);
    } else {
        form.Enable(1134, 0);
    }
    LoadSourceHandling(form, path, values);
    LoadScan(form, path);
    LoadText(form, kKeyPassword, path, true);
    LoadText(form, kKeyTempPath, path, true);
    LoadText(form, kKeyMovePath, path, true);
    LoadPageRange(form, path);
    LoadErrorHandling(form, path);
    LoadNaming(form, path);
    LoadSignature(form, path);
    for (JobKeyId id : {kKeyContrast, kKeyEqualize, kKeyMonochrome}) LoadFlag(form, id, path);
    LoadBmpType(form, path);
    LoadFlag(form, kKeyBmpCompress, path);
    LoadFlag(form, kKeyDcxAdjoin, path);
    LoadGif(form, path, values);
    LoadNumber(form, kKeyJpegQuality, path);
    LoadFlag(form, kKeyJpegProgressive, path);
    LoadNumber(form, kKeyPngQuality, path);
    LoadFlag(form, kKeyPngProgressive, path);
    LoadPostScript(form, path);
    LoadText(form, kKeySource, path, false);
    LoadText(form, kKeyTarget, path, false);
    LoadFlag(form, kKeyRecurse, path);
    if (LoadFlag(form, kKeyReproducePath, path) == 0) form.Enable(1098, 0);
    LoadFlag(form, kKeyReproducePathFromRoot, path);
    unsigned density = ReadJobInt(kKeyDensity, path);
    if (density != 0) form.SetUnsigned(BoundControl(kKeyDensity), density);
    LoadTiffCompression(form, path);
    LoadNumber(form, kKeyTiffDpiV, path);
    LoadNumber(form, kKeyTiffDpiH, path);
    form.SetChecked(ReadJobInt(kKeyTiffPixelsInch, path) != 0 ? 1154 : 1155, kChecked);
    LoadFlag(form, kKeyTiffAdjoin, path);
    LoadSize(form, path);
    LoadSelection(form, kKeyColorspace, path);
    for (JobKeyId id : {kKeyTiffAuthor, kKeyTiffCopyright, kKeyTiffComment}) LoadText(form, id, path, false);
    bool rtfRaw = ReadJobInt(kKeyRtfRaw, path) == 1;
    form.SetChecked(1170, rtfRaw ? kChecked : kUnchecked);
    form.SetChecked(1171, rtfRaw ? kUnchecked : kChecked);
    LoadFlag(form, kKeySwfAdjoin, path);
    LoadNumber(form, kKeySwfQuality, path);
    LoadNumber(form, kKeySwfFramerate, path);
    LoadTxt(form, path);
    LoadFlag(form, kKeyKeepProportions, path);
    for (int id = kKeyInfosFileName; id <= kKeyInfosTagged; ++id) LoadFlag(form, static_cast<JobKeyId>(id), path);
    return 1;
}
