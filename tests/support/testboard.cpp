#include "testboard.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

TestBoard::TestBoard(const EngineConfig &config, QObject *parent)
    : SimulatedBoard(config, parent)
{
    setReplyShaper(this);
    // Connected before any test's own receivers, so that these counts are
    // up to date when those run.
    connect(this, &SimulatedBoard::bytesArrived, this,
            [this](const QByteArray &bytes) { heard += bytes; });
    connect(this, &SimulatedBoard::pollReceived, this, [this] { ++pollCount; });
    connect(this, &SimulatedBoard::replySent, this, [this] { ++frameCount; });
    connect(this, &SimulatedBoard::settingsCommandReceived, this,
            [this](float innerLoopCount, float lowPassCoefficient) {
                receivedInnerLoopCount = innerLoopCount;
                receivedLowPassCoefficient = lowPassCoefficient;
                ++settingsCount;
            });
}

void TestBoard::setFixedTimeStep(double ms)
{
    fixedStepMs = ms > 0.0 ? ms : 0.0;
    nextFixedTimeMs = 0.0;
}

void TestBoard::splitNextReply(int firstPartSize, int pauseMs)
{
    splitSize = firstPartSize;
    splitPauseMs = std::max(0, pauseMs);
    splitEvery = false;
}

void TestBoard::splitEveryReply(int firstPartSize, int pauseMs)
{
    splitNextReply(firstPartSize, pauseMs);
    splitEvery = true;
}

void TestBoard::stopSplitting()
{
    splitSize = 0;
    splitEvery = false;
}

void TestBoard::addStrayBytesBeforeNextReply(const QByteArray &bytes)
{
    strayBytes += bytes;
}

void TestBoard::setSilent(bool silent)
{
    repliesWithheld = silent;
}

void TestBoard::setValueOfNextReply(int offset, float value)
{
    if (offset >= 0 && offset <= kFrameSize - kValueSize)
        nextReplyValues.emplace_back(offset, value);
}

bool TestBoard::send(const QByteArray &bytes)
{
    if (!isPluggedIn())
        return false;
    line().queue(bytes, 0, false);
    return true;
}

QByteArray TestBoard::takeReceived()
{
    QByteArray taken;
    taken.swap(heard);
    return taken;
}

bool TestBoard::waitForReceived(int count, int timeoutMs)
{
    if (heard.size() >= count)
        return true;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &SimulatedBoard::bytesArrived, &loop, [this, count, &loop] {
        if (heard.size() >= count)
            loop.quit();
    });
    deadline.start(timeoutMs);
    loop.exec();
    return heard.size() >= count;
}

void TestBoard::answer(BoardModel &model, double nowMs, BoardLine &line)
{
    if (repliesWithheld)
        return;

    double timeMs = nowMs;
    if (fixedStepMs > 0.0) {
        timeMs = nextFixedTimeMs;
        nextFixedTimeMs += fixedStepMs;
    }
    QByteArray reply = encodeFrame(model.takeFrame(timeMs));
    for (const auto &[offset, value] : nextReplyValues)
        putFloatLittleEndian(reply, offset, value);
    nextReplyValues.clear();

    QByteArray first = strayBytes;
    strayBytes.clear();
    if (splitSize > 0 && splitSize < reply.size()) {
        line.queue(first + reply.left(splitSize), 0, false);
        line.queue(reply.mid(splitSize), splitPauseMs, true);
        if (!splitEvery)
            splitSize = 0;
    } else {
        line.queue(first + reply, 0, true);
    }
}
