#include "portlist.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QSerialPortInfo>

namespace {

QStringList systemPorts()
{
    QStringList names;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        names << port.portName();
    return names;
}

QStringList entries(const QComboBox *box)
{
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    return shown;
}

// The keys with which a closed combo box opens its list.
bool opensList(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_F4:
    case Qt::Key_Space:
    case Qt::Key_Select:
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        return key->modifiers() & Qt::AltModifier;
    default:
        return false;
    }
}

// Looks the system's ports up again just before the list opens, by mouse
// or by key, so that the list is sized for what it shows.
class PortListRefresh : public QObject
{
public:
    explicit PortListRefresh(QComboBox *box)
        : QObject(box)
        , box(box)
    {
        refresh();
        box->installEventFilter(this);
    }

    void refresh()
    {
        const QStringList listedNow = systemPorts();
        const QStringList shown = entries(box);
        const QStringList offered = refreshedPortList(shown, listedBefore, listedNow);
        listedBefore = listedNow;
        if (offered == shown)
            return;
        const QString chosen = box->currentText();
        box->clear();
        box->addItems(offered);
        box->setCurrentIndex(qMax(0, offered.indexOf(chosen)));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == box && box->isEnabled()
            && ((event->type() == QEvent::MouseButtonPress
                 && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
                || (event->type() == QEvent::KeyPress && opensList(static_cast<QKeyEvent *>(event)))))
            refresh();
        return false;
    }

private:
    QComboBox *box;
    QStringList listedBefore;
};

} // namespace

QStringList refreshedPortList(const QStringList &shown, const QStringList &listedBefore,
                              const QStringList &listedNow)
{
    QStringList offered;
    for (const QString &name : listedNow)
        if (!offered.contains(name))
            offered << name;
    for (const QString &name : shown)
        if (!listedBefore.contains(name) && !offered.contains(name))
            offered << name;
    return offered;
}

void keepPortListFresh(QComboBox *box)
{
    new PortListRefresh(box);
}
