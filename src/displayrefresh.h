#ifndef DISPLAYREFRESH_H
#define DISPLAYREFRESH_H

#include <QElapsedTimer>
#include <QTimer>

#include <vector>

class QWidget;

// Limits how much time the gauge spends painting its displays. Their
// values are set at once, frame by frame; only the painting of a display
// set again within a refresh interval waits for the interval's end. A board
// polled every 10 ms would otherwise have the window repaint its seventeen
// number displays and eight large bars a hundred times a second, far faster
// than anyone can read them, at a cost in processor time the rest of the
// machine needs.
//
// The interval adapts to what a repaint costs on this machine, so that
// painting takes a few per cent of the time; the displays refresh between
// twice and ten times a second. Held displays are painted right after a
// frame, when the board's reply has been taken and the next poll is still
// to come, so that a repaint never delays the reading of a reply.
class DisplayRefresh
{
public:
    static constexpr int kShortestIntervalMs = 100;
    static constexpr int kLongestIntervalMs = 500;
    static constexpr double kPaintingShare = 0.02;

    explicit DisplayRefresh(int shortestIntervalMs = kShortestIntervalMs);
    ~DisplayRefresh();

    DisplayRefresh(const DisplayRefresh &) = delete;
    DisplayRefresh &operator=(const DisplayRefresh &) = delete;

    // Called before a display's value is set. Inside an interval the
    // display stops painting until the interval ends.
    void aboutToChange(QWidget *display);

    // Called once a frame's values are all set. Once the interval is over,
    // the held displays are painted now and a new interval begins.
    void frameShown();

    int intervalMs() const { return interval; }

private:
    bool insideInterval() const;
    // Paints every held display now and sets the next interval from the
    // time it took.
    void paintHeld();

    const int shortestIntervalMs;
    int interval;
    QElapsedTimer sincePainted;
    // Paints what is held when frames stop coming.
    QTimer stragglers;
    std::vector<QWidget *> held;
};

#endif // DISPLAYREFRESH_H
