// The simulated board on a real pseudo-terminal, seen from the program's
// side of the line.

#include "floatbits.h"
#include "frames.h"
#include "pseudoterminal.h"
#include "testboard.h"
#include "slaveline.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr double kStepMs = 20.0;

EngineConfig seeded(std::uint64_t seed)
{
    EngineConfig config;
    config.seed = seed;
    return config;
}

// The bytes a board with this seed sends for its first `count` frames,
// taken one fixed step apart.
QByteArray expectedReplies(std::uint64_t seed, int count)
{
    BoardModel model(seeded(seed));
    QByteArray bytes;
    for (int k = 0; k < count; ++k)
        bytes += encodeFrame(model.takeFrame(k * kStepMs));
    return bytes;
}

// A cycle time no model gives, put into a reply to know it again.
constexpr float kMarkedCycleTime = 12345.0f;

// Nothing but what was read so far has come from the board: the reply to
// one more poll, marked, is the next thing on the line, whole and alone.
bool nothingElseCame(TestBoard &board, SlaveLine &line)
{
    board.setValueOfNextReply(kCycleTimeOffset, kMarkedCycleTime);
    if (!line.write("@@"))
        return false;
    const QByteArray reply = line.read(kFrameSize);
    return reply.size() == kFrameSize && decodedFrame(reply).cycleTime == kMarkedCycleTime;
}

QList<int> sizesOf(const QList<QByteArray> &chunks)
{
    QList<int> sizes;
    for (const QByteArray &chunk : chunks)
        sizes.append(chunk.size());
    return sizes;
}

} // namespace

class TestSimulatedBoard : public QObject
{
    Q_OBJECT

private slots:
    void shippedBoardAnswersFromTheModel();
    void framesAreTwentyLittleEndianFloats();
    void settingsChangeTheReportedCycleTime_data();
    void settingsChangeTheReportedCycleTime();
    void pollBytesInsideSettingsAreNotAPoll();
    void inputIsParsedAsAStream_data();
    void inputIsParsedAsAStream();
    void lineIsRawBothWays();
    void pseudoTerminalEnds();
    void sameSeedSameBytes();
    void repliesCarryStrayBytesAndSplits_data();
    void repliesCarryStrayBytesAndSplits();
    void everyReplySplitUntilStopped();
    void silentBoardSendsNothing();
    void chosenValueInNextReply_data();
    void chosenValueInNextReply();
    void pacedRepliesTakeTheLineTime();
    void repliesWaitForASlowReader();
    void unplugHangsUpAndPlugInComesBack();
    void unplugDropsAPendingReply();
    void unplugFromAPollReceiver();
    void serialPortTalksToTheBoard();
    void boardProcessPrintsItsPort_data();
    void boardProcessPrintsItsPort();
    void boardProcessRejectsBadArguments_data();
    void boardProcessRejectsBadArguments();
};

// The board as the demo and aspirello-board have it, with no test's hand
// on its replies: every poll gets the model's frame at that moment, whole,
// and the signals tell what crossed the line.
void TestSimulatedBoard::shippedBoardAnswersFromTheModel()
{
    SimulatedBoard board(seeded(2));
    QSignalSpy arrived(&board, &SimulatedBoard::bytesArrived);
    QSignalSpy polls(&board, &SimulatedBoard::pollReceived);
    QSignalSpy replies(&board, &SimulatedBoard::replySent);
    QVERIFY2(board.plugIn(), qPrintable(board.errorString()));
    SlaveLine line(board.portName());

    BoardModel reference(seeded(2));
    for (int k = 1; k <= 3; ++k) {
        QVERIFY(line.write("x@@"));
        const QList<QByteArray> chunks = line.readChunks(kFrameSize);
        QCOMPARE(sizesOf(chunks), QList<int>{kFrameSize});
        QCOMPARE(replies.count(), k);
        // The engine's own values, taken at the board's clock.
        const MeasurementFrame got = decodedFrame(chunks.first());
        QCOMPARE(got.cycleTime, 15.0f);
        for (float reading : got.readings)
            QVERIFY2(reading > -40.0f && reading < -10.0f, qPrintable(QString::number(reading)));
    }
    QCOMPARE(polls.count(), 3);
    QByteArray heard;
    for (const QList<QVariant> &arguments : arrived)
        heard += arguments.at(0).toByteArray();
    QCOMPARE(heard, QByteArray("x@@x@@x@@"));

    // A shaper put in answers instead; taken out again, the default
    // answers once more, paced now.
    struct Mute : ReplyShaper
    {
        void answer(BoardModel &, double, BoardLine &) override { ++asked; }
        int asked = 0;
    } mute;
    board.setReplyShaper(&mute);
    QVERIFY(line.write("@@"));
    QTRY_COMPARE_WITH_TIMEOUT(mute.asked, 1, 5000);
    board.setReplyShaper(nullptr);
    board.setPaced(true);
    QVERIFY(line.write("@@"));
    QCOMPARE(decodedFrame(line.read(kFrameSize)).cycleTime, 15.0f);
    QCOMPARE(mute.asked, 1);
    QCOMPARE(polls.count(), 5);
    QCOMPARE(replies.count(), 4);
}

void TestSimulatedBoard::framesAreTwentyLittleEndianFloats()
{
    TestBoard board(seeded(3));
    board.setFixedTimeStep(kStepMs);
    QVERIFY2(board.plugIn(), qPrintable(board.errorString()));
    QVERIFY(board.portName().startsWith(QLatin1String("/dev/")));
    SlaveLine line(board.portName());
    QVERIFY(line.isOpen());

    BoardModel reference(seeded(3));
    for (int k = 0; k < 5; ++k) {
        QVERIFY(line.write("@@"));
        const QByteArray frame = line.read(kFrameSize);
        QCOMPARE(frame.size(), kFrameSize);
        const MeasurementFrame expected = reference.takeFrame(k * kStepMs);
        const MeasurementFrame got = decodedFrame(frame);
        for (std::size_t cylinder = 0; cylinder < got.readings.size(); ++cylinder) {
            QCOMPARE(got.readings[cylinder], expected.readings[cylinder]);
            QVERIFY(got.readings[cylinder] > -40.0f && got.readings[cylinder] < -10.0f);
        }
        QCOMPARE(got.cycleTime, 15.0f);
    }
    QCOMPARE(board.pollsReceived(), 5u);
    QCOMPARE(board.framesSent(), 5u);
    QVERIFY(nothingElseCame(board, line));
}

void TestSimulatedBoard::settingsChangeTheReportedCycleTime_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("coefficient");
    QTest::addColumn<float>("cycleTime");
    QTest::newRow("40") << 40 << 0.5 << 60.0f;
    QTest::newRow("1, no smoothing") << 1 << 1.0 << 1.5f;
    QTest::newRow("10, strong smoothing") << 10 << 0.05 << 15.0f;
    QTest::newRow("1000") << 1000 << 0.5 << 1500.0f;
}

void TestSimulatedBoard::settingsChangeTheReportedCycleTime()
{
    QFETCH(int, count);
    QFETCH(double, coefficient);
    QFETCH(float, cycleTime);

    TestBoard board;
    QSignalSpy settingsSpy(&board, &SimulatedBoard::settingsCommandReceived);
    QVERIFY(board.plugIn());
    SlaveLine line(board.portName());

    QVERIFY(line.write("@@"));
    QCOMPARE(decodedFrame(line.read(kFrameSize)).cycleTime, 15.0f);

    // The program's own encoder, as "Invia" sends it.
    QVERIFY(line.write(encodeSettingsCommand(count, coefficient) + "@@"));
    const QByteArray frame = line.read(kFrameSize);
    QCOMPARE(frame.size(), kFrameSize);
    QCOMPARE(decodedFrame(frame).cycleTime, cycleTime);

    QCOMPARE(board.settingsReceived(), 1u);
    QCOMPARE(settingsSpy.count(), 1);
    QCOMPARE(board.lastInnerLoopCount(), static_cast<float>(count));
    QCOMPARE(board.lastLowPassCoefficient(), static_cast<float>(coefficient));
    QCOMPARE(board.model().innerLoopCount(), count);
    QCOMPARE(board.model().lowPassCoefficient(), static_cast<float>(coefficient));
}

void TestSimulatedBoard::pollBytesInsideSettingsAreNotAPoll()
{
    TestBoard board;
    QVERIFY(board.plugIn());
    SlaveLine line(board.portName());

    // 3.0f is 00 00 40 40 on the line: "@@" inside the command's values.
    QByteArray command = encodeSettingsCommand(3, 0.5);
    QVERIFY(command.contains("@@"));
    QVERIFY(line.write(command));
    QTRY_COMPARE_WITH_TIMEOUT(board.settingsReceived(), 1u, 5000);
    QCOMPARE(board.pollsReceived(), 0u);
    QCOMPARE(board.model().innerLoopCount(), 3);

    // The first bytes back answer the poll below, at the new setting.
    QVERIFY(line.write("@@"));
    QCOMPARE(decodedFrame(line.read(kFrameSize)).cycleTime, 4.5f);
    QCOMPARE(board.pollsReceived(), 1u);
}

void TestSimulatedBoard::inputIsParsedAsAStream_data()
{
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<int>("polls");
    QTest::addColumn<int>("settings");

    const QByteArray settings = encodeSettingsCommand(10, 0.5);
    QTest::newRow("one poll") << QByteArrayList{"@@"} << 1 << 0;
    QTest::newRow("two polls together") << QByteArrayList{"@@@@"} << 2 << 0;
    QTest::newRow("poll in two writes") << QByteArrayList{"@", "@"} << 1 << 0;
    QTest::newRow("garbage around a poll") << QByteArrayList{"xy@@z\n"} << 1 << 0;
    QTest::newRow("broken poll") << QByteArrayList{"@x@"} << 0 << 0;
    QTest::newRow("third @ waits for a fourth") << QByteArrayList{"@@@", "@"} << 2 << 0;
    QTest::newRow("lone $ before a poll") << QByteArrayList{"$@@"} << 1 << 0;
    QTest::newRow("settings then poll") << QByteArrayList{settings + "@@"} << 1 << 1;
    QTest::newRow("settings in pieces")
        << QByteArrayList{settings.left(4), settings.mid(4), "@@"} << 1 << 1;
    QTest::newRow("settings alone") << QByteArrayList{settings} << 0 << 1;
    QTest::newRow("short settings never end") << QByteArrayList{settings.left(9)} << 0 << 0;
}

void TestSimulatedBoard::inputIsParsedAsAStream()
{
    QFETCH(QByteArrayList, writes);
    QFETCH(int, polls);
    QFETCH(int, settings);

    TestBoard board;
    QVERIFY(board.plugIn());
    SlaveLine line(board.portName());
    // Each write is read by the board before the next is made.
    QByteArray written;
    for (const QByteArray &bytes : writes) {
        QVERIFY(line.write(bytes));
        written += bytes;
        QVERIFY(board.waitForReceived(written.size()));
    }
    QCOMPARE(board.received(), written);
    QCOMPARE(line.read(polls * kFrameSize).size(), polls * kFrameSize);
    QCOMPARE(board.pollsReceived(), static_cast<quint64>(polls));
    QCOMPARE(board.framesSent(), static_cast<quint64>(polls));
    QCOMPARE(board.settingsReceived(), static_cast<quint64>(settings));
    // A poll after them is answered by the very next bytes (unless it is
    // taken into the unfinished settings command).
    if (QByteArray(QTest::currentDataTag()) != "short settings never end")
        QVERIFY(nothingElseCame(board, line));
}

void TestSimulatedBoard::lineIsRawBothWays()
{
    TestBoard board;
    QVERIFY(board.plugIn());
    // Leave the terminal settings as the board made them.
    SlaveLine line(board.portName(), SlaveLine::Mode::AsFound);

    // CR, LF, XON, XOFF, DEL, ^C and ^Z must pass untouched in both
    // directions, and nothing the board sends may come back to it as input.
    const float oddCount = floatFromBits(0x13110A0Du);
    const float oddCoefficient = floatFromBits(0x3F1A037Fu);
    QByteArray command = encodeSettingsCommand(0, 0.0);
    putFloatLittleEndian(command, kInnerLoopCountOffset, oddCount);
    putFloatLittleEndian(command, kLowPassCoefficientOffset, oddCoefficient);
    QVERIFY(line.write(command));
    QTRY_COMPARE_WITH_TIMEOUT(board.settingsReceived(), 1u, 5000);
    QCOMPARE(bitsOf(board.lastInnerLoopCount()), 0x13110A0Du);
    QCOMPARE(bitsOf(board.lastLowPassCoefficient()), 0x3F1A037Fu);

    board.setValueOfNextReply(readingOffset(0), floatFromBits(0x0A0D1311u));
    board.setValueOfNextReply(readingOffset(1), 3.0f); // "@@" in the reply
    board.setValueOfNextReply(readingOffset(2), floatFromBits(0x1A037F0Du));
    QVERIFY(line.write("@@"));
    const QByteArray frame = line.read(kFrameSize);
    QCOMPARE(frame.size(), kFrameSize);
    QCOMPARE(frame.left(12),
             QByteArray::fromHex("11130d0a"
                                 "00004040"
                                 "0d7f031a"));
    QCOMPARE(board.pollsReceived(), 1u);
    // Nothing the board sent came back to it as input.
    QVERIFY(nothingElseCame(board, line));
    QCOMPARE(board.pollsReceived(), 2u);
    QCOMPARE(board.received(), command + "@@@@");
}

// The line raw at 9600 baud, so that the speed the program chooses shows; the board's end
// non-blocking. Opening again hangs up the line held; closing forgets it.
void TestSimulatedBoard::pseudoTerminalEnds()
{
    PseudoTerminal terminal;
    QVERIFY(!terminal.isOpen());
    QVERIFY2(terminal.open(), qPrintable(terminal.errorString()));
    QVERIFY(terminal.path().startsWith(QLatin1String("/dev/")));
    termios program{};
    QVERIFY(tcgetattr(terminal.slave(), &program) == 0);
    QCOMPARE(cfgetospeed(&program), speed_t(B9600));
    QCOMPARE(cfgetispeed(&program), speed_t(B9600));
    QCOMPARE(program.c_lflag & (ECHO | ICANON), tcflag_t(0));
    QVERIFY(fcntl(terminal.master(), F_GETFL) & O_NONBLOCK);
    QVERIFY(fcntl(terminal.slave(), F_GETFD) & FD_CLOEXEC);

    const int oldMaster = terminal.master();
    QVERIFY(terminal.open());
    QVERIFY(terminal.isOpen());
    QVERIFY(fcntl(terminal.master(), F_GETFD) != -1);
    // The descriptor numbers may come back; the old line is gone either way.
    if (terminal.master() != oldMaster)
        QCOMPARE(fcntl(oldMaster, F_GETFD), -1);
    QVERIFY(!terminal.path().isEmpty());

    const int master = terminal.master();
    terminal.close();
    QVERIFY(!terminal.isOpen());
    QCOMPARE(terminal.master(), -1);
    QCOMPARE(terminal.slave(), -1);
    QVERIFY(terminal.path().isEmpty());
    QCOMPARE(fcntl(master, F_GETFD), -1);
}

void TestSimulatedBoard::sameSeedSameBytes()
{
    constexpr int polls = 10;
    QByteArray received[3];
    const std::uint64_t seeds[3] = {5, 5, 6};
    for (int i = 0; i < 3; ++i) {
        TestBoard board(seeded(seeds[i]));
        board.setFixedTimeStep(kStepMs);
        QVERIFY(board.plugIn());
        SlaveLine line(board.portName());
        for (int k = 0; k < polls; ++k) {
            QVERIFY(line.write("@@"));
            received[i] += line.read(kFrameSize);
        }
        QCOMPARE(received[i].size(), polls * kFrameSize);
    }
    QCOMPARE(received[1], received[0]);
    QVERIFY(received[2] != received[0]);
    QCOMPARE(received[0], expectedReplies(5, polls));
}

void TestSimulatedBoard::repliesCarryStrayBytesAndSplits_data()
{
    QTest::addColumn<int>("firstPart");
    QTest::addColumn<QByteArray>("stray");

    QTest::newRow("stray bytes") << 0
                                 << QByteArray("\x01\xff"
                                               "xy\x00",
                                               5);
    QTest::newRow("split 1 + 19") << 1 << QByteArray();
    QTest::newRow("split 12 + 8") << 12 << QByteArray();
    QTest::newRow("split 19 + 1") << 19 << QByteArray();
    // Five stray bytes and the first 15 of the frame: to the program, 20
    // waiting bytes that look like a frame, then 5 more.
    QTest::newRow("5 stray, split 15 + 5") << 15 << QByteArray("abcde");
}

void TestSimulatedBoard::repliesCarryStrayBytesAndSplits()
{
    QFETCH(int, firstPart);
    QFETCH(QByteArray, stray);

    TestBoard board(seeded(11));
    board.setFixedTimeStep(kStepMs);
    QVERIFY(board.plugIn());
    SlaveLine line(board.portName());
    const QByteArray expected = expectedReplies(11, 2);
    const QByteArray reply = expected.left(kFrameSize);

    board.addStrayBytesBeforeNextReply(stray);
    board.splitNextReply(firstPart, 300);
    QVERIFY(line.write("@@"));
    const QList<QByteArray> chunks = line.readChunks(stray.size() + kFrameSize);
    if (firstPart > 0) {
        QCOMPARE(sizesOf(chunks),
                 (QList<int>{static_cast<int>(stray.size()) + firstPart, kFrameSize - firstPart}));
        QCOMPARE(chunks.at(0), stray + reply.left(firstPart));
        QCOMPARE(chunks.at(1), reply.mid(firstPart));
    } else {
        QCOMPARE(chunks, QList<QByteArray>{stray + reply});
    }
    QCOMPARE(board.framesSent(), 1u);

    // Only the next reply was touched.
    QVERIFY(line.write("@@"));
    QCOMPARE(line.readChunks(kFrameSize), QList<QByteArray>{expected.mid(kFrameSize)});
}

void TestSimulatedBoard::everyReplySplitUntilStopped()
{
    TestBoard board;
    QVERIFY(board.plugIn());
    SlaveLine line(board.portName());
    board.splitEveryReply(8, 150);
    for (int k = 0; k < 3; ++k) {
        QVERIFY(line.write("@@"));
        QCOMPARE(sizesOf(line.readChunks(kFrameSize)), (QList<int>{8, kFrameSize - 8}));
    }
    board.stopSplitting();
    QVERIFY(line.write("@@"));
    QCOMPARE(sizesOf(line.readChunks(kFrameSize)), QList<int>{kFrameSize});
    QCOMPARE(board.framesSent(), 4u);
}

void TestSimulatedBoard::silentBoardSendsNothing()
{
    TestBoard board;
    QVERIFY(board.plugIn());
    SlaveLine line(board.portName());
    board.setSilent(true);
    QVERIFY(line.write("@@"));
    QTRY_COMPARE_WITH_TIMEOUT(board.pollsReceived(), 1u, 5000);
    QCOMPARE(board.framesSent(), 0u);

    // The first bytes back are the reply to the poll after it.
    board.setSilent(false);
    QVERIFY(nothingElseCame(board, line));
    QCOMPARE(board.framesSent(), 1u);
}

void TestSimulatedBoard::chosenValueInNextReply_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<float>("value");
    QTest::newRow("NaN, cylinder 1") << readingOffset(0) << kNaN;
    QTest::newRow("+inf, cylinder 2") << readingOffset(1) << kInf;
    QTest::newRow("-inf, cylinder 4") << readingOffset(3) << -kInf;
    QTest::newRow("NaN cycle time") << kCycleTimeOffset << kNaN;
    QTest::newRow("huge, cylinder 3") << readingOffset(2) << 3e38f;
}

void TestSimulatedBoard::chosenValueInNextReply()
{
    QFETCH(int, offset);
    QFETCH(float, value);

    TestBoard board(seeded(21));
    board.setFixedTimeStep(kStepMs);
    QVERIFY(board.plugIn());
    SlaveLine line(board.portName());
    const QByteArray expected = expectedReplies(21, 2);

    board.setValueOfNextReply(offset, value);
    QVERIFY(line.write("@@"));
    const QByteArray frame = line.read(kFrameSize);
    QCOMPARE(frame.size(), kFrameSize);
    for (int at = 0; at < kFrameSize; at += kValueSize) {
        if (at == offset)
            QCOMPARE(bitsOf(readFloatLittleEndian(frame.constData() + at)), bitsOf(value));
        else
            QCOMPARE(frame.mid(at, kValueSize), expected.mid(at, kValueSize));
    }

    // The next reply is clean, and the model underneath was not disturbed.
    QVERIFY(line.write("@@"));
    QCOMPARE(line.read(kFrameSize), expected.mid(kFrameSize));
}

void TestSimulatedBoard::pacedRepliesTakeTheLineTime()
{
    TestBoard board(seeded(4));
    board.setFixedTimeStep(kStepMs);
    board.setPaced(true);
    QVERIFY(board.plugIn());
    SlaveLine line(board.portName());

    // Two replies share the line: the second cannot start before the first
    // has gone out, 20 bytes at 10 bits a byte at 38400 baud each.
    QElapsedTimer clock;
    clock.start();
    QVERIFY(line.write("@@@@"));
    const QByteArray bytes = line.read(2 * kFrameSize);
    const qint64 elapsedNs = clock.nsecsElapsed();
    QCOMPARE(bytes, expectedReplies(4, 2));
    QVERIFY2(elapsedNs >= 2 * kFrameSize * SimulatedBoard::kByteNs,
             qPrintable(QString::number(elapsedNs)));
    QCOMPARE(board.framesSent(), 2u);
}

void TestSimulatedBoard::repliesWaitForASlowReader()
{
    // More replies than the pseudo-terminal holds: the board must keep the
    // rest until the reader catches up, losing and reordering nothing.
    constexpr int polls = 5000;
    TestBoard board(seeded(8));
    board.setFixedTimeStep(kStepMs);
    QVERIFY(board.plugIn());
    SlaveLine line(board.portName());

    const QByteArray pollBytes = pollCommand().repeated(polls);
    int written = 0;
    while (written < pollBytes.size()) {
        const QByteArray piece = pollBytes.mid(written, 512);
        QVERIFY(line.write(piece));
        written += piece.size();
        // The board has read it, so the line has room for the next piece.
        QVERIFY(board.waitForReceived(written));
    }
    QTRY_COMPARE_WITH_TIMEOUT(board.pollsReceived(), static_cast<quint64>(polls), 10000);
    QVERIFY(board.framesSent() < static_cast<quint64>(polls));

    QCOMPARE(line.read(polls * kFrameSize, 30000), expectedReplies(8, polls));
    QCOMPARE(board.framesSent(), static_cast<quint64>(polls));
}

void TestSimulatedBoard::unplugHangsUpAndPlugInComesBack()
{
    TestBoard board;
    QSignalSpy unpluggedSpy(&board, &SimulatedBoard::unplugged);
    QSignalSpy pluggedSpy(&board, &SimulatedBoard::pluggedIn);
    QVERIFY(board.plugIn());
    QCOMPARE(pluggedSpy.count(), 1);
    const QString firstPort = board.portName();
    SlaveLine line(firstPort);
    QVERIFY(line.write("@@"));
    QCOMPARE(line.read(kFrameSize).size(), kFrameSize);

    board.unplug();
    QVERIFY(!board.isPluggedIn());
    QVERIFY(board.portName().isEmpty());
    QCOMPARE(unpluggedSpy.count(), 1);
    QVERIFY(line.waitForHangUp());
    QVERIFY(!line.write("@@"));

    // Plugged back in, it is a new line; the old one stays dead.
    QVERIFY(board.plugIn());
    QCOMPARE(pluggedSpy.count(), 2);
    QVERIFY(!board.portName().isEmpty());
    SlaveLine again(board.portName());
    QVERIFY(again.isOpen());
    QVERIFY(again.write("@@"));
    QCOMPARE(again.read(kFrameSize).size(), kFrameSize);
    QCOMPARE(board.pollsReceived(), 2u);
    QCOMPARE(board.framesSent(), 2u);
}

void TestSimulatedBoard::unplugDropsAPendingReply()
{
    TestBoard board(seeded(6));
    board.setFixedTimeStep(kStepMs);
    QVERIFY(board.plugIn());
    SlaveLine line(board.portName());
    board.splitNextReply(10, 100);
    QVERIFY(line.write("@@"));
    QCOMPARE(line.read(10).size(), 10);
    board.unplug();
    QVERIFY(line.waitForHangUp());

    // Plugged in again, the rest of that reply is not written on the new
    // line, not even after its pause: the first bytes there are the whole
    // reply to the first poll on it.
    QVERIFY(board.plugIn());
    SlaveLine again(board.portName());
    QVERIFY(again.write("@@"));
    QCOMPARE(again.read(kFrameSize), expectedReplies(6, 2).mid(kFrameSize));
    QCOMPARE(board.framesSent(), 1u);
}

void TestSimulatedBoard::unplugFromAPollReceiver()
{
    TestBoard board;
    QVERIFY(board.plugIn());
    connect(&board, &SimulatedBoard::pollReceived, &board, &SimulatedBoard::unplug);
    SlaveLine line(board.portName());
    QVERIFY(line.write("@@@@"));
    QVERIFY(line.waitForHangUp());
    QCOMPARE(board.pollsReceived(), 1u);
    QCOMPARE(board.framesSent(), 0u);
}

void TestSimulatedBoard::serialPortTalksToTheBoard()
{
    // The program's own kind of port, set up as it sets it up.
    TestBoard board;
    QVERIFY(board.plugIn());
    QSerialPort port(board.portName());
    for (int round = 0; round < 2; ++round) {
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
        QVERIFY(port.setBaudRate(kBaudRate));
        QVERIFY(port.setDataBits(QSerialPort::Data8));
        port.write(pollCommand());
        QTRY_COMPARE_WITH_TIMEOUT(port.bytesAvailable(), qint64(kFrameSize), 5000);
        QCOMPARE(decodedFrame(port.readAll()).cycleTime, 15.0f);
        // Closing and reopening the port leaves the board's line up.
        port.close();
    }

    // Unplugged, the port reports an error. A hung-up line reads as end of
    // file, which QSerialPort on Linux calls a read error (a resource error
    // elsewhere). It repeats the error for as long as the port stays open,
    // so close it at the first one.
    QVERIFY(port.open(QIODevice::ReadWrite));
    QList<QSerialPort::SerialPortError> errors;
    connect(&port, &QSerialPort::errorOccurred, &port, [&](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::NoError)
            return;
        errors.append(error);
        port.close();
    });
    board.unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!errors.isEmpty(), 5000);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first() == QSerialPort::ReadError || errors.first() == QSerialPort::ResourceError,
             qPrintable(QString::number(errors.first())));
    QVERIFY(!port.isOpen());
}

void TestSimulatedBoard::boardProcessPrintsItsPort_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<float>("cycleTime");
    QTest::newRow("simulated board") << QStringList{"--seed", "9", "--paced"} << 15.0f;
    // The board's own firmware in a simulated chip: its default cycle.
    QTest::newRow("firmware") << QStringList{"--firmware", "--seed", "9"} << 10.0f;
}

void TestSimulatedBoard::boardProcessPrintsItsPort()
{
    QFETCH(QStringList, arguments);
    QFETCH(float, cycleTime);
    QProcess process;
    process.start(QStringLiteral(BOARD_EXECUTABLE), arguments);
    QVERIFY(process.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(process.canReadLine(), 10000);
    const QString port = QString::fromLocal8Bit(process.readLine()).trimmed();
    QVERIFY2(port.startsWith(QLatin1String("/dev/")), qPrintable(port));

    SlaveLine line(port);
    QVERIFY(line.isOpen());
    // Every poll gets one frame; the firmware's first ones, before its
    // first cycle after power-on, carry no cycle yet.
    int answered = 0;
    float lastCycleTime = 0.0f;
    for (int k = 0; k < 400 && (answered < 3 || lastCycleTime == 0.0f); ++k) {
        QVERIFY(line.write("@@"));
        const QByteArray frame = line.read(kFrameSize, 10000);
        QCOMPARE(frame.size(), kFrameSize);
        ++answered;
        lastCycleTime = decodedFrame(frame).cycleTime;
        if (cycleTime == 15.0f)
            QCOMPARE(lastCycleTime, cycleTime);
    }
    // The firmware measures its cycle with its timer, to a microsecond or so.
    QVERIFY2(std::fabs(lastCycleTime - cycleTime) < 0.01f,
             qPrintable(QString::number(lastCycleTime)));
    process.kill();
    QVERIFY(process.waitForFinished(10000));
}

// Among them the benchmarks' options, which the board that ships does not
// carry.
void TestSimulatedBoard::boardProcessRejectsBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("seed not a number") << QStringList{"--seed", "many"};
    QTest::newRow("reading patterns") << QStringList{"--readings", "steady"};
    QTest::newRow("report") << QStringList{"--report"};
}

void TestSimulatedBoard::boardProcessRejectsBadArguments()
{
    QFETCH(QStringList, arguments);
    QProcess process;
    process.start(QStringLiteral(BOARD_EXECUTABLE), arguments);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY(process.exitCode() != 0);
    QVERIFY(process.readAllStandardOutput().isEmpty());
}

QTEST_GUILESS_MAIN(TestSimulatedBoard)
#include "test_simulatedboard.moc"
