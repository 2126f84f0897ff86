// The board's firmware, the very ELF that is flashed, in a simulated
// ATmega328P: its readings, its power-on atmosphere, its settings and their
// keeping, and how it reads the line and answers.

#include "firmwarebench.h"
#include "storedstate.h"

extern "C" {
#include <simavr/sim_avr.h>
}

#include <QtTest>

#include <cmath>
#include <limits>
#include <vector>

Q_DECLARE_METATYPE(board::SensorKind)

namespace {

constexpr double kStandardAir = 101.3;

QString describe(const MeasurementFrame &frame)
{
    return QStringLiteral("%1 %2 %3 %4 / %5 ms")
        .arg(frame.readings[0])
        .arg(frame.readings[1])
        .arg(frame.readings[2])
        .arg(frame.readings[3])
        .arg(frame.cycleTime);
}

// A cycle time as the board's timer measures it: to a microsecond or so.
bool nearMs(float got, float expected)
{
    return std::fabs(got - expected) < 0.002f;
}

// Runs the board long enough for a settings change and the low-pass to
// have settled, then polls.
MeasurementFrame settledFrame(FirmwareBench &bench, double seconds = 0.5)
{
    bench.mcu.runFor(seconds);
    MeasurementFrame frame;
    if (!bench.poll(frame))
        frame.cycleTime = std::numeric_limits<float>::quiet_NaN();
    return frame;
}

std::vector<std::uint8_t> eepromWith(const board::StoredState &state)
{
    std::vector<std::uint8_t> eeprom(SimulatedMcu::kEepromSize, 0xff);
    board::encodeStoredState(state, eeprom.data());
    return eeprom;
}

} // namespace

class TestFirmware : public QObject
{
    Q_OBJECT

private slots:
    void firmwareLoads();
    void readingsOfKnownPressures_data();
    void readingsOfKnownPressures();
    void powerOnAtmosphere_data();
    void powerOnAtmosphere();
    void innerLoopCountSetsTheCycleTime_data();
    void innerLoopCountSetsTheCycleTime();
    void lowPassFollowsItsRecursion_data();
    void lowPassFollowsItsRecursion();
    void settingsSurviveAPowerCycle();
    void damagedEepromGivesTheDefaults_data();
    void damagedEepromGivesTheDefaults();
    void commandStreams_data();
    void commandStreams();
    void backToBackPollsGetOneFrameEach();
    void nothingIsSentUnasked();
    void replyStartsWithinAMillisecond();
    void watchdogRestartsAStalledBoard();
};

// The ELF and the HEX file avrdude flashes (which the installed programs
// run) are the same program: the same bytes for the same inputs.
void TestFirmware::firmwareLoads()
{
    for (const board::SensorKind kind : {board::Mpx4115a, board::Mpx4250ap}) {
        std::string replies[2];
        for (const char *extension : {".elf", ".hex"}) {
            std::string path = firmwareFor(kind);
            path.replace(path.size() - 4, 4, extension);
            SimulatedMcu mcu(path);
            QVERIFY2(mcu.ok(), mcu.error().c_str());
            for (int input = 0; input < 4; ++input)
                mcu.setInputFraction(input, 0.7 - 0.1 * input);
            mcu.runFor(FirmwareBench::kPastAtmosphereSeconds);
            for (int input = 0; input < 4; ++input)
                mcu.setInputFraction(input, 0.6 - 0.05 * input);
            mcu.runFor(0.1);
            mcu.send(std::string("@@"));
            QVERIFY(mcu.runUntilReceived(kFrameSize, 0.05));
            replies[extension[1] == 'h'] = FirmwareBench::lineText(mcu.takeReceived());
        }
        QCOMPARE(replies[0].size(), std::size_t(kFrameSize));
        QCOMPARE(replies[1], replies[0]);
    }
    QVERIFY(!SimulatedMcu(std::string(FIRMWARE_DIR) + "/no-such-board.elf").ok());
}

void TestFirmware::readingsOfKnownPressures_data()
{
    QTest::addColumn<board::SensorKind>("kind");
    QTest::addColumn<double>("air");
    QTest::addColumn<double>("intake");

    for (const board::SensorKind kind : {board::Mpx4115a, board::Mpx4250ap}) {
        const auto row = [kind](const char *what) {
            return &QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(
                QLatin1String(board::sensorType(kind).name), QLatin1String(what))));
        };
        *row("no vacuum") << kind << kStandardAir << 0.0;
        *row("idle") << kind << kStandardAir << -25.4;
        *row("deep vacuum") << kind << kStandardAir << -70.0;
        *row("above the air") << kind << kStandardAir << 3.2;
        *row("high in the mountains") << kind << 78.0 << -40.7;
    }
}

// Each input reads its own pressure relative to the air it was powered on
// in, within one count of the converter, cylinders 1 to 4 on A0 to A3.
void TestFirmware::readingsOfKnownPressures()
{
    QFETCH(board::SensorKind, kind);
    QFETCH(double, air);
    QFETCH(double, intake);

    FirmwareBench bench(kind);
    QVERIFY(bench.powerOnIn(air));
    const double spread[] = {0.0, -1.9, -4.3, 1.1};
    for (int input = 0; input < 4; ++input)
        bench.setAbsolute(input, air + intake + spread[input]);

    const MeasurementFrame frame = settledFrame(bench);
    const double count = board::kpaPerCount(bench.sensor);
    for (int input = 0; input < 4; ++input) {
        const double expected = intake + spread[input];
        const double got = frame.readings[static_cast<std::size_t>(input)];
        QVERIFY2(std::fabs(got - expected) <= count,
                 qPrintable(QStringLiteral("cylinder %1: %2 kPa, expected %3 within %4")
                                .arg(input + 1)
                                .arg(got)
                                .arg(expected)
                                .arg(count)));
    }
    QVERIFY2(nearMs(frame.cycleTime, 10.0f), qPrintable(describe(frame)));
}

void TestFirmware::powerOnAtmosphere_data()
{
    QTest::addColumn<QString>("atPowerOn"); // per input: s steady, p pulsing
    QTest::addColumn<double>("air");
    QTest::addColumn<double>("keptAir");        // from an earlier power-on; 0 for none
    QTest::addColumn<QVector<double>>("taken"); // the atmosphere each input should use

    const auto all = [](double kpa) { return QVector<double>(4, kpa); };
    QTest::newRow("engine off") << "ssss" << kStandardAir << 0.0 << all(kStandardAir);
    QTest::newRow("engine off, low air") << "ssss" << 91.7 << 0.0 << all(91.7);
    QTest::newRow("engine off, a kept air is not used") << "ssss" << 99.0 << 95.0 << all(99.0);
    QTest::newRow("engine running, nothing kept") << "pppp" << 97.0 << 0.0 << all(kStandardAir);
    QTest::newRow("engine running, kept air") << "pppp" << 97.0 << 95.5 << all(95.5);
    QTest::newRow("one hose already on")
        << "ssps" << 99.0 << 0.0 << QVector<double>{99.0, 99.0, kStandardAir, 99.0};
    // Steady but no air a board could be in: a sensor not connected reads
    // about nothing, a blocked one might read anything.
    QTest::newRow("implausibly low") << "ssss" << 55.0 << 0.0 << all(kStandardAir);
    QTest::newRow("implausibly high, kept air") << "ssss" << 112.0 << 96.0 << all(96.0);
}

// The half second after power-on gives each sensor its atmosphere, when it
// is steady and plausible; otherwise the last good one, or 101.3 kPa.
void TestFirmware::powerOnAtmosphere()
{
    QFETCH(QString, atPowerOn);
    QFETCH(double, air);
    QFETCH(double, keptAir);
    QFETCH(QVector<double>, taken);

    std::vector<std::uint8_t> eeprom;
    if (keptAir > 0.0) {
        // An earlier power-on, engine off, in that air.
        FirmwareBench earlier;
        QVERIFY(earlier.powerOnIn(keptAir));
        QVERIFY(earlier.mcu.runFor(0.2)); // the EEPROM takes a few ms a byte
        eeprom = earlier.mcu.eeprom();
    }

    FirmwareBench bench(board::Mpx4115a, eeprom);
    // An idling engine pulses a few kPa around its vacuum at some 10 Hz
    // per intake; a steady sensor sees only the air.
    bench.mcu.setInputDriver(
        [&](double seconds) {
            for (int input = 0; input < 4; ++input) {
                const bool pulsing = atPowerOn.at(input) == QLatin1Char('p');
                const double pulse = 4.0 * std::sin(2 * M_PI * 9.0 * seconds + input);
                bench.setAbsolute(input, pulsing ? air - 30.0 + pulse : air);
            }
        },
        250);
    QVERIFY(bench.mcu.runFor(FirmwareBench::kPastAtmosphereSeconds));

    // Then steady pressures, read against the atmosphere taken.
    const double intake = -20.0;
    bench.mcu.setInputDriver([&](double) { bench.setAllAbsolute(air + intake); }, 1000);
    const MeasurementFrame frame = settledFrame(bench);
    for (int input = 0; input < 4; ++input) {
        const double expected = air + intake - taken[input];
        const double got = frame.readings[static_cast<std::size_t>(input)];
        QVERIFY2(std::fabs(got - expected) <= board::kpaPerCount(bench.sensor),
                 qPrintable(QStringLiteral("cylinder %1: %2 kPa, expected %3")
                                .arg(input + 1)
                                .arg(got)
                                .arg(expected)));
    }
}

void TestFirmware::innerLoopCountSetsTheCycleTime_data()
{
    QTest::addColumn<float>("count");
    QTest::addColumn<float>("cycleTime");
    QTest::newRow("1") << 1.0f << 1.0f;
    QTest::newRow("10") << 10.0f << 10.0f;
    QTest::newRow("40") << 40.0f << 40.0f;
    QTest::newRow("12.6 rounds up") << 12.6f << 13.0f;
    QTest::newRow("1000") << 1000.0f << 1000.0f;
    QTest::newRow("5000 clamped") << 5000.0f << 1000.0f;
    QTest::newRow("0 clamped") << 0.0f << 1.0f;
    QTest::newRow("NaN keeps 10") << std::numeric_limits<float>::quiet_NaN() << 10.0f;
}

// One sample set a millisecond: the cycle the frame reports, measured by
// the board's timer, lasts the inner-loop count in ms.
void TestFirmware::innerLoopCountSetsTheCycleTime()
{
    QFETCH(float, count);
    QFETCH(float, cycleTime);

    FirmwareBench bench;
    QVERIFY(bench.powerOnIn(kStandardAir));
    bench.mcu.send(settingsBytes(count, 0.5f));
    const MeasurementFrame frame = settledFrame(bench, 2.5 * cycleTime / 1000.0 + 0.05);
    // Within a microsecond of the timer, which it reads in half microseconds.
    QVERIFY2(nearMs(frame.cycleTime, cycleTime), qPrintable(describe(frame)));
}

void TestFirmware::lowPassFollowsItsRecursion_data()
{
    QTest::addColumn<float>("coefficient");
    QTest::newRow("1 passes") << 1.0f;
    QTest::newRow("0.9") << 0.9f;
    QTest::newRow("0.5") << 0.5f;
    QTest::newRow("0.1") << 0.1f;
    QTest::newRow("0 freezes") << 0.0f;
}

// After a step of the pressure, each cycle takes the coefficient's share of
// what is left: y += a * (mean - y).
void TestFirmware::lowPassFollowsItsRecursion()
{
    QFETCH(float, coefficient);

    FirmwareBench bench;
    QVERIFY(bench.powerOnIn(kStandardAir));
    bench.mcu.send(settingsBytes(10.0f, coefficient));
    bench.setAllAbsolute(kStandardAir - 10.0);
    const MeasurementFrame before = settledFrame(bench, 2.0);
    if (coefficient == 0.0f) {
        // Frozen at the first cycle after power-on, whatever comes later.
        QVERIFY2(std::fabs(before.readings[0]) < 0.2f, qPrintable(describe(before)));
    } else {
        QVERIFY2(std::fabs(before.readings[0] + 10.0f) < 0.2f, qPrintable(describe(before)));
    }

    // The step, then a poll every 2.5 ms: each cycle's output once.
    const double target = -30.0;
    bench.setAllAbsolute(kStandardAir + target);
    std::vector<float> outputs;
    for (int i = 0; i < 40; ++i) {
        MeasurementFrame frame;
        QVERIFY(bench.poll(frame));
        if (outputs.empty() || frame.readings[0] != outputs.back())
            outputs.push_back(frame.readings[0]);
        bench.mcu.runFor(0.0025);
    }
    // The frame before the step, one cycle that mixes both pressures, then
    // the recursion on the new one.
    if (coefficient == 0.0f) {
        QCOMPARE(outputs.size(), std::size_t(1));
        return;
    }
    if (coefficient == 1.0f) {
        QVERIFY(outputs.size() <= 3);
        QVERIFY(std::fabs(outputs.back() - target) <= board::kpaPerCount(bench.sensor));
        return;
    }
    QVERIFY2(outputs.size() >= 5, qPrintable(QString::number(outputs.size())));
    // The target as the converter has it: the new pressure's count.
    const double mean = before.readings[0] - 20.0;
    for (std::size_t k = 3; k < 5; ++k) {
        const double expected = mean + (1.0 - coefficient) * (outputs[k - 1] - mean);
        QVERIFY2(
            std::fabs(outputs[k] - expected) < 0.12,
            qPrintable(
                QStringLiteral("cycle %1: %2, expected %3").arg(k).arg(outputs[k]).arg(expected)));
    }
}

// The settings sent are there again after the power has been off; only
// bytes that change are written, so sending the same again, or powering on
// in the same air, wears the EEPROM not at all.
void TestFirmware::settingsSurviveAPowerCycle()
{
    std::vector<std::uint8_t> eeprom;
    {
        FirmwareBench bench;
        QVERIFY(bench.powerOnIn(kStandardAir));
        // A blank EEPROM: the whole record, with the atmosphere measured.
        QVERIFY(bench.mcu.runFor(0.3));
        const std::uint64_t recordWrites = bench.mcu.eepromWritesStarted();
        QCOMPARE(recordWrites, std::uint64_t(board::kStoredRecordSize));
        bench.mcu.send(settingsBytes(40.0f, 0.25f));
        QVERIFY(bench.mcu.runFor(0.3));
        // Only the bytes that changed: the count's low byte, the
        // coefficient's top two, the checksum's two.
        const std::uint64_t settingsWrites = bench.mcu.eepromWritesStarted() - recordWrites;
        QVERIFY2(settingsWrites > 0 && settingsWrites <= 6,
                 qPrintable(QString::number(settingsWrites)));
        // The same again wears nothing.
        bench.mcu.send(settingsBytes(40.0f, 0.25f));
        bench.mcu.send(settingsBytes(40.4f, 0.25f));
        QVERIFY(bench.mcu.runFor(0.3));
        QCOMPARE(bench.mcu.eepromWritesStarted(), recordWrites + settingsWrites);
        eeprom = bench.mcu.eeprom();
        const board::StoredState kept = board::decodeStoredState(eeprom.data());
        QCOMPARE(kept.settings.innerLoopCount, std::uint16_t(40));
        QCOMPARE(kept.settings.lowPassCoefficient, 0.25f);
        QVERIFY(std::fabs(kept.atmosphere[2] - kStandardAir) < 0.2);
    }

    FirmwareBench bench(board::Mpx4115a, eeprom);
    QVERIFY(bench.powerOnIn(kStandardAir));
    const MeasurementFrame frame = settledFrame(bench, 0.2);
    QVERIFY2(nearMs(frame.cycleTime, 40.0f), qPrintable(describe(frame)));
    // The same air as before: nothing to write at power-on either.
    QCOMPARE(bench.mcu.eepromWritesStarted(), std::uint64_t(0));
}

void TestFirmware::damagedEepromGivesTheDefaults_data()
{
    QTest::addColumn<QByteArray>("eeprom");

    board::StoredState state = board::defaultStoredState();
    state.settings = {40, 0.25f};
    const std::vector<std::uint8_t> good = eepromWith(state);
    const auto bytes = [](const std::vector<std::uint8_t> &v) {
        return QByteArray(reinterpret_cast<const char *>(v.data()), static_cast<int>(v.size()));
    };

    QTest::newRow("blank") << QByteArray();
    QTest::newRow("all zeros") << QByteArray(SimulatedMcu::kEepromSize, '\0');
    for (const int at : {0, 3, 6, 12, 24}) {
        QByteArray flipped = bytes(good);
        flipped[at] = static_cast<char>(flipped[at] ^ 0x10);
        QTest::newRow(qPrintable(QStringLiteral("bit flipped in byte %1").arg(at))) << flipped;
    }
    // A record the board would never write, with a good checksum.
    board::StoredState zeroCount = state;
    zeroCount.settings.innerLoopCount = 0;
    QTest::newRow("inner loop count 0") << bytes(eepromWith(zeroCount));
}

void TestFirmware::damagedEepromGivesTheDefaults()
{
    QFETCH(QByteArray, eeprom);
    FirmwareBench bench(board::Mpx4115a, std::vector<std::uint8_t>(eeprom.begin(), eeprom.end()));
    QVERIFY(bench.powerOnIn(kStandardAir));
    const MeasurementFrame frame = settledFrame(bench, 0.2);
    QVERIFY2(nearMs(frame.cycleTime, 10.0f), qPrintable(describe(frame)));
    // A sound record is written again, with the defaults.
    QVERIFY(bench.mcu.runFor(0.2));
    const board::StoredState kept = board::decodeStoredState(bench.mcu.eeprom().data());
    QCOMPARE(kept.settings.innerLoopCount, std::uint16_t(10));
    QVERIFY(std::fabs(kept.atmosphere[0] - kStandardAir) < 0.2);
}

void TestFirmware::commandStreams_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<int>("frames");
    QTest::addColumn<float>("cycleTime"); // after the stream

    const auto settings = [](float count) {
        const std::string bytes = settingsBytes(count, 0.5f);
        return QByteArray(bytes.data(), static_cast<int>(bytes.size()));
    };
    const QByteArray forty = settings(40.0f);

    QTest::newRow("poll") << QByteArray("@@") << 0 << QByteArray() << 1 << 10.0f;
    QTest::newRow("garbage around a poll")
        << QByteArray("\x00\xff xyz@", 7) << 0 << QByteArray("@\r\n#!") << 1 << 10.0f;
    QTest::newRow("lone marks") << QByteArray("@x$y@") << 0 << QByteArray("@") << 1 << 10.0f;
    QTest::newRow("three marks, one poll") << QByteArray("@@@") << 0 << QByteArray() << 1 << 10.0f;
    QTest::newRow("four marks, two polls") << QByteArray("@@@@") << 0 << QByteArray() << 2 << 10.0f;
    QTest::newRow("poll split by a pause") << QByteArray("@") << 30 << QByteArray("@") << 1 << 10.0f;
    QTest::newRow("a dollar before a poll") << QByteArray("$@@") << 0 << QByteArray() << 1 << 10.0f;
    QTest::newRow("settings") << forty << 0 << QByteArray() << 0 << 40.0f;
    QTest::newRow("settings after garbage") << "zz@" + forty << 0 << QByteArray() << 0 << 40.0f;
    QTest::newRow("settings split within 20 ms") << forty.left(6) << 12 << forty.mid(6) << 0 << 40.0f;
    // 3.0 is 00 00 40 40: a poll's bytes inside the values are values.
    QTest::newRow("values that look like a poll") << settings(3.0f) << 0 << QByteArray() << 0 << 3.0f;
    QTest::newRow("truncated settings, then a poll")
        << forty.left(9) << 25 << QByteArray("@@") << 1 << 10.0f;
    QTest::newRow("settings split too long") << forty.left(6) << 25 << forty.mid(6) << 0 << 10.0f;
    QTest::newRow("truncated settings, then settings")
        << forty.left(5) << 25 << settings(20.0f) << 0 << 20.0f;
    QTest::newRow("polls around settings") << "@@" + forty << 0 << QByteArray("@@") << 2 << 40.0f;
}

// Stray bytes are skipped, a poll anywhere is answered, settings take
// effect, and settings whose values do not all come within 20 ms are
// dropped without swallowing what comes after.
void TestFirmware::commandStreams()
{
    QFETCH(QByteArray, first);
    QFETCH(int, pauseMs);
    QFETCH(QByteArray, second);
    QFETCH(int, frames);
    QFETCH(float, cycleTime);

    FirmwareBench bench;
    QVERIFY(bench.powerOnIn(kStandardAir));
    bench.mcu.send(first.toStdString());
    QVERIFY(bench.mcu.runFor((first.size() * 0.26 + pauseMs) / 1000.0));
    bench.mcu.send(second.toStdString());
    QVERIFY(bench.mcu.runFor(0.3));

    const std::string got = FirmwareBench::lineText(bench.mcu.takeReceived());
    QCOMPARE(got.size(), static_cast<std::size_t>(frames * kFrameSize));
    for (int i = 0; i < frames; ++i)
        QVERIFY(nearMs(decodeFrame(got.data() + i * kFrameSize).cycleTime, 10.0f));

    MeasurementFrame frame;
    QVERIFY(bench.poll(frame));
    QVERIFY2(nearMs(frame.cycleTime, cycleTime), qPrintable(describe(frame)));
}

// Polls faster than replies can go out are owed, not lost: each gets one
// whole frame, one after the other.
void TestFirmware::backToBackPollsGetOneFrameEach()
{
    FirmwareBench bench;
    QVERIFY(bench.powerOnIn(kStandardAir));
    bench.setAllAbsolute(kStandardAir - 12.0);
    bench.mcu.runFor(0.3);

    const int polls = 30;
    std::string burst;
    for (int i = 0; i < polls; ++i)
        burst += "@@";
    bench.mcu.send(burst);
    QVERIFY(bench.mcu.runUntilReceived(polls * kFrameSize, 1.0));
    bench.mcu.runFor(0.05);
    const std::vector<SimulatedMcu::LineByte> bytes = bench.mcu.takeReceived();
    QCOMPARE(bytes.size(), std::size_t(polls * kFrameSize));
    const std::string text = FirmwareBench::lineText(bytes);
    for (int i = 0; i < polls; ++i) {
        const MeasurementFrame frame = decodeFrame(text.data() + i * kFrameSize);
        QVERIFY2(nearMs(frame.cycleTime, 10.0f), qPrintable(describe(frame)));
        QVERIFY2(std::fabs(frame.readings[3] + 12.0f) < 0.2f, qPrintable(describe(frame)));
    }
    // Back to back: the line does not idle between the frames any longer
    // than between the bytes of one frame (the simulator's UART sends a
    // little slower than the chip's).
    const std::uint64_t byteCycles = bytes[1].cycle - bytes[0].cycle;
    QVERIFY(byteCycles >= SimulatedMcu::cyclesOf(SimulatedMcu::kByteSeconds));
    for (std::size_t i = 1; i < bytes.size(); ++i)
        QVERIFY2(bytes[i].cycle - bytes[i - 1].cycle <= byteCycles + byteCycles / 20,
                 qPrintable(QStringLiteral("byte %1: %2 cycles after the one before, a byte is %3")
                                .arg(i)
                                .arg(bytes[i].cycle - bytes[i - 1].cycle)
                                .arg(byteCycles)));
}

// Powered, measuring and given settings, the board stays silent until polled.
void TestFirmware::nothingIsSentUnasked()
{
    FirmwareBench bench;
    bench.mcu.setInputDriver(
        [&](double seconds) { bench.setAllAbsolute(80.0 + 5.0 * std::sin(60.0 * seconds)); }, 500);
    QVERIFY(bench.mcu.runFor(1.0));
    bench.mcu.send(settingsBytes(1.0f, 0.1f));
    QVERIFY(bench.mcu.runFor(2.0));
    QCOMPARE(bench.mcu.receivedCount(), std::size_t(0));
}

// The reply carries the last finished cycle and never waits for one: it
// starts within a millisecond of the poll's last byte, whatever the cycle
// length and wherever in a cycle the poll comes.
void TestFirmware::replyStartsWithinAMillisecond()
{
    FirmwareBench bench;
    QVERIFY(bench.powerOnIn(kStandardAir));
    bench.mcu.send(settingsBytes(1000.0f, 0.5f));
    bench.mcu.runFor(0.01);
    double worstMs = 0.0;
    for (int i = 0; i < 40; ++i) {
        bench.mcu.runFor(0.0137 * (i % 7) + 0.001);
        bench.mcu.send(std::string("@@"));
        QVERIFY(bench.mcu.runUntilReceived(kFrameSize, 0.05));
        const std::vector<SimulatedMcu::LineByte> bytes = bench.mcu.takeReceived();
        const double ms = SimulatedMcu::secondsOf(bytes.front().cycle - bench.mcu.lastSentEndCycle())
            * 1000.0;
        worstMs = std::max(worstMs, ms);
        bench.mcu.runFor(0.01);
        bench.mcu.takeReceived();
    }
    QVERIFY2(worstMs < 1.0, qPrintable(QString::number(worstMs)));
}

// A main loop that stops resetting the watchdog (here: its "wdr"
// instructions turned into no-ops in the simulated flash) restarts the
// board within a quarter second: it measures its atmosphere afresh, and
// its frames carry no cycle meanwhile.
void TestFirmware::watchdogRestartsAStalledBoard()
{
    FirmwareBench bench;
    QVERIFY(bench.powerOnIn(kStandardAir));
    MeasurementFrame frame;
    QVERIFY(bench.poll(frame));
    QVERIFY(nearMs(frame.cycleTime, 10.0f));

    avr_t *chip = bench.mcu.simulator();
    const std::uint8_t wdr[] = {0xa8, 0x95};
    int patched = 0;
    for (std::uint32_t at = 0; at + 1 <= chip->flashend; at += 2) {
        if (chip->flash[at] == wdr[0] && chip->flash[at + 1] == wdr[1]) {
            chip->flash[at] = chip->flash[at + 1] = 0; // nop
            ++patched;
        }
    }
    QVERIFY(patched > 0);
    QVERIFY(bench.mcu.runFor(0.1));
    QVERIFY(bench.poll(frame));
    QVERIFY2(nearMs(frame.cycleTime, 10.0f), "not restarted before its time");
    QVERIFY(bench.mcu.runFor(0.2));
    QVERIFY(bench.poll(frame));
    QCOMPARE(frame.cycleTime, 0.0f);
}

QTEST_APPLESS_MAIN(TestFirmware)
#include "test_firmware.moc"
