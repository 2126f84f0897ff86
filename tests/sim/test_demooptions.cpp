// The demo's command line: what each option sets, and an error that names
// the option and the wrong value for everything it refuses.
#include "demooptions.h"
#include "demosession.h"

#include <QtTest>

class TestDemoOptions : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("period");
        QTest::addColumn<QString>("screenshot");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("frames");
        QTest::addColumn<bool>("verbose");
        QTest::newRow("none") << QStringList() << 20 << QString() << QByteArray() << 100 << false;
        QTest::newRow("fastest period") << QStringList{"--period", "10"} << 10 << QString()
                                        << QByteArray() << 100 << false;
        QTest::newRow("slowest period") << QStringList{"--period=50", "--verbose"} << 50
                                        << QString() << QByteArray() << 100 << true;
        QTest::newRow("png") << QStringList{"--screenshot", "a/b.png", "--frames", "7"} << 20
                             << "a/b.png" << QByteArray("png") << 7 << false;
        QTest::newRow("jpeg, capitals") << QStringList{"--screenshot", "G.JPG"} << 20 << "G.JPG"
                                        << QByteArray("jpg") << 100 << false;
        QTest::newRow("jpeg, long") << QStringList{"--screenshot", "g.jpeg"} << 20 << "g.jpeg"
                                    << QByteArray("jpeg") << 100 << false;
    }

    void accepted()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, period);
        QFETCH(QString, screenshot);
        QFETCH(QByteArray, format);
        QFETCH(int, frames);
        QFETCH(bool, verbose);
        const DemoCommandLine line =
            parseDemoCommandLine(QStringList{"Aspirello-demo", "--auto"} + arguments);
        QCOMPARE(line.outcome, DemoCommandLine::Run);
        QVERIFY(line.options.autoStart);
        QCOMPARE(line.options.periodMs, period);
        QCOMPARE(line.options.screenshot, screenshot);
        QCOMPARE(line.options.screenshotFormat, format);
        QCOMPARE(line.options.frames, frames);
        QCOMPARE(line.options.verbose, verbose);
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("named");   // what the message must quote
        QTest::newRow("period too short") << QStringList{"--period", "9"}
                                          << QStringList{"--period", "\"9\"", "10 to 50"};
        QTest::newRow("period too long") << QStringList{"--period", "51"}
                                         << QStringList{"--period", "\"51\""};
        QTest::newRow("period not a number") << QStringList{"--period", "20ms"}
                                             << QStringList{"--period", "\"20ms\""};
        QTest::newRow("period without value") << QStringList{"--period"} << QStringList{"period"};
        QTest::newRow("frames alone") << QStringList{"--frames", "5"}
                                      << QStringList{"--frames 5", "--screenshot"};
        QTest::newRow("frames zero") << QStringList{"--screenshot", "a.png", "--frames", "0"}
                                     << QStringList{"--frames", "\"0\""};
        QTest::newRow("frames not a number") << QStringList{"--screenshot", "a.png", "--frames", "x"}
                                             << QStringList{"--frames", "\"x\""};
        QTest::newRow("seed negative") << QStringList{"--seed", "-1"}
                                       << QStringList{"--seed", "\"-1\""};
        QTest::newRow("unknown format") << QStringList{"--screenshot", "a.xyz"}
                                        << QStringList{"--screenshot", "\"a.xyz\"", ".png"};
        QTest::newRow("no extension") << QStringList{"--screenshot", "picture"}
                                      << QStringList{"--screenshot", "\"picture\""};
        QTest::newRow("unknown option") << QStringList{"--perod", "10"} << QStringList{"perod"};
        QTest::newRow("stray argument") << QStringList{"now"} << QStringList{"\"now\""};
    }

    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, named);
        const DemoCommandLine line = parseDemoCommandLine(QStringList{"Aspirello-demo"} + arguments);
        QCOMPARE(line.outcome, DemoCommandLine::Error);
        for (const QString &part : named)
            QVERIFY2(line.text.contains(part), qPrintable(line.text + " lacks " + part));
        QVERIFY2(line.text.contains("--help"), qPrintable(line.text));
    }

    // The help names every option and the default period.
    void help()
    {
        for (const char *asked : {"--help", "-h"}) {
            const DemoCommandLine line = parseDemoCommandLine({"Aspirello-demo", asked, "--period", "3"});
            QCOMPARE(line.outcome, DemoCommandLine::ShowHelp);
            for (const char *option : {"--auto", "--period <MS>", "--screenshot <FILE>",
                                       "--frames <N>", "--seed <N>", "--verbose", "--help"})
                QVERIFY2(line.text.contains(option), option);
            QVERIFY(line.text.contains("(default 20)"));
        }
    }

    void shortPortNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shown");
        QTest::newRow("pseudo-terminal") << "/dev/pts/4" << "pts/4";
        QTest::newRow("adapter") << "/dev/ttyUSB0" << "ttyUSB0";
        QTest::newRow("elsewhere") << "/tmp/board" << "/tmp/board";
        QTest::newRow("climbing out") << "/dev/../tmp/x" << "/dev/../tmp/x";
        QTest::newRow("bare /dev/") << "/dev/" << "/dev/";
        QTest::newRow("already short") << "pts/7" << "pts/7";
    }

    void shortPortNames()
    {
        QFETCH(QString, path);
        QFETCH(QString, shown);
        QCOMPARE(shortPortName(path), shown);
    }
};

QTEST_MAIN(TestDemoOptions)
#include "test_demooptions.moc"
