// The motions of a run kept for a picture fitted to the path, and their drawing at its end.
//
// While the program runs, a worker thread takes the motions over in chunks: it measures
// the path's extent (MotionExtent), packs the motions into a MotionLog and follows them
// with a drawer that draws nothing (PathDrawer::FollowQuick), noting where its pens stand
// as each of the log's blocks begins. The run's own thread only hands motions over.
//
// Once the picture is fitted, DrawInto draws the motions on two threads: the first part
// into the picture, the rest into a layer of its own (for pictures up to a few megabytes)
// that starts from the pens noted at its first block; the layer's pixels are then laid
// over the picture's. Every pixel of the path takes the color of the last line that
// reaches it, and each part draws exactly the lines one drawer would, so the result is the
// picture of one drawer, pixel for pixel.
#pragma once

#include <cstddef>
#include <thread>
#include <vector>

#include <QImage>

#include "core/ChunkPipe.h"
#include "core/MotionRecord.h"
#include "core/Settings.h"
#include "drawing/PathDrawer.h"
#include "pictures/MotionLog.h"
#include "pictures/PathExtent.h"
#include "pictures/PathImageRenderer.h"

namespace cuttrace {

class PictureMotions {
  public:
    // rotation: the picture's, for the extent; memoryBound: the log's (MotionLog). The
    // settings give the drawer's colors and cutter size, and must outlive this.
    PictureMotions(const Settings& settings, const Point3& rotation, std::size_t memoryBound);
    ~PictureMotions();
    PictureMotions(const PictureMotions&) = delete;
    PictureMotions& operator=(const PictureMotions&) = delete;

    // Hands one motion of the run over (on the run's thread).
    void Add(const MotionRecord& motion);
    // The run has ended: waits until every motion handed over has been taken in. Call it
    // once, before anything below.
    void Finish();

    const PathBounds& Bounds() const { return extent_.Bounds(); }
    std::size_t Count() const { return log_.Count(); }
    // Every motion in order (MotionLog::ForEach).
    template <class Visit>
    bool ForEach(Visit visit) const {
        return log_.ForEach(visit);
    }
    // Draws every motion quickly, rapid moves included, over what the picture holds (its
    // projection already fitted) and leaves the result in *image (the picture itself keeps
    // only the first part); false when the log could not be read back.
    bool DrawInto(PathImageRenderer& picture, QImage* image) const;

  private:
    static constexpr std::size_t kChunk = 4096;   // motions handed over at once
    static constexpr std::size_t kMaxChunks = 4;  // waiting for the worker at most
    // A larger picture is drawn on one thread: a second one would not fit beside the log.
    static constexpr qsizetype kMaxLayerBytes = qsizetype{4} << 20;

    void Work();
    void TakeIn(const std::vector<MotionRecord>& chunk);
    // Draws the motions of blocks first..last - 1 from the pens noted at the first.
    bool DrawBlocks(PathViews& views, std::size_t first, std::size_t last) const;

    const Settings& settings_;
    MotionLog log_;
    MotionExtent extent_;

    // The worker's drawer, which only follows the path, and the pens at each block's start.
    NoViews noViews_;
    PathDrawer follower_;
    std::vector<PathDrawer::QuickPens> blockPens_;
    std::vector<std::size_t> blockFirst_;  // the index of each block's first motion

    // The chunk being filled, and those handed over to the worker.
    std::vector<MotionRecord> filling_;
    ChunkPipe<std::vector<MotionRecord>> pipe_{kMaxChunks};
    std::thread worker_;
};

}  // namespace cuttrace
