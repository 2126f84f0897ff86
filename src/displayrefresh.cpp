#include "displayrefresh.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QEvent>
#include <QLCDNumber>
#include <QPainter>
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
void releaseDigits(const QWidget &window)
{
    for (QLCDNumber *display : window.findChildren<QLCDNumber *>()) {
        if (!display->updatesEnabled())
            display->setUpdatesEnabled(true);
    }
}

// The widget a bar's backdrop is rendered from: the window, or, when the
// window's content scrolls, the scrolled content, which renders whole
// wherever it stands (the window would show the scroll bars, or nothing,
// where the bar lies out of view).
QWidget *backdropSource(QWidget *bar, QWidget &window)
{
    for (QWidget *w = bar; w != &window && w->parentWidget(); w = w->parentWidget()) {
        QWidget *parent = w->parentWidget();
        const auto *area = qobject_cast<const QAbstractScrollArea *>(parent->parentWidget());
        if (area && area->viewport() == parent)
            return w;
    }
    return &window;
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

void DisplayRefresh::releaseBars()
{
    for (QProgressBar *bar : window.findChildren<QProgressBar *>()) {
        if (bar->updatesEnabled())
            continue;
        if (bar->isVisible() && backdrops.count(bar) == 0)
            takeBackdrop(bar);
        bar->setUpdatesEnabled(true);
    }
}

void DisplayRefresh::takeBackdrop(QProgressBar *bar)
{
    // The window rendered where the bar is, without the bar.
    QWidget *source = backdropSource(bar, window);
    bar->hide();
    backdrops[bar] = source->grab(QRect(bar->mapTo(source, QPoint(0, 0)), bar->size()));
    bar->show();
    // The bar now paints every pixel of its own: what lies behind it need
    // not be painted first.
    bar->setAttribute(Qt::WA_OpaquePaintEvent);
    bar->installEventFilter(this);
}

void DisplayRefresh::forgetBackdrop(QWidget *bar)
{
    if (backdrops.erase(bar) == 0)
        return;
    bar->setAttribute(Qt::WA_OpaquePaintEvent, false);
    bar->update();
}

bool DisplayRefresh::eventFilter(QObject *watched, QEvent *event)
{
    auto *bar = static_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::Paint: {
        const auto found = backdrops.find(watched);
        if (found == backdrops.end())
            break;
        QPainter(bar).drawPixmap(0, 0, found->second);
        // On a screen of another pixel density, a new one is taken.
        if (found->second.devicePixelRatio() != bar->devicePixelRatioF())
            forgetBackdrop(bar);
        break;
    }
    // What lies behind the bar, or where it lies, may have changed.
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ParentChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
    case QEvent::ActivationChange:
        forgetBackdrop(bar);
        break;
    default:
        break;
    }
    return false;
}

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
        releaseBars();
        barsHeld = false;
        sinceBarsPainted.start();
        released = true;
    }
    if (digitsHeld && (everything || paceLeft(sinceDigitsPainted, kDigitsPaceMs) == 0)) {
        releaseDigits(window);
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
