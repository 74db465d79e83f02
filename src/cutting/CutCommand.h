// The cut simulation of the command-line tool: its options, the runs, the outputs and the
// summary. Standard streams are passed in so that tests can read what it says.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cuttrace::cutting {

// Whether the arguments ask for a cut simulation (any --cut-... option).
bool IsCutCommand(int argc, const char* const* argv);

// Runs the cut simulation the arguments describe. Exit status: 0 done (findings are listed
// but do not fail the run), 1 a run ended with an error or an output could not be written,
// 2 usage error, missing program or unusable stock or tools.
int RunCutCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The lines for the tool's help.
extern const char* const kCutUsage;

}  // namespace cuttrace::cutting
