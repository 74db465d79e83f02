#include "surfaces/PathImageRenderer.h"

#include <QString>

#include <algorithm>
#include <cmath>

#include "machines/NumberText.h"
#include "surfaces/ViewPresets.h"

namespace cuttrace {

namespace {

constexpr uint32_t kBackground = 0xFFFFFF;
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

PathImageRenderer::PathImageRenderer(int width, int height) : canvas_(width, height) {
    renderer_.SetTarget(&canvas_);
    renderer_.SetSize(width, height);
    renderer_.View().Init(width, height);
}

PathBounds::PathBounds(const AXIS& rotation) {
    turn_.SetAfine(rotation);
}

void PathBounds::Add(const AXIS& p) {
    AXIS q = p;
    turn_.afcal(q);
    if (!std::isfinite(q.x) || !std::isfinite(q.y)) return;
    if (empty_) {
        minX_ = maxX_ = q.x;
        minY_ = maxY_ = q.y;
        empty_ = false;
        return;
    }
    minX_ = std::min(minX_, q.x);
    maxX_ = std::max(maxX_, q.x);
    minY_ = std::min(minY_, q.y);
    maxY_ = std::max(maxY_, q.y);
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
                     const DrawPath& drawPath, const std::string& pngPath, std::string* error) {
    AXIS rotation;
    if (options.width < 1 || options.height < 1 || options.width > ImageOptions::kMaxSide ||
        options.height > ImageOptions::kMaxSide || !ViewPresetRotation(options.view, &rotation) ||
        (options.hasScale && !(options.scale > 0.0 && std::isfinite(options.scale)))) {
        *error = "picture options out of range";
        return false;
    }
    PathImageRenderer image(options.width, options.height);
    Projection3D& view = image.Surface().View();
    view.SetAfine(rotation);
    if (options.hasScale) {
        view.Init(options.width, options.height);
        view.SetScall(options.scale);
    } else {
        PathBounds bounds(rotation);
        if (drawPath) drawPath(bounds);
        FitViewToBounds(bounds, options.width, options.height, &view);
    }
    image.Surface().Cls(kBackground);
    if (drawOrigin) drawOrigin(image, view.Scall());
    if (drawPath) drawPath(image);
    if (!image.Image().save(QString::fromStdString(pngPath), "PNG")) {
        *error = "cannot write " + pngPath;
        return false;
    }
    return true;
}

}  // namespace cuttrace
