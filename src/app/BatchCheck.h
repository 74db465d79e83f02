// `cuttrace-cli --check`: runs many programs, each in a child process of its own, and
// prints one JSON line per program as it finishes, then a summary line.
#pragma once

namespace cuttrace::app {

// True when the command line asks for a batch check (--check anywhere on it).
bool WantsBatchCheck(int argc, char** argv);
// Runs the batch check; returns the exit status: 0 when every program ended normally,
// 1 when any did not, 2 for a usage error.
int RunBatchCheck(int argc, char** argv);

}  // namespace cuttrace::app
