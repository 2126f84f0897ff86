#include "firmwareboard.h"

#include "boardwire.h"
#include "pressuresensor.h"
#include "pseudoterminal.h"
#include "simulatedmcu.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <chrono>
#include <memory>
#include <vector>

#include <cerrno>
#include <poll.h>
#include <unistd.h>

#ifndef ASPIRELLO_BOARD_SENSOR_KIND
#define ASPIRELLO_BOARD_SENSOR_KIND board::Mpx4115a
#endif

namespace {

// How often the engine's pressures are put onto the inputs: four times
// between two samples of one input.
constexpr std::uint32_t kInputPeriodUs = 250;
// The longest the simulator waits for the line before catching up with
// the clock: it keeps the reply's delay on the line near a millisecond.
constexpr int kLineWaitMs = 1;

} // namespace

FirmwareBoard::FirmwareBoard(const EngineConfig &config, const QString &firmwarePath)
    : engineConfig(config)
    , firmwareFile(firmwarePath.isEmpty() ? defaultFirmwarePath() : firmwarePath)
{
}

FirmwareBoard::~FirmwareBoard()
{
    unplug();
}

QString FirmwareBoard::defaultFirmwarePath()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString built = programDir + QStringLiteral("/firmware/aspirello-board.elf");
    if (QFileInfo::exists(built))
        return built;
    return programDir + QStringLiteral("/../share/aspirello/aspirello-board.hex");
}

std::uint64_t FirmwareBoard::framesSent() const
{
    return bytesSent.load() / board::kFrameSize;
}

bool FirmwareBoard::plugIn()
{
    if (isPluggedIn())
        return true;
    auto mcu = std::make_unique<SimulatedMcu>(firmwareFile.toStdString());
    if (!mcu->ok()) {
        lastError = QString::fromStdString(mcu->error());
        return false;
    }
    if (!terminal.open()) {
        lastError = terminal.errorString();
        return false;
    }
    lastError.clear();
    stopping = false;
    worker = std::thread([this, chip = mcu.release()] {
        std::unique_ptr<SimulatedMcu> owned(chip);
        run(owned.get());
    });
    return true;
}

void FirmwareBoard::unplug()
{
    if (!isPluggedIn())
        return;
    stopping = true;
    worker.join();
    terminal.close();
}

void FirmwareBoard::run(SimulatedMcu *mcu)
{
    const board::SensorType &sensor = board::sensorType(ASPIRELLO_BOARD_SENSOR_KIND);
    EngineModel engine(engineConfig);
    mcu->setInputDriver(
        [&](double seconds) {
            const double air = board::kStandardAtmosphereKpa;
            std::array<double, kCylinderCount> intake{};
            if (seconds >= kHosesOnSeconds)
                intake = engine.pressures(seconds - kHosesOnSeconds);
            for (int input = 0; input < SimulatedMcu::kInputs; ++input)
                mcu->setInputFraction(
                    input, board::supplyFractionAt(sensor, static_cast<float>(air + intake[input])));
        },
        kInputPeriodUs);

    board::CommandReader heard;
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::uint8_t> out;
    while (!stopping) {
        pollfd waiting{terminal.master(), POLLIN, 0};
        ::poll(&waiting, 1, kLineWaitMs);

        std::uint8_t buffer[256];
        const double now =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const std::uint32_t nowUs = static_cast<std::uint32_t>(static_cast<std::uint64_t>(now * 1e6));
        for (;;) {
            const ssize_t n = ::read(terminal.master(), buffer, sizeof buffer);
            if (n <= 0)
                break;
            mcu->send(std::vector<std::uint8_t>(buffer, buffer + n));
            for (ssize_t i = 0; i < n; ++i)
                polls += heard.take(buffer[i], nowUs) == board::CommandReader::Poll ? 1 : 0;
        }

        // In step with the clock, never ahead of it.
        if (!mcu->runUntil(SimulatedMcu::cyclesOf(now)))
            break;
        for (const SimulatedMcu::LineByte &byte : mcu->takeReceived())
            out.push_back(byte.value);
        while (!out.empty()) {
            const ssize_t n = ::write(terminal.master(), out.data(), out.size());
            if (n <= 0)
                break; // nobody reads the line: what it cannot take waits
            out.erase(out.begin(), out.begin() + n);
            bytesSent += static_cast<std::uint64_t>(n);
        }
    }
}
