// The job file table.
#include "job/job_keys.h"

#include <cstring>

#include "job/profile.h"

const char kDefaultJobFileName[] = "ombrello_zandrix.ini";

namespace {

#define FLAG(id, sec, key, def, ctl) {id, sec, key, kFormFlag, def, "", 0, kSourceControl, kKeyPlain, {ctl, 0, 0}}

const JobKey kJobKeys[kJobKeyCount] = {
    {kKeyLangue, "MAIN", "langue", kFormInteger, 1, "", 0, kSourceLanguageCode, kKeyPlain, {0, 0, 0}},
    {kKeyDisplayDetails, "PARAMS", "display_details", kFormFlag, 1, "", 0, kSourceDisplayDetails, kKeyPlain, {0, 0, 0}},
    {kKeySource, "FOLDERS", "source", kFormPath, 0, "", 259, kSourceControl, kKeyPlain, {1000, 0, 0}},
    {kKeyTempPath, "FOLDERS", "temp_path", kFormPath, 0, "", 259, kSourceControl, kKeyTempFolderDefault, {1094, 0, 0}},
    FLAG(kKeyRecurse, "PARAMS", "recurse", 0, 1005),
    {kKeyExtractAll, "PARAMS", "extract_all", kFormFlag, 1, "", 0, kSourceControl, kKeyPlain, {1012, 1076, 0}},
    {kKeyMovePath, "FOLDERS", "move_path", kFormPath, 0, "", 259, kSourceControl, kKeyPlain, {1070, 0, 0}},
    {kKeyReproducePathInMove, "PARAMS", "reproduce_path_in_move", kFormFlag, 0, "", 0, kSourceControl, kKeyOnlyWhen, {1096, 0, 0}},
    {kKeyOnlyFromRoot, "PARAMS", "only_from_root", kFormFlag, 0, "", 0, kSourceControl, kKeyOnlyWhen, {1097, 0, 0}},
    FLAG(kKeyMove, "PARAMS", "move", 0, 1083),
    FLAG(kKeyDelete, "PARAMS", "delete", 0, 1084),
    FLAG(kKeyEraseLog, "PARAMS", "erase_log", 1, 1186),
    {kKeyPassword, "PARAMS", "password", kFormText, 0, "", 259, kSourceControl, kKeyOnlyWhen, {1137, 0, 0}},
    {kKeyErrorsMove, "ERRORS", "move", kFormFlag, 0, "", 0, kSourceControl, kKeyPlain, {1245, 1246, 0}},
    {kKeyMoveErrorPath, "ERRORS", "move_error_path", kFormPath, 0, "", 259, kSourceControl, kKeyOnlyWhen, {1247, 0, 0}},
    {kKeyScanDelay, "PARAMS", "scan_delay", kFormInteger, 0, "", 0, kSourceControl, kKeyOnlyWhen, {1071, 0, 0}},
    FLAG(kKeyScan, "PARAMS", "scan", 0, 1087),
    {kKeyScanMinutes, "PARAMS", "scan_minutes", kFormFlag, 1, "", 0, kSourceControl, kKeyOnlyWhen, {1113, 1114, 0}},
    FLAG(kKeyTrim, "PARAMS", "trim", 0, 1131),
    {kKeyImageType, "PARAMS", "image_type", kFormIndex, 1, "", 0, kSourceControl, kKeyPlain, {1025, 0, 0}},
    {kKeyRotateRadius, "PARAMS", "rotate_radius", kFormInteger, 90, "", 0, kSourceControl, kKeyOnlyWhen, {1134, 0, 0}},
    FLAG(kKeyRotate, "PARAMS", "rotate", 0, 1133),
    {kKeyTarget, "FOLDERS", "target", kFormPath, 0, "", 259, kSourceControl, kKeyPlain, {1023, 0, 0}},
    FLAG(kKeyReproducePath, "PARAMS", "reproduce_path", 0, 1031),
    FLAG(kKeyReproducePathFromRoot, "PARAMS", "reproduce_path_from_root", 0, 1098),
    {kKeyTiffCompress, "TIFF", "compress", kFormInteger, 0, "", 0, kSourceControl, kKeyPlain, {1007, 1011, 0}},
    FLAG(kKeyTiffAdjoin, "TIFF", "adjoin", 0, 1006),
    {kKeyDensity, "PARAMS", "density", kFormInteger, 0, "", 0, kSourceControl, kKeyPlain, {1008, 0, 0}},
    {kKeyFirstPage, "PARAMS", "firstPage", kFormInteger, 0, "", 0, kSourceControl, kKeyPlain, {1077, 1076, 0}},
    {kKeyLastPage, "PARAMS", "lastPage", kFormInteger, 0, "", 0, kSourceControl, kKeyPlain, {1079, 1076, 0}},
    {kKeyTargetFileNameType, "PARAMS", "target_file_name_type", kFormInteger, 0, "", 0, kSourceControl, kKeyPlain, {1126, 1127, 0}},
    {kKeyPrefixFileName, "PARAMS", "prefix_file_name", kFormText, 0, "", 511, kSourceControl, kKeyOnlyWhen, {1128, 0, 0}},
    FLAG(kKeyAddDateToName, "PARAMS", "add_date_to_name", 0, 1185),
    {kKeySize, "PARAMS", "size", kFormGeometry, 0, "", 0, kSourceControl, kKeyPlain, {1009, 1010, 0}},
    FLAG(kKeyKeepProportions, "PARAMS", "keep_proportions", 1, 1086),
    {kKeyColorspace, "PARAMS", "colorspace", kFormIndex, 0, "", 0, kSourceControl, kKeyPlain, {1052, 0, 0}},
    {kKeyTooltips, "MISC", "tooltips", kFormFlag, 0, "", 0, kSourceTooltips, kKeyPlain, {0, 0, 0}},
    FLAG(kKeyShave, "PARAMS", "shave", 0, 1112),
    {kKeyShaveGeometry, "PARAMS", "shave_geometry", kFormGeometry, 0, "", 19, kSourceControl, kKeyOnlyWhen, {1109, 1108, 0}},
    FLAG(kKeyUseASignature, "SIGNATURE", "use_a_signature", 0, 1158),
    {kKeySignatureFile, "SIGNATURE", "signature_file", kFormPath, 0, "", 259, kSourceControl, kKeyPlain, {1161, 1159, 0}},
    {kKeySignatureText, "SIGNATURE", "signature_text", kFormText, 0, "", 259, kSourceControl, kKeyPlain, {1162, 1160, 0}},
    {kKeySignatureRegion, "SIGNATURE", "signature_region", kFormIndex, 0, "", 0, kSourceControl, kKeyPlain, {1165, 0, 0}},
    {kKeySignatureDissolve, "SIGNATURE", "signature_dissolve", kFormText, 50, "", 2, kSourceControl, kKeyPlain, {1167, 0, 0}},
    FLAG(kKeyContrast, "ENHANCE", "contrast", 0, 1169),
    FLAG(kKeyEqualize, "ENHANCE", "equalize", 0, 1173),
    FLAG(kKeyMonochrome, "ENHANCE", "monochrome", 0, 1174),
    {kKeyTiffDpiV, "TIFF", "dpi_v", kFormInteger, 72, "", 0, kSourceControl, kKeyPlain, {1073, 0, 0}},
    {kKeyTiffDpiH, "TIFF", "dpi_h", kFormInteger, 72, "", 0, kSourceControl, kKeyPlain, {1075, 0, 0}},
    {kKeyTiffPixelsInch, "TIFF", "pixels_inch", kFormFlag, 72, "", 0, kSourceControl, kKeyPlain, {1154, 1155, 0}},
    {kKeyTiffAuthor, "TIFF", "author", kFormText, 0, "", 79, kSourceControl, kKeyPlain, {1002, 0, 0}},
    {kKeyTiffCopyright, "TIFF", "copyright", kFormText, 0, "", 79, kSourceControl, kKeyPlain, {1020, 0, 0}},
    {kKeyTiffComment, "TIFF", "comment", kFormText, 0, "", 79, kSourceControl, kKeyPlain, {1022, 0, 0}},
    FLAG(kKeyDcxAdjoin, "DCX", "adjoin", 0, 1559),
    FLAG(kKeyGif87a, "GIF", "87a", 0, 1175),
    FLAG(kKeyGifInterlace, "GIF", "interlace", 0, 1176),
    FLAG(kKeyGifTransparency, "GIF", "transparency", 0, 1177),
    {kKeyGifColor, "GIF", "color_gif", kFormColour, 0, "", 0, kSourceTransparencyColour, kKeyOnlyWhen, {0, 0, 0}},
    {kKeyJpegQuality, "JPEG", "quality", kFormInteger, 75, "", 0, kSourceControl, kKeyPlain, {1047, 0, 0}},
    FLAG(kKeyJpegProgressive, "JPEG", "progressive", 0, 1053),
    {kKeyPngQuality, "PNG", "quality", kFormInteger, 75, "", 0, kSourceControl, kKeyPlain, {1057, 0, 0}},
    FLAG(kKeyPngProgressive, "PNG", "progressive", 0, 1055),
    {kKeyRtfRaw, "RTF", "raw", kFormFlag, 1, "", 0, kSourceControl, kKeyPlain, {1170, 1171, 0}},
    FLAG(kKeySwfAdjoin, "SWF", "adjoin", 1, 1180),
    {kKeySwfQuality, "SWF", "quality", kFormInteger, 75, "", 0, kSourceControl, kKeyPlain, {1182, 0, 0}},
    {kKeySwfFramerate, "SWF", "framerate", kFormInteger, 100, "", 0, kSourceControl, kKeyPlain, {1184, 0, 0}},
    {kKeyTxtType, "TXT", "txt_type", kFormIndex, 0, "", 0, kSourceControl, kKeyOnlyWhen, {1252, 0, 0}},
    {kKeyTxtRaw, "TXT", "raw", kFormInteger, 1, "", 0, kSourceControl, kKeyPlain, {1033, 1035, 1034}},
    {kKeyTxtColumns, "TXT", "columns", kFormInteger, 80, "", 0, kSourceControl, kKeyOnlyWhen, {1103, 0, 0}},
    {kKeyTxtMarkCrlf, "TXT", "mark_crlf", kFormFlag, 80, "", 0, kSourceControl, kKeyOnlyWhen, {1135, 0, 0}},
    {kKeyPsType, "PS", "ps_type", kFormIndex, 0, "", 0, kSourceControl, kKeyPlain, {1101, 0, 0}},
    {kKeyPsPage, "PS", "page", kFormIndex, 0, "", 0, kSourceControl, kKeyPlain, {1124, 0, 0}},
    FLAG(kKeyPsCompress, "PS", "compress", 1, 1040),
    {kKeyPsCompressType, "PS", "ps_compress", kFormIndex, 1, "", 0, kSourceControl, kKeyPlain, {1041, 0, 0}},
    FLAG(kKeyPsAdjoin, "PS", "adjoin", 0, 1099),
    {kKeyBmpType, "BMP", "bmp_type", kFormInteger, 0, "", 0, kSourceControl, kKeyPlain, {1042, 1043, 1044}},
    FLAG(kKeyBmpCompress, "BMP", "compress", 1, 1045),
    FLAG(kKeyInfosFileName, "Infos", "file_name", 1, 1139),
    FLAG(kKeyInfosFileSize, "Infos", "file_size", 1, 1140),
    FLAG(kKeyInfosTitle, "Infos", "title", 1, 1141),
    FLAG(kKeyInfosSubject, "Infos", "subject", 1, 1142),
    FLAG(kKeyInfosKeywords, "Infos", "keywords", 1, 1143),
    FLAG(kKeyInfosAuthor, "Infos", "author", 1, 1144),
    FLAG(kKeyInfosCreator, "Infos", "creator", 1, 1067),
    FLAG(kKeyInfosProducer, "Infos", "producer", 1, 1145),
    FLAG(kKeyInfosCreation, "Infos", "creation", 1, 1146),
    FLAG(kKeyInfosModification, "Infos", "modification", 1, 1147),
    FLAG(kKeyInfosOptimization, "Infos", "optimization", 1, 1148),
    FLAG(kKeyInfosVersion, "Infos", "version", 1, 1149),
    FLAG(kKeyInfosPageSize, "Infos", "page_size", 1, 1150),
    FLAG(kKeyInfosEncrypted, "Infos", "encrypted", 1, 1151),
    FLAG(kKeyInfosTagged, "Infos", "tagged", 1, 1152),
    {kKeyProcessId, "PROCESS", "ID", kFormInteger, 0, "", 0, kSourceEngine, kKeyPlain, {0, 0, 0}},
};

#undef FLAG


}  // namespace

const JobKey& JobKeyAt(JobKeyId id) { return kJobKeys[id]; }

const JobKey* FindJobKey(const char* section, const char* key) {
    if (section == nullptr || key == nullptr) return nullptr;
    for (const JobKey& entry : kJobKeys)
        if (SameProfileName(entry.section, section) && SameProfileName(entry.key, key)) return &entry;
    return nullptr;
}

size_t SavedSectionOrder(const char** names, size_t capacity) {
    size_t count = 0;
    for (size_t i = 0; i < kJobKeyCount; ++i) {
        if (kJobKeys[i].source == kSourceEngine) continue;
        bool seen = false;
        for (size_t j = 0; j < i && !seen; ++j)
            seen = kJobKeys[j].source != kSourceEngine &&
                   std::strcmp(kJobKeys[j].section, kJobKeys[i].section) == 0;
        if (seen) continue;
        if (count < capacity) names[count] = kJobKeys[i].section;
        ++count;
    }
    return count;
}
