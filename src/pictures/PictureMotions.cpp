#include "pictures/PictureMotions.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <system_error>
#include <utility>

#include "core/VectorRegisters.h"

namespace cuttrace {

namespace {

// A color that no line of the path has: the layer's background, which lets the picture's
// pixels show through.
uint32_t UnusedColor(const Settings& settings) {
    const uint32_t used[] = {settings.rapidColor,   settings.feedColor,   settings.cycleColor,
                             settings.contourColor, settings.originColor, Canvas3D::kBlack};
    uint32_t color = 0x010203;
    while (std::find(std::begin(used), std::end(used), color) != std::end(used))
        ++color;
    return color;
}

}  // namespace

PictureMotions::PictureMotions(const Settings& settings, const Point3& rotation,
                               std::size_t memoryBound)
    : settings_(settings),
      extent_(rotation, settings.cutterDiameter),
      follower_(noViews_, settings) {
    log_.SetMemoryBound(memoryBound);
    follower_.SetDrawRapids(true);
    filling_.reserve(kChunk);
    try {
        worker_ = std::thread([this] { Work(); });
    } catch (const std::system_error&) {
        // No thread to be had: the motions are taken in on the run's thread.
    }
}

PictureMotions::~PictureMotions() {
    pipe_.Close(false);
    if (worker_.joinable()) worker_.join();
}

void PictureMotions::Add(const MotionRecord& motion) {
    filling_.push_back(motion);
    if (filling_.size() < kChunk) return;
    if (!worker_.joinable()) {
        TakeIn(filling_);
        filling_.clear();
        return;
    }
    filling_ = pipe_.Hand(std::move(filling_));
    filling_.reserve(kChunk);
}

void PictureMotions::Finish() {
    if (!worker_.joinable()) {
        TakeIn(filling_);
        filling_ = {};
        return;
    }
    if (!filling_.empty()) pipe_.Hand(std::move(filling_));
    filling_ = {};
    pipe_.Close(false);
    worker_.join();
}

void PictureMotions::Work() {
    CleanVectorUppers();
    while (std::optional<std::vector<MotionRecord>> chunk = pipe_.Take()) {
        TakeIn(*chunk);
        chunk->clear();
        pipe_.GiveBack(std::move(*chunk));
    }
}

void PictureMotions::TakeIn(const std::vector<MotionRecord>& chunk) {
    for (const MotionRecord& motion : chunk) {
        const std::size_t blocks = log_.Blocks();
        const std::size_t index = log_.Count();
        log_.Add(motion);
        if (log_.Blocks() != blocks) {
            blockPens_.push_back(follower_.Pens());
            blockFirst_.push_back(index);
        }
        follower_.FollowQuick(motion);
        extent_.Add(motion);
    }
}

bool PictureMotions::DrawBlocks(PathViews& views, std::size_t first, std::size_t last) const {
    // After the image library's code, on this thread or on the one that started it.
    CleanVectorUppers();
    PathDrawer drawer(views, settings_);
    drawer.SetQuick(true);
    drawer.SetDrawRapids(true);
    drawer.SetStoringPath(false);  // a picture is never redrawn
    drawer.ContinueFrom(blockPens_[first]);
    return log_.ForEachIn(first, last,
                          [&drawer](const MotionRecord& motion) { drawer.BeginMotion(motion); });
}

bool PictureMotions::DrawInto(PathImageRenderer& picture, QImage* image) const {
    const std::size_t blocks = log_.Blocks();
    const QImage& under = picture.Image();
    // The layer is a second picture: only while it fits in what the log leaves free.
    const bool layerFits = under.sizeInBytes() <= kMaxLayerBytes;
    if (!log_.Flush()) return false;
    if (blocks < 2 || !layerFits) {
        const bool read = blocks == 0 || DrawBlocks(picture, 0, blocks);
        *image = under;
        return read;
    }
    // The second part starts at the block whose first motion lies nearest the middle.
    const std::size_t middle = log_.Count() / 2;
    const auto distance = [middle](std::size_t at) {
        return at > middle ? at - middle : middle - at;
    };
    std::size_t split = 1;
    for (std::size_t b = 2; b < blocks; ++b) {
        if (distance(blockFirst_[b]) < distance(blockFirst_[split])) split = b;
    }
    const uint32_t clear = UnusedColor(settings_);
    bool read = false;
    {
        PathImageRenderer layer(under.width(), under.height());
        layer.Surface().View() = picture.Surface().View();
        layer.Surface().Clear(clear);
        bool laterRead = false;
        std::thread later;
        try {
            later = std::thread([&] { laterRead = DrawBlocks(layer, split, blocks); });
        } catch (const std::system_error&) {
            // No second thread: this one draws both parts.
        }
        const bool firstRead = DrawBlocks(picture, 0, split);
        if (later.joinable()) {
            later.join();
        } else {
            laterRead = DrawBlocks(layer, split, blocks);
        }
        read = firstRead && laterRead;
        *image = layer.Image();  // the layer's own pixels once the layer is gone
    }
    // The picture shows through where the layer has no line.
    const QRgb clearPixel = Canvas3D::QRgbFromBgr(clear);
    for (int y = 0; y < image->height(); ++y) {
        auto* to = reinterpret_cast<QRgb*>(image->scanLine(y));
        const auto* from = reinterpret_cast<const QRgb*>(under.constScanLine(y));
        for (int x = 0; x < image->width(); ++x) {
            if (to[x] == clearPixel) to[x] = from[x];
        }
    }
    return read;
}

}  // namespace cuttrace
