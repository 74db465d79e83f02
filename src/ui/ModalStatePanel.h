// The modal state panel: the nesting of program files, the animated tool position
// ("Now"), the end of the last motion ("Next"), the modal codes and words, the feed used
// for drawing and the machining time. It only displays; the main window says when.
#pragma once

#include <QWidget>
#include <array>
#include <cstddef>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace cuttrace {
class NcRunner;
class PathDrawer;
}  // namespace cuttrace

namespace cuttrace::ui {

class UiDialogs;

// The panel's value fields. Each has an object name of its own (see ModalStatePanel.cpp).
enum class ModalField {
    NowX,
    NowY,
    NowZ,
    NextX,
    NextY,
    NextZ,
    MotionMode,
    DistanceMode,
    ReferenceReturn,
    CannedCycle,
    Plane,
    OneShotG,
    M,
    T,
    D,
    H,
    S,
    Feed,
    E,
    N,
    L,
    P,
    O,
    WorkSystem,  // G54..G59, G54.1 Pn
    Time,
};
inline constexpr std::size_t kModalFields = static_cast<std::size_t>(ModalField::Time) + 1;

class ModalStatePanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 239;

    explicit ModalStatePanel(QWidget* parent = nullptr);

    void Bind(const NcRunner* runner, const PathDrawer* drawer);
    // Where the double click on the tree starts the editor (may stay unset).
    void SetDialogs(UiDialogs* dialogs) { dialogs_ = dialogs; }

    // Time, "Now" and the feed: from the drawer.
    void ShowProgress();
    // "Next" and the modal codes and words: from the runner.
    void ShowModalState();
    // The runner entered a file: a node below the deepest one.
    void PushProgram();
    // The runner left a file: the deepest node goes.
    void PopProgram();
    void ClearPrograms();
    // A double click on a tree node: the tree's editor with that program.
    void OpenCallTreeEntry();

    QString FieldText(ModalField field) const;
    // The deepest node (the one a push adds below, a pop removes), or null.
    QTreeWidgetItem* LastNode() const;

    // "%d:%lf": whole minutes and the remaining seconds.
    static QString TimeText(double seconds);

  private:
    QLabel* Field(ModalField field) const { return fields_[static_cast<std::size_t>(field)]; }
    QLabel* AddField(ModalField field, const char* text);

    const NcRunner* runner_ = nullptr;
    const PathDrawer* drawer_ = nullptr;
    UiDialogs* dialogs_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    std::array<QLabel*, kModalFields> fields_{};
};

}  // namespace cuttrace::ui
