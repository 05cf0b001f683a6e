// One run of the engine: the job read into a plan, the process record, the
// log, and the files converted by a pool of workers. A worker takes the
// pages of a file already begun before it takes a new file, so every core
// stays busy on a single large PDF too; each worker draws with its own
// poppler document. Outputs are written under a temporary name and renamed
// when complete; a source is moved or deleted only once all its outputs are.
#include "engine/run.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <new>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include <PDFDoc.h>

#include "engine/file_system.h"
#include "engine/document_writers.h"
#include "engine/fonts.h"
#include "engine/formats.h"
#include "engine/more_writers.h"
#include "engine/operations.h"
#include "engine/signature.h"
#include "engine/plan.h"
#include "engine/render.h"
#include "job/ini_text.h"
#include "job/job_access.h"
#include "job/platform.h"
#include "launch/engine_files.h"

namespace {

const char* const kFormatNames[] = {"BMP", "DCX", "DXF", "GIF", "HTML", "JPEG", "PDF", "PNG", "PS",
                                    "PSD", "RTF", "SWF", "TGA", "TIFF", "TXT", "Database Infos",
                                    "BoundingBox Infos"};

std::string FormatName(int format) {
    if (format < 0 || format >= static_cast<int>(sizeof kFormatNames / sizeof kFormatNames[0]))
        return "unknown (image_type " + std::to_string(format) + ")";
    return kFormatNames[format];
}

// The log in the temporary folder. A log that cannot be written never
// stops a conversion: the run goes on without it.
class RunLog {
public:
    RunLog(const std::string& path, bool replace) : path_(path), replace_(replace) {}

    void Line(const std::string& text) {
        std::lock_guard<std::mutex> hold(lock_);
        if (fsys::AppendText(path_, text + fsys::kLineEnd, replace_)) replace_ = false;
    }

    // A line that begins with the time of day.
    void Timed(const std::string& text) { Line(fsys::LocalTime() + "  " + text); }

private:
    std::mutex lock_;
    std::string path_;
    bool replace_;
};

// Makes the calls of many workers one ordered story.
class SerialProgress {
public:
    explicit SerialProgress(Progress& follower) : follower_(follower) {}
    void RunStarted(int count) {
        std::lock_guard<std::mutex> hold(lock_);
        follower_.RunStarted(count);
    }
    void FileStarted(int index, int count, const std::string& path) {
        std::lock_guard<std::mutex> hold(lock_);
        current_ = index;
        count_ = count;
        paths_[index] = path;
        follower_.FileStarted(index, count, path);
    }
    // Pages of any file: those of the file shown. Once the file shown is
    // finished, the next file to report pages is shown in its place, so a
    // long file that started earlier does not go on unseen.
    void PagesDone(int index, int done, int total) {
        std::lock_guard<std::mutex> hold(lock_);
        if (index != current_ && paths_.count(current_) == 0 && paths_.count(index) != 0) {
            current_ = index;
            follower_.FileStarted(index, count_, paths_[index]);
        }
        if (index == current_) follower_.PagesDone(done, total);
    }
    // File index is finished: done of count files are.
    void FileFinished(int index, int done, int count) {
        std::lock_guard<std::mutex> hold(lock_);
        paths_.erase(index);
        follower_.FilesDone(done, count);
    }
    void Note(const std::string& text) {
        std::lock_guard<std::mutex> hold(lock_);
        follower_.Note(text);
    }
    void RunEnded(bool ok) {
        std::lock_guard<std::mutex> hold(lock_);
        follower_.RunEnded(ok);
    }

private:
    std::mutex lock_;
    Progress& follower_;
    int current_ = -1;
    int count_ = 0;
    std::map<int, std::string> paths_;  // files started and not finished
};

// Lets files pass one at a time in their order in the run, so names are
// handed out (and table rows added) as if the files were converted one
// after the other, whichever worker opens which file first.
class FileOrderGate {
public:
    void Enter(int index) {
        std::unique_lock<std::mutex> hold(lock_);
        turn_changed_.wait(hold, [&] { return turn_ == index; });
    }
    void Leave() {
        std::lock_guard<std::mutex> hold(lock_);
        ++turn_;
        turn_changed_.notify_all();
    }

private:
    std::mutex lock_;
    std::condition_variable turn_changed_;
    int turn_ = 0;
};

// A name not yet taken in folder: name itself, else "stem-2.ext", "-3"...
std::string UnusedPath(const std::string& folder, const std::string& name) {
    std::string path = JoinPath(folder, name);
    if (!fsys::StampOf(path).exists) return path;
    std::string stem = StemOf(name);
    std::string extension = name.substr(stem.size());
    for (int n = 2; n < 100000; ++n) {
        path = JoinPath(folder, stem + "-" + std::to_string(n) + extension);
        if (!fsys::StampOf(path).exists) return path;
    }
    return "";
}

// Moves file into folder under a name not yet taken there; the new path,
// or empty when it could not be moved. Another worker may take a name
// between the look and the move: the next name is tried then.
std::string MoveIntoFolder(const std::string& file, const std::string& folder) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        std::string destination = UnusedPath(folder, FileNameOf(file));
        if (destination.empty()) return "";
        if (fsys::MoveFileNoReplace(file, destination)) return destination;
        if (!fsys::StampOf(destination).exists) return "";
    }
    return "";
}

bool SameFolder(const std::string& a, const std::string& b) { return Folded(a) == Folded(b); }

// An output on its way: written at temp, renamed to final when complete.
struct Output {
    std::string temp;
    std::string final;
};

// Pages left in a file below which a free worker begins a new file instead
// of opening a second document of that one.
const int kPagesWorthSharing = 4;

std::string PartName(const std::string& final) { return final + ".part"; }

// What a run needs of the Database Infos table: one writer for the run.
struct RunTable {
    std::unique_ptr<Writer> writer;
    Output output;
    bool failed = false;
    std::string error;
    int rows = 0;
};

// A file of the run and its progress through the workers.
struct FileWork {
    int index = 0;
    std::string path;
    fsys::Stamp stamp;

    int pageCount = 0;
    PageSpan span;
    std::string folder;                     // where its outputs go
    std::vector<std::string> pageNames;     // per-page outputs, by page - span.first
    Output whole;                           // a whole-document output
    std::unique_ptr<Writer> wholeWriter;
    bool shared = false;                    // pages drawn by any worker
    bool tableRow = false;                  // a row of the run's table, no page drawn

    // Guarded by the batch's lock.
    int nextPage = 0;                       // next page to hand out
    int pagesFinished = 0;
    bool finished = false;

    // Guarded by writeLock: outputs complete, ordered adding to wholeWriter.
    std::mutex writeLock;
    std::condition_variable writeTurn;
    int nextToWrite = 0;
    bool failed = false;
    std::string error;
    std::vector<std::string> written;       // final names written
    std::vector<std::string> notes;         // said in the log line

    std::atomic<bool> done{false};          // finished and cleaned up
};

// One worker's own document for a file.
struct WorkerDocument {
    std::shared_ptr<FileWork> file;
    PdfFile pdf;
    std::unique_ptr<PageDrawer> drawer;
};

struct BatchTotals {
    int converted = 0;
    int failed = 0;
    int skipped = 0;
    int pages = 0;
    int outputs = 0;
};

// The folder of the font the signature text is drawn in: the program
// folder's, else (the native command run from a build) the system's.
std::string SignatureFontFolder(const std::string& programFolder) {
    std::string own = JoinPath(programFolder, kFontsFolderName);
    fsys::Stamp stamp = fsys::StampOf(own);
    if (stamp.exists && stamp.folder) return own;
    return "/usr/share/fonts/opentype/urw-base35";
}

// What the log says once a run about options the format cannot follow.
std::vector<std::string> FormatNotes(const OutputOptions& options) {
    std::vector<std::string> notes;
    const FormatEntry* format = FindFormat(options.format);
    if (format == nullptr) return notes;
    if (format->raster && options.operations.colourSpace == kSpaceCmyk && !FormatHoldsCmyk(options.format))
        notes.push_back("This format holds no CMYK: its files are written in RGB.");
    if (options.format == kOutPs && !PsCompressionNote(options).empty()) notes.push_back(PsCompressionNote(options));
    if (!format->raster && !DocumentFormatNote(options).empty()) notes.push_back(DocumentFormatNote(options));
    return notes;
}

class Batch {
public:
    Batch(const Plan& plan, const EngineSetup& setup, SerialProgress& progress, RunLog& log, NameBook& names,
          RunTable* table, const std::string& date)
        : plan_(plan), setup_(setup), progress_(progress), log_(log), names_(names), table_(table), date_(date),
          format_(FindFormat(plan.options.format)) {
        int degrees = plan.options.operations.rotateDegrees % 360;
        if (degrees < 0) degrees += 360;
        if (plan.options.operations.rotate && degrees % 90 == 0) extraRotation_ = degrees;
        // A turn by a multiple of 90 degrees is drawn so already.
        pageOptions_ = plan.options;
        if (degrees % 90 == 0) pageOptions_.operations.rotate = false;
        const FormatEntry* format = format_;
        if (plan.options.operations.signature && format != nullptr && format->raster &&
            !PrepareStamp(plan.options.operations, SignatureFontFolder(setup.programFolder), &stamp_, &stampError_))
            stampError_ = "the signature cannot be stamped: " + stampError_;
    }

    BatchTotals Run(const std::vector<std::string>& files) {
        files_ = files;
        progress_.RunStarted(static_cast<int>(files_.size()));
        int workers = setup_.workers > 0 ? setup_.workers : fsys::ProcessorCount();
        workers = std::max(1, std::min(workers, 64));
        std::vector<std::thread> pool;
        for (int i = 1; i < workers; ++i) pool.emplace_back([this] { Work(); });
        Work();
        for (std::thread& thread : pool) thread.join();
        // Files begun but not finished: the run was stopped.
        for (const std::shared_ptr<FileWork>& file : started_)
            if (!file->done) Abandon(*file);
        return totals_;
    }

    bool Stopped() const { return stopped_; }

private:
    bool StopAsked() {
        if (!stopped_ && setup_.stopRequested && setup_.stopRequested()) stopped_ = true;
        return stopped_;
    }

    static bool StopForPoppler(void* data) { return static_cast<Batch*>(data)->StopAsked(); }

    // The worker loop: pages of files already begun first, then new files.
    void Work() {
        std::map<FileWork*, WorkerDocument> documents;
        auto hasDocument = [&documents](FileWork* file) { return documents.count(file) != 0; };
        for (;;) {
            for (auto it = documents.begin(); it != documents.end();)
                it = it->second.file->done ? documents.erase(it) : std::next(it);
            std::shared_ptr<FileWork> file;
            int page = 0;
            int fileIndex = -1;
            {
                std::lock_guard<std::mutex> hold(lock_);
                if (StopAsked()) return;
                // A file with only a few pages left is not worth a second
                // document while other files wait to be begun.
                const bool filesWait = nextFile_ < static_cast<int>(files_.size());
                for (const std::shared_ptr<FileWork>& active : active_) {
                    const int left = active->span.last - active->nextPage + 1;
                    if (left > 0 && (!filesWait || left >= kPagesWorthSharing || hasDocument(active.get()))) {
                        file = active;
                        page = active->nextPage++;
                        break;
                    }
                }
                active_.erase(std::remove_if(active_.begin(), active_.end(),
                                             [](const std::shared_ptr<FileWork>& f) {
                                                 return f->nextPage > f->span.last;
                                             }),
                              active_.end());
                if (!file) {
                    if (nextFile_ >= static_cast<int>(files_.size())) return;
                    fileIndex = nextFile_++;
                }
            }
            if (file) {
                WorkerDocument& own = documents[file.get()];
                if (!own.file) own.file = file;
                ConvertPage(file, &own, page);
                continue;
            }
            BeginFile(fileIndex, &documents);
        }
    }

    // Opens a file, names its outputs and hands its pages out (or converts
    // them here when they cannot be shared).
    void BeginFile(int index, std::map<FileWork*, WorkerDocument>* documents) {
        auto file = std::make_shared<FileWork>();
        file->index = index;
        file->path = files_[static_cast<size_t>(index)];
        file->stamp = fsys::StampOf(file->path);
        {
            std::lock_guard<std::mutex> hold(lock_);
            started_.push_back(file);
        }
        progress_.FileStarted(index, static_cast<int>(files_.size()), file->path);

        PdfFile pdf;
        std::string error;
        if (format_ == nullptr || format_->make == nullptr) {
            error = "the output format " + FormatName(plan_.options.format) + " cannot be written by this engine yet";
        } else if (!file->stamp.exists || file->stamp.folder) {
            error = "the file does not exist";
        } else if (file->stamp.size == 0) {
            error = "the file is empty (0 bytes)";
        } else {
            pdf = OpenPdf(file->path, plan_.password);
            error = pdf.error;
        }
        if (error.empty()) {
            file->pageCount = pdf.document->getNumPages();
            file->span = PagesToConvert(plan_, file->pageCount);
        }

        const bool isTable = plan_.options.format == kOutInfos;
        gate_.Enter(index);
        if (error.empty() && isTable) error = AddTableRow(*file, pdf.document.get());
        else if (error.empty() && !file->span.Empty()) NameOutputs(*file);
        gate_.Leave();

        if (error.empty() && isTable) {
            Finish(*file);
            return;
        }
        if (error.empty() && file->span.Empty()) {
            Skip(*file, "pages " + std::to_string(plan_.firstPage) + " to " + std::to_string(plan_.lastPage) +
                            " lie outside the document's " + std::to_string(file->pageCount) +
                            " page(s): nothing converted; the file stays where it is");
            return;
        }
        if (error.empty() && !fsys::MakeFolders(file->folder))
            error = "the target folder " + file->folder + " cannot be created";
        if (error.empty() && file->wholeWriter) {
            std::string why;
            if (!file->wholeWriter->Begin(file->whole.temp, pdf.document.get(), &why))
                error = "the output " + file->whole.final + " cannot be written: " + why;
        }
        if (!error.empty()) {
            if (file->wholeWriter) {
                file->wholeWriter.reset();
                fsys::RemoveFile(file->whole.temp);
            }
            file->failed = true;
            file->error = error;
            Finish(*file);
            return;
        }

        file->nextPage = file->span.first;
        file->nextToWrite = file->span.first;
        file->shared = format_->raster;
        WorkerDocument& own = (*documents)[file.get()];
        own.file = file;
        own.pdf = std::move(pdf);
        if (file->shared) {
            std::lock_guard<std::mutex> hold(lock_);
            active_.push_back(file);
            return;
        }
        // Formats that read the document itself go page by page on one worker.
        for (int page = file->span.first; page <= file->span.last && !StopAsked(); ++page) {
            {
                std::lock_guard<std::mutex> hold(lock_);
                file->nextPage = page + 1;
            }
            ConvertPage(file, &own, page);
        }
    }

    // Chooses the names of a file's outputs; runs in file order.
    void NameOutputs(FileWork& file) {
        file.folder = OutputFolderFor(plan_, file.path);
        const std::string extension = OutputExtension(plan_.options);
        if (format_->wholeDocument(plan_.options)) {
            std::string base;
            int number = 0;
            if (plan_.prefixNames) {
                base = plan_.prefix;
                number = names_.TakeNumbers(file.folder, plan_.prefix, extension, 1);
            } else {
                base = DistinctBase(file);
            }
            // The bounding boxes of report.pdf are report_bbox.txt, apart
            // from the text output report.txt.
            std::string suffix = plan_.options.format == kOutBbox ? "_bbox" : "";
            std::string name = OutputName(base, number, date_, extension, suffix);
            file.whole.final = JoinPath(file.folder, name);
            file.whole.temp = PartName(file.whole.final);
            file.wholeWriter = format_->make(plan_.options);
            return;
        }
        const int count = file.span.Count();
        if (plan_.prefixNames) {
            int first = names_.TakeNumbers(file.folder, plan_.prefix, extension, count);
            for (int i = 0; i < count; ++i) file.pageNames.push_back(OutputName(plan_.prefix, first + i, date_, extension));
        } else {
            std::string base = DistinctBase(file);
            for (int page = file.span.first; page <= file.span.last; ++page)
                file.pageNames.push_back(OutputName(base, page, date_, extension));
        }
    }

    std::string DistinctBase(FileWork& file) {
        std::string base = names_.BaseFor(file.folder, file.path);
        if (base != StemOf(file.path))
            file.notes.push_back("another source of this run has the same name: its outputs are named " + base +
                                 " instead of " + StemOf(file.path));
        return base;
    }

    // The Database Infos table takes one row a PDF, in the run's file order.
    std::string AddTableRow(FileWork& file, PDFDoc* document) {
        if (table_ == nullptr || table_->failed) return table_ != nullptr ? table_->error : "no table";
        PageInput row;
        row.number = file.pageCount;
        row.document = document;
        row.source = file.path;
        std::string why;
        if (!table_->writer->AddPage(row, &why)) return "its row cannot be added to the table: " + why;
        ++table_->rows;
        file.tableRow = true;
        return "";
    }

    void ConvertPage(const std::shared_ptr<FileWork>& file, WorkerDocument* own, int page) {
        std::string error;
        {
            // A file that failed on one page fails whole: its other pages are not drawn.
            std::lock_guard<std::mutex> hold(file->writeLock);
            if (file->failed) error = file->error;
        }
        if (error.empty() && !own->pdf.document) {
            own->pdf = OpenPdf(file->path, plan_.password);
            if (!own->pdf.document) error = own->pdf.error;
        }
        Picture picture;
        bool drawn = false;
        // Large pages are drawn (and written, when each page is a file of
        // its own) one at a time, so that workers drawing several at once
        // cannot exhaust memory. A multi-page output's page waits for its
        // turn without the lock, so an earlier page is never kept waiting.
        std::unique_lock<std::mutex> large(largePageLock_, std::defer_lock);
        if (error.empty() && format_->raster) {
            DrawRequest request;
            request.dpiX = plan_.options.dpiX;
            request.dpiY = plan_.options.dpiY;
            request.grey = plan_.options.operations.colourSpace == kSpaceGray;
            request.extraRotation = extraRotation_;
            request.stop = StopForPoppler;
            request.stopData = this;
            if (!own->drawer) own->drawer = std::make_unique<PageDrawer>(own->pdf.document.get(), request.grey);
            int width = 0, height = 0;
            double exactWidth = 0, exactHeight = 0;
            if (PagePixelSize(own->pdf.document.get(), page, request, &width, &height, &exactWidth, &exactHeight) &&
                static_cast<long long>(width) * height > kLargePagePixels)
                large.lock();
            try {
                drawn = own->drawer->Draw(page, request, &picture, &error);
                if (drawn) error = ProcessPicture(&picture);
            } catch (const std::bad_alloc&) {
                drawn = false;
                error = "page " + std::to_string(page) + " needs more memory than there is to draw it";
                picture.pixels = std::vector<uint8_t>();
            }
        }
        PageInput input;
        input.number = page;
        input.picture = drawn ? &picture : nullptr;
        input.document = own->pdf.document.get();
        input.source = file->path;
        if (file->wholeWriter) {
            if (large.owns_lock()) large.unlock();
            AddToWhole(*file, input, error);
        } else if (error.empty()) {
            error = WritePageFile(*file, input);
        }
        if (large.owns_lock()) large.unlock();
        picture.pixels = std::vector<uint8_t>();
        {
            std::lock_guard<std::mutex> hold(file->writeLock);
            if (!error.empty() && !file->failed) {
                file->failed = true;
                file->error = error;
            }
        }
        bool last = false;
        int finished = 0;
        {
            std::lock_guard<std::mutex> hold(lock_);
            finished = ++file->pagesFinished;
            last = finished == file->span.Count() && !file->finished;
            if (last) file->finished = true;
        }
        progress_.PagesDone(file->index, finished, file->span.Count());
        if (last) Finish(*file);
    }

    // The image operations on a drawn page, before any writer sees it: the
    // one place they are applied.
    std::string ProcessPicture(Picture* picture) {
        // Converting without the signature the job asks for would hand out
        // pages the user did not mean to.
        if (!stampError_.empty()) return stampError_;
        std::string error;
        const Stamp* stamp = pageOptions_.operations.signature ? &stamp_ : nullptr;
        if (!ApplyOperations(pageOptions_, stamp, picture, &error)) return error;
        return "";
    }

    // Adds the page to the file's one multi-page output, in page order.
    void AddToWhole(FileWork& file, const PageInput& input, std::string& error) {
        std::unique_lock<std::mutex> hold(file.writeLock);
        file.writeTurn.wait(hold, [&] { return file.nextToWrite == input.number; });
        if (error.empty() && !file.failed) {
            std::string why;
            if (!file.wholeWriter->AddPage(input, &why)) error = "page " + std::to_string(input.number) + ": " + why;
        }
        ++file.nextToWrite;
        file.writeTurn.notify_all();
    }

    std::string WritePageFile(FileWork& file, const PageInput& input) {
        Output output;
        output.final = JoinPath(file.folder, file.pageNames[static_cast<size_t>(input.number - file.span.first)]);
        output.temp = PartName(output.final);
        std::unique_ptr<Writer> writer = format_->make(plan_.options);
        std::string why;
        bool ok = writer->Begin(output.temp, input.document, &why) && writer->AddPage(input, &why) && writer->End(&why);
        writer.reset();
        if (ok && !fsys::ReplaceFile(output.temp, output.final)) {
            ok = false;
            why = "it cannot be renamed into place";
        }
        if (!ok) {
            fsys::RemoveFile(output.temp);
            return "the output " + output.final + " cannot be written: " + why;
        }
        std::lock_guard<std::mutex> hold(file.writeLock);
        file.written.push_back(output.final);
        return "";
    }

    // A file whose pages are all done (or that failed before any): its
    // outputs completed or removed, its source moved, deleted or left.
    void Finish(FileWork& file) {
        if (file.wholeWriter) {
            std::string why;
            bool ok = file.wholeWriter->End(&why);
            file.wholeWriter.reset();
            if (!file.failed && ok && !fsys::ReplaceFile(file.whole.temp, file.whole.final)) {
                ok = false;
                why = "it cannot be renamed into place";
            }
            if (!file.failed && !ok) {
                file.failed = true;
                file.error = "the output " + file.whole.final + " cannot be written: " + why;
            }
            if (file.failed) fsys::RemoveFile(file.whole.temp);
            else file.written.push_back(file.whole.final);
        }
        std::string line = file.path + ": ";
        if (!file.failed && file.tableRow) {
            line += "a row in the table " + (table_ != nullptr ? table_->output.final : std::string()) + "; " +
                    PlaceConverted(file);
        } else if (file.failed) {
            for (const std::string& output : file.written) fsys::RemoveFile(output);
            line += "FAILED: " + file.error + "; " + PlaceFailure(file);
        } else {
            std::string pages = file.span.Count() == 0 ? std::string("")
                                                       : "pages " + std::to_string(file.span.first) + "-" +
                                                             std::to_string(file.span.last) + " of " +
                                                             std::to_string(file.pageCount) + ", ";
            line += pages + std::to_string(file.written.size()) + " output(s) in " + file.folder;
            // The first and last name in page order (pages finish in any order).
            const std::vector<std::string> names =
                file.pageNames.empty() ? file.written : file.pageNames;
            if (!names.empty()) {
                line += " (" + FileNameOf(names.front());
                if (names.size() > 1) line += " ... " + FileNameOf(names.back());
                line += ")";
            }
            line += "; " + PlaceConverted(file);
        }
        for (const std::string& note : file.notes) line += "; " + note;
        log_.Timed(line);
        if (file.failed) progress_.Note(FileNameOf(file.path) + ": " + file.error);
        CountDone(file, file.failed ? &BatchTotals::failed : &BatchTotals::converted);
    }

    void Skip(FileWork& file, const std::string& why) {
        log_.Timed(file.path + ": " + why);
        CountDone(file, &BatchTotals::skipped);
    }

    void CountDone(FileWork& file, int BatchTotals::*which) {
        int done = 0;
        {
            std::lock_guard<std::mutex> hold(lock_);
            ++(totals_.*which);
            if (which == &BatchTotals::converted) {
                totals_.pages += file.span.Count();
                totals_.outputs += static_cast<int>(file.written.size());
            }
            done = ++filesDone_;
            file.finished = true;
        }
        file.done = true;
        progress_.FileFinished(file.index, done, static_cast<int>(files_.size()));
    }

    // A file the run was stopped in: what it wrote goes, its source stays.
    void Abandon(FileWork& file) {
        if (file.wholeWriter) {
            std::string ignored;
            file.wholeWriter->End(&ignored);
            file.wholeWriter.reset();
            fsys::RemoveFile(file.whole.temp);
        }
        for (const std::string& output : file.written) fsys::RemoveFile(output);
        log_.Timed(file.path + ": stopped before it was converted; its outputs are removed and it stays where it is");
        file.done = true;
    }

    std::string PlaceConverted(const FileWork& file) {
        if (plan_.moveSource) {
            std::string folder = MoveFolderFor(plan_, file.path);
            if (folder.empty()) return "not moved: the job names no folder to move it to";
            if (SameFolder(folder, FolderOf(file.path))) return "not moved: the move folder is its own folder";
            if (!fsys::MakeFolders(folder)) return "not moved: the folder " + folder + " cannot be created; it stays";
            std::string destination = MoveIntoFolder(file.path, folder);
            if (destination.empty()) return "not moved: it cannot be moved into " + folder + "; it stays";
            return "moved to " + destination;
        }
        if (plan_.deleteSource) {
            if (!fsys::RemoveFile(file.path)) return "not deleted: it cannot be deleted; it stays";
            return "deleted";
        }
        return "it stays where it is";
    }

    std::string PlaceFailure(const FileWork& file) {
        if (!plan_.moveFailures) return "it stays where it is";
        if (!fsys::StampOf(file.path).exists) return "nothing to move";
        const std::string& folder = plan_.errorPath;
        if (SameFolder(folder, FolderOf(file.path))) return "it stays: the error folder is its own folder";
        if (!fsys::MakeFolders(folder)) return "the error folder " + folder + " cannot be created; it stays where it is";
        std::string destination = MoveIntoFolder(file.path, folder);
        if (destination.empty()) return "it cannot be moved into the error folder " + folder + "; it stays where it is";
        return "moved to the error folder as " + destination;
    }

    const Plan& plan_;
    const EngineSetup& setup_;
    SerialProgress& progress_;
    RunLog& log_;
    NameBook& names_;
    RunTable* table_;
    std::string date_;
    const FormatEntry* format_;
    int extraRotation_ = 0;
    OutputOptions pageOptions_;  // what the operations do to each drawn page
    Stamp stamp_;
    std::string stampError_;

    std::vector<std::string> files_;
    FileOrderGate gate_;
    std::mutex largePageLock_;
    std::mutex lock_;
    std::deque<std::shared_ptr<FileWork>> active_;
    std::vector<std::shared_ptr<FileWork>> started_;
    int nextFile_ = 0;
    int filesDone_ = 0;
    BatchTotals totals_;
    std::atomic<bool> stopped_{false};
};

std::string Seconds(std::chrono::steady_clock::time_point since) {
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

void LogSummary(RunLog& log, const BatchTotals& totals, int files, std::chrono::steady_clock::time_point since) {
    std::string line = "Summary: " + std::to_string(files) + " file(s): " + std::to_string(totals.converted) +
                       " converted, " + std::to_string(totals.failed) + " failed";
    if (totals.skipped > 0) line += ", " + std::to_string(totals.skipped) + " with no page in the range";
    line += "; " + std::to_string(totals.pages) + " page(s), " + std::to_string(totals.outputs) + " output file(s) in " +
            Seconds(since);
    log.Line(line);
}

// The Database Infos table of a run (or of one scan), begun before its files.
std::unique_ptr<RunTable> BeginTable(const Plan& plan, NameBook& names, const std::string& date, bool numbered,
                                     RunLog& log) {
    const FormatEntry* format = FindFormat(plan.options.format);
    if (plan.options.format != kOutInfos || format == nullptr || format->make == nullptr) return nullptr;
    auto table = std::make_unique<RunTable>();
    std::string base = plan.prefixNames ? plan.prefix : "infos";
    int number = plan.prefixNames || numbered ? names.TakeNumbers(plan.target, base, format->extension, 1) : 0;
    table->output.final = JoinPath(plan.target, OutputName(base, number, date, format->extension));
    table->output.temp = PartName(table->output.final);
    table->writer = format->make(plan.options);
    std::string why;
    if (!fsys::MakeFolders(plan.target)) {
        table->failed = true;
        table->error = "the target folder " + plan.target + " cannot be created";
    } else if (!table->writer->Begin(table->output.temp, nullptr, &why)) {
        table->failed = true;
        table->error = "the table " + table->output.final + " cannot be written: " + why;
    }
    if (table->failed) log.Line(table->error);
    return table;
}

void EndTable(RunTable* table, RunLog& log) {
    if (table == nullptr) return;
    std::string why;
    bool ok = !table->failed && table->writer->End(&why);
    table->writer.reset();
    if (ok && !fsys::ReplaceFile(table->output.temp, table->output.final)) {
        ok = false;
        why = "it cannot be renamed into place";
    }
    if (!ok) {
        fsys::RemoveFile(table->output.temp);
        if (!table->failed) log.Line("The table " + table->output.final + " cannot be written: " + why);
        return;
    }
    log.Line("Table: " + table->output.final + ", " + std::to_string(table->rows) + " row(s)");
}

std::vector<std::string> FoldersNotToEnter(const Plan& plan) {
    return {plan.target, plan.moveSource ? plan.movePath : std::string(),
            plan.moveFailures ? plan.errorPath : std::string()};
}

// Waits up to seconds, asking for a stop every tenth of a second.
bool SleepUnlessStopped(const EngineSetup& setup, int seconds) {
    for (int tenth = 0; tenth < seconds * 10; ++tenth) {
        if (setup.stopRequested && setup.stopRequested()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return !(setup.stopRequested && setup.stopRequested());
}

int RunOnce(const Plan& plan, const EngineSetup& setup, SerialProgress& progress, RunLog& log) {
    const std::string listPath = JoinPath(setup.tempFolder, kFileListName);
    std::string listText;
    bool fromList = false;
    std::vector<std::string> files;
    if (!setup.tempFolder.empty() && platform::ReadFileBytes(listPath.c_str(), &listText) == platform::kReadOk) {
        // Read as the private-profile functions read it, a UTF-16 file too.
        if (ini::IsUtf16(listText)) listText = ini::DecodeUtf16(listText);
        files = ParseFileList(listText);
        fromList = !files.empty();
    }
    if (fromList) {
        log.Line("Files: the " + std::to_string(files.size()) + " file(s) listed in " + listPath);
    } else {
        files = PdfFilesIn(plan.source, plan.recurse, FoldersNotToEnter(plan));
        if (!fsys::StampOf(plan.source).folder)
            log.Line("Files: none, the source folder \"" + plan.source + "\" does not exist or cannot be read");
        else
            log.Line("Files: " + std::to_string(files.size()) + " PDF file(s) of the source folder " + plan.source +
                     (plan.recurse ? " and its subfolders" : ""));
    }
    auto started = std::chrono::steady_clock::now();
    NameBook names;
    const std::string date = plan.addDate ? fsys::LocalDate() : "";
    std::unique_ptr<RunTable> table = BeginTable(plan, names, date, false, log);
    Batch batch(plan, setup, progress, log, names, table.get(), date);
    BatchTotals totals = batch.Run(files);
    EndTable(table.get(), log);
    if (batch.Stopped()) {
        log.Line("Stopped before the end.");
        LogSummary(log, totals, static_cast<int>(files.size()), started);
        return kRunStopped;
    }
    // The selection was for this run: the next Launch without a new
    // selection converts the source folder again.
    if (fromList && !fsys::RemoveFile(listPath)) log.Line("The file list " + listPath + " cannot be removed.");
    LogSummary(log, totals, static_cast<int>(files.size()), started);
    return totals.failed > 0 ? kRunSomeFailed : kRunAllConverted;
}

int RunScan(const Plan& plan, const EngineSetup& setup, SerialProgress& progress, RunLog& log) {
    log.Line("Scan mode: the source folder " + plan.source + (plan.recurse ? " and its subfolders" : "") +
             " every " + std::to_string(plan.scanSeconds) + " s; a file is taken once its size and time stay the same "
             "between two looks");
    NameBook names;
    std::map<std::string, fsys::Stamp> handled;  // size and time of each file when it was handled
    std::map<std::string, fsys::Stamp> looked;   // the previous look
    const int settleSeconds = std::min(plan.scanSeconds, 2);
    int anyFailed = 0;
    bool sourceMissing = false;
    for (int round = 1;; ++round) {
        std::vector<std::string> ready;
        std::map<std::string, fsys::Stamp> look;
        bool changing = false;
        // Said once each time the folder goes missing, not at every scan.
        const bool missing = !fsys::StampOf(plan.source).folder;
        if (missing && !sourceMissing)
            log.Timed("The source folder \"" + plan.source + "\" does not exist or cannot be read; the scans go on");
        sourceMissing = missing;
        for (const std::string& path : PdfFilesIn(plan.source, plan.recurse, FoldersNotToEnter(plan))) {
            fsys::Stamp stamp = fsys::StampOf(path);
            look[path] = stamp;
            auto done = handled.find(path);
            if (done != handled.end() && done->second.size == stamp.size && done->second.time == stamp.time) continue;
            auto before = looked.find(path);
            bool steady = before != looked.end() && before->second.size == stamp.size && before->second.time == stamp.time;
            if (steady && stamp.size > 0 && fsys::CanReadWhole(path)) {
                ready.push_back(path);
                handled[path] = stamp;
            } else if (!steady) {
                changing = true;
            }
        }
        // Files gone from the folder are forgotten, so the memory of a
        // long-running hot folder stays that of the files in it.
        for (auto it = handled.begin(); it != handled.end();)
            it = look.count(it->first) == 0 ? handled.erase(it) : std::next(it);
        looked = look;
        if (!ready.empty()) {
            log.Line("Scan " + std::to_string(round) + ": " + std::to_string(ready.size()) + " file(s)");
            auto started = std::chrono::steady_clock::now();
            const std::string date = plan.addDate ? fsys::LocalDate() : "";
            std::unique_ptr<RunTable> table = BeginTable(plan, names, date, true, log);
            Batch batch(plan, setup, progress, log, names, table.get(), date);
            BatchTotals totals = batch.Run(ready);
            EndTable(table.get(), log);
            LogSummary(log, totals, static_cast<int>(ready.size()), started);
            if (totals.failed > 0) anyFailed = 1;
            if (batch.Stopped()) return kRunStopped;
        }
        if (setup.scanRounds > 0 && round >= setup.scanRounds) return anyFailed ? kRunSomeFailed : kRunAllConverted;
        // A file still changing is looked at again soon, not a whole interval later.
        if (!SleepUnlessStopped(setup, changing ? settleSeconds : plan.scanSeconds)) return kRunStopped;
    }
}

}  // namespace

int RunEngine(const std::string& jobPath, const EngineSetup& setup, Progress& follower) {
    fsys::Stamp job = fsys::StampOf(jobPath);
    if (!job.exists || job.folder) {
        // Nothing to read, and no process record to write: writing one
        // would make a job file where none was.
        RunLog(JoinPath(setup.tempFolder, kEngineLogName), true)
            .Line("Ombrello_zandrix engine: the job file " + jobPath + " does not exist; nothing is converted.");
        follower.Note("The job file " + jobPath + " does not exist");
        follower.RunEnded(false);
        return kRunCannotStart;
    }

    Plan plan = ReadPlan(jobPath);
    SerialProgress progress(follower);
    RunLog log(JoinPath(setup.tempFolder, kEngineLogName), plan.eraseLog);
    WriteJobInt(kKeyProcessId, static_cast<int>(setup.processId), jobPath.c_str());
    std::vector<std::string> setupNotes = SetUpPdfLibrary(setup.programFolder);
    // poppler's messages, each once a run: a damaged file can repeat one
    // thousands of times. On Windows poppler also names every system font
    // it looked for and did not find, which says nothing about the files.
    std::mutex seenLock;
    std::set<std::string> seen;
    SetPdfMessageSink([&log, &seenLock, &seen](const std::string& message) {
        if (message.rfind("No display font for", 0) == 0) return;
        std::lock_guard<std::mutex> hold(seenLock);
        if (seen.size() < 200 && seen.insert(message).second) log.Line("PDF library: " + message);
    });

    const std::string today = fsys::LocalDate();
    log.Line("Ombrello_zandrix engine, run of " + today.substr(0, 4) + "-" + today.substr(4, 2) + "-" +
             today.substr(6) + " " + fsys::LocalTime());
    log.Line("Job file: " + jobPath);
    char resolution[64];
    std::snprintf(resolution, sizeof resolution, "%g x %g", plan.options.dpiX, plan.options.dpiY);
    log.Line("Output format: " + FormatName(plan.options.format) + ", pages drawn at " + resolution +
             " pixels per inch");
    log.Line("Target folder: " + plan.target);
    for (const std::string& note : setupNotes) log.Line(note);
    for (const std::string& note : FormatNotes(plan.options)) log.Line(note);

    int result = kRunAllConverted;
    if (plan.target.empty()) {
        log.Line("The job names no target folder: nothing is converted and no file is touched.");
        progress.Note("The job names no target folder");
        result = kRunCannotStart;
    } else {
        result = plan.scan ? RunScan(plan, setup, progress, log) : RunOnce(plan, setup, progress, log);
    }
    progress.RunEnded(result == kRunAllConverted);
    SetPdfMessageSink(nullptr);
    WriteJobInt(kKeyProcessId, 0, jobPath.c_str());
    return result;
}
