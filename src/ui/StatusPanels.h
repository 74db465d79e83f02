// The six panels of the main window's status bar: view scale, dialect, view rotation,
// line counter, buffer counter and run mode.
#pragma once

#include <QString>
#include <array>

class QLabel;
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
    // The panel's object name (scaleStatus, dialectStatus, rotationStatus, lineStatus,
    // bufferStatus, modeStatus).
    static const char* ObjectName(int panel);

  private:
    std::array<QLabel*, kCount> labels_{};
};

}  // namespace cuttrace::ui
