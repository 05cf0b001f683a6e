// One key at a time, by table entry.
#include "job/job_access.h"

#include <cstdio>
#include <string>

#include "job/paths.h"
#include "job/platform.h"
#include "job/profile.h"

unsigned long SystemTempFolder(char* out, unsigned long size) {
    if (out == nullptr || size == 0) return 0;
    std::string folder;
    if (!platform::GetTempFolder(&folder) || !CopyBounded(out, size, folder.c_str())) {
        out[0] = '\0';
        return 0;
    }
    return static_cast<unsigned long>(folder.size());
}

unsigned ReadJobInt(JobKeyId id, const char* path) {
    const JobKey& entry = JobKeyAt(id);
    return ProfileReadInt(entry.section, entry.key, entry.defaultNumber, path);
}

unsigned long ReadJobText(JobKeyId id, char* out, unsigned long size, const char* path) {
    const JobKey& entry = JobKeyAt(id);
    if (entry.maxChars > 0 && size > static_cast<unsigned long>(entry.maxChars) + 1)
        size = static_cast<unsigned long>(entry.maxChars) + 1;
    unsigned long count = ProfileReadString(entry.section, entry.key, "", out, size, path);
    if (count == 0 && (entry.flags & kKeyTempFolderDefault) != 0) count = SystemTempFolder(out, size);
    return count;
}

int WriteJobText(JobKeyId id, const char* text, const char* path) {
    const JobKey& entry = JobKeyAt(id);
    return ProfileWriteString(entry.section, entry.key, text != nullptr ? text : "", path);
}

int WriteJobInt(JobKeyId id, int value, const char* path) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteJobText(id, text, path);
}

int WriteJobGeometry(JobKeyId id, int width, int height, const char* path) {
    char text[32];
    std::snprintf(text, sizeof text, "%dx%d", width, height);
    return WriteJobText(id, text, path);
}

int WriteJobColour(JobKeyId id, unsigned colour, const char* path) {
    // A 32-bit colour printed as Windows' 32-bit long, whatever long is here.
    char text[24];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(static_cast<int>(colour)));
    return WriteJobText(id, text, path);
}

int BoundControl(JobKeyId id, int which) {
    if (which < 0 || which >= kMaxBoundControls) return 0;
    return JobKeyAt(id).controls[which];
}
