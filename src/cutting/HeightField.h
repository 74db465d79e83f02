// The stock as a height field (a Z-map): one top height per cell of a regular grid over the
// stock's XY rectangle, measured at the cell's centre.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Point3.h"

namespace cuttrace::cutting {

struct StockBox {
    Point3 low;   // X0, Y0, Z0 (Z0 is the bottom)
    Point3 high;  // X1, Y1, Z1 (Z1 is the top)

    // False, with a message, for a box without width, depth or height or with a value that
    // is not finite.
    bool Check(std::string* error) const;
};

// Reads "X0,Y0,Z0,X1,Y1,Z1" (corners in any order).
bool ParseStockBox(std::string_view text, StockBox* box, std::string* error);

class HeightField {
  public:
    static constexpr int kDefaultResolution = 1000;
    // At most this many cells along the longer side (16 million cells, about 150 MB).
    static constexpr int kMaxResolution = 4000;

    // Sets up the grid: `resolution` cells along the longer side of the box, as many of the
    // same size along the other (at least one). Returns false with a message when the box
    // is unusable or the memory cannot be had; a resolution above the limit is lowered to
    // it with a note in *note.
    bool Reset(const StockBox& box, int resolution, std::string* error, std::string* note);

    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    double CellWidth() const { return cellWidth_; }    // along X
    double CellHeight() const { return cellHeight_; }  // along Y
    double InverseCellWidth() const { return inverseCellWidth_; }
    const StockBox& Box() const { return box_; }
    double Top() const { return box_.high.z; }
    double Bottom() const { return box_.low.z; }

    double CentreX(int column) const { return box_.low.x + (column + 0.5) * cellWidth_; }
    double CentreY(int row) const { return box_.low.y + (row + 0.5) * cellHeight_; }

    // Cells are stored in square tiles of kTile x kTile, so that a motion's neighbourhood
    // lies in few cache lines and pages. The storage holds whole tiles; the cells past the
    // last column or row are never cut.
    static constexpr int kTileShift = 4;
    static constexpr int kTile = 1 << kTileShift;
    std::size_t Index(int column, int row) const {
        const auto tile = static_cast<std::size_t>(row >> kTileShift) * tilesAcross_ +
                          static_cast<std::size_t>(column >> kTileShift);
        return tile << (2 * kTileShift) |
               static_cast<std::size_t>(((row & (kTile - 1)) << kTileShift) |
                                        (column & (kTile - 1)));
    }
    // The tile of a cell, and of a cell's index.
    std::size_t TileOf(int column, int row) const {
        return static_cast<std::size_t>(row >> kTileShift) * tilesAcross_ +
               static_cast<std::size_t>(column >> kTileShift);
    }
    static std::size_t TileOfIndex(std::size_t index) { return index >> (2 * kTileShift); }
    // A height no cell of the tile is above. Heights are only ever lowered, so the bound
    // stays true; a tile whose cells were lowered since (MarkLowered) has its bound
    // tightened to its highest cell here. Not safe against a concurrent call for the same
    // tile: each tile belongs to one worker.
    double TileBound(std::size_t tile) {
        if (tileLowered_[tile]) Tighten(tile);
        return tileBound_[tile];
    }
    uint8_t* TileLoweredFlags() { return tileLowered_.data(); }

    double Height(int column, int row) const { return heights_[Index(column, row)]; }
    // The tool slot that cut the cell last; 0 when it is uncut.
    uint8_t CutBy(int column, int row) const { return cutBy_[Index(column, row)]; }

    double* Heights() { return heights_.data(); }
    uint8_t* CutBySlots() { return cutBy_.data(); }
    // All stored heights, by Index (tiles included).
    const std::vector<double>& HeightValues() const { return heights_; }

    // Volume of material left: the sum over cells of (height - bottom) times the cell area.
    double Volume() const;
    std::size_t MemoryBytes() const {
        return heights_.capacity() * sizeof(double) + cutBy_.capacity() +
               tileBound_.capacity() * sizeof(double) + tileLowered_.capacity();
    }

  private:
    void Tighten(std::size_t tile);

    StockBox box_;
    int columns_ = 0;
    int rows_ = 0;
    std::size_t tilesAcross_ = 0;
    double cellWidth_ = 0.0;
    double cellHeight_ = 0.0;
    double inverseCellWidth_ = 0.0;
    std::vector<double> heights_;
    std::vector<uint8_t> cutBy_;
    std::vector<double> tileBound_;
    std::vector<uint8_t> tileLowered_;
};

// Where two fields on the same grid differ most, and in how many cells by more than the
// tolerance.
struct FieldDifference {
    double largest = 0.0;
    int column = -1;  // of the largest difference; -1 when none
    int row = -1;
    int64_t differing = 0;
};
FieldDifference CompareFields(const HeightField& a, const HeightField& b, double tolerance);

// The field with `cells` cells along its longer side, each the lowest height (and the tool
// that cut it) of the field's cells it covers, into *coarse; false, writing nothing, when
// cells is not fewer than the field has or the coarse grid cannot be set up.
bool CoarsenField(const HeightField& field, int cells, HeightField* coarse);

}  // namespace cuttrace::cutting
