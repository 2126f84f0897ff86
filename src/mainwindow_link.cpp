// The serial link to the measuring board: opening and closing the port,
// sending polls and settings, and taking frames off the line.
#include "mainwindow.h"

#include "form/mainwindowform.h"
#include "usermessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSpinBox>

void MainWindow::on_push_serial_connect_clicked()
{
    if (serialPort.isOpen()) {
        serialPort.close();
        qDebug() << "Seriale chiusa";
        forgetOwedReplies();
    } else {
        const QString portName = form->combo_serial->currentText();
        serialPort.setPortName(portName);
        serialPort.open(QIODevice::ReadWrite);
        if (serialPort.isOpen()) {
            serialPort.setBaudRate(kBaudRate, QSerialPort::AllDirections);
            qDebug() << "Seriale aperta";
            if (serialPort.setDataBits(QSerialPort::Data8))
                qDebug() << "Lunghezza frame 8 bit ok.";
            withdrawNotice(Notice::Link);
            forgetOwedReplies();
        } else {
            showNotice(Notice::Link,
                       portOpenFailedMessage(portName, serialPort.error(), serialPort.errorString()));
        }
    }
    // Pressed in means connected, also after an open that failed.
    form->push_serial_connect->setChecked(serialPort.isOpen());
}

void MainWindow::on_push_start_data_clicked()
{
    if (!serialPort.isOpen())
        return;
    if (form->check_timer->isChecked()) {
        pollTimer.setInterval(form->spin_ms_timer->value());
        pollTimer.setSingleShot(false);
        pollTimer.start();
    } else {
        sendPoll();
    }
}

void MainWindow::timer_end()
{
    sendPoll();
}

void MainWindow::on_INVIA_clicked()
{
    const int innerLoopCount = form->MedInt->value();
    const double lowPassCoefficient = form->filtroLp->value();
    if (!serialPort.isOpen()) {
        showNotice(Notice::Settings, settingsNotSentMessage());
        return;
    }
    sendToBoard(encodeSettingsCommand(innerLoopCount, lowPassCoefficient));
    showNotice(Notice::Settings,
               settingsSentMessage(innerLoopCount, lowPassCoefficient, form->filtroLp->decimals()));
}

void MainWindow::serial_ready_read()
{
    const qint64 waiting = serialPort.bytesAvailable();
    qDebug().noquote() << QStringLiteral("Ready read: %1").arg(waiting);
    if (waiting > 0)
        replyWatch.bytesArrived();
    switch (classifyWaitingBytes(waiting)) {
    case WaitingBytes::Incomplete:
        checkReplies();
        return;
    case WaitingBytes::TooMany:
        serialPort.readAll();
        qDebug() << "Errore azzero";
        checkReplies();
        return;
    case WaitingBytes::Frame:
        break;
    }
    const QByteArray bytes = serialPort.read(kFrameSize);
    replyWatch.frameAccepted();
    checkReplies();
    runReadingPipeline(decodeFrame(bytes.constData()));
}

// Every command goes out in one write. A closed port sends nothing; the
// write is skipped there rather than left to fail with a warning at every
// tick of the poll timer.
void MainWindow::sendToBoard(const QByteArray &bytes)
{
    if (serialPort.isOpen())
        serialPort.write(bytes);
}

void MainWindow::sendPoll()
{
    if (!serialPort.isOpen())
        return;
    serialPort.write(pollCommand());
    replyWatch.pollSent(linkClock.elapsed());
    // While polls are answered the watch wakes about once a second, not at
    // every poll.
    if (!replyDue.isActive())
        checkReplies();
}

void MainWindow::forgetOwedReplies()
{
    replyWatch.reset();
    replyDue.stop();
    repliesTold = ReplyWatch::State::Answering;
    withdrawNotice(Notice::Replies);
}

// A board that stays silent, or bytes that never form a frame, are told
// once the oldest unanswered poll is a second old, also when nothing else
// happens on the line then; the first frame takes the message back. Each
// change is told once, so that a message the user caused meanwhile (a save,
// the settings sent) is not covered again at the next poll.
void MainWindow::checkReplies()
{
    const qint64 now = linkClock.elapsed();
    const ReplyWatch::State state = replyWatch.state(now);
    if (state == ReplyWatch::State::Answering) {
        const qint64 due = replyWatch.silenceDueMs();
        if (due >= 0 && !replyDue.isActive())
            replyDue.start(int(qMax<qint64>(0, due - now)));
    }
    if (state == repliesTold)
        return;
    repliesTold = state;
    switch (state) {
    case ReplyWatch::State::Answering:
        withdrawNotice(Notice::Replies);
        return;
    case ReplyWatch::State::Silent:
        showNotice(Notice::Replies, noAnswerMessage(serialPort.portName()));
        return;
    case ReplyWatch::State::Garbled:
        showNotice(Notice::Replies, notABoardMessage(serialPort.portName()));
        return;
    }
}

// A board that disappears (an adapter pulled out) leaves the port unusable:
// close it so that "Aprila" can open it again once the board is back.
// Displays, averages and the log are kept. On Linux a hung-up line reads
// as end of file, which the port reports as a read error, again and again
// for as long as it stays open.
void MainWindow::onSerialError(QSerialPort::SerialPortError error)
{
    const bool lineLost = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (!lineLost || !serialPort.isOpen())
        return;
    serialPort.close();
    qDebug() << "Seriale persa";
    forgetOwedReplies();
    form->push_serial_connect->setChecked(false);
    showNotice(Notice::Link, boardLostMessage());
}
