#ifndef SIMULATEDBOARD_H
#define SIMULATEDBOARD_H

#include "boardmodel.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <limits>
#include <utility>
#include <vector>

class QSocketNotifier;
struct termios;

// The measuring board on a pseudo-terminal: the program opens portName()
// as it would a serial port. Every "@@" is answered with one frame from the
// BoardModel, "$$" and two floats change its settings, any other byte is
// skipped. Runs in the thread's event loop.
//
// For tests it can also misbehave on demand: replies split with a pause,
// stray bytes, silence, chosen values (NaN, infinities) in a reply, the
// pace of a real 38400-baud line, and the line pulled out. A test may also
// write any bytes itself and read back every byte the program has sent.
class SimulatedBoard : public QObject
{
    Q_OBJECT

public:
    // One byte at 38400 baud: start bit, eight data bits, stop bit.
    static constexpr qint64 kByteNs = 1'000'000'000LL * 10 / 38400;

    explicit SimulatedBoard(const EngineConfig &config = EngineConfig(), QObject *parent = nullptr);
    ~SimulatedBoard() override;

    // Opens a new pseudo-terminal and starts answering on it; a board that
    // was unplugged comes back under a new port name. False, with
    // errorString(), if no pseudo-terminal could be had.
    bool plugIn();
    // Closes the board's end: the program's side of the line hangs up.
    // Pending replies are dropped.
    void unplug();
    bool isPluggedIn() const { return masterFd >= 0; }
    // The slave device path, empty while unplugged.
    QString portName() const { return devicePath; }
    QString errorString() const { return lastError; }

    // Model time: wall-clock time since construction by default; with a
    // step above 0, each frame is taken that many ms after the previous one
    // (the first at 0), whatever the clock says.
    void setFixedTimeStep(double ms);
    // Writes replies at the real line rate (about 5.2 ms per frame) instead
    // of all at once. Replies queue behind each other as on a real line.
    void setPaced(bool paced);

    // The next reply (or every reply) goes out as its first firstPartSize
    // bytes, a pause, then the rest. A size outside 1..19 splits nothing.
    void splitNextReply(int firstPartSize, int pauseMs);
    void splitEveryReply(int firstPartSize, int pauseMs);
    void stopSplitting();
    // Sent just ahead of the next reply, in the same write.
    void addStrayBytesBeforeNextReply(const QByteArray &bytes);
    // A silent board counts polls but answers none.
    void setSilent(bool silent);
    // Puts value at offset in the next reply only (readingOffset(cylinder)
    // or kCycleTimeOffset); an offset without room for a value is ignored.
    // The model itself is not disturbed.
    void setValueOfNextReply(int offset, float value);

    // Queues bytes of the test's own choosing on the line, behind any reply
    // already queued; false while unplugged.
    bool send(const QByteArray &bytes);
    // Every byte the program has sent and the test has not yet taken.
    const QByteArray &received();
    QByteArray takeReceived();
    // Keeps the event loop turning until at least count bytes have been
    // received; false if the time ran out first.
    bool waitForReceived(int count, int timeoutMs = 5000);
    // The line settings as the program's end has them; false while unplugged.
    bool lineSettings(termios *settings) const;

    quint64 pollsReceived() const { return pollCount; }
    // Replies whose last byte has been written to the line.
    quint64 framesSent() const { return frameCount; }
    quint64 settingsReceived() const { return settingsCount; }
    // The values of the last settings command, as they came (before the
    // model's guards); NaN before the first one.
    float lastInnerLoopCount() const { return receivedInnerLoopCount; }
    float lastLowPassCoefficient() const { return receivedLowPassCoefficient; }

    BoardModel &model() { return boardModel; }
    const BoardModel &model() const { return boardModel; }

signals:
    void pollReceived();
    void settingsCommandReceived(float innerLoopCount, float lowPassCoefficient);
    void pluggedIn(const QString &portName);
    void unplugged();

private:
    struct Piece
    {
        QByteArray bytes;
        qint64 dueNs = 0; // sinceStart time at which it may be written
        bool endsReply = false;
    };

    void closeLine();
    void readInput();
    void parseInput();
    void answerPoll();
    void takeSettings(const char *command);
    void queue(const QByteArray &bytes, qint64 earliestNs, bool endsReply);
    void writeDue();

    BoardModel boardModel;
    QElapsedTimer sinceStart;
    QTimer pumpTimer;

    int masterFd = -1;
    int slaveFd = -1;
    QString devicePath;
    QString lastError;
    QSocketNotifier *readNotifier = nullptr;
    QSocketNotifier *writeNotifier = nullptr;

    QByteArray input;
    QByteArray heard;
    std::deque<Piece> output;
    // When the last queued byte has left the line.
    qint64 lineFreeNs = 0;

    double fixedStepMs = 0.0;
    double nextFixedTimeMs = 0.0;
    bool repliesPaced = false;
    bool repliesWithheld = false;
    int splitSize = 0;
    int splitPauseMs = 0;
    bool splitEvery = false;
    QByteArray strayBytes;
    // Offset and value of each value put into the next reply.
    std::vector<std::pair<int, float>> nextReplyValues;

    quint64 pollCount = 0;
    quint64 frameCount = 0;
    quint64 settingsCount = 0;
    float receivedInnerLoopCount = std::numeric_limits<float>::quiet_NaN();
    float receivedLowPassCoefficient = std::numeric_limits<float>::quiet_NaN();
};

#endif // SIMULATEDBOARD_H
