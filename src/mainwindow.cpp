#include "mainwindow.h"

#include "displayrefresh.h"
#include "form/mainwindowform.h"

#include <QComboBox>
#include <QSerialPortInfo>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , logText()
    , form(new MainWindowForm)
    , serialPort()
    , pollTimer()
    , cylinderAverages()
    , displayRefresh(std::make_unique<DisplayRefresh>(*this))
{
    setupForm(form, this);

    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        form->combo_serial->addItem(port.portName());

    connect(&serialPort, SIGNAL(readyRead()), this, SLOT(serial_ready_read()));
    connect(&pollTimer, SIGNAL(timeout()), this, SLOT(timer_end()));
    connect(&serialPort, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { onSerialError(error); });
}

MainWindow::~MainWindow()
{
    delete form;
}
