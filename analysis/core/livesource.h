#ifndef ANALYSIS_LIVESOURCE_H
#define ANALYSIS_LIVESOURCE_H

#include "deviceprotocol.h"
#include "replywatch.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

// The measuring board read live: its serial port opened with the gauge's
// line settings, polled with "@@" at a steady period, and the bytes waiting
// judged by the gauge's own rule (a frame is exactly the bytes of one; more
// are thrown away, fewer wait). A board that stops answering, or a device
// that answers with what is not a frame, is told once; a board that is
// lost (unplugged) ends the session, and what was received stays with the
// receiver.
class LiveSource : public QObject
{
    Q_OBJECT
public:
    // The gauge's poll periods.
    static constexpr int kShortestPollMs = ::kShortestPollMs;
    static constexpr int kLongestPollMs = ::kLongestPollMs;
    static constexpr int kDefaultPollMs = ::kDefaultPollMs;
    // A tick that comes while the last poll's reply is still on its way
    // sends nothing, so that two replies never meet in the buffer (where the
    // frame rule would throw both away) when the program is held up; a
    // reply this late is taken as lost, and the next tick polls again.
    static constexpr qint64 kReplyWaitMs = 200;

    explicit LiveSource(QObject *parent = nullptr);
    ~LiveSource() override;

    // The port's name as messages give it: a device path without "/dev/".
    static QString shownPortName(const QString &portName);

    // Opens the port (a name such as ttyUSB0, or a device path) and starts
    // polling. False with the gauge's wording of the reason in *error.
    bool open(const QString &portName, QString *error = nullptr);
    void close();
    // Stops polling and keeps the port open, so that the replies on their
    // way are still taken.
    void stopPolling() { pollTimer.stop(); }
    bool isOpen() const { return port.isOpen(); }
    QString portName() const { return openedName; }

    // 10 to 50 ms; a value outside is brought within.
    void setPollPeriodMs(int ms);
    int pollPeriodMs() const { return pollTimer.interval(); }

    // Since the port was opened.
    quint64 pollsSent() const { return polls; }
    // Ticks that sent nothing because a reply was on its way.
    quint64 ticksWaited() const { return waited; }
    quint64 framesAccepted() const { return frames; }
    quint64 discards() const { return discarded; }
    // Milliseconds since the port was opened, on the clock frames are stamped with.
    qint64 elapsedMs() const { return clock.isValid() ? clock.elapsed() : 0; }

signals:
    // An accepted frame and when it came, in seconds since the port was opened.
    void frameReceived(const MeasurementFrame &frame, double seconds);
    // The board's state changed: a text to show (no answer, not a board), or
    // an empty text once it answers again.
    void problemChanged(const QString &text);
    // The board was lost: the port is closed and polling has stopped.
    void lost(const QString &text);

private:
    void poll();
    void readWaiting();
    void checkReplies();
    void portError(QSerialPort::SerialPortError error);

    QSerialPort port;
    QTimer pollTimer;
    QElapsedTimer clock;
    ReplyWatch watch;
    ReplyWatch::State shownState = ReplyWatch::State::Answering;
    QString openedName;
    quint64 polls = 0;
    quint64 frames = 0;
    quint64 discarded = 0;
    quint64 waited = 0;
    bool replyOwed = false;
    qint64 lastPollMs = 0;
};

Q_DECLARE_METATYPE(MeasurementFrame)

#endif // ANALYSIS_LIVESOURCE_H
