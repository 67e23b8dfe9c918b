#pragma once

#include <QIcon>
#include <QPixmap>

namespace tervela {

// The About box picture, 123 x 98: a graticule bent around a central
// meridian, the square grid of a projected zone laid over it, and a surveyed
// point.
QPixmap AboutPicture();

// The program's icon (icons/tervela.svg) at each of its rendered sizes: a
// zone's grid, its central meridian and a surveyed point.
QIcon ProgramIcon();

}  // namespace tervela
