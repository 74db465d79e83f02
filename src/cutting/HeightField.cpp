#include "cutting/HeightField.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <new>

namespace cuttrace::cutting {

bool StockBox::Check(std::string* error) const {
    const double values[] = {low.x, low.y, low.z, high.x, high.y, high.z};
    for (double v : values) {
        if (!std::isfinite(v)) {
            *error = "the stock has a value that is not a number";
            return false;
        }
    }
    if (!(high.x > low.x) || !(high.y > low.y) || !(high.z > low.z)) {
        *error = "the stock has no size (each of X, Y and Z must span more than 0)";
        return false;
    }
    return true;
}

bool ParseStockBox(std::string_view text, StockBox* box, std::string* error) {
    double v[6];
    for (int i = 0; i < 6; ++i) {
        const auto comma = text.find(',');
        if ((i < 5) == (comma == std::string_view::npos)) {
            *error = "the stock needs six numbers X0,Y0,Z0,X1,Y1,Z1";
            return false;
        }
        std::string_view item = text.substr(0, comma);
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
        if (!item.empty() && item.front() == '+') item.remove_prefix(1);
        const char* end = item.data() + item.size();
        auto [ptr, ec] = std::from_chars(item.data(), end, v[i]);
        if (item.empty() || ec != std::errc() || ptr != end) {
            *error = "bad number '" + std::string(item) + "' in the stock";
            return false;
        }
    }
    box->low = {std::min(v[0], v[3]), std::min(v[1], v[4]), std::min(v[2], v[5])};
    box->high = {std::max(v[0], v[3]), std::max(v[1], v[4]), std::max(v[2], v[5])};
    return box->Check(error);
}

bool HeightField::Reset(const StockBox& box, int resolution, std::string* error,
                        std::string* note) {
    if (!box.Check(error)) return false;
    if (resolution < 1) {
        *error = "the resolution must be at least 1 cell";
        return false;
    }
    if (resolution > kMaxResolution) {
        *note = "resolution " + std::to_string(resolution) + " lowered to " +
                std::to_string(kMaxResolution) + " cells along the longer side";
        resolution = kMaxResolution;
    }
    const double width = box.high.x - box.low.x;
    const double depth = box.high.y - box.low.y;
    const double cell = std::max(width, depth) / resolution;
    // Both counts are at most `resolution`, so their product cannot overflow.
    const auto count = [&](double side) {
        const double n = std::round(side / cell);
        return n < 1.0 ? 1 : n > resolution ? resolution : static_cast<int>(n);
    };
    const int columns = count(width);
    const int rows = count(depth);
    const std::size_t cells = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    const auto tiles = [](int n) { return static_cast<std::size_t>((n + kTile - 1) / kTile); };
    const std::size_t stored = tiles(columns) * tiles(rows) * kTile * kTile;
    try {
        heights_.assign(stored, box.high.z);
        cutBy_.assign(stored, 0);
        tileBound_.assign(tiles(columns) * tiles(rows), box.high.z);
        tileLowered_.assign(tileBound_.size(), 0);
        heights_.shrink_to_fit();
        cutBy_.shrink_to_fit();
        tileBound_.shrink_to_fit();
        tileLowered_.shrink_to_fit();
    } catch (const std::bad_alloc&) {
        heights_ = {};
        cutBy_ = {};
        tileBound_ = {};
        tileLowered_ = {};
        columns_ = rows_ = 0;
        tilesAcross_ = 0;
        *error = "not enough memory for " + std::to_string(cells) + " cells";
        return false;
    }
    box_ = box;
    columns_ = columns;
    rows_ = rows;
    tilesAcross_ = tiles(columns);
    cellWidth_ = width / columns;
    cellHeight_ = depth / rows;
    inverseCellWidth_ = 1.0 / cellWidth_;
    return true;
}

void HeightField::Tighten(std::size_t tile) {
    tileLowered_[tile] = 0;
    const double* cells = heights_.data() + (tile << (2 * kTileShift));
    // Only the tile's cells within the grid count: those past the last column or row are
    // never cut.
    const int column0 = static_cast<int>(tile % tilesAcross_) * kTile;
    const int row0 = static_cast<int>(tile / tilesAcross_) * kTile;
    const int across = std::min(kTile, columns_ - column0);
    const int down = std::min(kTile, rows_ - row0);
    double high = -HUGE_VAL;
    if (across == kTile && down == kTile) {
        // Four running maxima, so that the loads are not held up by one chain of compares.
        double m[4] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
        for (int k = 0; k < kTile * kTile; k += 4)
            for (int j = 0; j < 4; ++j)
                m[j] = cells[k + j] > m[j] ? cells[k + j] : m[j];
        high = std::max(std::max(m[0], m[1]), std::max(m[2], m[3]));
    } else {
        for (int r = 0; r < down; ++r)
            for (int c = 0; c < across; ++c)
                high = std::max(high, cells[r * kTile + c]);
    }
    tileBound_[tile] = high;
}

double HeightField::Volume() const {
    double sum = 0.0;
    for (int row = 0; row < rows_; ++row)
        for (int column = 0; column < columns_; ++column)
            sum += Height(column, row) - box_.low.z;
    return sum * cellWidth_ * cellHeight_;
}

FieldDifference CompareFields(const HeightField& a, const HeightField& b, double tolerance) {
    FieldDifference result;
    for (int row = 0; row < a.Rows(); ++row) {
        for (int column = 0; column < a.Columns(); ++column) {
            const double d = std::fabs(a.Height(column, row) - b.Height(column, row));
            if (d > tolerance) ++result.differing;
            if (d > result.largest) result.largest = d, result.column = column, result.row = row;
        }
    }
    return result;
}

bool CoarsenField(const HeightField& field, int cells, HeightField* coarse) {
    const int longer = std::max(field.Columns(), field.Rows());
    std::string error, note;
    if (cells >= longer || !coarse->Reset(field.Box(), cells, &error, &note)) return false;
    double* heights = coarse->Heights();
    uint8_t* toolSlots = coarse->CutBySlots();
    const int columns = field.Columns(), rows = field.Rows();
    const int across = coarse->Columns(), down = coarse->Rows();
    for (int r = 0; r < down; ++r) {
        const int r0 = static_cast<int>(static_cast<int64_t>(r) * rows / down);
        const int r1 =
            std::max(r0 + 1, static_cast<int>(static_cast<int64_t>(r + 1) * rows / down));
        for (int c = 0; c < across; ++c) {
            const int c0 = static_cast<int>(static_cast<int64_t>(c) * columns / across);
            const int c1 =
                std::max(c0 + 1, static_cast<int>(static_cast<int64_t>(c + 1) * columns / across));
            double low = HUGE_VAL;
            uint8_t slot = 0;
            for (int y = r0; y < r1; ++y) {
                for (int x = c0; x < c1; ++x) {
                    const double h = field.Height(x, y);
                    if (h < low) low = h, slot = field.CutBy(x, y);
                }
            }
            const std::size_t i = coarse->Index(c, r);
            heights[i] = low;
            toolSlots[i] = slot;
        }
    }
    return true;
}

}  // namespace cuttrace::cutting
