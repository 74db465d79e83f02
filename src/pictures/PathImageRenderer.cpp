#include "pictures/PathImageRenderer.h"

#include <QString>

#include <algorithm>
#include <cmath>

#include "surfaces/ViewPresets.h"

namespace cuttrace {

namespace {

constexpr int kPngQuality = 85;  // the fastest zlib level: line pictures pack well anyway

}  // namespace

PathImageRenderer::PathImageRenderer(int width, int height) : canvas_(width, height) {
    renderer_.SetTarget(&canvas_);
    renderer_.SetSize(width, height);
    renderer_.View().ResetView(width, height);
}

PathImageRenderer::PathImageRenderer(const ImageOptions& options)
    : PathImageRenderer(options.width, options.height) {
    renderer_.View().SetRotation(ViewPresetRotation(options.view));
    if (options.hasScale) renderer_.View().SetScale(options.scale);
}

void PathImageRenderer::FitTo(const PathBounds& bounds) {
    FitViewToBounds(bounds, canvas_.Width(), canvas_.Height(), &renderer_.View());
}

bool PathImageRenderer::Save(const std::string& pngPath, std::string* error) const {
    return SavePicture(canvas_.Image(), pngPath, error);
}

bool SavePicture(const QImage& image, const std::string& pngPath, std::string* error) {
    if (image.save(QString::fromStdString(pngPath), "PNG", kPngQuality)) return true;
    *error = "cannot write " + pngPath;
    return false;
}

void FitViewToBounds(const PathBounds& bounds, int width, int height, Projection3D* view) {
    view->ResetView(width, height);
    if (bounds.Empty()) return;
    // Lines are drawn up to width - 2 and height - 2; keep a margin of a twentieth of the
    // shorter side (at least 4 pixels) all round.
    const double margin = std::max(4, std::min(width, height) / 20);
    const double roomX = std::max(1.0, width - 2 - 2 * margin);
    const double roomY = std::max(1.0, height - 2 - 2 * margin);
    const double spanX = bounds.MaxX() - bounds.MinX();
    const double spanY = bounds.MaxY() - bounds.MinY();
    double scale = 1.0;
    if (spanX > 0 && spanY > 0) {
        scale = std::min(roomX / spanX, roomY / spanY);
    } else if (spanX > 0) {
        scale = roomX / spanX;
    } else if (spanY > 0) {
        scale = roomY / spanY;
    }
    scale = std::clamp(scale, Projection3D::kMinZoomScale, Projection3D::kMaxBandScale);
    // The origin must stay a pixel position: a tiny path far from the model origin is shown
    // smaller rather than not at all.
    const double centreX = (bounds.MinX() + bounds.MaxX()) / 2;
    const double centreY = (bounds.MinY() + bounds.MaxY()) / 2;
    constexpr double kOriginRoom = kPixelLimit / 4;
    const double far = std::max(std::abs(centreX), std::abs(centreY));
    if (far * scale > kOriginRoom) scale = kOriginRoom / far;
    view->SetScale(scale);
    // The centre's pixel offsets truncate as the projection truncates, so it lands exactly
    // on the picture's centre.
    view->SetOrigin(PixelPoint{width / 2 - PixelFromDouble(centreX * scale),
                               height / 2 - PixelFromDouble(-centreY * scale)});
}

bool RenderPathImage(const ImageOptions& options, const DrawOriginMark& drawOrigin,
                     const DrawPath& drawPath, const std::string& pngPath, std::string* error,
                     const PathBounds* measured) {
    if (!CheckImageOptions(options, error)) return false;
    PathImageRenderer image(options);
    if (!options.hasScale) {
        const Point3 rotation = image.Surface().View().Rotation();
        if (measured != nullptr && measured->Rotation() == rotation) {
            image.FitTo(*measured);
        } else {
            PathBounds bounds(rotation);
            if (drawPath) drawPath(bounds);
            image.FitTo(bounds);
        }
    }
    if (drawOrigin) drawOrigin(image, image.Scale());
    if (drawPath) drawPath(image);
    return image.Save(pngPath, error);
}

}  // namespace cuttrace
