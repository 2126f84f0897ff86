// Seeded random bytes from a pseudo-terminal board through the real window:
// garbage, good frames and frames of NaNs, infinities, denormals and huge
// values, in random chunks and pauses. However the line and the event loop
// cut the stream, the "Ready read" counts replayed against the bytes sent
// must account for every byte, every accepted frame must be logged exactly
// as its bytes decode, and nothing else may reach the log.
#include "floatbits.h"
#include "mainwindow.h"
#include "windowrig.h"

#include <QLCDNumber>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

namespace {

const QString readSlot = QStringLiteral("void MainWindow::serial_ready_read()");
constexpr int kSegments = 250;
constexpr int kQuietMs = 30;

// Draws from the engine's raw output only: std distributions differ
// between library versions, and a seed must give the same bytes anywhere.
class Draw
{
public:
    explicit Draw(std::uint64_t seed)
        : engine(seed)
    {
    }

    std::uint64_t bits() { return engine(); }
    // 0 .. n-1; the modulo bias does not matter here.
    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(engine() % n); }
    bool coin() { return (engine() >> 63) != 0; }
    float between(double low, double high)
    {
        const double unit = double(engine() >> 11) * 0x1.0p-53;
        return float(low + (high - low) * unit);
    }

private:
    std::mt19937_64 engine;
};

// A frame's values drawn as bit patterns: the four readings, then the cycle
// time.
using FrameWords = std::array<std::uint32_t, 5>;

// The values are only copied, never computed with, so that signalling NaNs
// reach the line exactly as drawn.
QByteArray wordsToBytes(const FrameWords &words)
{
    MeasurementFrame frame;
    for (std::size_t i = 0; i < frame.readings.size(); ++i)
        frame.readings[i] = floatFromBits(words[i]);
    frame.cycleTime = floatFromBits(words[frame.readings.size()]);
    return encodeFrame(frame);
}

std::uint32_t oddValue(Draw &draw)
{
    const std::uint32_t sign = draw.coin() ? 0x80000000u : 0u;
    switch (draw.below(8)) {
    case 0: // quiet NaN with a payload
        return sign | 0x7FC00000u | draw.below(0x400000u);
    case 1: // signalling NaN: quiet bit clear, payload not zero
        return sign | 0x7F800000u | (1 + draw.below(0x3FFFFFu));
    case 2:
        return sign | 0x7F800000u;
    case 3: // denormal
        return sign | (1 + draw.below(0x7FFFFFu));
    case 4:
        return sign;
    case 5:
        return sign | bitsOf(3e38f);
    case 6:
        return sign | 0x7F7FFFFFu; // FLT_MAX
    default:
        return sign | 0x00800000u; // smallest normal
    }
}

FrameWords goodWords(Draw &draw)
{
    FrameWords words{};
    for (int i = 0; i < 4; ++i)
        words[i] = bitsOf(draw.between(-50.0, 1.0));
    words[4] = bitsOf(draw.between(14.0, 16.0));
    return words;
}

QByteArray goodFrame(Draw &draw)
{
    return wordsToBytes(goodWords(draw));
}

QByteArray oddFrame(Draw &draw)
{
    FrameWords words = goodWords(draw);
    const auto count = static_cast<std::uint32_t>(words.size());
    const std::uint32_t spoilt = 1 + draw.below(count);
    for (std::uint32_t i = 0; i < spoilt; ++i)
        words[draw.below(count)] = oddValue(draw);
    return wordsToBytes(words);
}

QByteArray garbage(Draw &draw, int length)
{
    QByteArray bytes;
    for (int i = 0; i < length; ++i)
        bytes.append(static_cast<char>(draw.bits() & 0xFFu));
    return bytes;
}

struct Chunk
{
    QByteArray bytes;
    int pauseMs;
};

// The whole schedule of one seed: what goes on the line and the pause after
// each write.
QVector<Chunk> schedule(std::uint64_t seed)
{
    Draw draw(seed);
    QVector<Chunk> chunks;
    QByteArray loose;
    const auto flushLoose = [&] {
        for (int at = 0; at < loose.size();) {
            const int size = 1 + int(draw.below(40));
            chunks.append({loose.mid(at, size), int(draw.below(16))});
            at += size;
        }
        loose.clear();
    };
    for (int segment = 0; segment < kSegments; ++segment) {
        const std::uint32_t kind = draw.below(10);
        if (kind < 4) {
            loose += garbage(draw, 1 + int(draw.below(60)));
        } else if (kind < 6) {
            loose += goodFrame(draw);
        } else if (kind < 8) {
            loose += oddFrame(draw);
        } else {
            // A quiet frame: more than a frame of garbage in one write empties
            // the window's buffer, and the pauses around the frame keep it
            // alone on the line, so that it is normally taken.
            flushLoose();
            chunks.append({garbage(draw, kFrameSize + 1 + int(draw.below(20))), kQuietMs});
            const QByteArray frame = draw.coin() ? goodFrame(draw) : oddFrame(draw);
            if (draw.coin()) {
                chunks.append({frame, kQuietMs});
            } else {
                const int cut = 1 + int(draw.below(kFrameSize - 1));
                chunks.append({frame.left(cut), int(draw.below(16))});
                chunks.append({frame.mid(cut), kQuietMs});
            }
        }
    }
    flushLoose();
    return chunks;
}

// What the window's debug lines say it did with the bytes sent.
struct Replay
{
    qint64 cursor = 0;  // bytes taken off the line, as frames or discarded
    qint64 pending = 0; // bytes left waiting by the last notification
    int notifications = 0;
    int discards = 0;
    QVector<QByteArray> frames;
    QString fault;

    qint64 seen() const { return cursor + pending; }
};

struct SendMark
{
    int messagesBefore; // messages logged before the write began
    qint64 sentAfter;   // bytes on the line once it has ended
};

Replay replay(const QList<MessageCapture::Message> &messages, const QByteArray &sent,
              const QVector<SendMark> &marks)
{
    static const QRegularExpression readyRead(QStringLiteral("^Ready read: (\\d+)$"));
    Replay r;
    bool discardDue = false;
    qint64 bound = 0; // bytes sent before the message at hand was written
    int mark = 0;
    for (int i = 0; i < messages.size() && r.fault.isEmpty(); ++i) {
        while (mark < marks.size() && marks[mark].messagesBefore <= i)
            bound = marks[mark++].sentAfter;
        const MessageCapture::Message &message = messages[i];
        if (message.type != QtDebugMsg || message.function != readSlot)
            continue;
        const auto where = QStringLiteral(" (message %1, cursor %2, pending %3)")
                               .arg(i)
                               .arg(r.cursor)
                               .arg(r.pending);
        if (message.text == QLatin1String("Errore azzero")) {
            if (!discardDue)
                r.fault = QStringLiteral("Errore azzero without more than 20 waiting") + where;
            discardDue = false;
            ++r.discards;
            continue;
        }
        const QRegularExpressionMatch match = readyRead.match(message.text);
        if (!match.hasMatch()) {
            r.fault = QStringLiteral("unexpected line \"%1\"").arg(message.text) + where;
            break;
        }
        if (discardDue) {
            r.fault = QStringLiteral("no Errore azzero after a discard") + where;
            break;
        }
        const qint64 n = match.captured(1).toLongLong();
        ++r.notifications;
        if (n < r.pending) {
            r.fault = QStringLiteral("%1 waiting, fewer than left before").arg(n) + where;
        } else if (r.cursor + n > bound) {
            r.fault = QStringLiteral("%1 waiting, only %2 sent").arg(n).arg(bound) + where;
        } else if (n < kFrameSize) {
            r.pending = n;
        } else if (n == kFrameSize) {
            r.frames.append(sent.mid(int(r.cursor), kFrameSize));
            r.cursor += n;
            r.pending = 0;
        } else {
            r.cursor += n;
            r.pending = 0;
            discardDue = true;
        }
    }
    if (r.fault.isEmpty() && discardDue)
        r.fault = QStringLiteral("no Errore azzero after the last discard");
    return r;
}

// A reading that is NaN, infinite or denormal.
bool oddReading(const QByteArray &frame)
{
    for (const float reading : decodedFrame(frame).readings) {
        const int kind = std::fpclassify(reading);
        if (kind == FP_NAN || kind == FP_INFINITE || kind == FP_SUBNORMAL)
            return true;
    }
    return false;
}

QString field(float value)
{
    return QString::number(double(value), 'f', 6);
}

// Empty if the log is one line per frame, each starting with the frame's
// four readings.
QString logMismatch(const QString &log, const QVector<QByteArray> &frames)
{
    QStringList lines = log.split(QStringLiteral("\r\n"));
    if (lines.takeLast() != QString())
        return QStringLiteral("the log does not end with CR LF");
    if (lines.size() != frames.size())
        return QStringLiteral("%1 log lines for %2 accepted frames")
            .arg(lines.size())
            .arg(frames.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char(','));
        const CylinderValues readings = decodedFrame(frames[i]).readings;
        const QString expected =
            QStringLiteral("%1,%2,%3,%4")
                .arg(field(readings[0]), field(readings[1]), field(readings[2]), field(readings[3]));
        if (fields.size() != 8 || fields.mid(0, 4).join(QLatin1Char(',')) != expected)
            return QStringLiteral("line %1 \"%2\" for frame %3 (%4)")
                .arg(i)
                .arg(lines[i], QString::fromLatin1(frames[i].toHex()), expected);
    }
    return QString();
}

struct Rig : WindowRig
{
    QByteArray sent;
    QVector<SendMark> marks;

    bool setUp() { return showWithBoard() && connectBoard(); }

    bool send(const QByteArray &bytes)
    {
        marks.append({static_cast<int>(messages.messages().size()), sent.size() + bytes.size()});
        sent += bytes;
        return board.send(bytes);
    }

    Replay replayed() const { return replay(messages.messages(), sent, marks); }

    // The window has reported every byte sent, or has gone wrong.
    bool settled() const
    {
        const Replay r = replayed();
        return !r.fault.isEmpty() || r.seen() == sent.size();
    }
};

} // namespace

class TestSerialFuzz : public QObject
{
    Q_OBJECT

private slots:
    void fuzzedStream_data();
    void fuzzedStream();
};

void TestSerialFuzz::fuzzedStream_data()
{
    QTest::addColumn<quint64>("seed");
    for (const quint64 seed : {quint64(1), quint64(0x5EEDC0DEull), quint64(20240611)})
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void TestSerialFuzz::fuzzedStream()
{
    QFETCH(quint64, seed);
    Rig rig;
    QVERIFY(rig.setUp());

    for (const Chunk &chunk : schedule(seed)) {
        QVERIFY(rig.send(chunk.bytes));
        QTest::qWait(chunk.pauseMs);
    }
    QTRY_VERIFY_WITH_TIMEOUT(rig.settled(), 30000);
    const Replay stream = rig.replayed();
    QVERIFY2(stream.fault.isEmpty(), qPrintable(stream.fault));
    // The schedule takes both paths, whatever the timing.
    QVERIFY2(!stream.frames.isEmpty(), "no frame accepted");
    QVERIFY2(stream.discards > 0, "nothing discarded");
    const auto odd = std::count_if(stream.frames.cbegin(), stream.frames.cend(), oddReading);
    QVERIFY2(odd > 0, "no NaN, infinite or denormal reading accepted");

    // Still alive: once whatever is left waiting has been thrown away, a
    // frame alone on the line is taken and shown.
    for (int tries = 0; tries < 5 && rig.replayed().pending != 0; ++tries) {
        QVERIFY(rig.send(QByteArray(kFrameSize + 1, '\x55')));
        QTRY_VERIFY_WITH_TIMEOUT(rig.settled(), 30000);
    }
    const Replay beforeLast = rig.replayed();
    QVERIFY2(beforeLast.fault.isEmpty(), qPrintable(beforeLast.fault));
    QCOMPARE(beforeLast.pending, qint64(0));
    const QByteArray last = frameBytes({-20.5f, -21.25f, -19.75f, -20.f}, 15.f);
    QVERIFY(rig.send(last));
    QTRY_VERIFY_WITH_TIMEOUT(rig.settled(), 30000);

    const Replay r = rig.replayed();
    QVERIFY2(r.fault.isEmpty(), qPrintable(r.fault));
    QCOMPARE(r.seen(), qint64(rig.sent.size()));
    QCOMPARE(r.frames.size(), beforeLast.frames.size() + 1);
    QCOMPARE(r.frames.last(), last);
    const QString mismatch = logMismatch(rig.window.measurementLog(), r.frames);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    const QStringList lines = rig.window.measurementLog().split(QStringLiteral("\r\n"));
    QVERIFY(lines.size() >= 2);
    QVERIFY(lines[lines.size() - 2].startsWith(
        QStringLiteral("-20.500000,-21.250000,-19.750000,-20.000000,")));
    QCOMPARE(rig.messages.count("Errore azzero"), r.discards);
    QCOMPARE(child<QLCDNumber>(&rig.window, "Tardu")->value(), 15.0);
    QVERIFY(child<QPushButton>(&rig.window, "push_serial_connect")->isChecked());
    QCOMPARE(rig.messages.count("Seriale persa"), 0);
    qInfo("seed %llu: %lld bytes, %d notifications, %d frames (%d odd), %d discards", seed,
          qint64(rig.sent.size()), stream.notifications, int(stream.frames.size()), int(odd),
          stream.discards);
}

QTEST_MAIN(TestSerialFuzz)
#include "test_serialfuzz.moc"
