#include "cutting/CutSurface.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

#include "cutting/SurfaceGrid.h"

namespace cuttrace::cutting {

namespace {

struct Vertex {
    double x, y, z;
};

class StlOut {
  public:
    explicit StlOut(std::ofstream& out) : out_(out) { buffer_.reserve(kFlush + 64); }
    void Triangle(const Vertex& a, const Vertex& b, const Vertex& c) {
        const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
        const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
        double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
        if (length > 0.0) nx /= length, ny /= length, nz /= length;
        const float values[12] = {
            static_cast<float>(nx),  static_cast<float>(ny),  static_cast<float>(nz),
            static_cast<float>(a.x), static_cast<float>(a.y), static_cast<float>(a.z),
            static_cast<float>(b.x), static_cast<float>(b.y), static_cast<float>(b.z),
            static_cast<float>(c.x), static_cast<float>(c.y), static_cast<float>(c.z)};
        const std::size_t at = buffer_.size();
        buffer_.resize(at + 50);
        std::memcpy(buffer_.data() + at, values, 48);  // little-endian floats
        buffer_[at + 48] = buffer_[at + 49] = 0;
        if (buffer_.size() >= kFlush) Flush();
    }
    void Flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

  private:
    static constexpr std::size_t kFlush = 1 << 20;
    std::ofstream& out_;
    std::vector<char> buffer_;
};

}  // namespace

uint64_t StlTriangleCount(const HeightField& field) {
    if (field.Rows() == 0) return 0;
    const auto quadsX = static_cast<uint64_t>(field.Columns()) + 1;
    const auto quadsY = static_cast<uint64_t>(field.Rows()) + 1;
    const uint64_t ring = 2 * (quadsX + quadsY);
    return 2 * quadsX * quadsY + 2 * ring + ring;
}

bool WriteStl(const HeightField& field, const std::string& path, std::string* error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        *error = "cannot write " + path;
        return false;
    }
    char header[80] = {};
    std::memcpy(header, "cuttrace machined stock", 23);
    out.write(header, 80);
    const auto count =
        static_cast<uint32_t>(std::min<uint64_t>(StlTriangleCount(field), UINT32_MAX));
    out.write(reinterpret_cast<const char*>(&count), 4);
    StlOut stl(out);
    const SurfaceGrid grid{field};
    const double bottom = field.Bottom();
    const double film = (field.Top() - bottom) * kFilmShare;
    const auto top = [&](int i, int j) {
        return Vertex{grid.X(i), grid.Y(j), std::max(grid.Z(i, j), bottom + film)};
    };
    const int lastColumn = grid.Columns() - 1, lastRow = grid.Rows() - 1;
    for (int j = 0; j < lastRow; ++j) {
        for (int i = 0; i < lastColumn; ++i) {
            const Vertex p00 = top(i, j), p10 = top(i + 1, j);
            const Vertex p11 = top(i + 1, j + 1), p01 = top(i, j + 1);
            stl.Triangle(p00, p10, p11);
            stl.Triangle(p00, p11, p01);
        }
    }
    // The ring of edge vertices, counter-clockwise seen from above.
    std::vector<std::pair<int, int>> ring;
    for (int i = 0; i < lastColumn; ++i)
        ring.emplace_back(i, 0);
    for (int j = 0; j < lastRow; ++j)
        ring.emplace_back(lastColumn, j);
    for (int i = lastColumn; i > 0; --i)
        ring.emplace_back(i, lastRow);
    for (int j = lastRow; j > 0; --j)
        ring.emplace_back(0, j);
    const Vertex middle{(field.Box().low.x + field.Box().high.x) * 0.5,
                        (field.Box().low.y + field.Box().high.y) * 0.5, bottom};
    for (std::size_t k = 0; k < ring.size(); ++k) {
        const auto [i0, j0] = ring[k];
        const auto [i1, j1] = ring[(k + 1) % ring.size()];
        const Vertex a = top(i0, j0), b = top(i1, j1);
        const Vertex a0{a.x, a.y, bottom}, b0{b.x, b.y, bottom};
        stl.Triangle(a0, b0, b);
        stl.Triangle(a0, b, a);
        stl.Triangle(middle, b0, a0);
    }
    stl.Flush();
    out.flush();
    if (!out) {
        *error = "writing " + path + " failed";
        return false;
    }
    return true;
}

}  // namespace cuttrace::cutting
