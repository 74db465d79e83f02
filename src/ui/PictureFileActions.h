// The picture and expanded-output handlers of the main window: save the picture buffer,
// load a picture file (and draw it), and start the run that writes the expanded program.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "core/MotionBuffer.h"
#include "core/MotionRecord.h"

class QWidget;

namespace cuttrace {
struct Settings;
}

namespace cuttrace::ui {

class RunController;
class UiDialogs;

class PictureFileActions {
  public:
    // drawPicture clears the drawing and draws every record of the buffer.
    PictureFileActions(QWidget& window, UiDialogs& dialogs, Settings& settings,
                       MotionBuffer& picture, RunController& run,
                       std::function<void()> drawPicture);

    void SavePicture();
    // Asks for a picture file and loads it; returns its path when it was loaded.
    QString LoadPicture();
    // Loads the picture file at path and draws it; false when nothing could be loaded.
    bool LoadPictureFile(const QString& path);
    void WriteExpandedProgram();

  private:
    void Failed();

    QWidget& window_;
    UiDialogs& dialogs_;
    Settings& settings_;
    MotionBuffer& picture_;
    RunController& run_;
    std::function<void()> drawPicture_;
};

}  // namespace cuttrace::ui
