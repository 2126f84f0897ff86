#include "screenfit.h"

#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

namespace {

// Room for what the window manager adds around a window not yet shown: its
// title bar, as the style draws one.
int titleBarAllowance(const QWidget &window)
{
    return window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
}

} // namespace

bool fitWindowToScreen(QMainWindow &window)
{
    const QScreen *screen = window.screen();
    if (!screen || !window.centralWidget())
        return false;
    const QRect available = screen->availableGeometry();
    const int decoration = titleBarAllowance(window);
    if (window.width() <= available.width() && window.height() + decoration <= available.height())
        return false;

    // The content keeps the size the window gives it at the form's own size.
    window.layout()->activate();
    QWidget *content = window.takeCentralWidget();
    const QSize contentSize = content->size();
    auto *scrolled = new QScrollArea;
    scrolled->setFrameShape(QFrame::NoFrame);
    scrolled->setWidgetResizable(false);
    scrolled->setWidget(content);
    content->resize(contentSize);
    window.setCentralWidget(scrolled);

    // Room for the vertical scroll bar beside the content, where the screen
    // is wide enough, so that the content need not scroll sideways as well.
    const int scrollBar = window.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrolled);
    window.resize(QSize(window.width() + scrollBar, window.height())
                      .boundedTo(available.size() - QSize(0, decoration)));
    window.move(available.topLeft());
    // A window manager then fits the window, decorations and all, exactly.
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
}
