#include "deviceprotocol.h"
#include "replywatch.h"
#include "floatbits.h"

#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <cstdint>
#include <cstring>

Q_DECLARE_METATYPE(WaitingBytes)
Q_DECLARE_METATYPE(ReplyWatch::State)

namespace {

// Little-endian bytes by the toolkit's own byte-order helper, independent of
// the code under test.
QByteArray littleEndian(std::uint32_t bits)
{
    QByteArray bytes(sizeof bits, '\0');
    qToLittleEndian(bits, bytes.data());
    return bytes;
}

using FrameBits = std::array<std::uint32_t, 5>;

} // namespace

Q_DECLARE_METATYPE(FrameBits)

class TestDeviceProtocol : public QObject
{
    Q_OBJECT

private slots:
    void classifyWaitingBytes_data();
    void classifyWaitingBytes();
    void pollIsTwoAtSigns();
    void settingsCommand_data();
    void settingsCommand();
    void decodesExampleFrame();
    void roundTripIsBitExact_data();
    void roundTripIsBitExact();
    void putsAValueAtItsOffset();
    void replyWatch_data();
    void replyWatch();
};

void TestDeviceProtocol::classifyWaitingBytes_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<WaitingBytes>("expected");

    QTest::newRow("none") << qint64(0) << WaitingBytes::Incomplete;
    QTest::newRow("first piece of a split frame") << qint64(12) << WaitingBytes::Incomplete;
    QTest::newRow("19") << qint64(19) << WaitingBytes::Incomplete;
    QTest::newRow("20") << qint64(20) << WaitingBytes::Frame;
    QTest::newRow("21") << qint64(21) << WaitingBytes::TooMany;
    QTest::newRow("two frames together") << qint64(40) << WaitingBytes::TooMany;
    QTest::newRow("beyond 32 bits") << (qint64(1) << 32) + 20 << WaitingBytes::TooMany;
}

void TestDeviceProtocol::classifyWaitingBytes()
{
    QFETCH(qint64, count);
    QFETCH(WaitingBytes, expected);
    QCOMPARE(::classifyWaitingBytes(count), expected);
}

void TestDeviceProtocol::pollIsTwoAtSigns()
{
    QCOMPARE(pollCommand(), QByteArray::fromHex("4040"));
}

// The byte fixtures stay as written: one field of the layout per string.
// clang-format off
void TestDeviceProtocol::settingsCommand_data()
{
    QTest::addColumn<int>("innerLoopCount");
    QTest::addColumn<double>("lowPass");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("defaults 10 / 0.5") << 10 << 0.5 << QByteArray::fromHex("2424" "00002041" "0000003f");
    // Nearest single to 0.1 is 0x3DCCCCCD; truncation would give ...CC.
    QTest::newRow("0.1 rounds to nearest") << 10 << 0.1
                                           << QByteArray::fromHex("2424" "00002041" "cdcccc3d");
    QTest::newRow("MedInt 1000") << 1000 << 0.5 << QByteArray::fromHex("2424" "00007a44" "0000003f");
    QTest::newRow("MedInt 1") << 1 << 0.5 << QByteArray::fromHex("2424" "0000803f" "0000003f");
    QTest::newRow("filter 0") << 10 << 0.0 << QByteArray::fromHex("2424" "00002041" "00000000");
    QTest::newRow("filter 1") << 10 << 1.0 << QByteArray::fromHex("2424" "00002041" "0000803f");
    QTest::newRow("filter 0.00001") << 10 << 0.00001
                                    << QByteArray::fromHex("2424" "00002041" "acc52737");
    QTest::newRow("filter 0.99999") << 10 << 0.99999
                                    << QByteArray::fromHex("2424" "00002041" "58ff7f3f");
    QTest::newRow("filter 0.33333") << 10 << 0.33333
                                    << QByteArray::fromHex("2424" "00002041" "3baaaa3e");

    // Beyond the spin box's range: still IEEE nearest rounding, with no
    // out-of-range conversion. Halfway above FLT_MAX is a tie that rounds to
    // the even neighbour, infinity.
    const double largest = std::numeric_limits<float>::max();
    const double halfway = largest + std::ldexp(1.0, 103);
    QTest::newRow("just below halfway past FLT_MAX")
        << 10 << std::nextafter(halfway, 0.0) << QByteArray::fromHex("2424" "00002041" "ffff7f7f");
    QTest::newRow("halfway past FLT_MAX") << 10 << halfway
                                          << QByteArray::fromHex("2424" "00002041" "0000807f");
    QTest::newRow("-1e300") << 10 << -1e300 << QByteArray::fromHex("2424" "00002041" "000080ff");
    QTest::newRow("-1e-50 keeps its sign") << 10 << -1e-50
                                           << QByteArray::fromHex("2424" "00002041" "00000080");
    QTest::newRow("infinity") << 10 << std::numeric_limits<double>::infinity()
                              << QByteArray::fromHex("2424" "00002041" "0000807f");
    QTest::newRow("MedInt negative") << -3 << 0.5 << QByteArray::fromHex("2424" "000040c0" "0000003f");
}
// clang-format on

void TestDeviceProtocol::settingsCommand()
{
    QFETCH(int, innerLoopCount);
    QFETCH(double, lowPass);
    QFETCH(QByteArray, expected);

    QCOMPARE(expected.size(), kSettingsCommandSize);
    QCOMPARE(expected.left(kInnerLoopCountOffset), QByteArray("$$"));
    QCOMPARE(bitsOf(readFloatLittleEndian(expected.constData() + kInnerLoopCountOffset)),
             bitsOf(float(innerLoopCount)));
    QCOMPARE(expected.mid(kLowPassCoefficientOffset), expected.right(kValueSize));
    QCOMPARE(encodeSettingsCommand(innerLoopCount, lowPass).toHex(' '), expected.toHex(' '));
}

void TestDeviceProtocol::decodesExampleFrame()
{
    // clang-format off
    const QByteArray bytes =
        QByteArray::fromHex("0000A4C1" "0000AAC1" "00009EC1" "0000A0C1" "00007041");
    // clang-format on
    QCOMPARE(bytes.size(), kFrameSize);

    const MeasurementFrame frame = decodeFrame(bytes.constData());
    QCOMPARE(bitsOf(frame.readings[0]), bitsOf(-20.5f));
    QCOMPARE(bitsOf(frame.readings[1]), bitsOf(-21.25f));
    QCOMPARE(bitsOf(frame.readings[2]), bitsOf(-19.75f));
    QCOMPARE(bitsOf(frame.readings[3]), bitsOf(-20.0f));
    QCOMPARE(bitsOf(frame.cycleTime), bitsOf(15.0f));

    QCOMPARE(encodeFrame(frame).toHex(' '), bytes.toHex(' '));

    // The named offsets against the same bytes written out by hand.
    const float byHand[] = {-20.5f, -21.25f, -19.75f, -20.0f};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(bitsOf(readFloatLittleEndian(bytes.constData() + readingOffset(i))),
                 bitsOf(byHand[i]));
    QCOMPARE(bitsOf(readFloatLittleEndian(bytes.constData() + kCycleTimeOffset)), bitsOf(15.0f));
}

void TestDeviceProtocol::roundTripIsBitExact_data()
{
    QTest::addColumn<FrameBits>("bits");

    QTest::newRow("ordinary") << FrameBits{0xC1A40000, 0x3F800000, 0x00000000, 0xBF000000,
                                           0x41700000};
    QTest::newRow("zeros of both signs")
        << FrameBits{0x00000000, 0x80000000, 0x80000000, 0x00000000, 0x80000000};
    QTest::newRow("quiet NaNs with payloads")
        << FrameBits{0x7FC00000, 0xFFC00000, 0x7FC12345, 0xFFFFFFFF, 0x7FFFFFFF};
    QTest::newRow("signalling NaNs")
        << FrameBits{0x7F800001, 0xFF800001, 0x7FA5A5A5, 0xFFBFFFFF, 0x7F812345};
    QTest::newRow("infinities") << FrameBits{0x7F800000, 0xFF800000, 0x7F800000, 0xFF800000,
                                             0x7F800000};
    QTest::newRow("denormals") << FrameBits{0x00000001, 0x80000001, 0x007FFFFF, 0x807FFFFF,
                                            0x00400000};
    QTest::newRow("extremes") << FrameBits{0x7F7FFFFF, 0xFF7FFFFF, 0x00800000, 0x80800000,
                                           0x3F7FFFFF};
    QTest::newRow("every byte distinct")
        << FrameBits{0x04030201, 0x08070605, 0x0C0B0A09, 0x100F0E0D, 0x14131211};
    QTest::newRow("high bits set") << FrameBits{0x80FF7F81, 0xFE01EF10, 0xAA55AA55, 0x55AA55AA,
                                                0xC3C3C3C3};
}

void TestDeviceProtocol::roundTripIsBitExact()
{
    QFETCH(FrameBits, bits);

    QByteArray wire;
    for (const std::uint32_t value : bits)
        wire += littleEndian(value);

    // Decoded from an odd address: nothing may rely on alignment.
    QByteArray shifted = QByteArray(3, '\xEE') + wire;
    const MeasurementFrame frame = decodeFrame(shifted.constData() + 3);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(bitsOf(frame.readings[std::size_t(i)]), bits[std::size_t(i)]);
    QCOMPARE(bitsOf(frame.cycleTime), bits[4]);
    QCOMPARE(encodeFrame(frame).toHex(' '), wire.toHex(' '));

    // And from values never decoded.
    MeasurementFrame built;
    for (int i = 0; i < 4; ++i)
        built.readings[std::size_t(i)] = floatFromBits(bits[std::size_t(i)]);
    built.cycleTime = floatFromBits(bits[4]);
    QCOMPARE(encodeFrame(built).toHex(' '), wire.toHex(' '));

    for (int i = 0; i < 5; ++i)
        QCOMPARE(bitsOf(readFloatLittleEndian(shifted.constData() + 3 + 4 * i)),
                 bits[std::size_t(i)]);
}

void TestDeviceProtocol::putsAValueAtItsOffset()
{
    // clang-format off
    QByteArray bytes = QByteArray::fromHex("2424" "eeeeeeee" "eeeeeeee" "ee");
    putFloatLittleEndian(bytes, 6, floatFromBits(0x7FC12345));
    putFloatLittleEndian(bytes, 2, -20.5f);
    QCOMPARE(bytes.toHex(' '), QByteArray::fromHex("2424" "0000a4c1" "4523c17f" "ee").toHex(' '));
    // clang-format on
}

// A session on the line as a string of events, one per character, each a
// millisecond after the last unless digits before it give the wait in
// milliseconds (a '-' is a moment without an event):
// p = poll sent, b = bytes arrived, f = frame accepted, r = port reopened.
void TestDeviceProtocol::replyWatch_data()
{
    QTest::addColumn<QString>("events");
    QTest::addColumn<ReplyWatch::State>("state");

    using S = ReplyWatch::State;
    QTest::newRow("nothing owed") << "" << S::Answering;
    QTest::newRow("nothing owed, long after") << "5000r" << S::Answering;
    QTest::newRow("poll just sent") << "p" << S::Answering;
    QTest::newRow("one tick short of silent") << "p999-" << S::Answering;
    QTest::newRow("silent at the limit") << "p1000-" << S::Silent;
    QTest::newRow("later polls do not restart it") << "p500p500-" << S::Silent;
    QTest::newRow("answered, then a fresh poll") << "p500f1p999-" << S::Answering;
    QTest::newRow("answered poll owes nothing") << "pf5000-" << S::Answering;
    QTest::newRow("bytes but no frame") << "pb999-" << S::Garbled;
    QTest::newRow("bytes before the frame are forgiven") << "pbf1p1000-" << S::Silent;
    QTest::newRow("leftovers from a board that gave frames") << "pf5pb999-" << S::Silent;
    QTest::newRow("a frame since the port opened") << "pfp1000bp1-" << S::Silent;
    QTest::newRow("frames before a reopening do not count") << "pfrpb999-" << S::Garbled;
    QTest::newRow("reopened port starts afresh") << "pb999r" << S::Answering;
    QTest::newRow("reopened, then silent again") << "pb999rp1000-" << S::Silent;
}

void TestDeviceProtocol::replyWatch()
{
    QFETCH(QString, events);
    QFETCH(ReplyWatch::State, state);

    ReplyWatch watch;
    qint64 now = 0;
    QString wait;
    for (const QChar event : events) {
        if (event.isDigit()) {
            wait += event;
            continue;
        }
        now += wait.isEmpty() ? 1 : wait.toLongLong();
        wait.clear();
        switch (event.toLatin1()) {
        case 'p':
            watch.pollSent(now);
            break;
        case 'b':
            watch.bytesArrived();
            break;
        case 'f':
            watch.frameAccepted();
            break;
        case 'r':
            watch.reset();
            break;
        default:
            break;
        }
    }
    QCOMPARE(watch.state(now), state);
    // The moment of change it announces is the one the state turns at.
    if (watch.silenceDueMs() >= 0) {
        QCOMPARE(watch.state(watch.silenceDueMs() - 1), ReplyWatch::State::Answering);
        QVERIFY(watch.state(watch.silenceDueMs()) != ReplyWatch::State::Answering);
    }
}

QTEST_GUILESS_MAIN(TestDeviceProtocol)
#include "test_deviceprotocol.moc"
