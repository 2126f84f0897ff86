#include "displayrefresh.h"

#include <QCoreApplication>
#include <QLCDNumber>
#include <QProgressBar>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// A held display simply has its updates disabled: the widget remembers that
// it has to be painted, and nothing else has to.
template <typename Display>
void hold(Display *display, std::vector<Display *> &held)
{
    if (!display->updatesEnabled())
        return;
    display->setUpdatesEnabled(false);
    held.push_back(display);
}


// Milliseconds until a pace that began at a paint is over; 0 when it is.
qint64 paceLeft(const QElapsedTimer &sincePainted, int paceMs)
{
    return sincePainted.isValid() ? std::max<qint64>(0, paceMs - sincePainted.elapsed()) : 0;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

DisplayRefresh::DisplayRefresh(QWidget &window)
    : barPictures(window)
{
    lateFrame.setSingleShot(true);
    QObject::connect(&lateFrame, &QTimer::timeout, [this] { paint(false); });
}

DisplayRefresh::~DisplayRefresh() = default;

// Enabling updates again schedules each held display's repaint.
void DisplayRefresh::releaseBars()
{
    for (QProgressBar *bar : heldBars) {
        bar->setUpdatesEnabled(true);
        barPictures.prepare(bar);
    }
    heldBars.clear();
}

void DisplayRefresh::releaseDigits()
{
    for (QLCDNumber *display : heldDigits)
        display->setUpdatesEnabled(true);
    heldDigits.clear();
}

void DisplayRefresh::aboutToChange(QProgressBar *bar)
{
    hold(bar, heldBars);
}

void DisplayRefresh::show(QLCDNumber *display, double value)
{
    const double valueBefore = display->value();
    // A display given the value it holds already is left alone.
    if (sameBits(value, valueBefore))
        return;
    auto found = shown.find(display);
    if (found == shown.end()) {
        nonNumbers.watch(display);
        found = shown.emplace(display, Shown()).first;
    }
    Shown &before = found->second;
    // What the display shows is known for the value it holds.
    if (before.text.isNull() || !sameBits(before.value, valueBefore))
        before = {shownNumber(*display, valueBefore), valueBefore};
    QString text = shownNumber(*display, value);
    // A value that is not a number is spelled out inside the display, which
    // repaints when that changes, though the dashes painted over it do not.
    const bool nonNumber = !std::isfinite(value) || !std::isfinite(valueBefore);
    if (text != before.text || nonNumber)
        hold(display, heldDigits);
    showNumber(display, value, before.text, text);
    before = {std::move(text), value};
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
    if (!heldBars.empty() && (everything || paceLeft(sinceBarsPainted, kBarsPaceMs) == 0)) {
        releaseBars();
        sinceBarsPainted.start();
        released = true;
    }
    if (!heldDigits.empty() && (everything || paceLeft(sinceDigitsPainted, kDigitsPaceMs) == 0)) {
        releaseDigits();
        sinceDigitsPainted.start();
        released = true;
    }
    // Dispatching the pending update requests paints everything released
    // in one pass, now, before the next poll goes out.
    if (released)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);

    if (heldBars.empty() && heldDigits.empty()) {
        lateFrame.stop();
        return;
    }
    qint64 dueMs = kDigitsPaceMs;
    if (!heldBars.empty())
        dueMs = std::min(dueMs, paceLeft(sinceBarsPainted, kBarsPaceMs));
    if (!heldDigits.empty())
        dueMs = std::min(dueMs, paceLeft(sinceDigitsPainted, kDigitsPaceMs));
    lateFrame.start(static_cast<int>(dueMs) + kLateFrameMs);
}
