#include "analysislogs.h"
#include "exitcodes.h"
#include "programrun.h"
#include "reportwriter.h"
#include "translations.h"

#include <QImage>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <limits>

namespace {

// Strongly coloured pixels of an image, every third one in both directions.
int colouredSamples(const QImage &image)
{
    int coloured = 0;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            if (image.pixelColor(x, y).saturation() > 120)
                ++coloured;
        }
    }
    return coloured;
}

} // namespace

// Reports drawn without a window, the program's command line run as a user
// runs it, and the Italian translation chosen from the locale.
class TestAnalysisReport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void writesValidReports_data();
    void writesValidReports();
    void reportSaysTheVerdict();
    void choosesWindowOrHeadless_data();
    void choosesWindowOrHeadless();
    void programRuns_data();
    void programRuns();
    void italianFromTheLocale();
    void reportFailuresGiveTheReason_data();
    void reportFailuresGiveTheReason();
    void lostStandardOutputIsAFailure_data();
    void lostStandardOutputIsAFailure();

private:
    // Runs aspirello-analisi with no display at all and the given locale.
    int runProgram(const QStringList &arguments, const QString &locale, QString *out, QString *err);

    QTemporaryDir folder;
    QString inSyncLog;
    QString offLog;
    QString nanLog;
};

void TestAnalysisReport::initTestCase()
{
    QVERIFY(folder.isValid());
    QDir dir(folder.path());
    inSyncLog = writeInSyncLog(dir);
    offLog = writeOffLog(dir);
    nanLog = dir.filePath(QStringLiteral("nan.txt"));
    TestLog nan;
    TestLog::Row notANumber;
    notANumber.fill(std::numeric_limits<float>::quiet_NaN());
    for (int i = 0; i < 100; ++i)
        nan.add(notANumber);
    QVERIFY(nan.save(nanLog));
    QVERIFY(!inSyncLog.isEmpty());
    QVERIFY(!offLog.isEmpty());
}

int TestAnalysisReport::runProgram(const QStringList &arguments, const QString &locale, QString *out,
                                   QString *err)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name :
         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE", "LC_MESSAGES"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    environment.insert(QStringLiteral("LANG"), locale);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder.path());
    program.start(QStringLiteral(ASPIRELLO_ANALISI), arguments);
    if (!program.waitForFinished(120000) || program.exitStatus() != QProcess::NormalExit)
        return -1;
    *out = QString::fromUtf8(program.readAllStandardOutput());
    *err = QString::fromUtf8(program.readAllStandardError());
    return program.exitCode();
}

void TestAnalysisReport::writesValidReports_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("logs");
    QTest::newRow("png") << "report.png" << 1;
    QTest::newRow("pdf") << "report.pdf" << 1;
    QTest::newRow("svg") << "report.svg" << 1;
    QTest::newRow("png before and after") << "compare.png" << 2;
    QTest::newRow("pdf before and after") << "compare.pdf" << 2;
}

void TestAnalysisReport::writesValidReports()
{
    QFETCH(QString, name);
    QFETCH(int, logs);
    const QString path = folder.filePath(name);
    QStringList arguments{QStringLiteral("--report"), path, offLog, QStringLiteral("--unit=cmhg")};
    if (logs == 2)
        arguments << inSyncLog;
    const CommandLineResult parsed = parseCommandLine(arguments);
    QVERIFY(parsed.commandLine);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    QCOMPARE(runReportCommand(*parsed.commandLine, folder.filePath(QStringLiteral("none.json")), out,
                              err),
             ExitCode::Ok);
    QVERIFY2(errText.isEmpty(), qPrintable(errText));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() > 10000);
    if (name.endsWith(QLatin1String(".png"))) {
        QImage image;
        QVERIFY(image.loadFromData(bytes, "PNG"));
        QCOMPARE(image.size(), reportPageSize());
        // Drawn on: the curves put the cylinders' colours on the page, far
        // more than the same page of logs whose readings are all "nan".
        QStringList blank{QStringLiteral("--report"), folder.filePath(QStringLiteral("blank.png")),
                          nanLog};
        if (logs == 2)
            blank << nanLog;
        QCOMPARE(runReportCommand(*parseCommandLine(blank).commandLine, QString(), out, err),
                 ExitCode::Ok);
        const int coloured = colouredSamples(image);
        const int control = colouredSamples(QImage(folder.filePath(QStringLiteral("blank.png"))));
        QVERIFY2(coloured > 2 * control,
                 qPrintable(QStringLiteral("%1 %2").arg(coloured).arg(control)));
    } else if (name.endsWith(QLatin1String(".pdf"))) {
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1);
    } else {
        QSvgRenderer renderer(bytes);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox().size(), reportPageSize());
        QVERIFY(bytes.contains("<polyline") || bytes.contains("<path"));
    }
}

void TestAnalysisReport::reportSaysTheVerdict()
{
    // SVG keeps the texts as text: the page names both logs, the verdicts
    // and the unit chosen.
    const QString path = folder.filePath(QStringLiteral("verdict.svg"));
    const CommandLineResult parsed =
        parseCommandLine({QStringLiteral("--report"), path, offLog, inSyncLog,
                          QStringLiteral("--unit"), QStringLiteral("mmhg")});
    QVERIFY(parsed.commandLine);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    QCOMPARE(runReportCommand(*parsed.commandLine, QString(), out, err), ExitCode::Ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(file.readAll());
    for (const QString &expected :
         {QStringLiteral("Before: TOP_log_A_B_C_D_EMEDIE7_12_2026_9_7_0.txt"),
          QStringLiteral("After: log_A_B_C_D_EMEDIE7_12_2026_9_5_3.txt"),
          QStringLiteral("2 has 15.0 mmHg more vacuum than the reference."),
          QStringLiteral("In sync: all four cylinders within"), QStringLiteral("Pressure (mmHg)"),
          QStringLiteral("No sensor calibration applied.")})
        QVERIFY2(svg.contains(expected.toHtmlEscaped()), qPrintable(expected));
    QVERIFY(!svg.contains(QLatin1String("kPa")));
}

void TestAnalysisReport::choosesWindowOrHeadless_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("window");
    QTest::addColumn<bool>("report");
    QTest::newRow("nothing") << QStringList{} << true << false;
    QTest::newRow("logs only") << QStringList{"a.txt", "b.txt"} << true << false;
    QTest::newRow("report") << QStringList{"--report", "out.pdf", "a.txt"} << false << true;
    QTest::newRow("report with =") << QStringList{"a.txt", "--report=out.svg"} << false << true;
    QTest::newRow("summary") << QStringList{"--unit", "cmhg", "--summary", "a.txt"} << false << false;
    QTest::newRow("csv") << QStringList{"--csv", "a.txt"} << false << false;
    QTest::newRow("calibrate") << QStringList{"--calibrate", "a.txt"} << false << false;
    QTest::newRow("help") << QStringList{"-h"} << false << false;
    QTest::newRow("a log named like an option") << QStringList{"--", "--report"} << true << false;
    QTest::newRow("live window") << QStringList{"--live", "ttyUSB0"} << true << false;
    QTest::newRow("live report") << QStringList{"--live", "p", "--for=2", "--report", "r.pdf"}
                                 << false << true;
    // A command line in error is only told: no window, no drawing.
    QTest::newRow("unknown option") << QStringList{"--colour", "a.txt"} << false << false;
    QTest::newRow("report of a bad kind") << QStringList{"--report", "r.jpg", "a"} << false << false;
}

void TestAnalysisReport::choosesWindowOrHeadless()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, window);
    QFETCH(bool, report);
    QCOMPARE(argumentsWantWindow(arguments), window);
    QCOMPARE(argumentsWantReport(arguments), report);
}

void TestAnalysisReport::programRuns_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expectedOut");
    QTest::addColumn<QString>("expectedErr");

    // The placeholders IN, OFF and DIR stand for the logs and the folder.
    QTest::newRow("summary holds the verdict")
        << QStringList{"--summary", "OFF"} << ExitCode::Ok
        << "cylinder 2 has 2.00 kPa more vacuum than the reference"
        << "";
    QTest::newRow("summary of a session in sync")
        << QStringList{"--summary", "IN", "--period", "10"} << ExitCode::Ok
        << "In sync: all four cylinders within ±1.00 kPa of cylinder 1 for the last"
        << "";
    QTest::newRow("summary in cmHg")
        << QStringList{"--summary", "--unit", "cmhg", "OFF"} << ExitCode::Ok
        << "cylinder 2 has 1.50 cmHg more vacuum than the reference"
        << "";
    QTest::newRow("csv") << QStringList{"--csv", "OFF"} << ExitCode::Ok
                         << "cylinder 2 has 2.00 kPa more vacuum"
                         << "";
    QTest::newRow("report without a display")
        << QStringList{"--report", "DIR/cli.pdf", "OFF"} << ExitCode::Ok << "cli.pdf"
        << "";
    QTest::newRow("missing log") << QStringList{"--summary", "DIR/nothing.txt"}
                                 << ExitCode::MissingFile << ""
                                 << "nothing.txt";
    QTest::newRow("unknown option") << QStringList{"--frobnicate", "OFF"} << ExitCode::BadOption << ""
                                    << "--frobnicate";
    QTest::newRow("report in an unknown format")
        << QStringList{"--report", "DIR/out.doc", "OFF"} << ExitCode::BadOption << ""
        << "out.doc";
    QTest::newRow("report into a missing folder")
        << QStringList{"--report", "DIR/no/such/folder/out.png", "OFF"} << ExitCode::OutputFailed
        << ""
        << "out.png";
    QTest::newRow("unreadable log")
        << QStringList{"--report", "DIR/bad.png", "DIR"} << ExitCode::UnreadableLog << ""
        << "";
}

void TestAnalysisReport::programRuns()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, expectedOut);
    QFETCH(QString, expectedErr);
    for (QString &argument : arguments) {
        if (argument == QLatin1String("IN"))
            argument = inSyncLog;
        else if (argument == QLatin1String("OFF"))
            argument = offLog;
        argument.replace(QLatin1String("DIR"), folder.path());
    }
    QString out, err;
    QCOMPARE(runProgram(arguments, QStringLiteral("C.UTF-8"), &out, &err), exitCode);
    QVERIFY2(out.contains(expectedOut), qPrintable(out));
    QVERIFY2(err.contains(expectedErr), qPrintable(err));
    if (exitCode != ExitCode::Ok)
        QVERIFY2(!err.trimmed().isEmpty(), "a failure is explained");
    if (arguments.first() == QLatin1String("--report") && exitCode == ExitCode::Ok)
        QVERIFY(QFileInfo(arguments.at(1)).size() > 10000);
}

void TestAnalysisReport::italianFromTheLocale()
{
    // In this process: Italian for it_IT, the English source texts otherwise.
    QVERIFY(!installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("en_GB"))));
    QCOMPARE(QCoreApplication::translate("AnalysisWindow", "Unit:"), QStringLiteral("Unit:"));
    QVERIFY(installTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("it_IT"))));
    QCOMPARE(QCoreApplication::translate("AnalysisWindow", "Unit:"), QStringLiteral("Unità:"));
    QCOMPARE(QCoreApplication::translate("Report", "Mean"), QStringLiteral("Media"));

    // The program chooses it from the system's locale, also for the core's
    // texts.
    QString out, err;
    QCOMPARE(runProgram({QStringLiteral("--summary"), offLog}, QStringLiteral("it_IT.UTF-8"), &out,
                        &err),
             ExitCode::Ok);
    QVERIFY2(out.contains(
                 QStringLiteral("il cilindro 2 ha 2,00 kPa più depressione del riferimento")),
             qPrintable(out));
    QVERIFY2(!out.contains(QStringLiteral("vacuum")), qPrintable(out));
    QCOMPARE(runProgram({QStringLiteral("--frobnicate")}, QStringLiteral("it_IT.UTF-8"), &out, &err),
             ExitCode::BadOption);
    QVERIFY2(err.contains(QStringLiteral("--help")) && !err.contains(QStringLiteral("Try --help")),
             qPrintable(err));
}

// A report that cannot be written: on a disk that takes no more (a file size
// limit stands in for a full disk) the system's reason is told and an earlier
// report is kept; a pipe or device is never written to nor replaced.
void TestAnalysisReport::reportFailuresGiveTheReason_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disk full") << "limited.pdf"
                               << "File too large";
    QTest::newRow("a pipe") << "pipe.pdf"
                            << "not a regular file";
}

void TestAnalysisReport::reportFailuresGiveTheReason()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    const QString path = folder.filePath(target);
    QFile::remove(path);
    const QByteArray earlier = "an earlier report";
    if (target == QLatin1String("pipe.pdf")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else {
        QVERIFY(writeTestFile(path, earlier));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    QProcess program;
    program.setProcessEnvironment(environment);
    // Past the limit a write fails with the system's reason instead of
    // stopping the program; the limit is in blocks of 512 bytes.
    program.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"),
                   QStringLiteral("trap '' XFSZ; ulimit -f 8; exec \"$0\" \"$@\""),
                   QStringLiteral(ASPIRELLO_ANALISI), QStringLiteral("--report"), path, offLog});
    QVERIFY(program.waitForFinished(120000));
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(program.exitCode(), ExitCode::OutputFailed);
    QVERIFY2(err.contains(reason), qPrintable(err));
    QVERIFY2(!err.contains(QLatin1String("Unknown error")), qPrintable(err));
    if (target == QLatin1String("pipe.pdf")) {
        QVERIFY(!QFileInfo(path).isFile());
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), earlier);
    }
    QCOMPARE(QDir(folder.path())
                 .entryList({target + QStringLiteral("*")}, QDir::AllEntries | QDir::System),
             QStringList{target}); // no temporary file left beside it
}

void TestAnalysisReport::lostStandardOutputIsAFailure_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("help") << QStringList{"--help"};
    QTest::newRow("summary") << QStringList{"--summary", "OFF"};
    QTest::newRow("csv") << QStringList{"--csv", "OFF"};
}

// Standard output on a full disk: the results are lost, and the exit code
// and standard error say so.
void TestAnalysisReport::lostStandardOutputIsAFailure()
{
    QFETCH(QStringList, arguments);
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    arguments.replaceInStrings(QStringLiteral("OFF"), offLog);
    QProcess program;
    program.setStandardOutputFile(QStringLiteral("/dev/full"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ASPIRELLO_ANALISI), arguments);
    QVERIFY(program.waitForFinished(120000));
    QCOMPARE(program.exitCode(), ExitCode::OutputFailed);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("Standard output could not be written: No space left on "
                                         "device")),
             qPrintable(err));
}

QTEST_MAIN(TestAnalysisReport)
#include "test_report.moc"
