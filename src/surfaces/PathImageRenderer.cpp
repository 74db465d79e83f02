#include "surfaces/PathImageRenderer.h"

#include <QString>

#include <algorithm>
#include <cmath>

#include "machines/NumberText.h"
#include "surfaces/ViewPresets.h"

namespace cuttrace {

namespace {

constexpr int kPngQuality = 85;  // the fastest zlib level: line pictures pack well anyway
constexpr int kMaxDigits = 9;

// A whole number written with decimal digits only.
bool ParseWhole(std::string_view text, int* value) {
    if (text.empty() || text.size() > static_cast<size_t>(kMaxDigits)) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    *value = ParseInt(text);
    return true;
}

}  // namespace

bool ParseImageSize(std::string_view text, ImageOptions* options, std::string* error) {
    const size_t x = text.find_first_of("xX");
    int width = 0, height = 0;
    if (x == std::string_view::npos || !ParseWhole(text.substr(0, x), &width) ||
        !ParseWhole(text.substr(x + 1), &height) || width < 1 || height < 1 ||
        width > ImageOptions::kMaxSide || height > ImageOptions::kMaxSide) {
        *error = "bad --size '" + std::string(text) + "' (WIDTHxHEIGHT, each 1 to " +
                 std::to_string(ImageOptions::kMaxSide) + ")";
        return false;
    }
    options->width = width;
    options->height = height;
    return true;
}

bool ParseImageView(std::string_view text, ImageOptions* options, std::string* error) {
    int view = -1;
    if (!ParseWhole(text, &view) || view >= kViewPresetCount) {
        *error = "bad --view '" + std::string(text) + "' (0 to " +
                 std::to_string(kViewPresetCount - 1) + ")";
        return false;
    }
    options->view = view;
    return true;
}

bool ParseImageScale(std::string_view text, ImageOptions* options, std::string* error) {
    size_t used = 0;
    const double scale = ParseDouble(text, &used);
    if (text.empty() || used != text.size() || !(scale >= Projection3D::kMinZoomScall) ||
        !(scale <= Projection3D::kMaxBandScall)) {
        *error = "bad --scale '" + std::string(text) + "' (pixels per unit, 0.0001 to 100000)";
        return false;
    }
    options->hasScale = true;
    options->scale = scale;
    return true;
}

bool CheckImageOptions(const ImageOptions& options, std::string* error) {
    Point3 rotation;
    if (options.width < 1 || options.height < 1 || options.width > ImageOptions::kMaxSide ||
        options.height > ImageOptions::kMaxSide || !ViewPresetRotation(options.view, &rotation) ||
        (options.hasScale && !(options.scale > 0.0 && std::isfinite(options.scale)))) {
        *error = "picture options out of range";
        return false;
    }
    return true;
}

PathImageRenderer::PathImageRenderer(int width, int height) : canvas_(width, height) {
    renderer_.SetTarget(&canvas_);
    renderer_.SetSize(width, height);
    renderer_.View().Init(width, height);
}

PathImageRenderer::PathImageRenderer(const ImageOptions& options)
    : PathImageRenderer(options.width, options.height) {
    Point3 rotation;
    ViewPresetRotation(options.view, &rotation);
    renderer_.View().SetAfine(rotation);
    if (options.hasScale) renderer_.View().SetScall(options.scale);
}

void PathImageRenderer::FitTo(const PathBounds& bounds) {
    FitViewToBounds(bounds, canvas_.Width(), canvas_.Height(), &renderer_.View());
}

bool PathImageRenderer::Save(const std::string& pngPath, std::string* error) const {
    if (canvas_.Image().save(QString::fromStdString(pngPath), "PNG", kPngQuality)) return true;
    *error = "cannot write " + pngPath;
    return false;
}

void FitViewToBounds(const PathBounds& bounds, int width, int height, Projection3D* view) {
    view->Init(width, height);
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
    scale = std::clamp(scale, Projection3D::kMinZoomScall, Projection3D::kMaxBandScall);
    // The origin must stay a pixel position: a tiny path far from the model origin is shown
    // smaller rather than not at all.
    const double centreX = (bounds.MinX() + bounds.MaxX()) / 2;
    const double centreY = (bounds.MinY() + bounds.MaxY()) / 2;
    constexpr double kOriginRoom = kPixelLimit / 4;
    const double far = std::max(std::abs(centreX), std::abs(centreY));
    if (far * scale > kOriginRoom) scale = kOriginRoom / far;
    view->SetScall(scale);
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
        const Point3 rotation = image.Surface().View().Afine();
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
