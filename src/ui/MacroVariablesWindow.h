// The macro variable window: the local variables #1..#33 of the first four call levels
// and the common variables #100..#299 in four tables of fifty. It only reads them.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QTabWidget;

namespace cuttrace {
class MacroVariables;
}

namespace cuttrace::ui {

class VariableSheet;

class MacroVariablesWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMacroLevels = 4;
    static constexpr int kLocals = 33;
    static constexpr int kSheets = 4;
    static constexpr int kSheetEntries = 50;

    explicit MacroVariablesWindow(QWidget* parent = nullptr);

    // The variables shown (the machine's; not owned; may be null).
    void SetVariables(const MacroVariables* variables) { variables_ = variables; }
    // Rewrites every value from the variables.
    void UpdateValues();
    // Run when the window is closed (the main window re-enables its button).
    void SetOnClose(std::function<void()> onClose) { onClose_ = std::move(onClose); }

    // The value shown for #(n + 1) on tab "Local level+1".
    QString LocalText(int level, int n) const;
    // The text of entry i (0..49) on common tab `sheet` (0 for "#100-").
    QString CommonText(int sheet, int i) const;
    // The texts of the tab of the kept common variables #500..#999 (entry i is #500+i) and
    // of the tab of the system variables in use (those a program or a file has set).
    const QStringList& KeptTexts() const;
    const QStringList& SystemTexts() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* BuildLocalPage(int level);
    // A sheet of many rows in a page that scrolls.
    QWidget* BuildScrolledSheet(VariableSheet*& sheet);

    const MacroVariables* variables_ = nullptr;
    int valueOffset_ = 0;
    int valueWidth_ = 0;
    int columnStep_ = 0;
    QTabWidget* tabs_ = nullptr;
    std::array<std::array<QLabel*, kLocals>, kMacroLevels> values_{};
    std::array<VariableSheet*, kSheets> sheets_{};
    VariableSheet* keptSheet_ = nullptr;
    VariableSheet* systemSheet_ = nullptr;
    std::function<void()> onClose_;
};

}  // namespace cuttrace::ui
