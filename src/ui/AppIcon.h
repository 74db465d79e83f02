// The pictures of the viewer, drawn in code so the program needs no image plug-in: the
// program's icon and the tool bar's glyphs.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "ui/MainToolBar.h"

namespace cuttrace::ui {

// A work piece with a bolt circle of holes and a tool path around it, size x size pixels.
QPixmap ProgramPicture(int size);
// The program's icon in the usual sizes.
QIcon AppIcon();

// A 20 x 20 tool bar glyph.
QIcon ToolIcon(Tool tool);

}  // namespace cuttrace::ui
