#include "cylindercolours.h"

#include <array>

namespace {
const std::array<QColor, 4> colours = {
    QColor(0x00, 0x72, 0xb2), // blue
    QColor(0xe6, 0x9f, 0x00), // orange
    QColor(0x00, 0x9e, 0x73), // bluish green
    QColor(0xcc, 0x3d, 0x8f), // reddish purple
};
} // namespace

QColor cylinderColour(int cylinderIndex)
{
    if (cylinderIndex < 0 || cylinderIndex >= int(colours.size()))
        return QColor(Qt::gray);
    return colours[std::size_t(cylinderIndex)];
}

QColor cylinderRawColour(int cylinderIndex)
{
    QColor colour = cylinderColour(cylinderIndex);
    colour.setAlpha(110);
    return colour;
}
