#include "displayrefresh.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>

DisplayRefresh::DisplayRefresh(int shortestIntervalMs)
    : shortestIntervalMs(shortestIntervalMs)
    , interval(shortestIntervalMs)
{
    stragglers.setSingleShot(true);
    QObject::connect(&stragglers, &QTimer::timeout, [this] { paintHeld(); });
}

DisplayRefresh::~DisplayRefresh() = default;

bool DisplayRefresh::insideInterval() const
{
    return sincePainted.isValid() && sincePainted.elapsed() < interval;
}

void DisplayRefresh::aboutToChange(QWidget *display)
{
    if (!insideInterval() || !display->updatesEnabled())
        return;
    display->setUpdatesEnabled(false);
    held.push_back(display);
}

void DisplayRefresh::frameShown()
{
    if (insideInterval()) {
        stragglers.start(interval);
        return;
    }
    stragglers.stop();
    // What this frame set unheld paints as usual, once the slot returns.
    if (held.empty())
        sincePainted.start();
    else
        paintHeld();
}

void DisplayRefresh::paintHeld()
{
    QElapsedTimer painting;
    painting.start();
    // Enabling updates again schedules each display's repaint; dispatching
    // the pending update requests paints them all in one pass, now.
    for (QWidget *display : held)
        display->setUpdatesEnabled(true);
    held.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);

    const double paintingMs = static_cast<double>(painting.nsecsElapsed()) / 1e6;
    const double wantedMs = std::ceil(paintingMs / kPaintingShare);
    interval = static_cast<int>(std::clamp(
        wantedMs, double(shortestIntervalMs), double(std::max(shortestIntervalMs, kLongestIntervalMs))));
    sincePainted.start();
}
