#include "demosession.h"

#include "mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

void offerBoardPort(MainWindow &window, const QString &portName)
{
    auto *ports = window.findChild<QComboBox *>(QStringLiteral("combo_serial"));
    ports->addItem(portName);
    ports->setCurrentIndex(ports->count() - 1);
}

bool openAndPollContinuously(MainWindow &window)
{
    auto *connectButton = window.findChild<QPushButton *>(QStringLiteral("push_serial_connect"));
    connectButton->click();
    if (!connectButton->isChecked())
        return false;
    window.findChild<QCheckBox *>(QStringLiteral("check_timer"))->setChecked(true);
    window.findChild<QPushButton *>(QStringLiteral("push_start_data"))->click();
    return true;
}

int acceptedFrames(const MainWindow &window)
{
    return window.measurementLog().count(QLatin1Char('\n'));
}
