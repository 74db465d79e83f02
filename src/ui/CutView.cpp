#include "ui/CutView.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>

#include "core/NcRunner.h"
#include "core/Settings.h"
#include "drawing/PathViews.h"
#include "machines/DiagnosticLog.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {

using cutting::CutMotion;
using cutting::HeightField;

struct CutView::ViewState {
    ViewPane* view = nullptr;
    QToolButton* button = nullptr;
    QAction* path = nullptr;
    QAction* byTool = nullptr;
    // The last picture and what it was drawn from.
    QImage image;
    uint64_t version = 0;
    Point3 turn;
    double scale = 0.0;
    PixelPoint at;
    bool toolColours = false;
};

CutView::CutView(const Settings& settings, std::function<void()> repaint, QObject* parent)
    : QObject(parent), settings_(settings), repaint_(std::move(repaint)) {
    slicer_.setSingleShot(true);
    slicer_.setInterval(0);
    connect(&slicer_, &QTimer::timeout, this, &CutView::Slice);
    sinceRepaint_.start();
}

CutView::~CutView() = default;

void CutView::AttachView(ViewPane* view) {
    auto state = std::make_unique<ViewState>();
    state->view = view;
    auto* button = new QToolButton(view->ToolBar());
    button->setObjectName(QStringLiteral("cutModeButton"));
    button->setText(Tr(kCutMode));
    button->setToolTip(Tr(kHintCutMode));
    button->setCheckable(true);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    auto* menu = new QMenu(button);
    state->path = menu->addAction(Tr(kCutPathOver));
    state->path->setObjectName(QStringLiteral("cutPathAction"));
    state->path->setCheckable(true);
    state->byTool = menu->addAction(Tr(kCutColourByTool));
    state->byTool->setObjectName(QStringLiteral("cutToolColourAction"));
    state->byTool->setCheckable(true);
    button->setMenu(menu);
    view->ToolBar()->addWidget(button);
    state->button = button;
    connect(button, &QToolButton::toggled, this, [this](bool on) {
        checkedViews_ += on ? 1 : -1;
        if (on && missed_) {
            missed_ = false;
            DiagnosticLog::LogText("cut simulation: ",
                                   "the cut shows the motions made from now on; Reset and run "
                                   "again for the whole part");
        }
        Schedule();
        emit FindingsChanged();
        repaint_();
    });
    for (QAction* action : {state->path, state->byTool})
        connect(action, &QAction::toggled, this, [this] { repaint_(); });
    views_.push_back(std::move(state));
}

bool CutView::AnyCutView() const {
    return checkedViews_ > 0;
}

void CutView::SetCutMode(ViewPane* view, bool on) {
    for (const auto& s : views_) {
        if (s->view == view) s->button->setChecked(on);
    }
}

bool CutView::CutMode(const ViewPane* view) const {
    for (const auto& s : views_) {
        if (s->view == view) return s->button->isChecked();
    }
    return false;
}

void CutView::Observe(NcRunner* runner) {
    if (!runner) {
        Clear();
        return;
    }
    // Motions are kept only while a view shows the cut: a run without one keeps no copy of
    // its path here (a long or endless run would otherwise grow without bound).
    if (!AnyCutView()) {
        missed_ = true;
        return;
    }
    const CutMotion m = reader_.Read(*runner, files_);
    motions_.push_back(m);
    extent_.Add(m, settings_.cutterDiameter * 0.5);
    Schedule();
}

void CutView::Clear() {
    slicer_.stop();
    files_ = {};
    reader_ = {};
    motions_.clear();
    motions_.shrink_to_fit();
    missed_ = false;
    extent_ = {};
    stockSet_ = false;
    cut_ = 0;
    sim_ = {};
    problem_.clear();
    reported_.clear();
    selected_ = -1;
    ++version_;
    emit FindingsChanged();
}

void CutView::SettingsChanged() {
    slicer_.stop();
    stockSet_ = false;
    reported_.clear();
    cut_ = 0;
    sim_ = {};
    ++version_;
    Schedule();
    emit FindingsChanged();
    repaint_();
}

void CutView::Schedule() {
    if (cut_ < motions_.size() && AnyCutView() && !slicer_.isActive()) slicer_.start();
}

bool CutView::PrepareStock() {
    std::string error, note;
    cutting::StockBox wanted;
    if (!settings_.cutStock.empty() && settings_.cutStock != "auto") {
        if (!cutting::ParseStockBox(settings_.cutStock, &wanted, &error))
            return Fail("cut stock of the settings: " + error);
    } else {
        if (extent_.Empty()) return false;
        wanted = extent_.Stock();
    }
    if (stockSet_ && wanted.low == stock_.low && wanted.high == stock_.high) return true;
    sim_ = {};
    const cutting::CutTool fallback{cutting::ToolShape::Flat, settings_.cutterDiameter, 0.0};
    if (!fallback.Check(&error)) return Fail("cutter diameter of the settings: " + error);
    cutting::ToolTable table;
    if (!settings_.cutToolTable.empty() && !table.Load(settings_.cutToolTable, &error))
        return Fail(error);
    const int resolution =
        settings_.cutResolution > 0 ? settings_.cutResolution : HeightField::kDefaultResolution;
    if (!sim_.Reset(wanted, resolution, &error, &note)) return Fail(error);
    if (!note.empty() && reported_ != note) DiagnosticLog::LogText("cut simulation: ", note);
    reported_ = note;
    sim_.SetTools(table, fallback);
    problem_.clear();
    stock_ = wanted;
    stockSet_ = true;
    cut_ = 0;
    ++version_;
    return true;
}

bool CutView::Fail(const std::string& problem) {
    problem_ = problem;
    stockSet_ = false;
    if (reported_ != problem) DiagnosticLog::LogText("cut simulation: ", problem);
    reported_ = problem;
    return false;
}

void CutView::Slice() {
    QElapsedTimer clock;
    clock.start();
    const std::size_t findings = sim_.Findings().size();
    const bool fresh = !stockSet_;
    if (!PrepareStock()) {
        cut_ = motions_.size();  // nothing to cut into until cutting moves size a stock
        return;
    }
    while (cut_ < motions_.size() && clock.elapsed() < kSliceMs) {
        const std::size_t n = std::min(kBatch, motions_.size() - cut_);
        sim_.Cut(std::span<const CutMotion>(motions_.data() + cut_, n));
        cut_ += n;
    }
    ++version_;
    if (fresh || sim_.Findings().size() != findings || cut_ == 0) emit FindingsChanged();
    const bool done = cut_ >= motions_.size();
    if (done || sinceRepaint_.elapsed() >= kRepaintMs) {
        sinceRepaint_.restart();
        if (done) emit FindingsChanged();
        repaint_();
    }
    if (!done) slicer_.start();
}

void CutView::CatchUp() {
    while (cut_ < motions_.size() || slicer_.isActive()) {
        slicer_.stop();
        Slice();
        if (!stockSet_) break;
    }
}

const HeightField& CutView::Shown(int cells) {
    if (shownVersion_ == version_ && shownCells_ == cells) return shown_;
    if (!cutting::CoarsenField(sim_.Field(), cells, &shown_)) return sim_.Field();
    shownVersion_ = version_;
    shownCells_ = cells;
    return shown_;
}

const HeightField* CutView::ShownComparison(int cells) {
    const HeightField& field = sim_.Field();
    if (other_ == nullptr || other_->Columns() != field.Columns() ||
        other_->Rows() != field.Rows() || !(other_->Box().low == field.Box().low) ||
        !(other_->Box().high == field.Box().high))
        return nullptr;
    if (otherShownVersion_ == version_ && otherShownCells_ == cells) return &otherShown_;
    if (!cutting::CoarsenField(*other_, cells, &otherShown_)) return other_;
    otherShownVersion_ = version_;
    otherShownCells_ = cells;
    return &otherShown_;
}

void CutView::SetComparison(const HeightField* other) {
    other_ = other;
    ++version_;
    repaint_();
}

void CutView::Render(ViewState& state) {
    Surface3D* panel = state.view->Panel()->Surface();
    Canvas3D& canvas = panel->TargetCanvas();
    const int width = canvas.Width(), height = canvas.Height();
    if (width < 1 || height < 1) return;
    const Point3 turn = panel->Rotation();
    const double scale = panel->Scale();
    const PixelPoint origin = panel->GetOrigin(), offset = panel->GetOffset();
    const PixelPoint at{origin.x + offset.x, origin.y + offset.y};
    const bool byTool = state.byTool->isChecked();
    if (state.version != version_ || !(state.turn == turn) || state.scale != scale ||
        !(state.at == at) || state.toolColours != byTool || state.image.width() != width ||
        state.image.height() != height) {
        const HeightField& field = sim_.Field();
        const cutting::StockBox& box = field.Box();
        // About one cell of the drawn surface to each pixel and a half.
        const double across = std::max(box.high.x - box.low.x, box.high.y - box.low.y) * scale;
        const int cells =
            static_cast<int>(std::clamp(std::ceil(across / 1.5), 8.0, double{kMaxShownCells}));
        cutting::PictureOptions options;
        options.width = width;
        options.height = height;
        const HeightField* other = ShownComparison(cells);
        options.colouring = other != nullptr ? cutting::Colouring::Difference
                            : byTool         ? cutting::Colouring::Tool
                                             : cutting::Colouring::Depth;
        options.ownCamera = true;
        options.turnX = turn.x, options.turnY = turn.y, options.turnZ = turn.z;
        options.scale = scale;
        options.originX = at.x, options.originY = at.y;
        cutting::RgbPicture picture;
        std::string error;
        if (!cutting::DrawCut(Shown(cells), other, options, &picture, &error)) return;
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                line[x] = 0xFF000000u | picture.At(x, y);
        }
        state.image = std::move(image);
        state.version = version_, state.turn = turn, state.scale = scale, state.at = at;
        state.toolColours = byTool;
    }
    canvas.DrawImage(PixelPoint{0, 0}, state.image);
    // Rapid moves that removed material, in the warning colour.
    const uint32_t pen = canvas.PenColor();
    canvas.SetPenColor(kRapidWarning);
    for (const cutting::Finding& f : sim_.Findings()) {
        if (f.kind != cutting::FindingKind::RapidIntoStock) continue;
        const CutMotion& m = motions_[static_cast<std::size_t>(f.motion)];
        const Point3 from = std::isfinite(m.start.z) ? m.start : m.end;
        canvas.MoveTo(panel->ToPixel(from));
        canvas.LineTo(panel->ToPixel(m.end));
    }
    canvas.SetPenColor(pen);
}

QImage CutView::ShownCut(const ViewPane* view, bool* pathOver) const {
    *pathOver = true;
    for (const auto& state : views_) {
        if (state->view != view || !stockSet_ || !state->button->isChecked()) continue;
        *pathOver = state->path->isChecked();
        return state->image;
    }
    return {};
}

void CutView::DrawWarnings(PathViews& views) const {
    views.SetColor(kRapidWarning);
    for (const cutting::Finding& f : sim_.Findings()) {
        if (f.kind != cutting::FindingKind::RapidIntoStock) continue;
        const CutMotion& m = motions_[static_cast<std::size_t>(f.motion)];
        views.DrawLine(std::isfinite(m.start.z) ? m.start : m.end, m.end);
    }
}

void CutView::Select(int64_t motion) {
    selected_ = motion >= 0 && static_cast<std::size_t>(motion) < motions_.size() ? motion : -1;
    repaint_();
}

void CutView::DrawSelected(Surface3D& surface) const {
    const CutMotion& m = motions_[static_cast<std::size_t>(selected_)];
    // The motion's path: a straight line, or the arc in pieces.
    std::vector<Point3> points;
    const Point3 from = std::isfinite(m.start.z) ? m.start : m.end;
    points.push_back(from);
    if (m.kind == cutting::MoveKind::Arc) {
        // The plane's first and second axes, and the one the helix travels along.
        const auto axes = [&](const Point3& p, double* a, double* b, double* c) {
            switch (m.plane) {
                case cutting::ArcPlane::XY:
                    *a = p.x, *b = p.y, *c = p.z;
                    return;
                case cutting::ArcPlane::ZX:
                    *a = p.z, *b = p.x, *c = p.y;
                    return;
                case cutting::ArcPlane::YZ:
                    *a = p.y, *b = p.z, *c = p.x;
                    return;
            }
        };
        double a0 = 0.0, b0 = 0.0, c0 = 0.0, a1 = 0.0, b1 = 0.0, c1 = 0.0;
        axes(from, &a0, &b0, &c0);
        axes(m.end, &a1, &b1, &c1);
        const double r = std::hypot(a0 - m.centreFirst, b0 - m.centreSecond);
        const double t0 = std::atan2(b0 - m.centreSecond, a0 - m.centreFirst);
        double sweep = std::atan2(b1 - m.centreSecond, a1 - m.centreFirst) - t0;
        constexpr double kTurn = 2.0 * 3.14159265358979323846;
        if (m.clockwise) {
            while (sweep >= 0.0)
                sweep -= kTurn;
        } else {
            while (sweep <= 0.0)
                sweep += kTurn;
        }
        constexpr int kPieces = 48;
        for (int k = 1; k < kPieces; ++k) {
            const double f = static_cast<double>(k) / kPieces, t = t0 + sweep * f;
            const double a = m.centreFirst + r * std::cos(t), b = m.centreSecond + r * std::sin(t);
            const double c = c0 + (c1 - c0) * f;
            points.push_back(m.plane == cutting::ArcPlane::XY   ? Point3{a, b, c}
                             : m.plane == cutting::ArcPlane::ZX ? Point3{b, c, a}
                                                                : Point3{c, a, b});
        }
    }
    points.push_back(m.end);
    Canvas3D& canvas = surface.TargetCanvas();
    const uint32_t pen = canvas.PenColor();
    canvas.SetPenColor(kSelected);
    // Three pixels wide.
    for (const PixelPoint shift : {PixelPoint{0, 0}, PixelPoint{1, 0}, PixelPoint{0, 1}}) {
        for (std::size_t k = 0; k < points.size(); ++k) {
            PixelPoint p = surface.ToPixel(points[k]);
            p.x += shift.x, p.y += shift.y;
            if (k == 0)
                canvas.MoveTo(p);
            else
                canvas.LineTo(p);
        }
    }
    canvas.SetPenColor(pen);
}

void CutView::Paint(bool underPath) {
    for (const auto& state : views_) {
        ViewPane* view = state->view;
        if (!view->isVisibleTo(view->window())) continue;
        if (stockSet_ && state->button->isChecked() && state->path->isChecked() == underPath)
            Render(*state);
        if (!underPath && selected_ >= 0) DrawSelected(*view->Panel()->Surface());
    }
}

}  // namespace cuttrace::ui
