// The six panels of the main window's status bar: view scale, dialect, view rotation,
// line counter, buffer counter and run mode.
#pragma once

#include <QString>
#include <array>

class QLabel;
class QProgressBar;
class QStatusBar;

namespace cuttrace::ui {

enum StatusPanel : int {
    PanelScale = 0,
    PanelDialect = 1,
    PanelRotation = 2,
    PanelLine = 3,
    PanelBuffer = 4,
    PanelMode = 5,
};

class StatusPanels {
  public:
    static constexpr int kCount = 6;

    // Adds the panels to the status bar, with the widths 100, 150, 80, 80, 80 and 50.
    explicit StatusPanels(QStatusBar& bar);

    void Set(int panel, const QString& text);
    // The progress of an animated run: motion done of total and the estimated time left,
    // as a bar and a text at the right end (runProgress, remainingStatus); a total of 0
    // hides them.
    void ShowProgress(long long done, long long total, double secondsLeft);
    // The panel's object name (scaleStatus, dialectStatus, rotationStatus, lineStatus,
    // bufferStatus, modeStatus).
    static const char* ObjectName(int panel);

  private:
    std::array<QLabel*, kCount> labels_{};
    QProgressBar* progress_ = nullptr;
    QLabel* remaining_ = nullptr;
};

}  // namespace cuttrace::ui
