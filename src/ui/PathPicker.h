// Picking on the drawing: a click (left button, no drag) on any view selects the motion
// drawn nearest the click, within kRadius pixels. The motion is drawn highlighted in every
// view and the status bar shows its block's text, file and line; motionPicked tells the
// program pane. A Shift-click measures from the point picked before to the one picked now
// (the ends of the picked segments nearest the clicks): distance and the three differences.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/Point3.h"
#include "drawing/PathViews.h"
#include "drawing/VertexList.h"

namespace cuttrace {
class Surface3D;
}

namespace cuttrace::ui {

class ViewPane;

// The line of a file that holds byte offset `offset`: its number (1 = the first line) and
// its text without the end of line; false when the file cannot be read there.
bool ReadSourceLine(const std::string& path, int64_t offset, int64_t& line, std::string& text);

class PathPicker : public QObject {
    Q_OBJECT
  public:
    static constexpr double kRadius = 5.0;
    static constexpr uint32_t kHighlightColor = 0x00C8FF;  // orange (0x00BBGGRR)
    static constexpr uint32_t kLineColor = 0xFF00C0;       // violet
    static constexpr std::size_t kMaxLineMotions = 2000;
    // Press and release farther apart than this are a drag, not a click.
    static constexpr int kClickSlack = 2;

    // path: the stored path picks look in; redraw: redraws the views (which then call
    // DrawHighlight); status: shows a text in the status bar.
    PathPicker(const VertexList& path, std::function<void()> redraw,
               std::function<void(const QString&)> status, QObject* parent = nullptr);

    // Listens to the clicks on a view.
    void AttachView(ViewPane* view);

    // Picks at pixel (x, y) of the surface; with measure, also measures from the point
    // picked before. Returns whether a motion lies within kRadius.
    bool PickAt(const Surface3D& surface, int x, int y, bool measure);
    bool HasPick() const { return picked_; }
    std::size_t PickedMotion() const { return motion_; }
    const Point3& PickedPoint() const { return point_; }
    // What the status bar was last given.
    const QString& Text() const { return text_; }

    // The motions made by the line [begin, end) of file are drawn highlighted (at most
    // kMaxLineMotions; an empty file: none).
    void HighlightLine(const std::string& file, int64_t begin, int64_t end);
    const std::vector<std::size_t>& LineMotions() const { return lineMotions_; }

    // Draws the line's motions and the picked motion in their highlight colors (after a
    // redraw of the path).
    void DrawHighlight(PathViews& views) const;
    // The path was cleared: nothing is picked any more.
    void Forget();
    // Spends turns of the event loop on the path's pick index, a few chunks a turn, until it
    // is complete, so that the first pick after a run does not make it all at once; paused
    // while a run adds to the path.
    void PrepareWhenIdle();
    void PausePreparing();

  signals:
    // The block of the picked motion: its file, byte offset, line (0: not known) and text.
    void motionPicked(const QString& file, qint64 offset, qint64 line, const QString& text);

  private:
    static constexpr std::size_t kChunksPerTurn = 128;  // a few milliseconds

    const VertexList& path_;
    QTimer prepare_;
    std::function<void()> redraw_;
    std::function<void(const QString&)> status_;
    bool picked_ = false;
    std::size_t motion_ = 0;
    Point3 point_;
    QString text_;
    std::vector<std::size_t> lineMotions_;
    std::string lineFile_;  // the line they were found for, among so many motions
    int64_t lineBegin_ = -1;
    std::size_t lineOf_ = 0;
    QPoint pressedAt_;
};

}  // namespace cuttrace::ui
