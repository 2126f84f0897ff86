#include "deviceprotocol.h"

#include <QtEndian>

WaitingBytes classifyWaitingBytes(qint64 count)
{
    if (count < kFrameSize)
        return WaitingBytes::Incomplete;
    if (count > kFrameSize)
        return WaitingBytes::TooMany;
    return WaitingBytes::Frame;
}

QByteArray pollCommand()
{
    return QByteArrayLiteral("@@");
}

QByteArray encodeSettingsCommand(int innerLoopCount, double lowPassCoefficient)
{
    QByteArray command = QByteArrayLiteral("$$");
    command.resize(kSettingsCommandSize);
    putFloatLittleEndian(command, kInnerLoopCountOffset, static_cast<float>(innerLoopCount));
    putFloatLittleEndian(command, kLowPassCoefficientOffset, toSinglePrecision(lowPassCoefficient));
    return command;
}

MeasurementFrame decodeFrame(const char *bytes)
{
    MeasurementFrame frame;
    for (std::size_t i = 0; i < frame.readings.size(); ++i)
        frame.readings[i] = readFloatLittleEndian(bytes + readingOffset(static_cast<int>(i)));
    frame.cycleTime = readFloatLittleEndian(bytes + kCycleTimeOffset);
    return frame;
}

QByteArray encodeFrame(const MeasurementFrame &frame)
{
    QByteArray bytes(kFrameSize, '\0');
    for (std::size_t i = 0; i < frame.readings.size(); ++i)
        putFloatLittleEndian(bytes, readingOffset(static_cast<int>(i)), frame.readings[i]);
    putFloatLittleEndian(bytes, kCycleTimeOffset, frame.cycleTime);
    return bytes;
}

float readFloatLittleEndian(const char *bytes)
{
    return qFromLittleEndian<float>(bytes);
}

void putFloatLittleEndian(QByteArray &bytes, int offset, float value)
{
    qToLittleEndian(value, bytes.data() + offset);
}
