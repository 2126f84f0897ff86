// The board's logic on the desktop, without a chip: how it reads the line,
// the frame's bytes, its settings' rounding, its EEPROM record and its
// choice of atmosphere. (How the simulated board's frames follow the
// settings is checked in the simulated board's own tests.)

#include "boardsettings.h"
#include "boardwire.h"
#include "pressuresensor.h"
#include "storedstate.h"

#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(board::SensorKind)

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// One byte of a stream and the time it arrives; "@@" at 0 ms and 1 ms is
// {{'@', 0}, {'@', 1000}}.
struct TimedByte
{
    std::uint8_t byte;
    std::uint32_t us;
};

// A run of bytes one byte time (260 us) apart, from startUs on.
QVector<TimedByte> run(const QByteArray &bytes, std::uint32_t startUs)
{
    QVector<TimedByte> timed;
    for (int i = 0; i < bytes.size(); ++i)
        timed.append(
            {static_cast<std::uint8_t>(bytes[i]), startUs + 260u * static_cast<std::uint32_t>(i)});
    return timed;
}

QByteArray settings(float count, float coefficient)
{
    QByteArray bytes(2 + 2 * board::kValueSize, '$');
    board::putFloat(reinterpret_cast<std::uint8_t *>(bytes.data()) + 2, count);
    board::putFloat(reinterpret_cast<std::uint8_t *>(bytes.data()) + 2 + board::kValueSize,
                    coefficient);
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(QVector<TimedByte>)

class TestBoardLogic : public QObject
{
    Q_OBJECT

private slots:
    void commandReader_data();
    void commandReader();
    void settingsValuesAsTheyCame();
    void frameBytes();
    void settingsRounding_data();
    void settingsRounding();
    void storedStateRoundTrip();
    void storedStateRejectsDamage_data();
    void storedStateRejectsDamage();
    void crcCheckValue();
    void transferFunctions_data();
    void transferFunctions();
    void atmosphereChoice_data();
    void atmosphereChoice();
};

void TestBoardLogic::commandReader_data()
{
    QTest::addColumn<QVector<TimedByte>>("stream");
    QTest::addColumn<QString>("commands"); // one letter per command: P poll, S settings

    const QByteArray s = settings(40.0f, 0.25f);
    QTest::newRow("poll") << run("@@", 0) << "P";
    QTest::newRow("polls back to back") << run("@@@@@@", 0) << "PPP";
    QTest::newRow("odd mark left over") << run("@@@", 0) << "P";
    QTest::newRow("garbage between the marks") << run("@x@", 0) << "";
    QTest::newRow("garbage skipped") << run("xx\r\n@@yy@@", 0) << "PP";
    QTest::newRow("poll after a lone dollar") << run("$@@", 0) << "P";
    QTest::newRow("settings") << run(s, 0) << "S";
    QTest::newRow("settings then poll") << run(s + "@@", 0) << "SP";
    QTest::newRow("poll marks as values") << run(settings(3.0f, 3.0f), 0) << "S";
    QTest::newRow("settings at the wrap of the clock") << run(s, 0xffffff00u) << "S";
    QTest::newRow("poll split a long while") << run("@", 0) + run("@", 5000000) << "P";
    QTest::newRow("settings split within 20 ms") << run(s.left(4), 0) + run(s.mid(4), 17000) << "S";
    QTest::newRow("settings split beyond 20 ms") << run(s.left(4), 0) + run(s.mid(4), 21000) << "";
    QTest::newRow("truncated settings, poll after 20 ms")
        << run(s.left(9), 0) + run("@@", 22000) << "P";
    QTest::newRow("truncated settings, settings after 20 ms")
        << run(s.left(3), 0) + run(s, 30000) << "S";
    // Within the 20 ms nothing tells a poll from two value bytes.
    QTest::newRow("a quick poll completes truncated settings") << run(s.left(8) + "@@", 0) << "S";
}

void TestBoardLogic::commandReader()
{
    QFETCH(QVector<TimedByte>, stream);
    QFETCH(QString, commands);

    board::CommandReader reader;
    QString got;
    for (const TimedByte &b : stream) {
        switch (reader.take(b.byte, b.us)) {
        case board::CommandReader::Poll:
            got += QLatin1Char('P');
            break;
        case board::CommandReader::SettingsCommand:
            got += QLatin1Char('S');
            break;
        case board::CommandReader::None:
            break;
        }
    }
    QCOMPARE(got, commands);
}

void TestBoardLogic::settingsValuesAsTheyCame()
{
    board::CommandReader reader;
    const QByteArray bytes = settings(12.5f, kNaN);
    board::CommandReader::Command last = board::CommandReader::None;
    for (const TimedByte &b : run(bytes, 100))
        last = reader.take(b.byte, b.us);
    QCOMPARE(last, board::CommandReader::SettingsCommand);
    QCOMPARE(reader.innerLoopCount(), 12.5f);
    QVERIFY(std::isnan(reader.lowPassCoefficient()));
}

// The gauge's own example of a frame, byte for byte.
void TestBoardLogic::frameBytes()
{
    const float readings[] = {-20.5f, -21.25f, -19.75f, -20.0f};
    std::uint8_t frame[board::kFrameSize];
    board::encodeFrame(readings, 15.0f, frame);
    const QByteArray expected = QByteArray::fromHex("0000a4c10000aac100009ec10000a0c100007041");
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(frame), board::kFrameSize), expected);
}

void TestBoardLogic::settingsRounding_data()
{
    QTest::addColumn<float>("count");
    QTest::addColumn<float>("coefficient");
    QTest::addColumn<int>("expectedCount");
    QTest::addColumn<float>("expectedCoefficient");

    // From 20 / 0.25, so that a kept value shows.
    QTest::newRow("just below a half") << 1.4999999f << 0.5f << 1 << 0.5f;
    QTest::newRow("a half rounds up") << 1.5f << 0.5f << 2 << 0.5f;
    QTest::newRow("largest below 2.5") << std::nextafter(2.5f, 0.0f) << 0.5f << 2 << 0.5f;
    QTest::newRow("999.5") << 999.5f << 0.5f << 1000 << 0.5f;
    QTest::newRow("999.49") << 999.49f << 0.5f << 999 << 0.5f;
    QTest::newRow("negative zero count") << -0.0f << 0.5f << 1 << 0.5f;
    QTest::newRow("smallest coefficient") << 10.0f << 1e-45f << 10 << 1e-45f;
    QTest::newRow("infinite coefficient kept")
        << 10.0f << std::numeric_limits<float>::infinity() << 10 << 0.25f;
    QTest::newRow("negative infinite count kept")
        << -std::numeric_limits<float>::infinity() << 0.75f << 20 << 0.75f;
}

void TestBoardLogic::settingsRounding()
{
    QFETCH(float, count);
    QFETCH(float, coefficient);
    QFETCH(int, expectedCount);
    QFETCH(float, expectedCoefficient);

    const board::Settings start{20, 0.25f};
    const board::Settings got = board::applySettingsCommand(start, count, coefficient);
    QCOMPARE(int(got.innerLoopCount), expectedCount);
    QCOMPARE(got.lowPassCoefficient, expectedCoefficient);
}

void TestBoardLogic::storedStateRoundTrip()
{
    board::StoredState state = board::defaultStoredState();
    QCOMPARE(state.settings.innerLoopCount, std::uint16_t(10));
    QCOMPARE(state.settings.lowPassCoefficient, 0.5f);
    state.settings = {1000, 0.03125f};
    state.atmosphere[0] = 98.25f;
    state.atmosphere[3] = 60.0f;

    std::uint8_t record[board::kStoredRecordSize];
    board::encodeStoredState(state, record);
    const board::StoredState back = board::decodeStoredState(record);
    QCOMPARE(back.settings.innerLoopCount, std::uint16_t(1000));
    QCOMPARE(back.settings.lowPassCoefficient, 0.03125f);
    QCOMPARE(back.atmosphere[0], 98.25f);
    QVERIFY(std::isnan(back.atmosphere[1]));
    QVERIFY(std::isnan(back.atmosphere[2]));
    QCOMPARE(back.atmosphere[3], 60.0f);
}

void TestBoardLogic::storedStateRejectsDamage_data()
{
    QTest::addColumn<QByteArray>("record");

    board::StoredState state = board::defaultStoredState();
    state.settings = {40, 0.25f};
    state.atmosphere[1] = 97.0f;
    QByteArray good(board::kStoredRecordSize, '\0');
    board::encodeStoredState(state, reinterpret_cast<std::uint8_t *>(good.data()));

    QTest::newRow("blank") << QByteArray(board::kStoredRecordSize, '\xff');
    QTest::newRow("zeros") << QByteArray(board::kStoredRecordSize, '\0');
    for (int at = 0; at < board::kStoredRecordSize; ++at) {
        QByteArray damaged = good;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x01);
        QTest::newRow(qPrintable(QStringLiteral("low bit of byte %1").arg(at))) << damaged;
    }
    const auto sealed = [](board::StoredState s) {
        QByteArray record(board::kStoredRecordSize, '\0');
        board::encodeStoredState(s, reinterpret_cast<std::uint8_t *>(record.data()));
        return record;
    };
    board::StoredState bad = state;
    bad.settings.innerLoopCount = 1001;
    QTest::newRow("count beyond 1000, sound CRC") << sealed(bad);
    bad = state;
    bad.settings.lowPassCoefficient = kNaN;
    QTest::newRow("coefficient NaN, sound CRC") << sealed(bad);
    bad.settings.lowPassCoefficient = 1.5f;
    QTest::newRow("coefficient 1.5, sound CRC") << sealed(bad);
}

// Whatever is wrong, the board starts from 10 and 0.5 with no kept air.
void TestBoardLogic::storedStateRejectsDamage()
{
    QFETCH(QByteArray, record);
    const board::StoredState got =
        board::decodeStoredState(reinterpret_cast<const std::uint8_t *>(record.constData()));
    QCOMPARE(got.settings.innerLoopCount, std::uint16_t(10));
    QCOMPARE(got.settings.lowPassCoefficient, 0.5f);
    for (float air : got.atmosphere)
        QVERIFY(std::isnan(air));
}

void TestBoardLogic::crcCheckValue()
{
    // The published check value of CRC-16/CCITT-FALSE.
    QCOMPARE(board::crc16(reinterpret_cast<const std::uint8_t *>("123456789"), 9),
             std::uint16_t(0x29b1));
}

void TestBoardLogic::transferFunctions_data()
{
    QTest::addColumn<board::SensorKind>("kind");
    QTest::addColumn<double>("kpa");
    QTest::addColumn<double>("fraction"); // of the supply, from the data sheet's formula
    QTest::addColumn<double>("kpaPerCount");

    QTest::newRow("MPX4115A at sea level") << board::Mpx4115a << 101.3 << 0.8167 << 0.1085;
    QTest::newRow("MPX4115A at its bottom") << board::Mpx4115a << 15.0 << 0.04 << 0.1085;
    QTest::newRow("MPX4115A at its top") << board::Mpx4115a << 115.0 << 0.94 << 0.1085;
    QTest::newRow("MPX4250AP at sea level") << board::Mpx4250ap << 101.3 << 0.3652 << 0.2441;
    QTest::newRow("MPX4250AP at its bottom") << board::Mpx4250ap << 20.0 << 0.04 << 0.2441;
}

void TestBoardLogic::transferFunctions()
{
    QFETCH(board::SensorKind, kind);
    QFETCH(double, kpa);
    QFETCH(double, fraction);
    QFETCH(double, kpaPerCount);

    const board::SensorType &sensor = board::sensorType(kind);
    QVERIFY(std::fabs(board::supplyFractionAt(sensor, static_cast<float>(kpa)) - fraction) < 1e-4);
    QVERIFY(std::fabs(board::kpaPerCount(sensor) - kpaPerCount) < 1e-4);
    // The count for that fraction reads back as the pressure.
    const float count = static_cast<float>(fraction * board::kAdcSteps);
    QVERIFY(std::fabs(board::absoluteKpaFromCount(sensor, count) - kpa) < 0.02);
}

void TestBoardLogic::atmosphereChoice_data()
{
    QTest::addColumn<float>("mean");
    QTest::addColumn<float>("lowest");
    QTest::addColumn<float>("highest");
    QTest::addColumn<float>("lastGood");
    QTest::addColumn<float>("expected");
    QTest::addColumn<bool>("measured");

    QTest::newRow("steady") << 99.0f << 98.5f << 99.5f << kNaN << 99.0f << true;
    QTest::newRow("steady at the span's edge") << 99.0f << 98.25f << 99.75f << 97.0f << 99.0f << true;
    QTest::newRow("pulsing") << 99.0f << 98.0f << 100.0f << kNaN << 101.3f << false;
    QTest::newRow("pulsing, kept air") << 80.0f << 75.0f << 85.0f << 97.0f << 97.0f << false;
    QTest::newRow("lowest plausible") << 60.0f << 60.0f << 60.0f << kNaN << 60.0f << true;
    QTest::newRow("below plausible") << 59.9f << 59.9f << 59.9f << 97.0f << 97.0f << false;
    QTest::newRow("highest plausible") << 110.0f << 110.0f << 110.0f << kNaN << 110.0f << true;
    QTest::newRow("above plausible") << 110.1f << 110.1f << 110.1f << kNaN << 101.3f << false;
    QTest::newRow("kept air implausible") << 40.0f << 40.0f << 40.0f << 120.0f << 101.3f << false;
}

void TestBoardLogic::atmosphereChoice()
{
    QFETCH(float, mean);
    QFETCH(float, lowest);
    QFETCH(float, highest);
    QFETCH(float, lastGood);
    QFETCH(float, expected);
    QFETCH(bool, measured);

    const board::Atmosphere got = board::chooseAtmosphere(mean, lowest, highest, lastGood);
    QCOMPARE(got.kpa, expected);
    QCOMPARE(got.measured, measured);
}

QTEST_APPLESS_MAIN(TestBoardLogic)
#include "test_boardlogic.moc"
