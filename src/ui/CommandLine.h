// The viewer's command line: a program path, then options, each by its first character:
// a digit (a byte offset to start at), D (dry run), L<n> (start line), N<n> (start
// sequence number), S (start a run), Q (start a quick run); anything else is ignored.
// Options of the program itself ("--grab FILE", "--layout N") come out separately.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace cuttrace::ui {

struct CommandOption {
    enum class Kind { Offset, DryRun, Line, Sequence, Start, Quick, Ignored, NotAnInteger };
    Kind kind = Kind::Ignored;
    int64_t value = 0;  // the offset, line or sequence number
};

// Reads one option after the program path. An option whose number is not an integer
// (or out of range) gives NotAnInteger.
CommandOption ReadCommandOption(const QString& argument);

struct ViewerOptions {
    QString grabPath;      // when set: grab the window to this file after the run and quit
    int layout = -1;       // when 0..3: the view layout to start with
    bool help = false;     // --help or -h: print the usage and end
    bool version = false;  // --version: print the version and end
};

// Takes the program's own options out of arguments (program name excluded) and returns
// them; what remains is the program path and its options. A malformed option is dropped.
ViewerOptions TakeViewerOptions(QStringList& arguments);

}  // namespace cuttrace::ui
