// The main window's left column: the program path, the program pane (the whole file) and
// the list of the lines read last as two tabs, the expanded text of the current block, and
// the modal state panel below them.
//
// Object names: programPath, programTabs (programPane, programLines), currentBlock,
// modalPanel.
#pragma once

#include <QSplitter>

class QLabel;

namespace cuttrace::ui {

class LineList;
class ModalStatePanel;
class ProgramPane;

class ProgramColumn : public QSplitter {
    Q_OBJECT
  public:
    static constexpr int kWidth = 201;

    explicit ProgramColumn(QWidget* parent = nullptr);

    void ShowProgramPath(const QString& path);
    void ShowBlock(const QString& expanded);
    LineList& Lines() const { return *lines_; }
    ProgramPane& Pane() const { return *pane_; }
    ModalStatePanel& ModalPanel() const { return *modalPanel_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* programPath_ = nullptr;
    LineList* lines_ = nullptr;
    ProgramPane* pane_ = nullptr;
    QLabel* currentBlock_ = nullptr;
    ModalStatePanel* modalPanel_ = nullptr;
};

}  // namespace cuttrace::ui
