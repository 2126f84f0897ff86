#ifndef PAINTCOUNTER_H
#define PAINTCOUNTER_H

#include <QEvent>
#include <QObject>

#include <map>

// Counts the paint events of each widget it filters (installed on the
// application, every widget's).
class PaintCounter : public QObject
{
public:
    std::map<const QObject *, long> paints;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
};

#endif // PAINTCOUNTER_H
