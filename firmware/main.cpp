// Aspirello's measuring board: an ATmega328P at 16 MHz (Arduino Nano or
// Uno) with four absolute pressure sensors on A0..A3, speaking the gauge's
// protocol on its USB serial line at kBaudRate baud 8N1.
//
// This file is the thin layer that touches the chip (each part says which
// section of the ATmega328P data sheet it follows); what the board computes
// lives in the shared board logic, which the desktop builds and tests too.
//
// Timing: Timer1 ticks every 250 us and starts one conversion per tick,
// the inputs in turn, so each input is sampled every millisecond (1 kHz).
// The ADC interrupt sums the samples of a cycle; the main loop turns each
// finished cycle into pressures and the frame the next poll gets. Polls and
// replies are handled in the UART's interrupts, so a reply starts within
// microseconds of a poll and never waits for a cycle to end. No heap.

#include "boardsettings.h"
#include "boardwire.h"
#include "pressuresensor.h"
#include "storedstate.h"

#include <avr/eeprom.h>
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/sleep.h>
#include <avr/wdt.h>
#include <string.h>
#include <util/atomic.h>

#ifndef BOARD_SENSOR
#define BOARD_SENSOR Mpx4115a
#endif

namespace {

using namespace board;

const SensorType &kSensor = sensorType(BOARD_SENSOR);

// USART0 at normal speed: the baud rate divides the clock by 16 * (UBRR + 1),
// rounded to the nearest divisor (UBRR 25 at 16 MHz, +0.16 %).
constexpr uint16_t kUbrr = (F_CPU + 8 * kBaudRate) / (16 * kBaudRate) - 1;

// 16-bit Timer/Counter1 in CTC mode with the clock divided by 8: two
// counts a microsecond, a compare match every 500 counts.
constexpr uint16_t kTimerCountsPerUs = F_CPU / 8 / 1000000;
constexpr uint16_t kTimerCountsPerTick = 500;
constexpr uint16_t kTickUs = kTimerCountsPerTick / kTimerCountsPerUs;
constexpr uint8_t kInputs = kCylinders;

// The first cycle after power-on is half a second of sample sets: the
// atmosphere of each sensor, measured with the engine off.
constexpr uint16_t kAtmosphereSampleSets = 500;

// The stored state's record lies at the start of the EEPROM.
uint8_t *eepromAddress(uint8_t offset)
{
    return reinterpret_cast<uint8_t *>(static_cast<uintptr_t>(offset));
}

// --- Shared between the interrupts and the main loop -------------------

volatile uint32_t ticks;

// A finished cycle, handed from the ADC interrupt to the main loop.
struct CycleEnd
{
    InnerLoop<uint32_t> samples;
    uint16_t lowest[kInputs];
    uint16_t highest[kInputs];
    uint32_t startUs;
    uint32_t endUs;
};
CycleEnd finished;
volatile bool cycleFinished;
// Sample sets per cycle from the next cycle on; the first is the atmosphere's.
volatile uint16_t nextCycleLength = kDefaultInnerLoopCount;

Settings settings;
volatile bool settingsChanged;

// The frame the next poll gets: zeros until the first cycle after the
// atmosphere has been measured.
uint8_t latestFrame[kFrameSize];

// --- Interrupt side -----------------------------------------------------

// Microseconds since power-on (wraps after 71 minutes); interrupts off.
uint32_t nowUs()
{
    uint32_t t = ticks;
    const uint16_t counts = TCNT1;
    // A compare match the tick interrupt has not counted yet.
    if ((TIFR1 & _BV(OCF1A)) && counts < kTimerCountsPerTick / 2)
        ++t;
    return t * kTickUs + counts / kTimerCountsPerUs;
}

ISR(TIMER1_COMPA_vect)
{
    ++ticks;
    // Writing ADIF back as 1 would clear a conversion's pending interrupt.
    ADCSRA = (ADCSRA & ~_BV(ADIF)) | _BV(ADSC);
}

// Analog-to-Digital Converter: reference AVcc, so that the ratiometric
// sensors read the same counts whatever the supply; clock 16 MHz / 128 =
// 125 kHz, a conversion takes 104 us (the first 200 us), within one tick.
uint8_t convertingInput;
InnerLoop<uint32_t> cycle;
uint16_t lowest[kInputs];
uint16_t highest[kInputs];
uint16_t cycleLength = kAtmosphereSampleSets;
uint32_t cycleStartUs;

void selectInput(uint8_t input)
{
    ADMUX = _BV(REFS0) | input;
}

void restartCycle()
{
    cycle.restart();
    for (uint8_t i = 0; i < kInputs; ++i) {
        lowest[i] = 0xffff;
        highest[i] = 0;
    }
}

ISR(ADC_vect)
{
    const uint16_t count = ADC;
    const uint8_t input = convertingInput;
    convertingInput = input + 1 < kInputs ? input + 1 : 0;
    // Takes effect at the next conversion; this one is done.
    selectInput(convertingInput);

    cycle.addSample(input, count);
    if (count < lowest[input])
        lowest[input] = count;
    if (count > highest[input])
        highest[input] = count;
    if (input + 1 < kInputs || !cycle.endSampleSet(cycleLength))
        return;

    const uint32_t now = nowUs();
    finished.samples = cycle;
    memcpy(finished.lowest, lowest, sizeof lowest);
    memcpy(finished.highest, highest, sizeof highest);
    finished.startUs = cycleStartUs;
    finished.endUs = now;
    cycleFinished = true;
    cycleStartUs = now;
    cycleLength = nextCycleLength;
    restartCycle();
}

// The reply being sent, byte by byte from the UART's data-register-empty
// interrupt; polls that come meanwhile are owed and answered after it.
CommandReader reader;
uint8_t reply[kFrameSize];
uint8_t replyAt;
bool replying;
uint8_t repliesOwed;

void startReply()
{
    memcpy(reply, latestFrame, kFrameSize);
    replyAt = 0;
    replying = true;
    UCSR0B |= _BV(UDRIE0);
}

ISR(USART_RX_vect)
{
    const bool framingError = UCSR0A & _BV(FE0);
    const uint8_t byte = UDR0;
    if (framingError)
        return; // noise on the line, not a byte the gauge sent
    switch (reader.take(byte, nowUs())) {
    case CommandReader::Poll:
        if (!replying)
            startReply();
        else if (repliesOwed < 0xff)
            ++repliesOwed;
        break;
    case CommandReader::SettingsCommand:
        settings =
            applySettingsCommand(settings, reader.innerLoopCount(), reader.lowPassCoefficient());
        nextCycleLength = settings.innerLoopCount;
        settingsChanged = true;
        break;
    case CommandReader::None:
        break;
    }
}

ISR(USART_UDRE_vect)
{
    UDR0 = reply[replyAt++];
    if (replyAt < kFrameSize)
        return;
    if (repliesOwed > 0) {
        --repliesOwed;
        startReply();
    } else {
        UCSR0B &= ~_BV(UDRIE0);
        replying = false;
    }
}

// --- Main loop side -------------------------------------------------------

StoredState stored;
float atmosphere[kInputs];
bool atmosphereKnown;
LowPassFilter filter;

// The EEPROM takes 3.3 ms per byte: the record is written a
// byte at a time from the main loop, only the bytes that differ, so that
// neither polls nor cycles wait and unchanged settings cost no wear.
uint8_t wantedRecord[kStoredRecordSize];
uint8_t persistAt = kStoredRecordSize;

void persist()
{
    encodeStoredState(stored, wantedRecord);
    persistAt = 0;
}

void persistStep()
{
    if (persistAt >= kStoredRecordSize || !eeprom_is_ready())
        return;
    uint8_t *const address = eepromAddress(persistAt);
    if (eeprom_read_byte(address) != wantedRecord[persistAt])
        eeprom_write_byte(address, wantedRecord[persistAt]);
    ++persistAt;
}

float kpaAt(uint16_t count)
{
    return absoluteKpaFromCount(kSensor, count);
}

void takeAtmosphere(const CycleEnd &end)
{
    bool keep = false;
    for (uint8_t i = 0; i < kInputs; ++i) {
        const Atmosphere air = chooseAtmosphere(absoluteKpaFromCount(kSensor, end.samples.mean(i)),
                                                kpaAt(end.lowest[i]), kpaAt(end.highest[i]),
                                                stored.atmosphere[i]);
        atmosphere[i] = air.kpa;
        if (air.measured && atmosphereWorthKeeping(stored.atmosphere[i], air.kpa)) {
            stored.atmosphere[i] = air.kpa;
            keep = true;
        }
    }
    atmosphereKnown = true;
    if (keep)
        persist();
}

void takeCycle(const CycleEnd &end, float coefficient)
{
    float means[kInputs];
    for (uint8_t i = 0; i < kInputs; ++i)
        means[i] = absoluteKpaFromCount(kSensor, end.samples.mean(i)) - atmosphere[i];
    filter.step(means, coefficient);

    float readings[kInputs];
    for (uint8_t i = 0; i < kInputs; ++i)
        readings[i] = filter.output(i);
    uint8_t frame[kFrameSize];
    encodeFrame(readings, (end.endUs - end.startUs) / 1000.0f, frame);
    ATOMIC_BLOCK(ATOMIC_RESTORESTATE)
    {
        memcpy(latestFrame, frame, kFrameSize);
    }
}

void setUpHardware()
{
    UBRR0 = kUbrr;
    UCSR0C = _BV(UCSZ01) | _BV(UCSZ00); // 8 data bits, no parity, 1 stop bit
    UCSR0B = _BV(RXEN0) | _BV(TXEN0) | _BV(RXCIE0);

    selectInput(0);
    DIDR0 = 0x0f; // A0..A3 are analog only: no digital input buffer
    ADCSRA = _BV(ADEN) | _BV(ADIE) | _BV(ADPS2) | _BV(ADPS1) | _BV(ADPS0);

    OCR1A = kTimerCountsPerTick - 1;
    TCCR1A = 0;
    TCCR1B = _BV(WGM12) | _BV(CS11); // CTC on OCR1A, clock / 8
    TIMSK1 = _BV(OCIE1A);
}

} // namespace

// After a watchdog reset the watchdog stays on: turn it off before the C
// runtime's start-up, which could outlast its period.
extern "C" void disableWatchdogEarly() __attribute__((naked, used, section(".init3")));
void disableWatchdogEarly()
{
    MCUSR = 0;
    wdt_disable();
}

int main()
{
    uint8_t record[kStoredRecordSize];
    eeprom_read_block(record, eepromAddress(0), kStoredRecordSize);
    stored = decodeStoredState(record);
    settings = stored.settings;
    nextCycleLength = settings.innerLoopCount;
    restartCycle();

    setUpHardware();
    // The main loop runs at least at every tick; stalled, it restarts the board.
    wdt_enable(WDTO_250MS);
    set_sleep_mode(SLEEP_MODE_IDLE);
    sei();

    for (;;) {
        wdt_reset();
        if (cycleFinished) {
            CycleEnd end;
            float coefficient;
            ATOMIC_BLOCK(ATOMIC_RESTORESTATE)
            {
                end = finished;
                cycleFinished = false;
                coefficient = settings.lowPassCoefficient;
            }
            if (atmosphereKnown)
                takeCycle(end, coefficient);
            else
                takeAtmosphere(end);
        }
        if (settingsChanged) {
            ATOMIC_BLOCK(ATOMIC_RESTORESTATE)
            {
                stored.settings = settings;
                settingsChanged = false;
            }
            persist();
        }
        persistStep();

        // Sleep until the next interrupt, unless one has left work already.
        cli();
        if (!cycleFinished && !settingsChanged) {
            sleep_enable();
            sei();
            sleep_cpu();
            sleep_disable();
        }
        sei();
    }
}
