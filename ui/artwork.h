#pragma once

#include <QIcon>
#include <QPixmap>

namespace tervela {

// The About box picture, 123 x 98: a graticule bent around a central
// meridian, the square grid of a projected zone laid over it, and a surveyed
// point.
QPixmap AboutPicture();

// The program's icon, 16 x 16: the same grid and point, small.
QIcon ProgramIcon();

}  // namespace tervela
