// The "cut" view mode: the stock as the run has machined it, drawn in the views that have
// it switched on.
//
// The run tells the cut view of every motion it makes (and of every new start); while a
// view is in cut mode, the cut view keeps the motions as cut motions and cuts them out of the stock
// in slices on the GUI thread (at most kSliceMs each, so the window stays responsive), repainting
// the views as it goes and once it has caught up. The stock is the settings' stock, or the extent
// of the cutting moves so far grown by a margin; when that extent grows, the stock is set up anew
// and the motions are cut again.
//
// Each view's tool bar gets a checkable "Cut" button (cutModeButton) with a menu: the tool
// path over the cut (cutPathAction) and the colouring by tool instead of by depth
// (cutToolColourAction). The cut is drawn with the view's own scale, rotation and pan, so
// the tool path lies on it.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cutting/CutMotion.h"
#include "cutting/CutPicture.h"
#include "cutting/CutSimulator.h"
#include "cutting/ProgramCut.h"

class QAction;
class QToolButton;

namespace cuttrace {
class NcRunner;
class PathViews;
class Surface3D;
struct Settings;
}  // namespace cuttrace

namespace cuttrace::ui {

class ViewPane;

class CutView : public QObject {
    Q_OBJECT
  public:
    static constexpr int kSliceMs = 20;
    static constexpr int kRepaintMs = 200;
    static constexpr std::size_t kBatch = 64;
    // The drawn surface has at most this many cells along its longer side (a finer field
    // is shown by the lowest height of each block of cells).
    static constexpr int kMaxShownCells = 400;
    static constexpr uint32_t kRapidWarning = 0x0000FF;  // 0x00BBGGRR: red
    static constexpr uint32_t kSelected = 0xFF00FF;      // magenta

    // repaint redraws every view (the window's full redraw, which calls Paint).
    CutView(const Settings& settings, std::function<void()> repaint, QObject* parent = nullptr);
    ~CutView() override;

    // Gives the view its cut controls.
    void AttachView(ViewPane* view);
    // The run made a motion (runner given) or starts afresh (nullptr).
    void Observe(NcRunner* runner);
    // Forgets the motions and the cut.
    void Clear();
    // The cut settings (stock, resolution, tool table) may have changed: the motions are cut
    // again with them.
    void SettingsChanged();

    // Draws the cut into the off-screen drawing of each shown view in cut mode: with
    // underPath those that show the tool path over it (call before the path is drawn),
    // otherwise the others (call after, so the cut hides the path).
    void Paint(bool underPath);

    // For exports: the shaded cut the view shows (a null image when it shows none), and in
    // *pathOver whether the tool path is drawn over it.
    QImage ShownCut(const ViewPane* view, bool* pathOver) const;
    // The rapid moves that removed material, as lines in the warning colour.
    void DrawWarnings(PathViews& views) const;

    // Colours the cut views by where `other` (a field on the cut's grid, kept alive by the
    // caller) leaves different material; nullptr ends the comparison. A cut on another grid
    // is drawn as usual.
    void SetComparison(const cutting::HeightField* other);
    const cutting::HeightField* Comparison() const { return other_; }

    // The motion (ordinal in the run) drawn highlighted in every view; -1 for none.
    void Select(int64_t motion);
    int64_t Selected() const { return selected_; }

    bool AnyCutView() const;
    // Whether Paint draws anything on the views (a cut shown in one, or a selected motion).
    bool PaintsViews() const { return selected_ >= 0 || (stockSet_ && AnyCutView()); }
    void SetCutMode(ViewPane* view, bool on);
    bool CutMode(const ViewPane* view) const;
    // Cuts everything known now at once (tests).
    void CatchUp();
    bool Busy() const { return slicer_.isActive(); }

    const cutting::CutSimulator& Simulator() const { return sim_; }
    const cutting::SourceFiles& Files() const { return files_; }
    const std::vector<cutting::CutMotion>& Motions() const { return motions_; }
    // A message when the stock or the tools could not be set up (also written to the log
    // once); empty otherwise.
    const std::string& Problem() const { return problem_; }

  signals:
    // The findings list may have changed (after a slice, a reset, a clear).
    void FindingsChanged();

  private:
    struct ViewState;

    void Schedule();
    void Slice();
    // Sets up the stock when it is missing or the cutting moves have outgrown it.
    bool PrepareStock();
    bool Fail(const std::string& problem);
    const cutting::HeightField& Shown(int cells);
    // The comparison field as drawn (coarsened as Shown), or nullptr.
    const cutting::HeightField* ShownComparison(int cells);
    void Render(ViewState& state);
    void DrawSelected(Surface3D& surface) const;

    const Settings& settings_;
    std::function<void()> repaint_;
    std::vector<std::unique_ptr<ViewState>> views_;
    cutting::SourceFiles files_;
    cutting::MotionReader reader_;
    std::vector<cutting::CutMotion> motions_;
    cutting::FeedExtent extent_;
    cutting::CutSimulator sim_;
    bool stockSet_ = false;
    cutting::StockBox stock_;
    std::size_t cut_ = 0;
    uint64_t version_ = 1;  // changes with every change of the field
    std::string problem_;
    std::string reported_;  // the message last written to the log
    QTimer slicer_;
    QElapsedTimer sinceRepaint_;
    // The field as drawn: coarser than the simulation's when that is fine.
    cutting::HeightField shown_;
    uint64_t shownVersion_ = 0;
    int shownCells_ = 0;
    int64_t selected_ = -1;
    const cutting::HeightField* other_ = nullptr;
    cutting::HeightField otherShown_;
    uint64_t otherShownVersion_ = 0;
    int otherShownCells_ = 0;
    bool missed_ = false;   // motions of this run went by while no view showed the cut
    int checkedViews_ = 0;  // views whose "Cut" button is down (asked at every motion)
};

}  // namespace cuttrace::ui
