// The view frame's tool-bar pictures, drawn in code (20 x 20 pixels).
#pragma once

#include <QIcon>

namespace cuttrace::ui {

enum class ViewIcon { Redraw, Reset, ZoomOut, ZoomIn, Fit };

inline constexpr int kViewIconSize = 20;

QIcon MakeViewIcon(ViewIcon kind);
// The three model axes (X red, Y green, Z blue) as view preset n shows them.
QIcon MakePresetViewIcon(int n);

}  // namespace cuttrace::ui
