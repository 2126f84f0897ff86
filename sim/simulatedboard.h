#ifndef SIMULATEDBOARD_H
#define SIMULATEDBOARD_H

#include "boardmodel.h"
#include "boardwire.h"
#include "pseudoterminal.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>

class QSocketNotifier;
struct termios;

// The board's end of its line, as a ReplyShaper writes to it.
class BoardLine
{
public:
    // Queues bytes behind everything already queued, to go pauseMs after
    // the line is free (or now, if it is). endsReply marks the last piece
    // of a reply: replySent() follows once it has been written.
    virtual void queue(const QByteArray &bytes, int pauseMs, bool endsReply) = 0;

protected:
    ~BoardLine() = default;
};

// How the board answers a poll that came at nowMs (ms since the board was
// made): the default takes the model's frame for that moment and queues it
// whole. Another shaper may take frames at other moments, write them in
// pieces, or write something else.
class ReplyShaper
{
public:
    virtual ~ReplyShaper() = default;
    virtual void answer(BoardModel &model, double nowMs, BoardLine &line);
};

// The measuring board on a pseudo-terminal: the program opens portName()
// as it would a serial port. Every "@@" is answered with one frame from the
// BoardModel, "$$" and two floats change its settings, any other byte is
// skipped. Runs in the thread's event loop.
class SimulatedBoard : public QObject
{
    Q_OBJECT

public:
    // One byte on the board's line.
    static constexpr qint64 kByteNs = 1'000'000'000LL * board::kBitsPerByte / board::kBaudRate;

    explicit SimulatedBoard(const EngineConfig &config = EngineConfig(), QObject *parent = nullptr);
    ~SimulatedBoard() override;

    // Opens a new pseudo-terminal and starts answering on it; a board that
    // was unplugged comes back under a new port name. False, with
    // errorString(), if no pseudo-terminal could be had.
    bool plugIn();
    // Closes the board's end: the program's side of the line hangs up.
    // Pending replies are dropped.
    void unplug();
    bool isPluggedIn() const { return terminal.isOpen(); }
    // The slave device path, empty while unplugged.
    QString portName() const { return terminal.path(); }
    QString errorString() const { return lastError; }

    // Writes replies at the real line rate (about 5.2 ms per frame) instead
    // of all at once. Replies queue behind each other as on a real line.
    void setPaced(bool paced);
    // Who answers the polls from now on; null: the default shaper. The
    // shaper stays the caller's and must outlive its use here.
    void setReplyShaper(ReplyShaper *shaper);

signals:
    // Every byte the program sends, as it is read.
    void bytesArrived(const QByteArray &bytes);
    void pollReceived();
    // The values as they came, before the model's guards.
    void settingsCommandReceived(float innerLoopCount, float lowPassCoefficient);
    // The last byte of a reply has been written to the line.
    void replySent();
    void pluggedIn(const QString &portName);
    void unplugged();

protected:
    // The board's logic, for a board that looks into it.
    BoardModel &model() { return boardModel; }
    const BoardModel &model() const { return boardModel; }
    // The line, for a board that says more than its replies.
    BoardLine &line() { return outgoing; }
    // The line settings as the program's end has them; false while
    // unplugged.
    bool lineSettings(termios *settings) const;

private:
    struct Piece
    {
        QByteArray bytes;
        qint64 dueNs = 0; // sinceStart time at which it may be written
        bool endsReply = false;
    };

    // The line as the board gives it to others.
    class Line final : public BoardLine
    {
    public:
        explicit Line(SimulatedBoard &board)
            : board(board)
        {
        }
        void queue(const QByteArray &bytes, int pauseMs, bool endsReply) override
        {
            board.queue(bytes, pauseMs, endsReply);
        }

    private:
        SimulatedBoard &board;
    };

    void queue(const QByteArray &bytes, int pauseMs, bool endsReply);
    void closeLine();
    void readInput();
    void parseInput();
    void answerPoll();
    void takeSettings(const char *command);
    void writeDue();

    BoardModel boardModel;
    ReplyShaper defaultShaper;
    ReplyShaper *shaper = &defaultShaper;
    Line outgoing{*this};
    QElapsedTimer sinceStart;
    QTimer pumpTimer;

    PseudoTerminal terminal;
    QString lastError;
    QSocketNotifier *readNotifier = nullptr;
    QSocketNotifier *writeNotifier = nullptr;

    QByteArray input;
    std::deque<Piece> output;
    // When the last queued byte has left the line.
    qint64 lineFreeNs = 0;
    bool repliesPaced = false;
};

#endif // SIMULATEDBOARD_H
