#include "simulatedmcu.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>

#include <cerrno>
#include <unistd.h>

extern "C" {
#include <simavr/avr_adc.h>
#include <simavr/avr_eeprom.h>
#include <simavr/avr_uart.h>
#include <simavr/sim_avr.h>
#include <simavr/sim_cycle_timers.h>
#include <simavr/sim_elf.h>
#include <simavr/sim_hex.h>
#include <simavr/sim_io.h>
#include <simavr/sim_irq.h>
}

namespace {

constexpr char kUart = '0';
// The EEPROM control register (data address) and its program-enable bit,
// which starts the write of one byte (ATmega328P data sheet, EECR).
constexpr std::uint16_t kEecr = 0x3f;
constexpr std::uint8_t kEepe = 1 << 1;

// The firmware sleeps between interrupts; the simulator would wait that
// long on the wall clock. The caller decides the pace instead.
void sleepNotAtAll(avr_t *, avr_cycle_count_t) { }

// The simulator's own chatter (sections loaded, and the like) stays off
// the program's output; its errors come back through error().
void quietLogger(avr_t *, const int, const char *, va_list) { }

} // namespace

SimulatedMcu::SimulatedMcu(const std::string &path, const std::vector<std::uint8_t> &eeprom)
{
    avr_global_logger_set(quietLogger);
    if (::access(path.c_str(), R_OK) != 0) {
        loadError = "cannot read the firmware " + path + ": " + std::strerror(errno);
        return;
    }
    elf_firmware_t firmware{};
    // An Intel HEX file holds the flash as avrdude writes it; an ELF file
    // the same and more.
    ihex_chunk_p chunks = nullptr;
    const bool hex = path.size() > 4 && path.compare(path.size() - 4, 4, ".hex") == 0;
    if (hex) {
        const int count = read_ihex_chunks(path.c_str(), &chunks);
        if (count != 1 || chunks[0].baseaddr != 0) {
            if (count > 0)
                free_ihex_chunks(chunks);
            loadError = "cannot read the firmware " + path + " (one block of flash from 0)";
            return;
        }
        firmware.flash = chunks[0].data;
        firmware.flashsize = chunks[0].size;
    } else if (elf_read_firmware(path.c_str(), &firmware) != 0) {
        loadError = "cannot read the firmware " + path;
        return;
    }
    avr_t *chip = avr_make_mcu_by_name("atmega328p");
    if (!chip) {
        loadError = "the simulator knows no ATmega328P";
        return;
    }
    if (avr_init(chip) != 0) {
        loadError = "the simulator did not start";
        return;
    }
    avr = chip;
    avr_load_firmware(avr, &firmware);
    if (chunks)
        free_ihex_chunks(chunks);
    avr->frequency = kClockHz;
    avr->vcc = avr->avcc = kSupplyMillivolts;
    // Nothing drives the AREF pin on a Nano or Uno; an odd voltage there
    // makes a firmware that measured against it read wrong.
    avr->aref = kSupplyMillivolts / 2;
    avr->sleep = sleepNotAtAll;

    std::vector<std::uint8_t> contents(kEepromSize, 0xff);
    std::copy_n(eeprom.begin(), std::min(eeprom.size(), contents.size()), contents.begin());
    avr_eeprom_desc_t desc{contents.data(), 0, static_cast<std::uint32_t>(contents.size())};
    avr_ioctl(avr, AVR_IOCTL_EEPROM_SET, &desc);

    // No polling sleeps and no echo of the firmware's output on stdout.
    std::uint32_t flags = 0;
    avr_ioctl(avr, AVR_IOCTL_UART_GET_FLAGS(kUart), &flags);
    flags &= ~static_cast<std::uint32_t>(AVR_UART_FLAG_POLL_SLEEP | AVR_UART_FLAG_STDIO);
    avr_ioctl(avr, AVR_IOCTL_UART_SET_FLAGS(kUart), &flags);

    avr_irq_register_notify(avr_io_getirq(avr, AVR_IOCTL_UART_GETIRQ(kUart), UART_IRQ_OUTPUT),
                            onOutput, this);
    avr_irq_register_notify(avr_io_getirq(avr, AVR_IOCTL_UART_GETIRQ(kUart), UART_IRQ_OUT_XON),
                            onReceiverReady, this);
    avr_irq_register_notify(avr_io_getirq(avr, AVR_IOCTL_ADC_GETIRQ, ADC_IRQ_OUT_TRIGGER),
                            onConversion, this);
    // Watched beside the simulator's own EEPROM, which shares the register.
    avr_register_io_write(avr, kEecr, onEepromControl, this);
    for (int input = 0; input < kInputs; ++input)
        setInputFraction(input, 0.0);
}

SimulatedMcu::~SimulatedMcu()
{
    if (avr)
        avr_terminate(avr);
}

std::string SimulatedMcu::error() const
{
    if (!loadError.empty())
        return loadError;
    if (avr && avr->state == cpu_Crashed)
        return "the firmware crashed";
    if (avr && avr->state == cpu_Done)
        return "the firmware stopped";
    return {};
}

void SimulatedMcu::setInputFraction(int input, double fraction)
{
    if (!avr || input < 0 || input >= kInputs)
        return;
    // The count the chip gives, rounded (its first step is at half a
    // count), then the middle of that count's voltage band in the
    // simulator's scale.
    const double count = std::clamp(std::round(fraction * 1024.0), 0.0, 1023.0);
    const double millivolts = (count + 0.5) * kSupplyMillivolts / 1023.0;
    avr_raise_irq(avr_io_getirq(avr, AVR_IOCTL_ADC_GETIRQ, ADC_IRQ_ADC0 + input),
                  static_cast<std::uint32_t>(millivolts));
}

void SimulatedMcu::setInputDriver(std::function<void(double)> driver, std::uint32_t periodUs)
{
    if (!avr)
        return;
    const bool first = !inputDriver;
    inputDriver = std::move(driver);
    driverPeriodCycles = std::max<std::uint64_t>(1, cyclesOf(periodUs / 1e6));
    inputDriver(seconds());
    if (first)
        avr_cycle_timer_register(avr, driverPeriodCycles, driveInputs, this);
}

std::uint64_t SimulatedMcu::driveInputs(avr_t *, std::uint64_t when, void *self)
{
    auto *mcu = static_cast<SimulatedMcu *>(self);
    mcu->inputDriver(secondsOf(when));
    return when + mcu->driverPeriodCycles;
}

void SimulatedMcu::send(const std::vector<std::uint8_t> &bytes)
{
    toSend.insert(toSend.end(), bytes.begin(), bytes.end());
    scheduleSending();
}

void SimulatedMcu::send(const std::string &bytes)
{
    send(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

void SimulatedMcu::scheduleSending()
{
    if (!avr || sending || toSend.empty())
        return;
    sending = true;
    // A new byte starts when the previous one has ended, not before.
    const std::uint64_t now = avr->cycle;
    const std::uint64_t start = std::max(now, lastSentEnd);
    avr_cycle_timer_register(avr, std::max<std::uint64_t>(1, start - now), sendNext, this);
}

std::uint64_t SimulatedMcu::sendNext(avr_t *avr, std::uint64_t when, void *self)
{
    auto *mcu = static_cast<SimulatedMcu *>(self);
    const std::uint64_t byteCycles = cyclesOf(kByteSeconds);
    if (mcu->toSend.empty()) {
        mcu->sending = false;
        return 0;
    }
    // Bytes that reach a receiver not yet switched on are lost; a real
    // gauge would not talk before the board is up either.
    if (!mcu->receiverReady)
        return when + byteCycles;
    avr_raise_irq(avr_io_getirq(avr, AVR_IOCTL_UART_GETIRQ(kUart), UART_IRQ_INPUT),
                  mcu->toSend.front());
    mcu->toSend.pop_front();
    mcu->lastSentEnd = when + byteCycles;
    if (mcu->toSend.empty()) {
        mcu->sending = false;
        return 0;
    }
    return when + byteCycles;
}

void SimulatedMcu::onOutput(avr_irq_t *, std::uint32_t value, void *self)
{
    auto *mcu = static_cast<SimulatedMcu *>(self);
    mcu->received.push_back({static_cast<std::uint8_t>(value), mcu->avr->cycle});
}

void SimulatedMcu::onReceiverReady(avr_irq_t *, std::uint32_t, void *self)
{
    static_cast<SimulatedMcu *>(self)->receiverReady = true;
}

void SimulatedMcu::onConversion(avr_irq_t *, std::uint32_t value, void *self)
{
    // The converter announces each conversion with its multiplexer setting,
    // the bits of its avr_adc_mux_t.
    avr_adc_mux_t mux{};
    std::memcpy(&mux, &value, std::min(sizeof mux, sizeof value));
    const unsigned input = mux.src;
    if (mux.kind == ADC_MUX_SINGLE && input < kInputs)
        ++static_cast<SimulatedMcu *>(self)->conversions[input];
}

void SimulatedMcu::onEepromControl(avr_t *, std::uint16_t, std::uint8_t value, void *self)
{
    if (value & kEepe)
        ++static_cast<SimulatedMcu *>(self)->eepromWrites;
}

std::uint64_t SimulatedMcu::conversionsOf(int input) const
{
    return input >= 0 && input < kInputs ? conversions[input] : 0;
}

std::vector<SimulatedMcu::LineByte> SimulatedMcu::takeReceived()
{
    std::vector<LineByte> taken;
    taken.swap(received);
    return taken;
}

bool SimulatedMcu::runUntil(std::uint64_t target)
{
    if (!ok())
        return false;
    while (avr->cycle < target) {
        const int state = avr_run(avr);
        if (state == cpu_Done || state == cpu_Crashed)
            return false;
    }
    return true;
}

bool SimulatedMcu::runFor(double seconds)
{
    return avr && runUntil(avr->cycle + cyclesOf(seconds));
}

bool SimulatedMcu::runUntilReceived(std::size_t count, double timeoutSeconds)
{
    if (!avr)
        return false;
    const std::uint64_t deadline = avr->cycle + cyclesOf(timeoutSeconds);
    // In steps of about one byte time, so that it stops soon after.
    const std::uint64_t step = cyclesOf(kByteSeconds / 4);
    while (received.size() < count && avr->cycle < deadline) {
        if (!runUntil(std::min(deadline, avr->cycle + step)))
            return false;
    }
    return received.size() >= count;
}

std::uint64_t SimulatedMcu::cycle() const
{
    return avr ? avr->cycle : 0;
}

double SimulatedMcu::seconds() const
{
    return secondsOf(cycle());
}

std::uint64_t SimulatedMcu::cyclesOf(double seconds)
{
    return static_cast<std::uint64_t>(std::llround(seconds * kClockHz));
}

double SimulatedMcu::secondsOf(std::uint64_t cycles)
{
    return static_cast<double>(cycles) / kClockHz;
}

std::vector<std::uint8_t> SimulatedMcu::eeprom() const
{
    std::vector<std::uint8_t> contents(kEepromSize, 0xff);
    if (!avr)
        return contents;
    avr_eeprom_desc_t desc{contents.data(), 0, static_cast<std::uint32_t>(kEepromSize)};
    avr_ioctl(avr, AVR_IOCTL_EEPROM_GET, &desc);
    return contents;
}
