#ifndef FIRMWAREBOARD_H
#define FIRMWAREBOARD_H

#include "enginemodel.h"
#include "pseudoterminal.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <thread>

// The board's real firmware on a pseudo-terminal: the program that is
// flashed onto a Nano runs in a simulated ATmega328P, in step with the wall clock,
// its four sensors fed by the simulated engine through the sensor's
// transfer function, and its UART offered as portName(), like the simulated
// board. The board is powered on with its hoses off, in the standard
// atmosphere; the hoses go onto the engine a second later. The simulator
// runs in a thread of its own, stopped by unplug() or the destructor.
class FirmwareBoard
{
public:
    // The hoses go on this long after power-on, once the board has
    // measured the atmosphere.
    static constexpr double kHosesOnSeconds = 1.0;

    // firmwarePath empty: defaultFirmwarePath().
    explicit FirmwareBoard(const EngineConfig &config = EngineConfig(),
                           const QString &firmwarePath = QString());
    ~FirmwareBoard();
    FirmwareBoard(const FirmwareBoard &) = delete;
    FirmwareBoard &operator=(const FirmwareBoard &) = delete;

    // Loads the firmware, opens a pseudo-terminal and powers the board on;
    // false, with errorString(), if either failed.
    bool plugIn();
    // Stops the simulator and closes the line.
    void unplug();
    bool isPluggedIn() const { return worker.joinable(); }
    QString portName() const { return terminal.path(); }
    QString errorString() const { return lastError; }

    // What has crossed the line so far: polls the board was sent, whole
    // frames it sent back.
    std::uint64_t pollsReceived() const { return polls.load(); }
    std::uint64_t framesSent() const;

    // The firmware of the programs: beside the program in the build tree
    // (firmware/aspirello-board.elf), else the one installed to flash
    // (../share/aspirello/aspirello-board.hex).
    static QString defaultFirmwarePath();

private:
    void run(class SimulatedMcu *mcu);

    EngineConfig engineConfig;
    QString firmwareFile;
    PseudoTerminal terminal;
    QString lastError;
    std::thread worker;
    std::atomic<bool> stopping{false};
    std::atomic<std::uint64_t> polls{0};
    std::atomic<std::uint64_t> bytesSent{0};
};

#endif // FIRMWAREBOARD_H
