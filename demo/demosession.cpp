#include "demosession.h"

#include "mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

namespace {

// The name under which a port is offered in the list: a device under /dev
// goes by its path below /dev ("pts/4"), which the serial library resolves
// there again and which fits the narrow list box; any other path stays whole.
QString shortPortName(const QString &devicePath)
{
    const QString dev = QStringLiteral("/dev/");
    const QString below = devicePath.mid(dev.size());
    if (!devicePath.startsWith(dev) || below.isEmpty() || below.startsWith(QLatin1Char('/'))
        || below.startsWith(QLatin1Char('.')))
        return devicePath;
    return below;
}

} // namespace

void offerBoardPort(MainWindow &window, const QString &portName)
{
    auto *ports = window.findChild<QComboBox *>(QStringLiteral("combo_serial"));
    ports->addItem(shortPortName(portName));
    ports->setCurrentIndex(ports->count() - 1);
}

void choosePollPeriod(MainWindow &window, int periodMs)
{
    window.findChild<QSpinBox *>(QStringLiteral("spin_ms_timer"))->setValue(periodMs);
}

namespace {

bool pressConnect(MainWindow &window)
{
    auto *connectButton = window.findChild<QPushButton *>(QStringLiteral("push_serial_connect"));
    connectButton->click();
    return connectButton->isChecked();
}

} // namespace

bool connectBoard(MainWindow &window, const QString &portName)
{
    offerBoardPort(window, portName);
    return pressConnect(window);
}

bool openAndPollContinuously(MainWindow &window)
{
    if (!pressConnect(window))
        return false;
    window.findChild<QCheckBox *>(QStringLiteral("check_timer"))->setChecked(true);
    window.findChild<QPushButton *>(QStringLiteral("push_start_data"))->click();
    return true;
}

int acceptedFrames(const MainWindow &window)
{
    return window.measurementLog().count(QLatin1Char('\n'));
}
