#ifndef DISPLAYREFRESH_H
#define DISPLAYREFRESH_H

#include "barpictures.h"
#include "numberdisplay.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <unordered_map>
#include <vector>

class QProgressBar;
class QWidget;

// Paces the painting of the gauge's displays. Their values are set at every
// frame; what waits is only the painting of a display whose value changed,
// and it waits at most one pace. Painting every display at every frame of a
// board polled every 10 ms would take a large share of a core, and digits
// changing a hundred times a second cannot be read anyway.
//
// Two paces: the bars, watched while turning an adjusting screw, follow the
// engine closely; the number displays change slowly enough to be read.
// Held displays are painted right after a frame has been taken, when the
// board's reply has been read and the next poll is still to come, so that a
// repaint never holds a reply on the line.
//
// A number display whose shown text does not change is not repainted at
// all: the value set may differ only in digits the display cannot show.
// A bar is repainted only when its position changes, from a picture of the
// bar at that position (BarPictures).
class DisplayRefresh : public QObject
{
public:
    // A bar is repainted at most once in this time: with frames every
    // 10 ms that is every second frame, 50 repaints a second (the rate of
    // the faster handheld instruments' bar graphs), with room for frames
    // that come a little early; every frame with polls 20 ms apart. A
    // changed bar reaches the screen within this pace and one frame.
    static constexpr int kBarsPaceMs = 18;
    // A number display is repainted at most once in this time: about five
    // times a second, which the eye can still read.
    static constexpr int kDigitsPaceMs = 200;
    // A frame this long after the one before (slow polling, or a single
    // poll) is painted at once, bars and digits alike. Below the slowest
    // period that must show every frame, 100 ms, with room for a poll timer
    // that fires early and a reply that comes late.
    static constexpr int kSlowFramesMs = 80;
    // When the frame that would paint what is held does not come within one
    // poll period of the fastest polling after it is due, frames have
    // stopped or slowed down: what is held is painted then.
    static constexpr int kLateFrameMs = 10;

    // The displays are the window's bars and number displays.
    explicit DisplayRefresh(QWidget &window);
    ~DisplayRefresh() override;

    DisplayRefresh(const DisplayRefresh &) = delete;
    DisplayRefresh &operator=(const DisplayRefresh &) = delete;

    // Called before a bar's value is changed: its painting waits for the
    // end of the frame.
    void aboutToChange(QProgressBar *bar);

    // Puts value on a number display. When what it shows changes, its
    // painting waits for the end of the frame; when it does not, the
    // display is not repainted.
    void show(QLCDNumber *display, double value);

    // Called once a frame's values are all set: paints what is due now and
    // keeps the rest for its pace.
    void frameShown();

private:
    // Lets every held display of one kind paint again.
    void releaseBars();
    void releaseDigits();

    // Paints the held displays of each kind whose pace is over, or of every
    // kind, in one pass; then waits for the next frame or for the earliest
    // pace still running.
    void paint(bool everything);

    // What a number display shows, and the value that shows it.
    struct Shown
    {
        QString text;
        double value = 0;
    };

    std::vector<QProgressBar *> heldBars;
    std::vector<QLCDNumber *> heldDigits;
    std::unordered_map<const QLCDNumber *, Shown> shown;
    QElapsedTimer sinceFrame;
    QElapsedTimer sinceBarsPainted;
    QElapsedTimer sinceDigitsPainted;
    // Paints what is held when frames stop coming.
    QTimer lateFrame;
    BarPictures barPictures;
    NonNumberDashes nonNumbers;
};

#endif // DISPLAYREFRESH_H
