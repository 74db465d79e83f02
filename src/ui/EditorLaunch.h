// Opening the external editor at a line of the program line list.
#pragma once

#include <string>

namespace cuttrace {
class NcRunner;
}

namespace cuttrace::ui {

class UiDialogs;

// The list holds the `count` lines read last, `row` is the one clicked. While a file is
// open the editor gets that file and the clicked line's byte offset; otherwise the main
// program alone. Nothing happens without a program path. The reader is left where it was.
void OpenEditorAtLine(NcRunner& runner, const std::string& editor, const std::string& programPath,
                      int count, int row, UiDialogs& dialogs);

}  // namespace cuttrace::ui
