#ifndef FRAMES_H
#define FRAMES_H

#include "deviceprotocol.h"

#include <QByteArray>

#include <limits>

// Frames for tests, through the program's own encoder and decoder: the
// protocol test checks those against bytes written out by hand.

// The bytes of one frame: four readings and the cycle time.
inline QByteArray frameBytes(const CylinderValues &readings, float cycleTime)
{
    return encodeFrame({readings, cycleTime});
}

// The values of bytes that should be one whole frame; every value NaN when
// they are not (a short read), so that a comparison fails rather than reads
// past the end.
inline MeasurementFrame decodedFrame(const QByteArray &bytes)
{
    if (bytes.size() < kFrameSize) {
        const float nan = std::numeric_limits<float>::quiet_NaN();
        return {{nan, nan, nan, nan}, nan};
    }
    return decodeFrame(bytes.constData());
}

#endif // FRAMES_H
