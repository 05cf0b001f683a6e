// The binding between the configurator's main form and a job file: loading a
// file into the form and checking and saving the form into a file.
#pragma once

#include "job/form.h"

// Puts the job file into the form and sets the language code, the
// display-details flag, the transparency colour and the remembered state of
// 1096. reload 0 is the start-up load, which also creates the tabs; reload 1
// first returns every control the load sets to its initial state. A missing
// file loads like an empty one. Always returns 1.
int LoadJob(JobForm& form, const char* path, int reload, ProgramValues& values);

// The folder operations of a save: the write probe of a folder and the
// creation of a folder chain. The save without them acts on the file system
// (ProbeFolder, CreateFolderChain); a caller that must change nothing, such
// as a check of a job without saving it, passes its own.
struct SaveFolders {
    virtual ~SaveFolders() = default;
    // 1 when the folder takes new files, 0 when it is missing or cannot be written.
    virtual int Probe(const char* folder) = 0;
    // Creates every level of the folder; failures are not reported.
    virtual void Create(const char* folder) = 0;
};

// Checks the form and writes it key by key into the job file. Returns 1 when
// every check passed and every key was written. A refused check shows its
// message and returns 0; the first write that fails shows ERRORS
// "write_failed" with the job file path and returns 0. Keys written before a
// stop stay written.
int SaveJob(JobForm& form, const char* path, const ProgramValues& values);

// The same with the folders probed and created through folders.
int SaveJob(JobForm& form, const char* path, const ProgramValues& values, SaveFolders& folders);

// 1 when a file can be created (and is then deleted) in the folder, 0 when
// the folder is missing or cannot be written.
int ProbeFolder(const char* folder);
