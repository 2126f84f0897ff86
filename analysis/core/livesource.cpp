#include "livesource.h"

#include "usermessages.h"

#include <algorithm>

LiveSource::LiveSource(QObject *parent)
    : QObject(parent)
{
    pollTimer.setInterval(kDefaultPollMs);
    pollTimer.setTimerType(Qt::PreciseTimer);
    qRegisterMetaType<MeasurementFrame>();
    connect(&pollTimer, &QTimer::timeout, this, &LiveSource::poll);
    connect(&port, &QSerialPort::readyRead, this, &LiveSource::readWaiting);
    connect(&port, &QSerialPort::errorOccurred, this, &LiveSource::portError);
}

LiveSource::~LiveSource()
{
    close();
}

QString LiveSource::shownPortName(const QString &portName)
{
    const QString devices = QStringLiteral("/dev/");
    return portName.startsWith(devices) ? portName.mid(devices.size()) : portName;
}

bool LiveSource::open(const QString &portName, QString *error)
{
    close();
    port.setPortName(portName);
    if (!port.open(QIODevice::ReadWrite)) {
        if (error)
            *error = portOpenFailedMessage(shownPortName(portName), port.error(), port.errorString());
        return false;
    }
    port.setBaudRate(kBaudRate, QSerialPort::AllDirections);
    port.setDataBits(QSerialPort::Data8);
    // Whatever the line held before this session is not a reply to it.
    port.clear(QSerialPort::Input);
    openedName = shownPortName(portName);
    polls = frames = discarded = waited = 0;
    replyOwed = false;
    watch.reset();
    shownState = ReplyWatch::State::Answering;
    clock.start();
    pollTimer.start();
    return true;
}

void LiveSource::close()
{
    pollTimer.stop();
    if (port.isOpen())
        port.close();
}

void LiveSource::setPollPeriodMs(int ms)
{
    pollTimer.setInterval(std::clamp(ms, kShortestPollMs, kLongestPollMs));
}

void LiveSource::poll()
{
    if (!port.isOpen())
        return;
    const qint64 now = clock.elapsed();
    if (replyOwed && now - lastPollMs < kReplyWaitMs) {
        ++waited;
        checkReplies();
        return;
    }
    port.write(pollCommand());
    ++polls;
    replyOwed = true;
    lastPollMs = now;
    watch.pollSent(now);
    checkReplies();
}

void LiveSource::readWaiting()
{
    const qint64 waiting = port.bytesAvailable();
    if (waiting > 0)
        watch.bytesArrived();
    switch (classifyWaitingBytes(waiting)) {
    case WaitingBytes::Incomplete:
        return;
    case WaitingBytes::TooMany:
        port.readAll();
        ++discarded;
        replyOwed = false;
        return;
    case WaitingBytes::Frame:
        break;
    }
    const QByteArray bytes = port.read(kFrameSize);
    if (bytes.size() != kFrameSize)
        return;
    ++frames;
    replyOwed = false;
    watch.frameAccepted();
    checkReplies();
    emit frameReceived(decodeFrame(bytes.constData()), double(clock.nsecsElapsed()) * 1e-9);
}

void LiveSource::checkReplies()
{
    const ReplyWatch::State state = watch.state(clock.elapsed());
    if (state == shownState)
        return;
    shownState = state;
    switch (state) {
    case ReplyWatch::State::Answering:
        emit problemChanged(QString());
        break;
    case ReplyWatch::State::Silent:
        emit problemChanged(noAnswerMessage(openedName));
        break;
    case ReplyWatch::State::Garbled:
        emit problemChanged(notABoardMessage(openedName));
        break;
    }
}

// A hung-up line reads as end of file, which the port reports as a read
// error again and again for as long as it stays open: close it once.
void LiveSource::portError(QSerialPort::SerialPortError error)
{
    const bool lineLost = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (!lineLost || !port.isOpen())
        return;
    close();
    emit lost(boardLostMessage());
}
