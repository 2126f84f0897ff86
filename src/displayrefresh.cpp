#include "displayrefresh.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLCDNumber>
#include <QProgressBar>

#include <algorithm>

namespace {

// A held display simply has its updates disabled: the widget remembers that
// it has to be painted, and nothing else has to.
void hold(QWidget *display)
{
    if (display->updatesEnabled())
        display->setUpdatesEnabled(false);
}

// Enabling updates again schedules each held display's repaint.
template <typename Display>
void release(const QWidget &window)
{
    for (Display *display : window.findChildren<Display *>()) {
        if (!display->updatesEnabled())
            display->setUpdatesEnabled(true);
    }
}

// Milliseconds until a pace that began at a paint is over; 0 when it is.
qint64 paceLeft(const QElapsedTimer &sincePainted, int paceMs)
{
    return sincePainted.isValid() ? std::max<qint64>(0, paceMs - sincePainted.elapsed()) : 0;
}

} // namespace

DisplayRefresh::DisplayRefresh(QWidget &window)
    : window(window)
{
    lateFrame.setSingleShot(true);
    QObject::connect(&lateFrame, &QTimer::timeout, [this] { paint(false); });
}

DisplayRefresh::~DisplayRefresh() = default;

void DisplayRefresh::aboutToChange(QProgressBar *bar)
{
    hold(bar);
    barsHeld = true;
}

void DisplayRefresh::aboutToChange(QLCDNumber *digits)
{
    hold(digits);
    digitsHeld = true;
}

void DisplayRefresh::frameShown()
{
    const bool slowFrames = !sinceFrame.isValid() || sinceFrame.elapsed() >= kSlowFramesMs;
    sinceFrame.start();
    paint(slowFrames);
}

void DisplayRefresh::paint(bool everything)
{
    bool released = false;
    if (barsHeld && (everything || paceLeft(sinceBarsPainted, kBarsPaceMs) == 0)) {
        release<QProgressBar>(window);
        barsHeld = false;
        sinceBarsPainted.start();
        released = true;
    }
    if (digitsHeld && (everything || paceLeft(sinceDigitsPainted, kDigitsPaceMs) == 0)) {
        release<QLCDNumber>(window);
        digitsHeld = false;
        sinceDigitsPainted.start();
        released = true;
    }
    // Dispatching the pending update requests paints everything released
    // in one pass, now, before the next poll goes out.
    if (released)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);

    if (!barsHeld && !digitsHeld) {
        lateFrame.stop();
        return;
    }
    qint64 dueMs = kDigitsPaceMs;
    if (barsHeld)
        dueMs = std::min(dueMs, paceLeft(sinceBarsPainted, kBarsPaceMs));
    if (digitsHeld)
        dueMs = std::min(dueMs, paceLeft(sinceDigitsPainted, kDigitsPaceMs));
    lateFrame.start(static_cast<int>(dueMs) + kLateFrameMs);
}
