// What the run control needs from the main window: the panels, lists and views it
// updates while a program runs. The main window implements it; tests may record it.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "ui/EditorLaunch.h"

namespace cuttrace {
class NcMachine;
}

namespace cuttrace::ui {

class RunHost {
  public:
    virtual ~RunHost() = default;

    virtual void ShowStatus(int panel, const QString& text) = 0;
    // A program was loaded: the caption and the path above the line list.
    virtual void ShowProgramPath(const std::string& path) = 0;
    // The expanded text of the current block (below the line list).
    virtual void ShowBlock(const std::string& expanded) = 0;
    virtual void ClearLines() = 0;
    // A program line read, and where it starts in which file.
    virtual void AddLine(const std::string& raw, const LineSource& source) = 0;
    // The modal state panel.
    virtual void ShowModalState() = 0;
    virtual void ShowProgress() = 0;
    // An animated run's progress: motion done of total, the estimated seconds left (a total
    // of 0 hides it).
    virtual void ShowRunProgress(long long done, long long total, double secondsLeft) = 0;
    virtual void PushProgram() = 0;
    virtual void PopProgram() = 0;
    virtual void ClearPrograms() = 0;
    // The macro variable window.
    virtual void MachineChanged(NcMachine* machine) = 0;
    virtual void RefreshMacros() = 0;
    // The tool bar, the views and the end message.
    virtual void UpdateButtons() = 0;
    virtual void RedrawAll() = 0;
    // Empties the picture buffer and the drawing.
    virtual void ClearPictureBuffer() = 0;
    virtual void PresentViews() = 0;
    // The path stops being stored (its memory bound): what is drawn from here on cannot be
    // redrawn.
    virtual void PathNoLongerStored() = 0;
    virtual void ShowMessage(const QString& text, const QString& caption) = 0;
    // A message with a choice of buttons; the index of the one chosen.
    virtual int Choose(const QString& text, const QString& caption, const QStringList& buttons) = 0;
};

}  // namespace cuttrace::ui
