// Whether a window can be shown, decided before the toolkit starts: the
// platform asked for and the display servers named.
#include "displaycheck.h"

#include <QtTest>

class TestDisplayCheck : public QObject
{
    Q_OBJECT

private slots:
    void requestedPlatform_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("platform");
        QTest::newRow("nothing asked") << QStringList{"Aspirello"} << ""
                                       << "";
        QTest::newRow("variable") << QStringList{"Aspirello"} << "offscreen"
                                  << "offscreen";
        QTest::newRow("argument over variable")
            << QStringList{"Aspirello", "-platform", "xcb"} << "offscreen"
            << "xcb";
        QTest::newRow("argument with two dashes")
            << QStringList{"Aspirello-demo", "--auto", "--platform", "offscreen"} << ""
            << "offscreen";
        QTest::newRow("argument without its value")
            << QStringList{"Aspirello", "-platform"} << "wayland"
            << "wayland";
        QTest::newRow("the program's own name is no option") << QStringList{"-platform", "xcb"} << ""
                                                             << "";
    }

    void requestedPlatform()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, variable);
        QFETCH(QString, platform);
        QCOMPARE(::requestedPlatform(arguments, variable), platform);
    }

    void displayReachable_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("x");
        QTest::addColumn<bool>("wayland");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("default, nothing named") << "" << false << false << false;
        QTest::newRow("default, X") << "" << true << false << true;
        QTest::newRow("default, Wayland") << "" << false << true << true;
        QTest::newRow("xcb without X") << "xcb" << false << true << false;
        QTest::newRow("xcb with X") << "xcb" << true << false << true;
        QTest::newRow("xcb with options") << "xcb:nograb" << true << false << true;
        QTest::newRow("wayland without Wayland") << "wayland" << true << false << false;
        QTest::newRow("wayland-egl with Wayland") << "wayland-egl" << false << true << true;
        QTest::newRow("offscreen needs nothing") << "offscreen" << false << false << true;
        QTest::newRow("minimal needs nothing") << "minimal" << false << false << true;
        QTest::newRow("linuxfb needs nothing") << "linuxfb:fb=/dev/fb0" << false << false << true;
        QTest::newRow("list, second reachable") << "wayland;xcb" << true << false << true;
        QTest::newRow("list, none reachable") << "wayland;xcb" << false << false << false;
        QTest::newRow("blanks only") << "  " << false << false << false;
    }

    void displayReachable()
    {
        QFETCH(QString, platform);
        QFETCH(bool, x);
        QFETCH(bool, wayland);
        QFETCH(bool, reachable);
        QCOMPARE(::displayReachable(platform, x, wayland), reachable);
    }
};

QTEST_GUILESS_MAIN(TestDisplayCheck)
#include "test_displaycheck.moc"
