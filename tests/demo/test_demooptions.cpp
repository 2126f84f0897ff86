// The demo's command line: what each option sets, and an error that names
// the option and the wrong value for everything it refuses.
#include "demooptions.h"

#include <QtTest>

namespace {

DemoCommandLine parse(const QString &arguments)
{
    return parseDemoCommandLine(QStringList{"Aspirello-demo"}
                                + arguments.split(' ', Qt::SkipEmptyParts));
}

} // namespace

class TestDemoOptions : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("options"); // auto period picture format frames verbose
        QTest::newRow("none") << ""
                              << "0 20  0 100 0";
        QTest::newRow("fastest") << "--auto --period 10"
                                 << "1 10  0 100 0";
        QTest::newRow("slowest, verbose") << "--period=50 --verbose"
                                          << "0 50  0 100 1";
        QTest::newRow("png") << "--screenshot a/b.png --frames 7"
                             << "0 20 a/b.png png 7 0";
        QTest::newRow("jpeg") << "--screenshot G.JPG"
                              << "0 20 G.JPG jpg 100 0";
    }

    void accepted()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, options);
        const DemoCommandLine line = parse(arguments);
        QCOMPARE(line.outcome, DemoCommandLine::Run);
        const DemoOptions &o = line.options;
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(int(o.autoStart))
                     .arg(o.periodMs)
                     .arg(o.screenshot,
                          QString::fromLatin1(o.screenshotFormat.isEmpty() ? "0"
                                                                           : o.screenshotFormat))
                     .arg(o.frames)
                     .arg(int(o.verbose)),
                 options);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QStringList>("named"); // what the message must quote
        QTest::newRow("period short") << "--period 9" << QStringList{"--period \"9\"", "10 to 50"};
        QTest::newRow("period long") << "--period 51" << QStringList{"--period \"51\""};
        QTest::newRow("period unit") << "--period 20ms" << QStringList{"--period \"20ms\""};
        QTest::newRow("period missing") << "--period" << QStringList{"'--period'"};
        QTest::newRow("frames alone") << "--frames 5" << QStringList{"--frames 5", "--screenshot"};
        QTest::newRow("frames zero")
            << "--screenshot a.png --frames 0" << QStringList{"--frames \"0\""};
        QTest::newRow("seed negative") << "--seed -1" << QStringList{"--seed \"-1\""};
        QTest::newRow("unknown format")
            << "--screenshot a.xyz" << QStringList{"--screenshot \"a.xyz\"", ".png"};
        QTest::newRow("no extension") << "--screenshot pic" << QStringList{"--screenshot \"pic\""};
        QTest::newRow("unknown option") << "--perod 10" << QStringList{"'perod'"};
        QTest::newRow("stray argument") << "now" << QStringList{"\"now\""};
    }

    void refused()
    {
        QFETCH(QString, arguments);
        QFETCH(QStringList, named);
        const DemoCommandLine line = parse(arguments);
        QCOMPARE(line.outcome, DemoCommandLine::Error);
        for (const QString &part : named + QStringList{"--help"})
            QVERIFY2(line.text.contains(part), qPrintable(line.text + " lacks " + part));
    }

    // The help names every option and the default period.
    void help()
    {
        const DemoCommandLine line = parse("--period 3 -h");
        QCOMPARE(line.outcome, DemoCommandLine::ShowHelp);
        for (const char *part : {"--auto", "--period <MS>", "(default 20)", "--screenshot <FILE>",
                                 "--frames <N>", "--seed <N>", "--verbose", "--firmware", "--help"})
            QVERIFY2(line.text.contains(part), part);
    }

    // The real firmware instead of the simulated board, with any other option.
    void firmwareOption()
    {
        QVERIFY(!parse("--auto").options.firmware);
        const DemoCommandLine line = parse("--firmware --auto --period 10");
        QCOMPARE(line.outcome, DemoCommandLine::Run);
        QVERIFY(line.options.firmware);
        QVERIFY(line.options.autoStart);
        QCOMPARE(line.options.periodMs, 10);
    }
};

QTEST_MAIN(TestDemoOptions)
#include "test_demooptions.moc"
