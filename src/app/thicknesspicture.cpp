#include "thicknesspicture.h"

#include "thicknesspicture.xpm"

QImage thicknessPicture()
{
    return QImage(thickness_xpm);
}
