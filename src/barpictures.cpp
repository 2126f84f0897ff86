#include "barpictures.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QProgressBar>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace {

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

// Everything besides its position that a bar's picture depends on.
struct LookKey
{
    QSize size;
    qreal pixelRatio = 1;
    const QStyle *style = nullptr;
    QStyle::State state;
    QPalette palette;
    QFont font;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    QLocale locale;
    int minimum = 0;
    int maximum = 0;
    Qt::Orientation orientation = Qt::Horizontal;
    bool inverted = false;
    bool textVisible = false;
    Qt::Alignment alignment;
    QProgressBar::Direction textDirection = QProgressBar::TopToBottom;
    QString format;

    explicit LookKey(const QProgressBar &bar)
        : size(bar.size())
        , pixelRatio(bar.devicePixelRatioF())
        , style(bar.style())
        , font(bar.font())
        , direction(bar.layoutDirection())
        , locale(bar.locale())
        , minimum(bar.minimum())
        , maximum(bar.maximum())
        , orientation(bar.orientation())
        , inverted(bar.invertedAppearance())
        , textVisible(bar.isTextVisible())
        , alignment(bar.alignment())
        , textDirection(bar.textDirection())
        , format(bar.format())
    {
        // The state and colours the style is given, as it is given them.
        QStyleOption option;
        option.initFrom(&bar);
        state = option.state;
        palette = option.palette;
    }

    bool operator==(const LookKey &other) const
    {
        return size == other.size && pixelRatio == other.pixelRatio && style == other.style
            && state == other.state && palette == other.palette
            && palette.currentColorGroup() == other.palette.currentColorGroup() && font == other.font
            && direction == other.direction && locale == other.locale && minimum == other.minimum
            && maximum == other.maximum && orientation == other.orientation
            && inverted == other.inverted && textVisible == other.textVisible
            && alignment == other.alignment && textDirection == other.textDirection
            && format == other.format;
    }
};

} // namespace

struct BarPictures::Look
{
    LookKey key;
    QImage backdrop;
    // The bar at each position it has taken.
    std::map<int, QPixmap> pictures;
};

BarPictures::BarPictures(QWidget &window)
    : window(window)
{
}

BarPictures::~BarPictures() = default;

void BarPictures::prepare(QProgressBar *bar)
{
    if (!bar->isVisible())
        return;
    Bar &state = bars[bar];
    if (state.backdrop.isNull() && !takeBackdrop(bar, state)) {
        bars.erase(bar);
        return;
    }
    if (!state.look || !(state.look->key == LookKey(*bar)))
        state.look = lookFor(bar, state.backdrop);
    QPixmap &picture = state.look->pictures[bar->value()];
    if (!picture.isNull())
        return;
    picture = state.backdrop;
    drawing = true;
    bar->render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    drawing = false;
}

bool BarPictures::takeBackdrop(QProgressBar *bar, Bar &state)
{
    // The window rendered where the bar is, without the bar. A bar that
    // lies partly outside what it is rendered from is left to its style.
    QWidget *source = backdropSource(bar, window);
    const QRect place(bar->mapTo(source, QPoint(0, 0)), bar->size());
    if (!source->rect().contains(place))
        return false;
    bar->hide();
    state.backdrop = source->grab(place);
    bar->show();
    if (state.backdrop.isNull())
        return false;
    // The bar now paints every pixel of its own: what lies behind it need
    // not be painted first.
    bar->setAttribute(Qt::WA_OpaquePaintEvent);
    bar->removeEventFilter(this);
    bar->installEventFilter(this);
    for (QWidget *ancestor = bar->parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (std::find(watchedAncestors.begin(), watchedAncestors.end(), ancestor)
            == watchedAncestors.end()) {
            ancestor->installEventFilter(this);
            watchedAncestors.push_back(ancestor);
            QObject::connect(ancestor, &QObject::destroyed, this, [this](QObject *gone) {
                watchedAncestors.erase(std::remove(watchedAncestors.begin(), watchedAncestors.end(),
                                                   gone),
                                       watchedAncestors.end());
            });
        }
        if (ancestor == &window)
            break;
    }
    return true;
}

std::shared_ptr<BarPictures::Look> BarPictures::lookFor(const QProgressBar *bar,
                                                        const QPixmap &backdrop)
{
    LookKey key(*bar);
    const QImage image = backdrop.toImage();
    looks.erase(std::remove_if(looks.begin(), looks.end(),
                               [](const std::weak_ptr<Look> &look) { return look.expired(); }),
                looks.end());
    for (const std::weak_ptr<Look> &weak : looks) {
        std::shared_ptr<Look> look = weak.lock();
        if (look->key == key && look->backdrop == image)
            return look;
    }
    auto look = std::make_shared<Look>(Look{std::move(key), image, {}});
    looks.push_back(look);
    return look;
}

void BarPictures::forget(QWidget *bar)
{
    if (bars.erase(bar) == 0)
        return;
    bar->setAttribute(Qt::WA_OpaquePaintEvent, false);
    bar->update();
}

void BarPictures::forgetAll()
{
    while (!bars.empty())
        forget(static_cast<QWidget *>(const_cast<QObject *>(bars.begin()->first)));
}

bool BarPictures::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Paint: {
        const auto found = bars.find(watched);
        if (found == bars.end() || drawing)
            break;
        auto *bar = static_cast<QProgressBar *>(watched);
        const Bar &state = found->second;
        // On a screen of another pixel density, a new backdrop is taken.
        if (state.backdrop.devicePixelRatio() != bar->devicePixelRatioF()) {
            QPainter(bar).drawPixmap(0, 0, state.backdrop);
            forget(bar);
            break;
        }
        if (state.look && state.look->key == LookKey(*bar)) {
            const auto picture = state.look->pictures.find(bar->value());
            if (picture != state.look->pictures.end()) {
                QPainter(bar).drawPixmap(0, 0, picture->second);
                return true;
            }
        }
        // No picture for this look or position: the style paints the bar
        // over its backdrop.
        QPainter(bar).drawPixmap(0, 0, state.backdrop);
        break;
    }
    // What lies behind a bar, or where it lies, may have changed.
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ParentChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
    case QEvent::ActivationChange:
    case QEvent::LayoutDirectionChange:
    case QEvent::WindowStateChange:
        if (bars.count(watched) != 0)
            forget(static_cast<QWidget *>(watched));
        else
            forgetAll();
        break;
    default:
        break;
    }
    return false;
}
