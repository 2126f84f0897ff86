#include "replywatch.h"

void ReplyWatch::reset()
{
    pollOwed = false;
    oldestUnansweredMs = 0;
    bytesSinceFrame = false;
    framesCame = false;
}

void ReplyWatch::pollSent(qint64 nowMs)
{
    if (pollOwed)
        return;
    pollOwed = true;
    oldestUnansweredMs = nowMs;
}

void ReplyWatch::bytesArrived()
{
    bytesSinceFrame = true;
}

void ReplyWatch::frameAccepted()
{
    pollOwed = false;
    bytesSinceFrame = false;
    framesCame = true;
}

ReplyWatch::State ReplyWatch::state(qint64 nowMs) const
{
    if (!pollOwed || nowMs - oldestUnansweredMs < kSilenceMs)
        return State::Answering;
    return bytesSinceFrame && !framesCame ? State::Garbled : State::Silent;
}

qint64 ReplyWatch::silenceDueMs() const
{
    return pollOwed ? oldestUnansweredMs + kSilenceMs : -1;
}
