// Fuzz target: a job file of any bytes through the form and back. LoadJob
// takes the file into the in-memory form; when SaveJob accepts that form,
// loading what it wrote and saving again reaches a fixed point within a
// bounded number of rounds, and loading it gives the same form and values.
// Folders are never probed or created on disk.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "job/form_binding.h"
#include "job/memory_form.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

struct NoFolders : SaveFolders {
    int Probe(const char*) override { return 1; }
    void Create(const char*) override {}
};

bool SameValues(const ProgramValues& a, const ProgramValues& b) {
    return a.languageCode == b.languageCode && a.displayDetails == b.displayDetails &&
           a.transparencyColour == b.transparencyColour &&
           a.reproduceInMoveRemembered == b.reproduceInMoveRemembered;
}

// Names the controls two forms differ in, for the report of a failure.
bool SameForms(const MemoryForm& a, const MemoryForm& b) {
    std::vector<int> different = a.DifferentControls(b);
    for (int id : different) {
        MemoryControl x = a.Control(id);
        MemoryControl y = b.Control(id);
        std::fprintf(stderr, "control %d: [%s] %d %d %d, then [%s] %d %d %d\n", id, x.text.c_str(), x.check,
                     x.enabled, x.selection, y.text.c_str(), y.check, y.enabled, y.selection);
    }
    return different.empty();
}

// A save that says yes to every folder question and confirms every deletion.
int Save(MemoryForm& form, const std::string& path, const ProgramValues& values) {
    NoFolders folders;
    form.questionDefault = kAnswerYes;
    form.confirmationDefault = kAnswerOk;
    std::remove(path.c_str());
    return SaveJob(form, path.c_str(), values, folders);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = fuzz::ScratchFolder();
    static const std::string given = dir + "/given.ini";
    static const std::string first = dir + "/first.ini";
    static const std::string second = dir + "/second.ini";
    if (!fuzz::WriteFile(given, std::string(reinterpret_cast<const char*>(data), size))) std::abort();

    // The first save may put the file's odd values into their form (a list
    // index outside its list is saved as the list's selection). After that
    // the rounds must settle on a fixed point. Reading a saved text drops its
    // outer blanks and one pair of outer quotes, as the platform's reader
    // does, so a text saved with them (one cut at its limit just after a
    // blank, say) comes off a layer a round and only shortens the file. A
    // key written only while its list has a selection can come back on a
    // later round instead (txt_type=1 in a one-entry list: the first save
    // drops it, the next load selects the default entry, the next save
    // writes it), so a round may also lengthen the file, a few times at most.
    MemoryForm loaded;
    ProgramValues loadedValues;
    LoadJob(loaded, given.c_str(), 0, loadedValues);
    if (Save(loaded, first, loadedValues) != 1) return 0;

    const int kMostLengthenings = 3;
    int lengthenings = 0;
    MemoryForm again;
    ProgramValues againValues;
    std::string saved = fuzz::ReadFile(first);
    for (int round = 0;; ++round) {
        again = MemoryForm();
        againValues = ProgramValues();
        LoadJob(again, first.c_str(), 0, againValues);
        if (Save(again, second, againValues) != 1) std::abort();
        std::string resaved = fuzz::ReadFile(second);
        if (resaved == saved) break;
        if (resaved.size() >= saved.size() && ++lengthenings > kMostLengthenings) std::abort();
        if (round > 1000) std::abort();
        if (!fuzz::WriteFile(first, resaved)) std::abort();
        saved = resaved;
    }

    MemoryForm third;
    ProgramValues thirdValues;
    LoadJob(third, second.c_str(), 0, thirdValues);
    if (!SameForms(again, third) || !SameValues(againValues, thirdValues)) std::abort();
    return 0;
}
