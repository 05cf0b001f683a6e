// The job file read into a plan, and the portable rules of a run: which
// files, which pages, which folders and names.
#include "engine/plan.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "engine/file_system.h"
#include "job/job_access.h"
#include "job/paths.h"

namespace {

int Int(JobKeyId id, const std::string& job) { return static_cast<int>(ReadJobInt(id, job.c_str())); }
bool Flag(JobKeyId id, const std::string& job) { return ReadJobInt(id, job.c_str()) != 0; }

std::string Text(JobKeyId id, const std::string& job) {
    char value[1024];
    ReadJobText(id, value, sizeof value, job.c_str());
    return value;
}

// "WxH" into its two numbers; false when the text is not of that form.
bool ParseGeometry(const std::string& text, int* width, int* height) {
    size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    *width = std::atoi(text.substr(0, x).c_str());
    *height = std::atoi(text.substr(x + 1).c_str());
    return true;
}

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

// The resolutions a job can ask for, pixels per inch; the pixel cap of a
// page bounds what a large page at a high one may cost.
const int kMinDpi = 1;
const int kMaxDpi = 9600;

void ReadResolution(const std::string& job, OutputOptions* options) {
    int density = Int(kKeyDensity, job);
    if (density > 0) {
        options->dpiX = options->dpiY = Clamp(density, kMinDpi, kMaxDpi);
        return;
    }
    options->dpiX = options->dpiY = 72;
    if (options->format != kOutTiff) return;
    double h = Int(kKeyTiffDpiH, job);
    double v = Int(kKeyTiffDpiV, job);
    if (!Flag(kKeyTiffPixelsInch, job)) {
        h *= 2.54;
        v *= 2.54;
    }
    if (h >= 1) options->dpiX = std::min(h, static_cast<double>(kMaxDpi));
    if (v >= 1) options->dpiY = std::min(v, static_cast<double>(kMaxDpi));
}

void ReadOperations(const std::string& job, ImageOperations* ops) {
    ops->rotate = Flag(kKeyRotate, job);
    ops->rotateDegrees = Int(kKeyRotateRadius, job);
    ops->shave = Flag(kKeyShave, job);
    if (ops->shave) ParseGeometry(Text(kKeyShaveGeometry, job), &ops->shaveWidth, &ops->shaveHeight);
    ops->trim = Flag(kKeyTrim, job);
    ParseGeometry(Text(kKeySize, job), &ops->resizeWidth, &ops->resizeHeight);
    ops->keepProportions = Flag(kKeyKeepProportions, job);
    ops->colourSpace = Clamp(Int(kKeyColorspace, job), kSpaceRgb, kSpaceCmyk);
    ops->contrast = Flag(kKeyContrast, job);
    ops->equalize = Flag(kKeyEqualize, job);
    ops->monochrome = Flag(kKeyMonochrome, job);
    ops->signature = Flag(kKeyUseASignature, job);
    ops->signatureFile = Text(kKeySignatureFile, job);
    if (ops->signatureFile.empty()) ops->signatureText = Text(kKeySignatureText, job);
    ops->signatureRegion = Clamp(Int(kKeySignatureRegion, job), 0, 8);
    ops->signatureDissolve = Clamp(Int(kKeySignatureDissolve, job), 0, 100);
}

void ReadFormatOptions(const std::string& job, OutputOptions* o) {
    o->bmpType = Int(kKeyBmpType, job);
    o->bmpCompress = Flag(kKeyBmpCompress, job);
    o->dcxAdjoin = Flag(kKeyDcxAdjoin, job);
    o->gif87a = Flag(kKeyGif87a, job);
    o->gifInterlace = Flag(kKeyGifInterlace, job);
    o->gifTransparency = Flag(kKeyGifTransparency, job);
    o->gifColour = o->gifTransparency ? ReadJobInt(kKeyGifColor, job.c_str()) : 0;
    o->jpegQuality = Clamp(Int(kKeyJpegQuality, job), 0, 100);
    o->jpegProgressive = Flag(kKeyJpegProgressive, job);
    o->pngQuality = Clamp(Int(kKeyPngQuality, job), 0, 99);
    o->pngProgressive = Flag(kKeyPngProgressive, job);
    o->psType = Clamp(Int(kKeyPsType, job), 0, 7);
    o->psPage = Clamp(Int(kKeyPsPage, job), 0, 3);
    o->psCompress = Flag(kKeyPsCompress, job);
    o->psCompressType = Clamp(Int(kKeyPsCompressType, job), 0, 3);
    o->psAdjoin = Flag(kKeyPsAdjoin, job);
    o->rtfRaw = Int(kKeyRtfRaw, job) == 1;
    o->swfAdjoin = Flag(kKeySwfAdjoin, job);
    o->swfQuality = Clamp(Int(kKeySwfQuality, job), 0, 100);
    o->swfFramerate = Clamp(Int(kKeySwfFramerate, job), 1, 1000);
    o->tiffCompress = Clamp(Int(kKeyTiffCompress, job), 0, 5);
    o->tiffAdjoin = Flag(kKeyTiffAdjoin, job);
    o->tiffAuthor = Text(kKeyTiffAuthor, job);
    o->tiffCopyright = Text(kKeyTiffCopyright, job);
    o->tiffComment = Text(kKeyTiffComment, job);
    o->txtType = Int(kKeyTxtType, job);
    o->txtRaw = Int(kKeyTxtRaw, job);
    int columns = Int(kKeyTxtColumns, job);
    o->txtColumns = columns <= 0 ? 80 : std::min(columns, 100000);
    o->txtMarkPageBreaks = Flag(kKeyTxtMarkCrlf, job);
    o->infoFileName = Flag(kKeyInfosFileName, job);
    o->infoFileSize = Flag(kKeyInfosFileSize, job);
    o->infoTitle = Flag(kKeyInfosTitle, job);
    o->infoSubject = Flag(kKeyInfosSubject, job);
    o->infoKeywords = Flag(kKeyInfosKeywords, job);
    o->infoAuthor = Flag(kKeyInfosAuthor, job);
    o->infoCreator = Flag(kKeyInfosCreator, job);
    o->infoProducer = Flag(kKeyInfosProducer, job);
    o->infoCreation = Flag(kKeyInfosCreation, job);
    o->infoModification = Flag(kKeyInfosModification, job);
    o->infoOptimization = Flag(kKeyInfosOptimization, job);
    o->infoVersion = Flag(kKeyInfosVersion, job);
    o->infoPageSize = Flag(kKeyInfosPageSize, job);
    o->infoEncrypted = Flag(kKeyInfosEncrypted, job);
    o->infoTagged = Flag(kKeyInfosTagged, job);
}

bool IsSeparator(char c) { return c == '/' || c == kDirSeparator; }

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && IsSeparator(path.back())) path.pop_back();
    return path;
}

}  // namespace

int ScanIntervalSeconds(long scanDelay, bool minutes) {
    const long kDay = 24L * 60L * 60L;
    long delay = scanDelay < 1 ? 1 : std::min(scanDelay, kDay);
    long seconds = minutes ? delay * 60L : delay;
    return static_cast<int>(std::min(seconds, kDay));
}

Plan ReadPlan(const std::string& job) {
    Plan plan;
    plan.jobPath = job;
    plan.options.format = Int(kKeyImageType, job);
    ReadResolution(job, &plan.options);
    ReadOperations(job, &plan.options.operations);
    ReadFormatOptions(job, &plan.options);

    plan.allPages = Flag(kKeyExtractAll, job);
    plan.firstPage = Int(kKeyFirstPage, job);
    plan.lastPage = Int(kKeyLastPage, job);
    plan.password = Text(kKeyPassword, job);

    plan.source = WithoutTrailingSeparators(Text(kKeySource, job));
    plan.recurse = Flag(kKeyRecurse, job);
    plan.target = WithoutTrailingSeparators(Text(kKeyTarget, job));
    plan.reproducePath = Flag(kKeyReproducePath, job);
    plan.reproduceFromRoot = Flag(kKeyReproducePathFromRoot, job);

    plan.moveSource = Flag(kKeyMove, job);
    plan.movePath = WithoutTrailingSeparators(Text(kKeyMovePath, job));
    plan.reproduceInMove = Flag(kKeyReproducePathInMove, job);
    plan.moveFromRoot = Flag(kKeyOnlyFromRoot, job);
    plan.deleteSource = Flag(kKeyDelete, job);
    // Both asked: moving keeps the file, so it wins over deleting.
    if (plan.moveSource) plan.deleteSource = false;

    plan.moveFailures = Flag(kKeyErrorsMove, job);
    plan.errorPath = WithoutTrailingSeparators(Text(kKeyMoveErrorPath, job));
    if (plan.errorPath.empty()) plan.moveFailures = false;

    plan.eraseLog = Flag(kKeyEraseLog, job);
    plan.scan = Flag(kKeyScan, job);
    plan.scanSeconds = ScanIntervalSeconds(Int(kKeyScanDelay, job), Flag(kKeyScanMinutes, job));

    plan.prefixNames = Int(kKeyTargetFileNameType, job) == 1;
    plan.prefix = Text(kKeyPrefixFileName, job);
    // A prefix that is empty or names another folder cannot name a file.
    if (plan.prefix.find_first_of("/\\:*?\"<>|") != std::string::npos) plan.prefix.clear();
    if (plan.prefix.empty()) plan.prefixNames = false;
    plan.addDate = Flag(kKeyAddDateToName, job);
    return plan;
}

PageSpan PagesToConvert(const Plan& plan, int pageCount) {
    PageSpan span;
    span.first = 1;
    span.last = pageCount;
    if (plan.allPages) return span;
    if (plan.firstPage > 1) span.first = plan.firstPage;
    if (plan.lastPage > 0 && plan.lastPage < pageCount) span.last = plan.lastPage;
    return span;
}

bool IsPdfName(const std::string& name) {
    if (name.size() < 5 || name[0] == '.') return false;
    return Folded(name.substr(name.size() - 4)) == ".pdf";
}

std::string Folded(const std::string& text) {
    std::string folded = text;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

namespace {

// Deeper than any real folder tree; a folder link that loops stops here.
const int kMaxFolderDepth = 64;

void CollectPdfFiles(const std::string& folder, bool recurse, const std::vector<std::string>& skip, int depth,
                     std::vector<std::string>* found) {
    std::vector<std::string> files = PdfFilesIn(folder, false, skip);
    found->insert(found->end(), files.begin(), files.end());
    if (!recurse || depth >= kMaxFolderDepth) return;
    std::vector<fsys::FolderEntry> entries;
    if (!fsys::ListFolder(folder, &entries)) return;
    std::sort(entries.begin(), entries.end(), [](const fsys::FolderEntry& a, const fsys::FolderEntry& b) {
        std::string fa = Folded(a.name), fb = Folded(b.name);
        return fa != fb ? fa < fb : a.name < b.name;
    });
    for (const fsys::FolderEntry& entry : entries) {
        if (!entry.folder || entry.name[0] == '.') continue;
        std::string sub = JoinPath(folder, entry.name);
        bool skipped = false;
        for (const std::string& other : skip)
            if (!other.empty() && Folded(other) == Folded(sub)) skipped = true;
        if (!skipped) CollectPdfFiles(sub, true, skip, depth + 1, found);
    }
}

}  // namespace

std::vector<std::string> PdfFilesIn(const std::string& folder, bool recurse, const std::vector<std::string>& skip) {
    std::vector<std::string> files;
    if (recurse) {
        CollectPdfFiles(folder, true, skip, 0, &files);
        return files;
    }
    std::vector<fsys::FolderEntry> entries;
    if (folder.empty() || !fsys::ListFolder(folder, &entries)) return files;
    for (const fsys::FolderEntry& entry : entries)
        if (!entry.folder && IsPdfName(entry.name)) files.push_back(JoinPath(folder, entry.name));
    std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        std::string fa = Folded(a), fb = Folded(b);
        return fa != fb ? fa < fb : a < b;
    });
    return files;
}

std::vector<std::string> ParseFileList(const std::string& text) {
    std::map<long, std::string> listed;
    bool inFiles = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inFiles = Folded(line) == "[files]";
            continue;
        }
        size_t equals = line.find('=');
        if (!inFiles || equals == std::string::npos || equals == 0 || equals > 9) continue;
        std::string key = line.substr(0, equals);
        if (key.find_first_not_of("0123456789") != std::string::npos) continue;
        long index = std::atol(key.c_str());
        std::string path = line.substr(equals + 1);
        if (!path.empty() && listed.find(index) == listed.end()) listed[index] = path;
    }
    std::vector<std::string> files;
    for (long i = 0;; ++i) {
        auto found = listed.find(i);
        if (found == listed.end()) break;
        files.push_back(found->second);
    }
    return files;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (IsSeparator(folder.back())) return folder + name;
    return folder + kDirSeparator + name;
}

std::string FolderOf(const std::string& path) {
    size_t cut = path.find_last_of(kDirSeparator == '/' ? "/" : "\\/");
    if (cut == std::string::npos) return "";
    return cut == 0 ? path.substr(0, 1) : path.substr(0, cut);
}

std::string FileNameOf(const std::string& path) {
    size_t cut = path.find_last_of(kDirSeparator == '/' ? "/" : "\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string StemOf(const std::string& path) {
    std::string name = FileNameOf(path);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

namespace {

// A folder path without its drive or network prefix and leading separators.
std::string WithoutRoot(std::string folder) {
    if (folder.size() >= 2 && folder[1] == ':') folder = folder.substr(2);
    size_t first = folder.find_first_not_of("/\\");
    return first == std::string::npos ? "" : folder.substr(first);
}

}  // namespace

std::string ReproducedPart(const std::string& file, const std::string& root, bool fromRoot) {
    std::string folder = FolderOf(file);
    if (fromRoot && !root.empty()) {
        std::string base = WithoutTrailingSeparators(root);
        if (Folded(folder) == Folded(base)) return "";
        if (folder.size() > base.size() && Folded(folder.substr(0, base.size())) == Folded(base) &&
            IsSeparator(folder[base.size()]))
            return folder.substr(base.size() + 1);
    }
    return WithoutRoot(folder);
}

std::string OutputFolderFor(const Plan& plan, const std::string& file) {
    if (!plan.reproducePath) return plan.target;
    return JoinPath(plan.target, ReproducedPart(file, plan.source, plan.reproduceFromRoot));
}

std::string MoveFolderFor(const Plan& plan, const std::string& file) {
    if (!plan.reproduceInMove) return plan.movePath;
    return JoinPath(plan.movePath, ReproducedPart(file, plan.source, plan.moveFromRoot));
}

std::string OutputName(const std::string& base, int number, const std::string& date, const std::string& extension,
                       const std::string& suffix) {
    std::string name = base;
    if (number > 0) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "_%03d", number);
        name += digits;
    }
    name += suffix;
    if (!date.empty()) name += "_" + date;
    return name + "." + extension;
}

int HighestPrefixNumber(const std::vector<std::string>& names, const std::string& prefix, const std::string& extension) {
    const std::string head = Folded(prefix) + "_";
    const std::string tail = "." + Folded(extension);
    int highest = 0;
    for (const std::string& original : names) {
        std::string name = Folded(original);
        if (name.size() <= head.size() + tail.size() || name.compare(0, head.size(), head) != 0 ||
            name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
            continue;
        size_t digits = head.size();
        size_t end = digits;
        while (end < name.size() && name[end] >= '0' && name[end] <= '9') ++end;
        if (end == digits || end - digits > 9) continue;
        if (name[end] != '.' && name[end] != '_') continue;
        highest = std::max(highest, std::atoi(name.substr(digits, end - digits).c_str()));
    }
    return highest;
}

std::string NameBook::BaseFor(const std::string& folder, const std::string& source) {
    const std::string stem = StemOf(source);
    for (int n = 1;; ++n) {
        std::string base = n == 1 ? stem : stem + "-" + std::to_string(n);
        std::string key = Folded(JoinPath(folder, base));
        auto owner = owners_.find(key);
        if (owner == owners_.end()) {
            owners_[key] = source;
            return base;
        }
        if (owner->second == source) return base;
    }
}

int NameBook::TakeNumbers(const std::string& folder, const std::string& prefix, const std::string& extension, int count) {
    std::string key = Folded(folder);
    auto last = lastNumbers_.find(key);
    if (last == lastNumbers_.end()) {
        std::vector<fsys::FolderEntry> entries;
        std::vector<std::string> names;
        if (fsys::ListFolder(folder, &entries))
            for (const fsys::FolderEntry& entry : entries) names.push_back(entry.name);
        last = lastNumbers_.emplace(key, HighestPrefixNumber(names, prefix, extension)).first;
    }
    int first = last->second + 1;
    last->second += std::max(count, 0);
    return first;
}
