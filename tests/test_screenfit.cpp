// The window on the screen it is shown on: on a screen too small for it
// (the offscreen platform's own, or a 1366 x 768 laptop's on a virtual X
// server) it fits the available area and its content scrolls, the form's
// widgets keeping their names, places and font; on a screen that holds it,
// nothing changes.
#include "legibleform.h"
#include "mainwindow.h"
#include "screenfit.h"

#include <QLabel>
#include <QLCDNumber>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

#include <memory>

namespace {

// Every named widget below the content, with its class, parent, geometry and
// font: what the form laid out.
QStringList formListing(const QWidget *content)
{
    QStringList lines;
    for (const QWidget *widget : content->findChildren<QWidget *>()) {
        if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QRect g = widget->geometry();
        lines << QStringLiteral("%1 %2 %3 %4,%5,%6,%7 %8")
                     .arg(widget->objectName(),
                          QString::fromLatin1(widget->metaObject()->className()),
                          widget->parentWidget()->objectName())
                     .arg(g.x())
                     .arg(g.y())
                     .arg(g.width())
                     .arg(g.height())
                     .arg(widget->font().toString());
    }
    return lines;
}

template <typename T>
T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QString::fromLatin1(name));
}

// A rectangle of widget, in the window's coordinates.
QRect inWindow(const QWidget *widget, const QWidget *window)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

} // namespace

class TestScreenFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useLegibleForm(); }

    void fitsTheScreen()
    {
        MainWindow window;
        const QSize formSize = window.size();
        const QStringList listing = formListing(window.centralWidget());
        const QRect available = window.screen()->availableGeometry();
        const bool small = available.width() < formSize.width()
            || available.height() < formSize.height() + 10;

        const bool fitted = fitWindowToScreen(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        auto *content = child<QWidget>(&window, "centralWidget");
        QVERIFY(content);
        QCOMPARE(formListing(content), listing);
        if (!small) {
            // A screen that holds the window: nothing changes.
            QVERIFY(!fitted);
            QCOMPARE(window.size(), formSize);
            QCOMPARE(window.centralWidget(), content);
            return;
        }
        QVERIFY(fitted);
        QVERIFY2(available.contains(window.frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4 on %5x%6")
                                .arg(window.frameGeometry().x())
                                .arg(window.frameGeometry().y())
                                .arg(window.frameGeometry().width())
                                .arg(window.frameGeometry().height())
                                .arg(available.width())
                                .arg(available.height())));
        auto *scrolled = qobject_cast<QScrollArea *>(window.centralWidget());
        QVERIFY(scrolled);
        QCOMPARE(scrolled->widget(), content);
        // The content keeps the size it has in the form's own window.
        QCOMPARE(content->width(), formSize.width());
        QVERIFY(content->height() >= 861);

        // The status bar is in view, and each row used to synchronise can be
        // brought into view.
        auto *status = child<QStatusBar>(&window, "statusBar");
        QVERIFY(status && status->isVisible());
        QVERIFY(window.rect().contains(inWindow(status, &window)));
        const QRect view = inWindow(scrolled->viewport(), &window);
        for (const char *name : {"A", "DM", "AD", "DD", "AMD", "DMD", "Tardu", "INVIA", "label_13"}) {
            auto *widget = child<QWidget>(&window, name);
            QVERIFY2(widget, name);
            scrolled->ensureWidgetVisible(widget, 0, 0);
            QVERIFY2(view.contains(inWindow(widget, &window)), name);
        }
        QVERIFY(scrolled->verticalScrollBar()->maximum() > 0);
        // Where the screen is wide enough, nothing scrolls sideways.
        if (available.width() >= formSize.width() + scrolled->verticalScrollBar()->width())
            QCOMPARE(scrolled->horizontalScrollBar()->maximum(), 0);

        // The buttons in the scrolled content still reach their slots.
        auto *reset = child<QPushButton>(&window, "button_startSampling_2");
        scrolled->ensureWidgetVisible(reset);
        QTest::mouseClick(reset, Qt::LeftButton);
        QCOMPARE(status->currentMessage(), QStringLiteral("Log svuotato"));

        // A bar out of view when its first reading comes is painted as it
        // is in the whole window, over what lies behind it in the form.
        auto *bar = child<QProgressBar>(&window, "BA");
        QVERIFY(bar);
        scrolled->ensureWidgetVisible(child<QWidget>(&window, "A"), 0, 0);
        QVERIFY(!view.contains(inWindow(bar, &window)));
        MainWindow whole;
        whole.show();
        QVERIFY(QTest::qWaitForWindowExposed(&whole));
        MeasurementFrame frame;
        frame.readings = {-10.f, -20.f, -30.f, -40.f};
        window.runReadingPipeline(frame);
        whole.runReadingPipeline(frame);
        QCOMPARE(bar->value(), -10);
        QCOMPARE(bar->grab().toImage(), child<QProgressBar>(&whole, "BA")->grab().toImage());

        // A picture of the window scrolled to its foot, to look at.
        const QByteArray picture = qgetenv("ASPIRELLO_SCREENFIT_PICTURE");
        if (!picture.isEmpty()) {
            scrolled->ensureWidgetVisible(child<QWidget>(&window, "label_13"), 0, 0);
            QVERIFY(window.grab().save(QString::fromLocal8Bit(picture)));
        }
    }
};

QTEST_MAIN(TestScreenFit)
#include "test_screenfit.moc"
