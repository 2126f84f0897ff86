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
    } else {
        const QString portName = form->combo_serial->currentText();
        serialPort.setPortName(portName);
        serialPort.open(QIODevice::ReadWrite);
        if (serialPort.isOpen()) {
            serialPort.setBaudRate(38400, QSerialPort::AllDirections);
            qDebug() << "Seriale aperta";
            if (serialPort.setDataBits(QSerialPort::Data8))
                qDebug() << "Lunghezza frame 8 bit ok.";
            withdrawNotice(Notice::Link);
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
        sendToBoard(pollCommand());
    }
}

void MainWindow::timer_end()
{
    sendToBoard(pollCommand());
}

void MainWindow::on_INVIA_clicked()
{
    sendToBoard(encodeSettingsCommand(form->MedInt->value(), form->filtroLp->value()));
}

void MainWindow::serial_ready_read()
{
    const qint64 waiting = serialPort.bytesAvailable();
    qDebug().noquote() << QStringLiteral("Ready read: %1").arg(waiting);
    switch (classifyWaitingBytes(waiting)) {
    case WaitingBytes::Incomplete:
        return;
    case WaitingBytes::TooMany:
        serialPort.readAll();
        qDebug() << "Errore azzero";
        return;
    case WaitingBytes::Frame:
        break;
    }
    const QByteArray bytes = serialPort.read(kFrameSize);
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
    form->push_serial_connect->setChecked(false);
    showNotice(Notice::Link, boardLostMessage());
}
