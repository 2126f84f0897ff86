#ifndef PAINTCOUNTER_H
#define PAINTCOUNTER_H

#include <QObject>
#include <QPaintEvent>

#include <map>

// Counts the paint events of each widget it filters (installed on the
// application, every widget's), and the pixels they cover.
class PaintCounter : public QObject
{
public:
    std::map<const QObject *, long> paints;
    double pixels = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints[watched];
            for (const QRect &rect : static_cast<QPaintEvent *>(event)->region())
                pixels += static_cast<double>(rect.width()) * rect.height();
        }
        return false;
    }
};

#endif // PAINTCOUNTER_H
