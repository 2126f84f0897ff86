#ifndef SIMULATEDMCU_H
#define SIMULATEDMCU_H

#include "boardwire.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct avr_t;

// The board's ATmega328P at 16 MHz in the simavr simulator, running the
// very firmware that is flashed onto a real board (its ELF file, or the
// Intel HEX file avrdude writes). The caller sets the
// voltages on A0..A3, exchanges bytes with the UART at the timing of the
// board's line, and advances simulated time; idle time (the firmware
// sleeping between interrupts) costs no wall time, so it runs faster than
// real time unless the caller paces it. Not thread-safe: one thread drives
// it.
class SimulatedMcu
{
public:
    static constexpr std::uint32_t kClockHz = 16'000'000;
    static constexpr std::uint32_t kSupplyMillivolts = 5000;
    static constexpr int kInputs = board::kCylinders;
    static constexpr std::size_t kEepromSize = 1024;
    // One byte on the line.
    static constexpr double kByteSeconds = double(board::kBitsPerByte) / board::kBaudRate;

    struct LineByte
    {
        std::uint8_t value;
        std::uint64_t cycle; // when it started on the line
    };

    // Loads the firmware (.elf or .hex) and powers the chip on with the
    // given EEPROM contents (an empty one is blank, all 0xff). See ok() and
    // error().
    explicit SimulatedMcu(const std::string &path, const std::vector<std::uint8_t> &eeprom = {});
    ~SimulatedMcu();
    SimulatedMcu(const SimulatedMcu &) = delete;
    SimulatedMcu &operator=(const SimulatedMcu &) = delete;

    bool ok() const { return avr != nullptr && error().empty(); }
    // Why the chip could not be loaded, or why it stopped.
    std::string error() const;

    // The voltage on input 0..3 (A0..A3), as a fraction of the 5 V supply
    // that is also the converter's reference (AVcc). The simulator's
    // converter scales by 1023 where the chip's scales by 1024 (ATmega328P
    // data sheet, ADC conversion result); the voltage is chosen so that the
    // simulated converter gives the count the chip would.
    void setInputFraction(int input, double fraction);
    // Called every periodUs of simulated time with the simulated seconds,
    // to set the inputs from a model of what the sensors see.
    void setInputDriver(std::function<void(double seconds)> driver, std::uint32_t periodUs);

    // Queues bytes for the board's receiver; they go one byte time apart,
    // behind those already queued, once the receiver is on.
    void send(const std::vector<std::uint8_t> &bytes);
    void send(const std::string &bytes);
    // Bytes queued that have not yet gone onto the line.
    std::size_t bytesToSend() const { return toSend.size(); }
    // When the last byte sent so far has fully arrived (its stop bit).
    std::uint64_t lastSentEndCycle() const { return lastSentEnd; }

    // Every byte the board has sent and the caller has not taken yet.
    std::vector<LineByte> takeReceived();
    std::size_t receivedCount() const { return received.size(); }

    // Advances simulated time; false if the chip stopped (see error()).
    bool runFor(double seconds);
    bool runUntil(std::uint64_t cycle);
    // Runs until at least count bytes have been received, at most
    // timeoutSeconds of simulated time; false if they did not come.
    bool runUntilReceived(std::size_t count, double timeoutSeconds);

    std::uint64_t cycle() const;
    double seconds() const;
    static std::uint64_t cyclesOf(double seconds);
    static double secondsOf(std::uint64_t cycles);

    // Conversions the converter has started on each input so far.
    std::uint64_t conversionsOf(int input) const;

    // Writes of an EEPROM byte the firmware has started so far.
    std::uint64_t eepromWritesStarted() const { return eepromWrites; }

    // The EEPROM as the board left it, for the next power-on.
    std::vector<std::uint8_t> eeprom() const;

    // The simulator itself, for what this class does not offer (a test
    // that damages the program in flash, say).
    avr_t *simulator() const { return avr; }

private:
    static void onOutput(struct avr_irq_t *irq, std::uint32_t value, void *self);
    static void onReceiverReady(struct avr_irq_t *irq, std::uint32_t value, void *self);
    static void onConversion(struct avr_irq_t *irq, std::uint32_t value, void *self);
    static void onEepromControl(avr_t *avr, std::uint16_t address, std::uint8_t value, void *self);
    static std::uint64_t sendNext(avr_t *avr, std::uint64_t when, void *self);
    static std::uint64_t driveInputs(avr_t *avr, std::uint64_t when, void *self);
    void scheduleSending();

    avr_t *avr = nullptr;
    std::string loadError;
    std::deque<std::uint8_t> toSend;
    bool receiverReady = false;
    bool sending = false;
    std::uint64_t lastSentEnd = 0;
    std::vector<LineByte> received;
    std::function<void(double)> inputDriver;
    std::uint64_t driverPeriodCycles = 0;
    std::uint64_t conversions[kInputs] = {};
    std::uint64_t eepromWrites = 0;
};

#endif // SIMULATEDMCU_H
