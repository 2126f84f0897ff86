#include "cylindercolours.h"

#include "measure/readings.h"

#include <array>

namespace {
const std::array<QColor, kCylinderCount> colours = {
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

QColor withinToleranceColour()
{
    return QColor(0x2e, 0x9d, 0x3a);
}

QColor outsideToleranceColour()
{
    return QColor(0xd0, 0x2b, 0x20);
}
