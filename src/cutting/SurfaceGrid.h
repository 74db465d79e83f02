// The vertex grid shared by the picture and the STL surface: a vertex at each cell centre,
// plus a ring of vertices on the stock's edges that take the height of the nearest cell, so
// that the surface covers the whole stock and encloses the height field's volume.
#pragma once

#include "cutting/HeightField.h"

namespace cuttrace::cutting {

struct SurfaceGrid {
    const HeightField& field;

    int Columns() const { return field.Columns() + 2; }  // vertices along X
    int Rows() const { return field.Rows() + 2; }
    double X(int i) const {
        return i == 0                ? field.Box().low.x
               : i > field.Columns() ? field.Box().high.x
                                     : field.CentreX(i - 1);
    }
    double Y(int j) const {
        return j == 0             ? field.Box().low.y
               : j > field.Rows() ? field.Box().high.y
                                  : field.CentreY(j - 1);
    }
    // The cell whose height vertex (i, j) takes.
    int CellColumn(int i) const {
        return i == 0 ? 0 : i > field.Columns() ? field.Columns() - 1 : i - 1;
    }
    int CellRow(int j) const { return j == 0 ? 0 : j > field.Rows() ? field.Rows() - 1 : j - 1; }
    double Z(int i, int j) const { return field.Height(CellColumn(i), CellRow(j)); }
};

}  // namespace cuttrace::cutting
