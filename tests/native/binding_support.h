// Helpers of the form binding's tests: a temporary folder removed after the
// test, whole-file reads and writes, expectations on the in-memory form's
// controls, the bytes a fresh file holds after a sequence of writes, and two
// job files that set nearly every control away from its default.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "job/memory_form.h"

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/zandrix_job_XXXXXX";
        if (mkdtemp(pattern) != nullptr) path_ = pattern;
        EXPECT_FALSE(path_.empty());
    }
    ~TempFolder() {
        std::string command = "chmod -R u+w '" + path_ + "' && rm -rf '" + path_ + "'";
        EXPECT_EQ(0, std::system(command.c_str()));
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline bool IsFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// One expectation on one control.
struct Expect {
    enum What { kCheck, kText, kEnabled, kSelection };
    int id;
    What what;
    int number;
    std::string text;
};
inline Expect Checked(int id) { return {id, Expect::kCheck, kChecked, ""}; }
inline Expect Unchecked(int id) { return {id, Expect::kCheck, kUnchecked, ""}; }
inline Expect Enabled(int id) { return {id, Expect::kEnabled, 1, ""}; }
inline Expect Disabled(int id) { return {id, Expect::kEnabled, 0, ""}; }
inline Expect Shows(int id, const std::string& text) { return {id, Expect::kText, 0, text}; }
inline Expect Selects(int id, int index) { return {id, Expect::kSelection, index, ""}; }

inline void ExpectControls(const MemoryForm& form, const std::vector<Expect>& expects,
                           const std::string& label) {
    for (const Expect& e : expects) {
        MemoryControl c = form.Control(e.id);
        switch (e.what) {
        case Expect::kCheck: EXPECT_EQ(e.number, c.check) << label << ": check of " << e.id; break;
        case Expect::kText: EXPECT_EQ(e.text, c.text) << label << ": text of " << e.id; break;
        case Expect::kEnabled: EXPECT_EQ(e.number, c.enabled) << label << ": enabled " << e.id; break;
        case Expect::kSelection: EXPECT_EQ(e.number, c.selection) << label << ": selection of " << e.id; break;
        }
    }
}

// One key written by a save.
struct Write {
    std::string section;
    std::string key;
    std::string value;
};

// The bytes of a file that did not exist before the writes: sections in the
// order of their first write, keys in the order of their first write within
// their section, each with its last value, lines ended by CR LF.
inline std::string FreshFile(const std::vector<Write>& writes) {
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections;
    for (const Write& w : writes) {
        auto section = sections.begin();
        while (section != sections.end() && section->first != w.section) ++section;
        if (section == sections.end()) section = sections.insert(sections.end(), {w.section, {}});
        auto key = section->second.begin();
        while (key != section->second.end() && key->first != w.key) ++key;
        if (key == section->second.end()) section->second.push_back({w.key, w.value});
        else key->second = w.value;
    }
    std::string bytes;
    for (const auto& section : sections) {
        bytes += "[" + section.first + "]\r\n";
        for (const auto& key : section.second) bytes += key.first + "=" + key.second + "\r\n";
    }
    return bytes;
}

// The writes before the first write of section/key.
inline std::vector<Write> WritesBefore(const std::vector<Write>& writes, const std::string& section,
                                       const std::string& key) {
    std::vector<Write> before;
    for (const Write& w : writes) {
        if (w.section == section && w.key == key) return before;
        before.push_back(w);
    }
    ADD_FAILURE() << section << "/" << key << " is never written";
    return before;
}

inline std::vector<Write> operator+(std::vector<Write> a, const std::vector<Write>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A job that turns nearly everything on: move, scan with an error folder, a
// page range, prefix naming, shave, rotation, a signature file, transparency,
// raw text. The folders are real folders under top, so the job also saves,
// and a save writes every key it holds.
inline std::string JobWithEverythingOn(const std::string& top) {
    return "[MAIN]\r\nlangue=33\r\n"
           "[PARAMS]\r\ndisplay_details=0\r\nerase_log=0\r\nimage_type=5\r\nshave=1\r\n"
           "shave_geometry=7x9\r\ntrim=1\r\nrotate=1\r\nrotate_radius=45\r\nmove=1\r\ndelete=0\r\n"
           "reproduce_path_in_move=1\r\nonly_from_root=1\r\nscan=1\r\nscan_delay=5\r\n"
           "scan_minutes=0\r\npassword=pw\r\nextract_all=0\r\nfirstPage=3\r\nlastPage=4\r\n"
           "target_file_name_type=1\r\nprefix_file_name=pre\r\nadd_date_to_name=1\r\nrecurse=1\r\n"
           "reproduce_path=1\r\nreproduce_path_from_root=1\r\ndensity=150\r\nsize=10x20\r\n"
           "colorspace=2\r\nkeep_proportions=0\r\n"
           "[FOLDERS]\r\nsource=C:\\pdf\\in\r\ntarget=" + top + "/out\r\ntemp_path=" + top +
           "/temp\r\nmove_path=" + top + "/moved\r\n"
           "[ERRORS]\r\nmove=1\r\nmove_error_path=" + top + "/errors\r\n"
           "[SIGNATURE]\r\nuse_a_signature=1\r\nsignature_file=C:\\stamps\\logo.png\r\n"
           "signature_text=unused\r\nsignature_region=4\r\nsignature_dissolve=30\r\n"
           "[ENHANCE]\r\ncontrast=1\r\nequalize=1\r\nmonochrome=1\r\n"
           "[BMP]\r\nbmp_type=1\r\ncompress=0\r\n[DCX]\r\nadjoin=1\r\n"
           "[GIF]\r\n87a=1\r\ninterlace=1\r\ntransparency=1\r\ncolor_gif=255\r\n"
           "[JPEG]\r\nquality=10\r\nprogressive=1\r\n[PNG]\r\nquality=11\r\nprogressive=1\r\n"
           "[PS]\r\ncompress=0\r\nps_compress=2\r\nps_type=3\r\npage=2\r\nadjoin=1\r\n"
           "[TIFF]\r\ncompress=2\r\ndpi_v=1\r\ndpi_h=2\r\npixels_inch=0\r\nadjoin=1\r\n"
           "author=a\r\ncopyright=c\r\ncomment=m\r\n"
           "[RTF]\r\nraw=0\r\n[SWF]\r\nadjoin=0\r\nquality=12\r\nframerate=13\r\n"
           "[TXT]\r\ntxt_type=0\r\nraw=1\r\ncolumns=40\r\nmark_crlf=0\r\n"
           "[Infos]\r\nfile_name=0\r\nfile_size=0\r\ntitle=0\r\nsubject=0\r\nkeywords=0\r\n"
           "author=0\r\ncreator=0\r\nproducer=0\r\ncreation=0\r\nmodification=0\r\n"
           "optimization=0\r\nversion=0\r\npage_size=0\r\nencrypted=0\r\ntagged=0\r\n";
}

// The other choices: delete the sources, a signature text, 16 million
// colours, formatted text, and stored values behind switched-off options,
// which a save does not write.
inline std::string JobWithOtherChoices(const std::string& top) {
    return "[PARAMS]\r\nmove=0\r\ndelete=1\r\nreproduce_path_in_move=1\r\nshave=0\r\n"
           "shave_geometry=3x4\r\nrotate=0\r\nrotate_radius=180\r\nscan=0\r\nscan_delay=9\r\n"
           "extract_all=1\r\nfirstPage=2\r\nlastPage=8\r\ntarget_file_name_type=0\r\n"
           "prefix_file_name=kept\r\nreproduce_path=0\r\nimage_type=14\r\n"
           "[FOLDERS]\r\nsource=/in\r\ntarget=" + top + "/out\r\nmove_path=" + top + "/moved\r\n"
           "[ERRORS]\r\nmove=0\r\nmove_error_path=" + top + "/errors\r\n"
           "[SIGNATURE]\r\nuse_a_signature=1\r\nsignature_text=Confidential\r\n"
           "[BMP]\r\nbmp_type=2\r\n[TIFF]\r\ncompress=0\r\n[TXT]\r\nraw=0\r\n"
           "[GIF]\r\ntransparency=0\r\ncolor_gif=255\r\n";
}
