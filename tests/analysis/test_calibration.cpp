#include "calibration.h"
#include "commandline.h"
#include "commandrun.h"
#include "exitcodes.h"
#include "measurementlog.h"
#include "textoutput.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

constexpr std::array<float, 4> kOffsets{0.25f, -0.125f, 0.0f, -0.125f}; // they sum to zero

// All four sensors on one pulsating source, each with its own offset;
// sensor 2 also jitters +-jitter, alternately.
Session oneSource(int rows, float jitter = 0.0f)
{
    Session session;
    const float pulse[4] = {-20, -24, -28, -24};
    for (int i = 0; i < rows; ++i) {
        std::array<float, 8> row{};
        for (std::size_t c = 0; c < 4; ++c) {
            row[c] = pulse[i % 4] + kOffsets[c];
            row[4 + c] = -24 + kOffsets[c];
        }
        row[1] += (i % 2 ? -jitter : jitter);
        session.append(row);
    }
    session.fileName = QStringLiteral("/somewhere/cal.txt");
    return session;
}

QString gaugeLogText(const Session &session)
{
    QString text;
    for (std::size_t i = 0; i < session.readingCount(); ++i) {
        const auto &col = session.columns;
        appendLogLine(text, {col[0][i], col[1][i], col[2][i], col[3][i]},
                      {col[4][i], col[5][i], col[6][i], col[7][i]});
    }
    return text;
}

bool near(double a, double b)
{
    return std::fabs(a - b) < 1e-6;
}

struct Run
{
    int code;
    QString out;
    QString err;
};

Run run(const QStringList &arguments, const QString &calibrationPath)
{
    const CommandLineResult parsed = parseCommandLine(arguments);
    if (!parsed.commandLine)
        return {ExitCode::BadOption, QString(), parsed.error};
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = runTextCommand(*parsed.commandLine, calibrationPath,
                                    QDateTime(QDate(2026, 12, 7), QTime(9, 30)), outStream,
                                    errStream);
    return {code, out, err};
}

} // namespace

class TestCalibration : public QObject
{
    Q_OBJECT

private slots:
    void offsetsAndNoise();
    void refusals_data();
    void refusals();
    void fileRoundTrip();
    void appliedCalibrationIsOnEveryOutput();
    void commandLine_data();
    void commandLine();
    void headlessRuns();
};

void TestCalibration::offsetsAndNoise()
{
    const QDateTime made(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC);
    const CalibrationResult result = computeCalibration(oneSource(12, 0.1f), made);
    QVERIFY2(result.calibration, qPrintable(result.refusal));
    const Calibration &calibration = *result.calibration;
    for (std::size_t c = 0; c < 4; ++c)
        QVERIFY2(near(calibration.offsetsKPa[c], kOffsets[c]),
                 qPrintable(QString::number(calibration.offsetsKPa[c])));
    // Sensor 2's jitter e leaves e - e/4 on itself and -e/4 on the others.
    const std::array<double, 4> noise{0.025, 0.075, 0.025, 0.025};
    for (std::size_t c = 0; c < 4; ++c)
        QVERIFY2(std::fabs(calibration.noiseKPa[c] - noise[c]) < 1e-5,
                 qPrintable(QString::number(calibration.noiseKPa[c])));
    QCOMPARE(calibration.readings, std::size_t(12));
    QCOMPARE(calibration.sourceLog, QStringLiteral("cal.txt"));
    QCOMPARE(calibration.createdAt, made);
}

void TestCalibration::refusals_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("reason");
    QTest::newRow("too few readings") << 0 << "at least 10";
    QTest::newRow("one sensor far off") << 1 << "Sensor 3 reads";
    QTest::newRow("sensors not following") << 2 << "Sensor 4 does not follow";
    QTest::newRow("non-finite rows are not readings") << 3 << "at least 10";
}

void TestCalibration::refusals()
{
    QFETCH(int, variant);
    QFETCH(QString, reason);
    Session session = oneSource(variant == 0 ? 9 : 40);
    for (std::size_t i = 0; i < session.readingCount(); ++i) {
        if (variant == 1)
            session.columns[Raw3][i] += 8.0f; // 6 kPa from the mean of the four
        if (variant == 2)
            session.columns[Raw4][i] = (i % 4 == 1) ? -20.0f : -28.0f; // another intake's pulse
        if (variant == 3 && i >= 5)
            session.columns[i % 4][i] = std::numeric_limits<float>::quiet_NaN();
    }
    const CalibrationResult result = computeCalibration(session, QDateTime::currentDateTime());
    QVERIFY(!result.calibration);
    QVERIFY2(result.refusal.contains(reason), qPrintable(result.refusal));
}

void TestCalibration::fileRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("config/aspirello-analisi/calibration.json"));
    QString error;
    QVERIFY(!loadCalibration(path, &error));
    QVERIFY(error.isEmpty()); // none stored is not an error

    const Calibration made =
        *computeCalibration(oneSource(16, 0.05f), QDateTime::currentDateTime()).calibration;
    QVERIFY2(saveCalibration(made, path, &error), qPrintable(error));
    const std::optional<Calibration> loaded = loadCalibration(path, &error);
    QVERIFY2(loaded, qPrintable(error));
    QVERIFY(*loaded == made);
    QCOMPARE(loaded->createdAt, made.createdAt);

    // Damaged files are reported, not taken.
    QByteArray json = calibrationToJson(made);
    QVERIFY(calibrationFromJson(json));
    for (const QByteArray &damage :
         {QByteArray("{"), QByteArray("[1,2]"), QByteArray(json).replace("offsets_kpa", "x"),
          QByteArray(json).replace("\"format\": 1", "\"format\": 9")}) {
        QString why;
        QVERIFY2(!calibrationFromJson(damage, &why), damage.constData());
        QVERIFY(!why.isEmpty());
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("{\"format\":1,\"created\":\"x\"}");
    file.close();
    QVERIFY(!loadCalibration(path, &error));
    QVERIFY2(error.contains(QStringLiteral("not a valid calibration")), qPrintable(error));
}

void TestCalibration::appliedCalibrationIsOnEveryOutput()
{
    Session session = oneSource(8);
    const Calibration calibration =
        *computeCalibration(oneSource(12), QDateTime(QDate(2026, 12, 1), QTime(10, 0))).calibration;
    AnalysisSettings settings;
    settings.sync.source = SyncSource::Raw;
    // Raw sensors 1 and 2 differ by 0.375 kPa; in a 0.2 kPa band only the
    // calibration brings them together.
    settings.sync.toleranceKPa = 0.2;
    const SessionAnalysis before = analyseSession(session, settings);
    QVERIFY(!before.sync.band.endsInBand);
    QVERIFY(!summaryText(before, Unit::KPa).contains(QStringLiteral("Calibration applied")));
    QVERIFY(summaryText(before, Unit::KPa)
                .contains(QStringLiteral("Verdict: cylinder 2 is 0.38 kPa below the reference")));

    applyCalibration(session, calibration);
    QCOMPARE(session.raw(0)[0], -20.0f);
    QCOMPARE(session.average(1)[0], -24.0f);
    const SessionAnalysis after = analyseSession(session, settings);
    const QString note = calibrationNote(calibration);
    QVERIFY(note.contains(QStringLiteral("2026-12-01 10:00")));
    const QString summary = summaryText(after, Unit::KPa);
    QVERIFY2(summary.contains(note), qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("Verdict: in sync for the last 8 readings")),
             qPrintable(summary));
    const QString csv = csvText(after, Unit::CmHg);
    QVERIFY2(csv.contains(QStringLiteral("\ncalibration,") + csvField(note) + QLatin1Char('\n')),
             qPrintable(csv));
    QVERIFY2(csv.contains(QStringLiteral("verdict,in sync for the last 8 readings\n")),
             qPrintable(csv));
    QVERIFY2(csv.startsWith(QStringLiteral("cylinder,mean (cmHg),")), qPrintable(csv));
    QVERIFY2(csv.contains(QStringLiteral("\n1,-18.00,-21.00,-15.00,")),
             qPrintable(csv)); // -24 kPa mean, -28..-20
    QCOMPARE(csvField(QStringLiteral("a,\"b\"")), QStringLiteral("\"a,\"\"b\"\"\""));
}

void TestCalibration::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // a description of the result, or "error: ..." text
    QTest::newRow("window") << QStringList{} << "window 0 kPa ref1 tol1 period- stop none";
    QTest::newRow("window with logs")
        << QStringList{"a.txt", "b.txt"} << "window 2 kPa ref1 tol1 period- stop none";
    QTest::newRow("report pdf") << QStringList{"--report", "out.PDF", "a.txt"}
                                << "report pdf 1 kPa ref1 tol1 period- stop none";
    QTest::newRow("report svg with =") << QStringList{"a.txt", "--report=x/y.svg", "b.txt"}
                                       << "report svg 2 kPa ref1 tol1 period- stop none";
    QTest::newRow("summary, options")
        << QStringList{"--summary",        "--unit",        "cmHg",     "--reference=3",
                       "--tolerance",      "0.5",           "--period", "10",
                       "--skip-bad-lines", "--calibration", "use",      "a.txt"}
        << "summary 1 cmHg ref3 tol0.5 period0.01 skip use";
    QTest::newRow("csv, period in s") << QStringList{"--csv", "--period=0.02s", "--", "-odd.txt"}
                                      << "csv 1 kPa ref1 tol1 period0.02 stop none";
    QTest::newRow("calibrate") << QStringList{"--calibrate", "cal.txt", "--unit", "mbar"}
                               << "calibrate 1 hPa ref1 tol1 period- stop none";
    QTest::newRow("help wins") << QStringList{"--summary", "--help"} << "help";
    QTest::newRow("unknown option") << QStringList{"--colour"} << "error: unknown option --colour";
    QTest::newRow("missing value") << QStringList{"a.txt", "--unit"} << "error: --unit needs a value";
    QTest::newRow("bad unit") << QStringList{"--unit", "psi", "a"} << "error: unknown unit \"psi\"";
    QTest::newRow("reference 5") << QStringList{"--summary", "--reference", "5", "a"}
                                 << "error: --reference needs a cylinder from 1 to 4";
    QTest::newRow("tolerance zero")
        << QStringList{"--summary", "--tolerance", "0", "a"} << "error: --tolerance needs a positive";
    QTest::newRow("tolerance comma") << QStringList{"--summary", "--tolerance", "0,5", "a"}
                                     << "error: --tolerance needs a positive";
    QTest::newRow("period negative")
        << QStringList{"--summary", "--period", "-10", "a"} << "error: --period needs a positive";
    QTest::newRow("report jpg") << QStringList{"--report", "out.jpg", "a"}
                                << "error: --report needs a file ending in .pdf";
    QTest::newRow("two modes") << QStringList{"--summary", "--csv", "a"}
                               << "error: --csv cannot be combined";
    QTest::newRow("no log") << QStringList{"--summary"} << "error: no log given";
    QTest::newRow("three logs") << QStringList{"--csv", "a", "b", "c"} << "error: at most two logs";
    QTest::newRow("calibrate two") << QStringList{"--calibrate", "a", "b"}
                                   << "error: --calibrate takes exactly one log";
    QTest::newRow("value on a flag")
        << QStringList{"--summary=yes", "a"} << "error: --summary takes no value";
    QTest::newRow("both policies") << QStringList{"--skip-bad-lines", "--stop-on-bad-line",
                                                  "--summary", "a"}
                                   << "error: --skip-bad-lines and --stop-on-bad-line";
    QTest::newRow("calibration maybe") << QStringList{"--calibration", "maybe", "a"}
                                       << "error: --calibration needs \"use\" or \"none\"";
    // The board instead of logs.
    QTest::newRow("live window") << QStringList{"--live", "/dev/ttyUSB0"}
                                 << "window 0 kPa ref1 tol1 period- stop none live /dev/ttyUSB0 "
                                    "for- cmp0 cycle0 damp0.3";
    QTest::newRow("live summary, options")
        << QStringList{"--live=ttyACM0", "--for",   "10",          "--summary", "--period",  "50",
                       "--compare",      "linkage", "--cycle",     "min",       "--damping", "0.1s",
                       "--reference",    "2",       "--tolerance", "1.33"}
        << "summary 0 kPa ref2 tol1.33 period0.05 stop none live ttyACM0 for10 cmp4 cycle1 "
           "damp0.1 liveref2 livetol1.33";
    QTest::newRow("live report pairs")
        << QStringList{"--report", "x.png", "--live", "pts/3", "--for=2.5", "--compare=pairs"}
        << "report png 0 kPa ref1 tol1 period- stop none live pts/3 "
           "for2.5 cmp3 cycle0 damp0.3";
    QTest::newRow("live with a log") << QStringList{"--live", "ttyUSB0", "a.txt"}
                                     << "error: --live reads the board: it takes no log";
    QTest::newRow("live summary, no time") << QStringList{"--live", "ttyUSB0", "--csv"}
                                           << "error: --live with --summary, --csv or --report needs";
    QTest::newRow("for without live")
        << QStringList{"--for", "3", "--summary", "a"} << "error: --for goes with --live";
    QTest::newRow("for zero") << QStringList{"--live", "p", "--for", "0", "--summary"}
                              << "error: --for needs a positive number of seconds";
    QTest::newRow("live poll too slow") << QStringList{"--live", "p", "--period", "100"}
                                        << "error: --period with --live is the poll period: 10 to 50";
    QTest::newRow("live poll too fast") << QStringList{"--live", "p", "--period", "5"}
                                        << "error: --period with --live is the poll period: 10 to 50";
    QTest::newRow("damping too long") << QStringList{"--live", "p", "--damping", "2.5"}
                                      << "error: --damping needs a time constant from 0.1 to 2";
    QTest::newRow("damping too short") << QStringList{"--live", "p", "--damping", "0.05"}
                                       << "error: --damping needs a time constant from 0.1 to 2";
    QTest::newRow("compare unknown") << QStringList{"--live", "p", "--compare", "1v2"}
                                     << "error: --compare needs reference, 1-2, 3-4, pairs";
    QTest::newRow("cycle unknown") << QStringList{"--live", "p", "--cycle", "max"}
                                   << "error: --cycle needs mean or minimum";
    QTest::newRow("calibrate live") << QStringList{"--live", "p", "--calibrate", "a"}
                                    << "error: --calibrate reads a log, not the board";
    QTest::newRow("live without port")
        << QStringList{"--live", " "} << "error: --live needs the board's serial port";
}

void TestCalibration::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const CommandLineResult result = parseCommandLine(arguments);
    QString found;
    if (!result.commandLine) {
        found = QStringLiteral("error: ") + result.error;
        QVERIFY2(found.startsWith(expected), qPrintable(found));
        return;
    }
    const CommandLine &line = *result.commandLine;
    static const char *const modes[] = {"window", "report", "summary", "csv", "calibrate", "help"};
    static const char *const formats[] = {"pdf", "png", "svg"};
    found = QString::fromLatin1(modes[static_cast<int>(line.mode)]);
    if (line.mode != RunMode::Help) {
        if (line.mode == RunMode::Report)
            found += QLatin1Char(' ') + QLatin1String(formats[static_cast<int>(line.reportFormat)]);
        found += QStringLiteral(" %1 %2 ref%3 tol%4 period%5 %6 %7")
                     .arg(line.logs.size())
                     .arg(unitSymbol(line.unit))
                     .arg(line.analysis.sync.referenceCylinder)
                     .arg(line.analysis.sync.toleranceKPa)
                     .arg(line.analysis.pollPeriodSeconds
                              ? QString::number(*line.analysis.pollPeriodSeconds)
                              : QStringLiteral("-"))
                     .arg(line.badLines == BadLinePolicy::Skip ? "skip" : "stop")
                     .arg(line.calibration == CalibrationUse::Use ? "use" : "none");
    }
    if (line.live.isLive()) {
        const LiveSettings &live = line.live.settings;
        found +=
            QStringLiteral(" live %1 for%2 cmp%3 cycle%4 damp%5")
                .arg(line.live.port)
                .arg(line.live.seconds ? QString::number(*line.live.seconds) : QStringLiteral("-"))
                .arg(int(live.comparison))
                .arg(int(live.cycleValue))
                .arg(live.dampingSeconds);
        if (live.referenceCylinder != 1 || live.toleranceKPa != 1.0)
            found += QStringLiteral(" liveref%1 livetol%2")
                         .arg(live.referenceCylinder)
                         .arg(live.toleranceKPa);
    }
    QCOMPARE(found, expected);
    if (expected.startsWith(QLatin1String("csv")))
        QCOMPARE(line.logs, QStringList{QStringLiteral("-odd.txt")});
}

void TestCalibration::headlessRuns()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString calibrationPath = dir.filePath(QStringLiteral("conf/calibration.json"));
    const QString calLog = dir.filePath(QStringLiteral("log_A_B_C_D_EMEDIE7_12_2026_9_0_0.txt"));
    QCOMPARE(writeLogFile(calLog, gaugeLogText(oneSource(20))), LogSaveResult::Saved);
    const QString badLog = dir.filePath(QStringLiteral("bad.txt"));
    QCOMPARE(writeLogFile(badLog, gaugeLogText(oneSource(3)) + QStringLiteral("1,2,3\r\n")),
             LogSaveResult::Saved);

    Run r = run({QStringLiteral("--summary"), calLog}, calibrationPath);
    QCOMPARE(r.code, ExitCode::Ok);
    QVERIFY2(r.out.contains(QStringLiteral("Saved: 2026-12-07 09:00:00")), qPrintable(r.out));
    QVERIFY2(r.out.contains(QStringLiteral("Verdict: in sync for the last 20 readings")),
             qPrintable(r.out));

    r = run({QStringLiteral("--summary"), dir.filePath(QStringLiteral("none.txt"))}, calibrationPath);
    QCOMPARE(r.code, ExitCode::MissingFile);
    QVERIFY(r.err.contains(QStringLiteral("none.txt does not exist")));
    r = run({QStringLiteral("--csv"), badLog}, calibrationPath);
    QCOMPARE(r.code, ExitCode::UnreadableLog);
    QVERIFY2(r.err.contains(QStringLiteral("bad.txt, line 4: ")), qPrintable(r.err));
    r = run({QStringLiteral("--csv"), QStringLiteral("--skip-bad-lines"), badLog, calLog},
            calibrationPath);
    QCOMPARE(r.code, ExitCode::Ok);
    QVERIFY2(r.err.contains(QStringLiteral("1 bad lines skipped")), qPrintable(r.err));
    QVERIFY2(r.out.startsWith(QStringLiteral("Before\n"))
                 && r.out.contains(QStringLiteral("\nAfter\n")),
             qPrintable(r.out));

    r = run({QStringLiteral("--summary"), QStringLiteral("--calibration=use"), calLog},
            calibrationPath);
    QCOMPARE(r.code, ExitCode::CalibrationRefused);
    QVERIFY2(r.err.contains(QStringLiteral("no calibration is stored")), qPrintable(r.err));

    r = run({QStringLiteral("--calibrate"), calLog}, calibrationPath);
    QCOMPARE(r.code, ExitCode::Ok);
    QVERIFY2(r.out.contains(QStringLiteral("Sensor 1: offset 0.25 kPa")), qPrintable(r.out));
    QVERIFY(QFile::exists(calibrationPath));
    r = run({QStringLiteral("--summary"), QStringLiteral("--calibration"), QStringLiteral("use"),
             calLog},
            calibrationPath);
    QCOMPARE(r.code, ExitCode::Ok);
    QVERIFY2(r.out.contains(QStringLiteral("Calibration applied (made 2026-12-07 09:30 from "
                                           "log_A_B_C_D_EMEDIE7_12_2026_9_0_0.txt).")),
             qPrintable(r.out));

    // A refused calibration leaves the stored one alone.
    Session twoSources = oneSource(20);
    for (float &v : twoSources.columns[Raw3])
        v += 9.0f;
    const QString refusedLog = dir.filePath(QStringLiteral("two.txt"));
    QCOMPARE(writeLogFile(refusedLog, gaugeLogText(twoSources)), LogSaveResult::Saved);
    const QByteArray stored = [&] {
        QFile f(calibrationPath);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    r = run({QStringLiteral("--calibrate"), refusedLog}, calibrationPath);
    QCOMPARE(r.code, ExitCode::CalibrationRefused);
    QVERIFY2(r.err.contains(QStringLiteral("Calibration refused: Sensor 3 reads")),
             qPrintable(r.err));
    QFile storedFile(calibrationPath);
    QVERIFY(storedFile.open(QIODevice::ReadOnly));
    QCOMPARE(storedFile.readAll(), stored);

    // A calibration file that cannot be written: its folder is a file.
    r = run({QStringLiteral("--calibrate"), calLog}, badLog + QStringLiteral("/calibration.json"));
    QCOMPARE(r.code, ExitCode::OutputFailed);
    r = run({QStringLiteral("--help")}, calibrationPath);
    QCOMPARE(r.code, ExitCode::Ok);
    QVERIFY(r.out.contains(QStringLiteral("--report OUT.pdf|OUT.png|OUT.svg")));
    QCOMPARE(run({QStringLiteral("--bogus")}, calibrationPath).code, ExitCode::BadOption);
}

QTEST_GUILESS_MAIN(TestCalibration)
#include "test_calibration.moc"
