// The program's icon: a small green circuit board with a net drawn on it.
// The window draws it; the installed PNG and SVG icons are drawn by the same
// code when the program is built.
#pragma once

#include <QIcon>
#include <QImage>

class QPainter;

namespace korvanel::ui {

// The side of the grid the icon is drawn on.
inline constexpr int kProgramIconGrid = 64;

// Draws the icon on a kProgramIconGrid by kProgramIconGrid grid; the painter's
// transformation scales it.
void paintProgramIcon(QPainter& painter);

// The icon as a picture of `size` by `size` pixels, transparent around it.
QImage programIconImage(int size);

QIcon programIcon();

}  // namespace korvanel::ui
