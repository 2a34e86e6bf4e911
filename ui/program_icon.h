// The program's icon: a small green circuit board with a net drawn on it.
#pragma once

#include <QIcon>

namespace korvanel::ui {

QIcon programIcon();

}  // namespace korvanel::ui
