#include "deviceprotocol.h"

#include <cstdint>
#include <cstring>

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
    std::uint32_t bits = 0;
    for (int i = kValueSize - 1; i >= 0; --i)
        bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void putFloatLittleEndian(QByteArray &bytes, int offset, float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    char *at = bytes.data() + offset;
    for (int i = 0; i < kValueSize; ++i)
        at[i] = static_cast<char>((bits >> (8 * i)) & 0xFFu);
}
