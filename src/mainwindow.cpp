#include "mainwindow.h"

#include "displayrefresh.h"
#include "form/mainwindowform.h"
#include "portlist.h"
#include "referencechoice.h"

#include <QComboBox>
#include <QStatusBar>

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
    acceptOnlyCylinders(form->Scegli);

    // The ports present now, looked up again whenever the list is opened.
    keepPortListFresh(form->combo_serial);

    connect(&serialPort, SIGNAL(readyRead()), this, SLOT(serial_ready_read()));
    connect(&pollTimer, SIGNAL(timeout()), this, SLOT(timer_end()));
    connect(&serialPort, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { onSerialError(error); });

    linkClock.start();
    replyDue.setSingleShot(true);
    connect(&replyDue, &QTimer::timeout, this, [this] { checkReplies(); });
}

MainWindow::~MainWindow()
{
    delete form;
}

// Messages stay until another replaces them or their cause has gone.
void MainWindow::showNotice(Notice kind, const QString &text)
{
    form->statusBar->showMessage(text);
    shownNotice = kind;
}

void MainWindow::withdrawNotice(Notice kind)
{
    if (shownNotice != kind)
        return;
    form->statusBar->clearMessage();
    shownNotice = Notice::None;
}
