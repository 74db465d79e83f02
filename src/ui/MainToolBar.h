// The main window's tool bar: its buttons with their hints and keyboard shortcuts (shown
// in the hints), and the Single Block and Dry Run check boxes.
#pragma once

#include <array>
#include <cstddef>

class QAction;
class QCheckBox;
class QMainWindow;

namespace cuttrace::ui {

struct ButtonStates;

// The tool bar buttons, by their function.
enum class Tool {
    Open,
    Start,
    Stop,
    Reset,
    QuickRun,
    MacroVariables,
    WriteExpanded,
    SavePicture,
    LoadPicture,
    Settings,
    Clear,
    SingleView,
    CycleLayout,
};

class MainToolBar {
  public:
    static constexpr std::size_t kTools = 13;

    // Adds the tool bar to the window; the actions belong to the window.
    explicit MainToolBar(QMainWindow& window);

    QAction* Action(Tool tool) const { return actions_[static_cast<std::size_t>(tool)]; }
    QCheckBox* SingleBlockBox() const { return singleBlockBox_; }
    QCheckBox* DryRunBox() const { return dryRunBox_; }
    // Enables the buttons the run control allows.
    void Apply(const ButtonStates& states);

  private:
    std::array<QAction*, kTools> actions_{};
    QCheckBox* singleBlockBox_ = nullptr;
    QCheckBox* dryRunBox_ = nullptr;
};

}  // namespace cuttrace::ui
