// A job kept by hand, loaded into the in-memory form and saved in place,
// gives exactly the bytes of tests/data/job_after_save.ini: the file that
// the configurator under Wine must write for the same job too.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "job/form_binding.h"
#include "job/memory_form.h"

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

TEST(SavedJob, LoadThenSaveInPlaceGivesTheSharedExpectedBytes) {
    char pattern[] = "/tmp/saved_job_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    std::string folder = pattern;
    char previous[4096];
    ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
    ASSERT_EQ(0, chdir(folder.c_str()));
    // The job names its folders relative to the current folder, so that the
    // same bytes serve on Linux and on Windows.
    for (const char* sub : {"src", "out", "tmp"}) ASSERT_EQ(0, mkdir(sub, 0777));
    std::ofstream(folder + "/job.ini", std::ios::binary) << Slurp(ZANDRIX_TEST_DATA "/job_before_save.ini");

    MemoryForm form;
    ProgramValues values;
    LoadJob(form, "job.ini", 0, values);
    EXPECT_EQ(1, SaveJob(form, "job.ini", values));
    EXPECT_TRUE(form.messages.empty());
    std::string saved = Slurp(folder + "/job.ini");
    EXPECT_EQ(Slurp(ZANDRIX_TEST_DATA "/job_after_save.ini"), saved);

    ASSERT_EQ(0, chdir(previous));
    std::string command = "rm -rf '" + folder + "'";
    ASSERT_EQ(0, std::system(command.c_str()));
}

}  // namespace
