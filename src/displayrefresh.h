#ifndef DISPLAYREFRESH_H
#define DISPLAYREFRESH_H

#include <QElapsedTimer>
#include <QObject>
#include <QPixmap>
#include <QTimer>

#include <map>

class QLCDNumber;
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
// A bar is painted over a picture of what lies behind it, taken once, so
// that repainting it does not repaint the group boxes and the window behind
// it as well: that halves the cost of painting the bars.
class DisplayRefresh : public QObject
{
public:
    // A bar is repainted at most once in this time: with frames every
    // 10 ms that is every third frame, about 33 repaints a second, and a
    // changed bar reaches the screen within this pace and one frame.
    static constexpr int kBarsPaceMs = 25;
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

    // Called before a display's value is set: its painting waits for the
    // end of the frame.
    void aboutToChange(QProgressBar *bar);
    void aboutToChange(QLCDNumber *digits);

    // Called once a frame's values are all set: paints what is due now and
    // keeps the rest for its pace.
    void frameShown();

protected:
    // Paints each bar's backdrop under it; forgets a backdrop that no
    // longer matches.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Lets every held bar paint again, over its backdrop.
    void releaseBars();
    void takeBackdrop(QProgressBar *bar);
    void forgetBackdrop(QWidget *bar);

    // Paints the held displays of each kind whose pace is over, or of every
    // kind, in one pass; then waits for the next frame or for the earliest
    // pace still running.
    void paint(bool everything);

    QWidget &window;
    bool barsHeld = false;
    bool digitsHeld = false;
    QElapsedTimer sinceFrame;
    QElapsedTimer sinceBarsPainted;
    QElapsedTimer sinceDigitsPainted;
    // Paints what is held when frames stop coming.
    QTimer lateFrame;
    // What lies behind each bar, as the window paints it.
    std::map<const QObject *, QPixmap> backdrops;
};

#endif // DISPLAYREFRESH_H
