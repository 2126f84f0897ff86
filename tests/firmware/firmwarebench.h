#ifndef FIRMWAREBENCH_H
#define FIRMWAREBENCH_H

// The board's firmware, the ELF that is flashed, in a simulated ATmega328P:
// sensors set to absolute pressures through the sensor's transfer function,
// commands on the line at 38400 baud, frames decoded as the gauge decodes
// them. Simulated time only: nothing here waits on the wall clock.

#include "boardwire.h"
#include "deviceprotocol.h"
#include "pressuresensor.h"
#include "simulatedmcu.h"

#include <QString>

#include <array>
#include <string>
#include <vector>

// The firmware built for each sensor type.
inline std::string firmwareFor(board::SensorKind kind)
{
    return std::string(FIRMWARE_DIR)
        + (kind == board::Mpx4250ap ? "/aspirello-board-mpx4250ap.elf"
                                    : "/aspirello-board-mpx4115a.elf");
}

// The settings command as the gauge sends it, from any two values.
inline std::string settingsBytes(float innerLoopCount, float lowPassCoefficient)
{
    std::string bytes(2 + 2 * board::kValueSize, board::kSettingsMark);
    board::putFloat(reinterpret_cast<std::uint8_t *>(&bytes[2]), innerLoopCount);
    board::putFloat(reinterpret_cast<std::uint8_t *>(&bytes[2 + board::kValueSize]),
                    lowPassCoefficient);
    return bytes;
}

struct FirmwareBench
{
    explicit FirmwareBench(board::SensorKind kind = board::Mpx4115a,
                           const std::vector<std::uint8_t> &eeprom = {})
        : mcu(firmwareFor(kind), eeprom)
        , sensor(board::sensorType(kind))
        , kind(kind)
    {
    }

    void setAbsolute(int input, double kpa)
    {
        mcu.setInputFraction(input, board::supplyFractionAt(sensor, static_cast<float>(kpa)));
    }
    void setAllAbsolute(double kpa)
    {
        for (int input = 0; input < SimulatedMcu::kInputs; ++input)
            setAbsolute(input, kpa);
    }

    // Powers on with every sensor in the given air and runs past the
    // half second in which the board measures it.
    bool powerOnIn(double atmosphereKpa)
    {
        setAllAbsolute(atmosphereKpa);
        return mcu.runFor(kPastAtmosphereSeconds);
    }

    // Sends one poll and takes what comes back within timeoutSeconds; true
    // if it was exactly one frame, then decoded into frame.
    bool poll(MeasurementFrame &frame, double timeoutSeconds = 0.05)
    {
        mcu.send(std::string("@@"));
        mcu.runUntilReceived(static_cast<std::size_t>(kFrameSize), timeoutSeconds);
        // Anything beyond the frame would arrive within a byte time.
        mcu.runFor(2 * SimulatedMcu::kByteSeconds);
        const std::vector<SimulatedMcu::LineByte> bytes = mcu.takeReceived();
        if (bytes.size() != static_cast<std::size_t>(kFrameSize))
            return false;
        frame = decodeFrame(lineText(bytes).data());
        return true;
    }

    static std::string lineText(const std::vector<SimulatedMcu::LineByte> &bytes)
    {
        std::string text;
        for (const SimulatedMcu::LineByte &byte : bytes)
            text += static_cast<char>(byte.value);
        return text;
    }

    // Past the board's first half second and its first cycles.
    static constexpr double kPastAtmosphereSeconds = 0.7;

    SimulatedMcu mcu;
    const board::SensorType &sensor;
    board::SensorKind kind;
};

#endif // FIRMWAREBENCH_H
