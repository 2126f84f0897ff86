#ifndef BARPICTURES_H
#define BARPICTURES_H

#include <QObject>
#include <QPixmap>

#include <map>
#include <memory>
#include <vector>

class QProgressBar;
class QWidget;

// Paints the window's bars from pictures. A bar has few positions (whole
// kPa from -50 to 1), and drawing the style's gradient anew at every repaint
// costs far more than copying a picture: so each bar is drawn once at each
// position it takes, by the bar itself over a picture of what lies behind it
// (its backdrop), and that picture is what every later repaint at that
// position copies. Bars alike in size, colours, style, state and backdrop
// share their pictures.
//
// Whatever the picture could depend on besides the position is compared at
// every repaint; when it differs the bar is painted by its style over the
// backdrop, and new pictures are drawn at its next release. The backdrop
// itself is taken anew when the bar or anything behind it moves, resizes
// or changes its palette, style, font or state.
class BarPictures : public QObject
{
public:
    // The bars are the window's.
    explicit BarPictures(QWidget &window);
    ~BarPictures() override;

    BarPictures(const BarPictures &) = delete;
    BarPictures &operator=(const BarPictures &) = delete;

    // Called as bar is about to be repainted at its present position: takes
    // its backdrop if it has none and draws its picture at this position if
    // there is none yet.
    void prepare(QProgressBar *bar);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Look;
    struct Bar
    {
        QPixmap backdrop;
        std::shared_ptr<Look> look;
    };

    // False when the bar has no backdrop to take.
    bool takeBackdrop(QProgressBar *bar, Bar &state);
    std::shared_ptr<Look> lookFor(const QProgressBar *bar, const QPixmap &backdrop);
    void forget(QWidget *bar);
    void forgetAll();

    QWidget &window;
    std::map<const QObject *, Bar> bars;
    std::vector<std::weak_ptr<Look>> looks;
    // The bars' parents up to the window, watched for what changes a
    // backdrop.
    std::vector<const QObject *> watchedAncestors;
    // While a bar draws its own picture, its painting is let through.
    bool drawing = false;
};

#endif // BARPICTURES_H
