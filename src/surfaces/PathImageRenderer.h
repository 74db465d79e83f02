// Pictures of a tool path without a window: the path drawer draws into one off-screen 3D
// surface (the same projection, clipping and line drawing as a view), which is saved as PNG.
//
// The picture has a white background, the rotation of one of the view presets, and either
// the scale asked for (the model origin at the picture's centre, as a view's Init places
// it) or a scale and origin chosen so that the whole path fits with a small margin. The
// origin mark is drawn first, then the path.
//
// The drawing itself is the caller's: RenderPathImage hands its views to two callbacks, one
// that draws the origin mark for a view scale and one that draws the path (for a program's
// motions, a PathDrawer in quick mode). Without a given scale the path is drawn twice, the
// first time only to measure it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/Axis.h"
#include "drawing/PathViews.h"
#include "surfaces/Canvas3D.h"
#include "surfaces/Renderer3D.h"

namespace cuttrace {

struct ImageOptions {
    static constexpr int kDefaultWidth = 800;
    static constexpr int kDefaultHeight = 600;
    static constexpr int kMaxSide = 8192;

    int width = kDefaultWidth;
    int height = kDefaultHeight;
    int view = 0;  // view preset 0..4
    bool hasScale = false;
    double scale = 1.0;  // pixels per program unit, when hasScale
};

// Option values as the command line gives them. Each returns false, with a message in
// *error, for text that is not a valid value.
bool ParseImageSize(std::string_view text, ImageOptions* options, std::string* error);
bool ParseImageView(std::string_view text, ImageOptions* options, std::string* error);
bool ParseImageScale(std::string_view text, ImageOptions* options, std::string* error);

// Draws into an off-screen 3D surface of its own.
class PathImageRenderer : public PathViews {
  public:
    PathImageRenderer(int width, int height);

    Renderer3D& Surface() { return renderer_; }
    const QImage& Image() const { return canvas_.Image(); }

    void DrawColor(uint32_t colour) override { renderer_.SetColor(colour); }
    void DrawMoveTo(const AXIS& p) override { renderer_.MoveTo(p); }
    void DrawLineTo(const AXIS& p) override { renderer_.LineTo(p); }
    void DrawToolTo(const AXIS& p) override { renderer_.LineTo(p); }  // no cutter picture
    void DrawLine(const AXIS& a, const AXIS& b) override { renderer_.Line(a, b); }
    void RefreshViews() override {}

  private:
    Canvas3D canvas_;
    Renderer3D renderer_;
};

// Measures the extent of everything drawn, turned by a view rotation (unscaled).
class PathBounds : public PathViews {
  public:
    explicit PathBounds(const AXIS& rotation);

    bool Empty() const { return empty_; }
    double MinX() const { return minX_; }
    double MaxX() const { return maxX_; }
    double MinY() const { return minY_; }
    double MaxY() const { return maxY_; }

    void DrawColor(uint32_t) override {}
    void DrawMoveTo(const AXIS& p) override { Add(p); }
    void DrawLineTo(const AXIS& p) override { Add(p); }
    void DrawToolTo(const AXIS& p) override { Add(p); }
    void DrawLine(const AXIS& a, const AXIS& b) override {
        Add(a);
        Add(b);
    }
    void RefreshViews() override {}

  private:
    void Add(const AXIS& p);

    Projection3D turn_;
    bool empty_ = true;
    double minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;
};

// Sets the view's scale and origin so that the measured extent fits a width x height
// picture with a small margin, centred. An empty extent gets the Init placement at scale 1.
void FitViewToBounds(const PathBounds& bounds, int width, int height, Projection3D* view);

using DrawOriginMark = std::function<void(PathViews& views, double scale)>;
using DrawPath = std::function<void(PathViews& views)>;

// Draws the picture and writes it as PNG. Returns false with a message in *error when the
// options are out of range or the file cannot be written.
bool RenderPathImage(const ImageOptions& options, const DrawOriginMark& drawOrigin,
                     const DrawPath& drawPath, const std::string& pngPath, std::string* error);

}  // namespace cuttrace
