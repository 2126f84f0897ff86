#ifndef TESTBOARD_H
#define TESTBOARD_H

#include "simulatedboard.h"

#include <QByteArray>

#include <limits>
#include <termios.h>
#include <utility>
#include <vector>

// The simulated board as the tests drive it: it can misbehave on demand
// (replies split with a pause, stray bytes, silence, chosen values such as
// NaN in a reply, frames taken at fixed time steps), write any bytes of
// the test's choosing, and tell everything it has heard and done.
class TestBoard : public SimulatedBoard, private ReplyShaper
{
    Q_OBJECT

public:
    explicit TestBoard(const EngineConfig &config = EngineConfig(), QObject *parent = nullptr);

    // Model time: wall-clock time since construction by default; with a
    // step above 0, each frame is taken that many ms after the previous one
    // (the first at 0), whatever the clock says.
    void setFixedTimeStep(double ms);

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
    const QByteArray &received() const { return heard; }
    QByteArray takeReceived();
    // Keeps the event loop turning until at least count bytes have been
    // received; false if the time ran out first.
    bool waitForReceived(int count, int timeoutMs = 5000);
    // The line settings as the program's end has them; false while unplugged.
    using SimulatedBoard::lineSettings;
    // The board's logic, with the settings it took.
    using SimulatedBoard::model;

    quint64 pollsReceived() const { return pollCount; }
    // Replies whose last byte has been written to the line.
    quint64 framesSent() const { return frameCount; }
    quint64 settingsReceived() const { return settingsCount; }
    // The values of the last settings command, as they came (before the
    // model's guards); NaN before the first one.
    float lastInnerLoopCount() const { return receivedInnerLoopCount; }
    float lastLowPassCoefficient() const { return receivedLowPassCoefficient; }

private:
    void answer(BoardModel &model, double nowMs, BoardLine &line) override;

    QByteArray heard;

    double fixedStepMs = 0.0;
    double nextFixedTimeMs = 0.0;
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

// The termios code of a baud rate given as a number, to compare what
// cfgetispeed and cfgetospeed give with.
inline speed_t termiosSpeed(qint32 baud)
{
    termios settings{};
    cfsetspeed(&settings, static_cast<speed_t>(baud));
    return cfgetospeed(&settings);
}

#endif // TESTBOARD_H
