#include "ui/PathPicker.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "drawing/Geometry.h"
#include "machines/NumberText.h"
#include "surfaces/PathPick.h"
#include "surfaces/ScrollableSurface3D.h"
#include "surfaces/Surface3D.h"
#include "ui/ProgramText.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {

namespace {

constexpr std::size_t kReadChunk = 1 << 20;
constexpr std::size_t kMaxLineText = 4096;

QString Number(double value) {
    return QString::fromStdString(FormatFixed(value, 3));
}

}  // namespace

bool ReadSourceLine(const std::string& path, int64_t offset, int64_t& line, std::string& text) {
    if (offset < 0) return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    // The line number counts the line ends before the offset.
    std::vector<char> chunk(kReadChunk);
    int64_t counted = 0;
    int64_t newlines = 0;
    while (counted < offset) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<int64_t>(offset - counted, kReadChunk));
        const std::size_t got = std::fread(chunk.data(), 1, want, file);
        if (got == 0) break;
        newlines += std::count(chunk.data(), chunk.data() + got, '\n');
        counted += static_cast<int64_t>(got);
    }
    const bool reached = counted == offset;
    text.clear();
    if (reached) {
        for (int c; text.size() < kMaxLineText && (c = std::fgetc(file)) != EOF;) {
            if (c == '\n' || c == '\r') break;
            text.push_back(static_cast<char>(c));
        }
    }
    std::fclose(file);
    line = newlines + 1;
    return reached;
}

PathPicker::PathPicker(const VertexList& path, std::function<void()> redraw,
                       std::function<void(const QString&)> status, QObject* parent)
    : QObject(parent), path_(path), redraw_(std::move(redraw)), status_(std::move(status)) {
    prepare_.setInterval(0);
    connect(&prepare_, &QTimer::timeout, this, [this] {
        if (path_.PrepareForPicking(kChunksPerTurn)) prepare_.stop();
    });
}

void PathPicker::PrepareWhenIdle() {
    if (!prepare_.isActive()) prepare_.start();
}

void PathPicker::PausePreparing() {
    prepare_.stop();
}

void PathPicker::AttachView(ViewPane* view) {
    ScrollableSurface3D* panel = view->Panel();
    connect(panel, &ScrollableSurface3D::mousePressed, this,
            [this](Qt::MouseButton button, Qt::MouseButtons, int x, int y) {
                if (button == Qt::LeftButton) pressedAt_ = QPoint(x, y);
            });
    connect(panel, &ScrollableSurface3D::mouseReleased, this,
            [this, panel](Qt::MouseButton button, Qt::MouseButtons, int x, int y) {
                if (button != Qt::LeftButton) return;
                if ((QPoint(x, y) - pressedAt_).manhattanLength() > kClickSlack) return;
                const bool measure = QApplication::keyboardModifiers() & Qt::ShiftModifier;
                PickAt(*panel->Surface(), x, y, measure);
            });
}

bool PathPicker::PickAt(const Surface3D& surface, int x, int y, bool measure) {
    const PathPick pick = PickPath(path_, surface.View(), x, y, kRadius);
    if (!pick.found) {
        const bool had = picked_;
        picked_ = false;
        text_ = Tr(kPickNothing).arg(kRadius);
        status_(text_);
        if (had) redraw_();
        return false;
    }
    const Point3 before = point_;
    const bool measuring = measure && picked_;
    picked_ = true;
    motion_ = pick.motion;
    point_ = pick.point;

    const MotionSource source = path_.Source(motion_);
    const std::string file =
        source.file < path_.Files().size() ? path_.Files()[source.file] : std::string();
    int64_t line = 0;
    std::string block;
    if (file.empty() || !ReadSourceLine(file, source.offset, line, block)) line = 0;
    const QString blockText = QString::fromLocal8Bit(block.c_str());
    if (measuring) {
        const double dx = point_.x - before.x;
        const double dy = point_.y - before.y;
        const double dz = point_.z - before.z;
        text_ = Tr(kPickMeasure)
                    .arg(Number(Distance(before, point_)), Number(dx), Number(dy), Number(dz));
    } else if (line > 0) {
        text_ = Tr(kPickBlock).arg(blockText, PathToQString(file), QString::number(line));
    } else {
        text_ = Tr(kPickMotion).arg(static_cast<qulonglong>(motion_ + 1));
    }
    status_(text_);
    redraw_();
    emit motionPicked(PathToQString(file), source.offset, line, blockText);
    return true;
}

void PathPicker::HighlightLine(const std::string& file, int64_t begin, int64_t end) {
    // A click on the line just chosen (its current row is chosen again) changes nothing.
    if (file == lineFile_ && begin == lineBegin_ && path_.Motions() == lineOf_ &&
        !lineMotions_.empty()) {
        return;
    }
    lineFile_ = file;
    lineBegin_ = begin;
    lineOf_ = path_.Motions();
    const bool had = !lineMotions_.empty();
    lineMotions_.clear();
    const std::vector<std::string>& files = path_.Files();
    for (std::size_t i = 0; i < files.size() && !file.empty(); ++i) {
        if (files[i] == file) {
            lineMotions_ = path_.MotionsFrom(static_cast<uint32_t>(i), begin, end, kMaxLineMotions);
            break;
        }
    }
    if (had || !lineMotions_.empty()) redraw_();
}

void PathPicker::DrawHighlight(PathViews& views) const {
    for (const std::size_t motion : lineMotions_)
        path_.ReplayMotion(views, motion, kLineColor);
    if (picked_) path_.ReplayMotion(views, motion_, kHighlightColor);
}

void PathPicker::Forget() {
    picked_ = false;
    lineMotions_.clear();
}

}  // namespace cuttrace::ui
