// jobtool's commands as a function, so that the program and the fuzz target
// of set and get run the same code.
#pragma once

// Runs one command line (argv[0] is the program's name): prints to standard
// output and standard error and returns the exit status, 0 done, 1 "no" (a
// refused check, a missing key), 2 a usage error or a file that cannot be
// read or written.
int RunJobtool(int argc, char** argv);
