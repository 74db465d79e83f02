// Pictures of a tool path without a window: the path drawer draws into one off-screen 3D
// surface (the same projection, clipping and line drawing as a view), which is saved as PNG.
//
// The picture has a white background, the rotation of one of the view presets, and either
// the scale asked for (the model origin at the picture's centre, as a view's ResetView places
// it) or a scale and origin chosen so that the whole path fits with a small margin. The
// origin mark is drawn first, then the path.
//
// The drawing itself is the caller's: RenderPathImage hands its views to two callbacks, one
// that draws the origin mark for a view scale and one that draws the path (for a program's
// motions, a PathDrawer in quick mode). Without a given scale the path's extent comes from
// the caller (MotionExtent measures motions as they are run) or from drawing it once more.
#pragma once

#include <functional>
#include <string>

#include "core/Point3.h"
#include "drawing/PathViews.h"
#include "pictures/ImageOptions.h"
#include "pictures/PathExtent.h"
#include "surfaces/Canvas3D.h"
#include "surfaces/Renderer3D.h"

namespace cuttrace {

// Draws into an off-screen 3D surface of its own.
class PathImageRenderer : public PathViews {
  public:
    // A white picture of width x height with the centred placement at scale 1.
    PathImageRenderer(int width, int height);
    // A white picture as the options ask: size, the view preset's rotation, and the centred
    // placement with the given scale (or scale 1 until FitTo). Valid options are assumed
    // (see CheckImageOptions).
    explicit PathImageRenderer(const ImageOptions& options);

    Renderer3D& Surface() { return renderer_; }
    const QImage& Image() const { return canvas_.Image(); }
    double Scale() const { return renderer_.View().Scale(); }
    // Fits the view to an extent measured with this picture's rotation.
    void FitTo(const PathBounds& bounds);
    // Writes the picture as PNG; false with a message in *error when that fails.
    bool Save(const std::string& pngPath, std::string* error) const;

    void SetColor(uint32_t color) override { renderer_.SetPenColor(color); }
    void DrawMoveTo(const Point3& p) override { renderer_.MoveTo(p); }
    void DrawLineTo(const Point3& p) override { renderer_.LineTo(p); }
    void LineToShowingTool(const Point3& p) override { renderer_.LineTo(p); }  // no cutter picture
    void DrawLine(const Point3& a, const Point3& b) override { renderer_.Line(a, b); }
    void DrawLinesFrom(const Point3& from, const Point3* points, std::size_t count) override {
        renderer_.LinesFrom(from, points, count);
    }
    void Present() override {}

  private:
    Canvas3D canvas_;
    Renderer3D renderer_;
};

// Writes a picture as PNG, as PathImageRenderer::Save does; false with a message in *error.
bool SavePicture(const QImage& image, const std::string& pngPath, std::string* error);

// Sets the view's scale and origin so that the measured extent fits a width x height
// picture with a small margin, centred. An empty extent gets the centred placement at scale 1.
void FitViewToBounds(const PathBounds& bounds, int width, int height, Projection3D* view);

using DrawOriginMark = std::function<void(PathViews& views, double scale)>;
using DrawPath = std::function<void(PathViews& views)>;

// Draws the picture and writes it as PNG. Without a given scale the picture fits the
// extent `measured` when one is given (turned by the view preset's rotation), otherwise that
// of a first drawing of the path. Returns false with a message in *error when the options
// are out of range or the file cannot be written.
bool RenderPathImage(const ImageOptions& options, const DrawOriginMark& drawOrigin,
                     const DrawPath& drawPath, const std::string& pngPath, std::string* error,
                     const PathBounds* measured = nullptr);

}  // namespace cuttrace
