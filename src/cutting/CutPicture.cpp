#include "cutting/CutPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "cutting/SurfaceGrid.h"
#include "cutting/ToolSweep.h"

namespace cuttrace::cutting {

namespace {

constexpr uint32_t kBackground = 0xFFFFFF;
constexpr uint32_t kStockColour = 0xC8CCD0;
constexpr uint32_t kSameColour = 0xB8B8B8;
constexpr uint32_t kMoreInFirst = 0xE02020;   // the first program leaves more material
constexpr uint32_t kMoreInSecond = 0x2050E0;  // the second leaves more
constexpr double kAmbient = 0.3;
constexpr double kFitShare = 0.9;  // of the picture the stock fills

struct Vec {
    double x, y, z;
};

Vec Cross(const Vec& a, const Vec& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Rotation about X, then Y, then Z (as the viewer turns its views); screen y points down.
class Camera {
  public:
    Camera(double ax, double ay, double az) {
        const double k = std::numbers::pi / 180.0;
        sa_ = std::sin(ax * k), ca_ = std::cos(ax * k);
        sb_ = std::sin(ay * k), cb_ = std::cos(ay * k);
        sc_ = std::sin(az * k), cc_ = std::cos(az * k);
    }
    Vec Turn(const Vec& p) const {
        double x = p.x, y = p.y, z = p.z;
        double t = y * ca_ - z * sa_;
        z = y * sa_ + z * ca_, y = t;
        t = x * cb_ + z * sb_;
        z = -x * sb_ + z * cb_, x = t;
        t = x * cc_ - y * sc_;
        y = x * sc_ + y * cc_, x = t;
        return {x, y, z};
    }
    void Fit(const StockBox& box, int width, int height) {
        double x0 = HUGE_VAL, x1 = -HUGE_VAL, y0 = HUGE_VAL, y1 = -HUGE_VAL;
        for (int c = 0; c < 8; ++c) {
            const Vec v = Turn({c & 1 ? box.high.x : box.low.x, c & 2 ? box.high.y : box.low.y,
                                c & 4 ? box.high.z : box.low.z});
            x0 = std::min(x0, v.x), x1 = std::max(x1, v.x);
            y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
        }
        const double sx = x1 > x0 ? kFitShare * width / (x1 - x0) : HUGE_VAL;
        const double sy = y1 > y0 ? kFitShare * height / (y1 - y0) : HUGE_VAL;
        scale_ = std::min(sx, sy);
        if (!std::isfinite(scale_)) scale_ = 1.0;
        ox_ = width * 0.5 - scale_ * (x0 + x1) * 0.5;
        oy_ = height * 0.5 + scale_ * (y0 + y1) * 0.5;
    }
    void Place(double scale, double ox, double oy) { scale_ = scale, ox_ = ox, oy_ = oy; }
    // Pixel x, pixel y, and depth (greater is nearer).
    Vec Screen(const Vec& p) const {
        const Vec v = Turn(p);
        return {ox_ + scale_ * v.x, oy_ - scale_ * v.y, v.z};
    }

  private:
    double sa_, ca_, sb_, cb_, sc_, cc_;
    double scale_ = 1.0, ox_ = 0.0, oy_ = 0.0;
};

uint32_t Shade(uint32_t colour, double light) {
    const auto channel = [&](int shift) {
        const double v = ((colour >> shift) & 0xFF) * light;
        return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
    const auto channel = [&](int shift) {
        const double v = ((a >> shift) & 0xFF) * (1.0 - t) + ((b >> shift) & 0xFF) * t;
        return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

// Shallow cuts warm, deep cuts dark blue.
uint32_t DepthColour(double t) {
    static constexpr std::array<uint32_t, 5> kRamp = {0xF8E070, 0xF09040, 0xD04870, 0x6848B8,
                                                      0x183C88};
    t = std::clamp(t, 0.0, 1.0) * (kRamp.size() - 1);
    const auto k = std::min(static_cast<std::size_t>(t), kRamp.size() - 2);
    return Mix(kRamp[k], kRamp[k + 1], t - static_cast<double>(k));
}

class Rasteriser {
  public:
    Rasteriser(RgbPicture* picture, const Camera& camera)
        : picture_(picture),
          camera_(camera),
          depth_(
              static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height),
              -HUGE_VAL) {}

    void Triangle(const Vec& a, const Vec& b, const Vec& c, uint32_t colour) {
        const Vec n = Cross({b.x - a.x, b.y - a.y, b.z - a.z}, {c.x - a.x, c.y - a.y, c.z - a.z});
        Vec v = camera_.Turn(n);
        const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        if (!(length > 0.0)) return;
        if (v.z < 0.0) v = {-v.x, -v.y, -v.z};
        // Light from above left of the viewer.
        constexpr Vec kLight = {-0.36, 0.54, 0.76};
        const double diffuse =
            std::max(0.0, (v.x * kLight.x + v.y * kLight.y + v.z * kLight.z) / length);
        Fill(camera_.Screen(a), camera_.Screen(b), camera_.Screen(c),
             Shade(colour, kAmbient + (1.0 - kAmbient) * diffuse));
    }

  private:
    void Fill(const Vec& a, const Vec& b, const Vec& c, uint32_t colour) {
        const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (!(std::fabs(area) > 1e-12)) return;
        const int w = picture_->width, h = picture_->height;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
        const int x1 = std::min(w - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
        const int y1 = std::min(h - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = y0; y <= y1; ++y) {
            const double py = y + 0.5;
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5;
                const double wa = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
                const double wb = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
                const double wc = 1.0 - wa - wb;
                constexpr double kEdge = -1e-9;
                if (wa < kEdge || wb < kEdge || wc < kEdge) continue;
                const double d = wa * a.z + wb * b.z + wc * c.z;
                const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                                      static_cast<std::size_t>(x);
                if (d <= depth_[i]) continue;
                depth_[i] = d;
                picture_->pixels[i] = colour;
            }
        }
    }

    RgbPicture* picture_;
    const Camera& camera_;
    std::vector<double> depth_;
};

}  // namespace

bool ViewRotation(int n, double* ax, double* ay, double* az) {
    static constexpr double kPresets[5][3] = {
        {0, 0, 0}, {-90, 0, 0}, {0, -90, -90}, {-45, 32, 28}, {-60, -30, -16}};
    if (n < 0 || n > 4) return false;
    *ax = kPresets[n][0], *ay = kPresets[n][1], *az = kPresets[n][2];
    return true;
}

uint32_t ToolSlotColour(int slot) {
    static constexpr std::array<uint32_t, 8> kPalette = {0xE6A020, 0x3C8CDC, 0x40B060, 0xD04848,
                                                         0x9060C8, 0x20B0B0, 0xC87838, 0x808080};
    return kPalette[static_cast<std::size_t>(slot - 1) % kPalette.size()];
}

bool DrawCut(const HeightField& field, const HeightField* other, const PictureOptions& options,
             RgbPicture* picture, std::string* error) {
    if (options.width < 1 || options.height < 1 || options.width > PictureOptions::kMaxSide ||
        options.height > PictureOptions::kMaxSide) {
        *error = "the picture size must be 1 to " + std::to_string(PictureOptions::kMaxSide) +
                 " pixels a side";
        return false;
    }
    double ax = options.turnX, ay = options.turnY, az = options.turnZ;
    if (!options.ownCamera && !ViewRotation(options.view, &ax, &ay, &az)) {
        *error = "the view must be 0 to 4";
        return false;
    }
    if (options.colouring == Colouring::Difference &&
        (!other || other->Columns() != field.Columns() || other->Rows() != field.Rows())) {
        *error = "the results compared have different grids";
        return false;
    }
    picture->width = options.width;
    picture->height = options.height;
    picture->pixels.assign(
        static_cast<std::size_t>(options.width) * static_cast<std::size_t>(options.height),
        kBackground);
    if (field.Rows() == 0) return true;
    Camera camera(ax, ay, az);
    if (options.ownCamera)
        camera.Place(options.scale, options.originX, options.originY);
    else
        camera.Fit(field.Box(), options.width, options.height);
    Rasteriser raster(picture, camera);
    const SurfaceGrid grid{field};
    const double top = field.Top(), bottom = field.Bottom();
    const double span = top - bottom;
    const auto colourAt = [&](int i, int j, double meanHeight) {
        const int column = grid.CellColumn(i), row = grid.CellRow(j);
        switch (options.colouring) {
            case Colouring::Depth:
                return top - meanHeight <= kCutTolerance ? kStockColour
                                                         : DepthColour((top - meanHeight) / span);
            case Colouring::Tool: {
                const int slot = field.CutBy(column, row);
                return slot == 0 ? kStockColour : ToolSlotColour(slot);
            }
            case Colouring::Difference: {
                const double d = field.Height(column, row) - other->Height(column, row);
                return d > options.tolerance    ? kMoreInFirst
                       : d < -options.tolerance ? kMoreInSecond
                                                : kSameColour;
            }
        }
        return kStockColour;
    };
    // The top surface.
    for (int j = 0; j + 1 < grid.Rows(); ++j) {
        for (int i = 0; i + 1 < grid.Columns(); ++i) {
            const Vec p00{grid.X(i), grid.Y(j), grid.Z(i, j)};
            const Vec p10{grid.X(i + 1), grid.Y(j), grid.Z(i + 1, j)};
            const Vec p11{grid.X(i + 1), grid.Y(j + 1), grid.Z(i + 1, j + 1)};
            const Vec p01{grid.X(i), grid.Y(j + 1), grid.Z(i, j + 1)};
            const double mean = (p00.z + p10.z + p11.z + p01.z) * 0.25;
            const uint32_t colour = colourAt(i + 1, j + 1, mean);
            raster.Triangle(p00, p10, p11, colour);
            raster.Triangle(p00, p11, p01, colour);
        }
    }
    // The four sides, down to the bottom.
    const auto wall = [&](int i0, int j0, int i1, int j1) {
        const Vec a{grid.X(i0), grid.Y(j0), grid.Z(i0, j0)};
        const Vec b{grid.X(i1), grid.Y(j1), grid.Z(i1, j1)};
        const Vec a0{a.x, a.y, bottom}, b0{b.x, b.y, bottom};
        raster.Triangle(a0, b0, b, kStockColour);
        raster.Triangle(a0, b, a, kStockColour);
    };
    const int last = grid.Columns() - 1, lastRow = grid.Rows() - 1;
    for (int i = 0; i < last; ++i) {
        wall(i, 0, i + 1, 0);
        wall(i, lastRow, i + 1, lastRow);
    }
    for (int j = 0; j < lastRow; ++j) {
        wall(0, j, 0, j + 1);
        wall(last, j, last, j + 1);
    }
    return true;
}

}  // namespace cuttrace::cutting
