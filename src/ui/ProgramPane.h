// The program pane: the whole program file, one row a line, read lazily (ProgramLines), so
// a file of millions of lines opens at once and scrolls smoothly.
//
// The line the run executes is selected and followed; a picked motion's block is selected
// from outside (SelectSource). A line the user selects asks for the motions it produced to
// be highlighted (lineChosen). A double click opens the editor at the line; the context menu
// and keys run to the line (Ctrl+F10) and step back one block (Ctrl+Backspace). When the file
// changes on disk the pane shows it at once and offers to reload the program (a strip above
// the lines).
//
// Object names: programPane, programLinesView, programChanged, reloadProgram.
#pragma once

#include <QFileSystemWatcher>
#include <QWidget>
#include <cstdint>
#include <string>

#include "ui/EditorLaunch.h"
#include "ui/ProgramLines.h"

class QAction;

namespace cuttrace::ui {

class ProgramLinesView;

class ProgramPane : public QWidget {
    Q_OBJECT
  public:
    explicit ProgramPane(QWidget* parent = nullptr);

    ProgramLines& Lines() { return lines_; }
    ProgramLinesView& View() const { return *view_; }
    // Shows the program at path (afresh, also the same one); the pane empties when it
    // cannot be read.
    void ShowProgram(const std::string& path);
    // The run read the line that holds source: it is selected and scrolled to, in the file
    // it belongs to (a called program's while it runs, the caller's again after).
    void FollowRun(const LineSource& source);
    // Selects the line that holds offset of file (a picked motion's block), showing that
    // file; false when it cannot be read.
    bool SelectSource(const std::string& file, int64_t offset);
    // Selects line (from 1) of file; false when the pane shows another file or no such line.
    bool SelectLine(const std::string& file, int64_t line);
    // Where the selected line starts (an empty path without one).
    LineSource SelectedSource() const;
    // Whether the file changed on disk since it was shown.
    bool ChangedOnDisk() const;

    QAction* RunToLineAction() const { return runTo_; }
    QAction* StepBackAction() const { return stepBack_; }

  signals:
    void lineActivated(const cuttrace::ui::LineSource& source);
    void runToLine(const cuttrace::ui::LineSource& source);
    void stepBack();
    // The user selected the line [begin, end) of file.
    void lineChosen(const std::string& file, int64_t begin, int64_t end);
    void reloadRequested();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    LineSource SourceOfRow(int row) const;
    // Selects row without telling of a choice.
    void SelectRow(int row, bool centre);
    void FileChanged();
    // Shows the lines of path (a called program, or the main one again); false when it
    // cannot be read.
    bool ShowFile(const std::string& path);
    void Choose(int row);

    ProgramLines lines_;
    ProgramLinesView* view_ = nullptr;
    QWidget* notice_ = nullptr;
    QAction* runTo_ = nullptr;
    QAction* stepBack_ = nullptr;
    QAction* edit_ = nullptr;
    QFileSystemWatcher watcher_;
    std::string program_;  // the main program: the file watched and offered for reload
};

}  // namespace cuttrace::ui
