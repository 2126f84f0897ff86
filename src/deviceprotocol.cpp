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
    command.reserve(kSettingsCommandSize);
    appendFloatLittleEndian(command, static_cast<float>(innerLoopCount));
    appendFloatLittleEndian(command, toSinglePrecision(lowPassCoefficient));
    return command;
}

MeasurementFrame decodeFrame(const char *bytes)
{
    MeasurementFrame frame;
    for (std::size_t i = 0; i < frame.readings.size(); ++i)
        frame.readings[i] = readFloatLittleEndian(bytes + 4 * i);
    frame.cycleTime = readFloatLittleEndian(bytes + 16);
    return frame;
}

QByteArray encodeFrame(const MeasurementFrame &frame)
{
    QByteArray bytes;
    bytes.reserve(kFrameSize);
    for (const float reading : frame.readings)
        appendFloatLittleEndian(bytes, reading);
    appendFloatLittleEndian(bytes, frame.cycleTime);
    return bytes;
}

float readFloatLittleEndian(const char *bytes)
{
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void appendFloatLittleEndian(QByteArray &bytes, float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i)
        bytes.append(static_cast<char>((bits >> (8 * i)) & 0xFFu));
}
