#ifndef REPLYWATCH_H
#define REPLYWATCH_H

#include <QtGlobal>

// Whether the board on an open port is answering its polls. A board that
// never answers (a plain serial port with nothing behind it, a board
// without its firmware) and a device that talks but never sends a frame
// look alike on the displays: nothing moves. The watch tells the two apart
// once the oldest unanswered poll is kSilenceMs old. A port that has given
// frames is the board's: when it stops answering, bytes left over (two
// replies run together, a reply cut short) do not make it another device.
// The watch keeps no clock of its own: every call is given the time in
// milliseconds, from any steady clock.
class ReplyWatch
{
public:
    // How long polls may go unanswered before the board counts as silent.
    static constexpr qint64 kSilenceMs = 1000;

    enum class State {
        Answering, // a frame came since the oldest unanswered poll, or it is recent
        Silent,    // polls unanswered for kSilenceMs, and not a byte came back
        Garbled,   // polls unanswered for kSilenceMs, but bytes came that formed no
                   // frame, and no frame has come since the port opened
    };

    // A port just opened: nothing is owed yet.
    void reset();
    void pollSent(qint64 nowMs);
    void bytesArrived();
    void frameAccepted();

    State state(qint64 nowMs) const;
    // When state() may next change without another call: the moment the
    // oldest unanswered poll turns kSilenceMs old, or -1 when no poll is owed.
    qint64 silenceDueMs() const;

private:
    bool pollOwed = false;
    qint64 oldestUnansweredMs = 0;
    bool bytesSinceFrame = false;
    bool framesCame = false;
};

#endif // REPLYWATCH_H
