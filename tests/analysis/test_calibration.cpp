#include "calibration.h"
#include "commandline.h"
#include "commandrun.h"
#include "exitcodes.h"
#include "testlog.h"
#include "textoutput.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <cmath>
#include <utility>

namespace {

constexpr std::array<float, kCylinderCount> kOffsets{0.25f, -0.125f, 0.0f,
                                                     -0.125f}; // they sum to zero

// All four sensors on one pulsating source, each with its own offset;
// sensor 2 also jitters +-jitter, alternately.
Session oneSource(int rows, float jitter = 0.0f)
{
    Session session;
    const float pulse[4] = {-20, -24, -28, -24};
    for (int i = 0; i < rows; ++i) {
        std::array<float, 8> row{};
        for (std::size_t c = 0; c < kCylinderCount; ++c) {
            row[c] = pulse[i % 4] + kOffsets[c];
            row[Average1 + c] = -24 + kOffsets[c];
        }
        row[1] += (i % 2 ? -jitter : jitter);
        session.append(row);
    }
    session.fileName = QStringLiteral("/somewhere/cal.txt");
    return session;
}

// The session's readings as the gauge logs them.
TestLog gaugeLog(const Session &session)
{
    TestLog log;
    log.addColumns(session.columns);
    return log;
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
        return {parsed.exitCode, QString(), parsed.error};
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
    void storedDamage_data();
    void storedDamage();
    void fileRoundTrip();
    void appliedCalibrationIsOnEveryOutput();
    void commandLine_data();
    void commandLine();
    void helpNamesOnlyOptionsTaken();
    void headlessRuns();
    void badInputs_data();
    void badInputs();
};

void TestCalibration::offsetsAndNoise()
{
    const QDateTime made(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC);
    const CalibrationResult result = computeCalibration(oneSource(12, 0.1f), made);
    QVERIFY2(result.calibration, qPrintable(result.refusal));
    const Calibration &calibration = *result.calibration;
    for (std::size_t c = 0; c < kCylinderCount; ++c)
        QVERIFY2(near(calibration.offsetsKPa[c], kOffsets[c]),
                 qPrintable(QString::number(calibration.offsetsKPa[c])));
    // Sensor 2's jitter e leaves e - e/4 on itself and -e/4 on the others.
    const std::array<double, kCylinderCount> noise{0.025, 0.075, 0.025, 0.025};
    for (std::size_t c = 0; c < kCylinderCount; ++c)
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
    QTest::newRow("an engine's four intakes, 2.5 kPa apart")
        << 4 << "do not show the same pulses at the same moments";
    QTest::newRow("a source without pulses") << 5 << "do not show the same pulses";
    QTest::newRow("one sensor that does not move")
        << 6 << "Sensor 4 does not follow the others' pulses";
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
        for (std::size_t c = 0; c < kCylinderCount; ++c) {
            // A quarter cycle apart, eight readings a cycle; cylinder 2 2.5 kPa up.
            if (variant == 4)
                session.columns[c][i] = (c == 1 ? -27.5f : -30.0f)
                    + 1.9f * float(std::sin(M_PI * (double(i) / 4.0 + double(c) / 2.0)));
            if (variant == 5)
                session.columns[c][i] = -24.0f + kOffsets[c];
        }
        if (variant == 6) {
            session.columns[Raw1][i] = session.columns[Raw1][i] / 2 - 12; // pulses of 2 kPa
            session.columns[Raw2][i] = session.columns[Raw2][i] / 2 - 12;
            session.columns[Raw3][i] = session.columns[Raw3][i] / 2 - 12;
            session.columns[Raw4][i] = -24.0f;
        }
    }
    const CalibrationResult result = computeCalibration(session, QDateTime::currentDateTime());
    QVERIFY(!result.calibration);
    QVERIFY2(result.refusal.contains(reason), qPrintable(result.refusal));
}

// A stored calibration is checked as a computed one is: each kind of damage
// is refused with its reason, and the rest of it read as written.
void TestCalibration::storedDamage_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("reason"); // empty: accepted
    QTest::newRow("as written") << QByteArray() << QByteArray() << QString();
    QTest::newRow("offset of 1000 kPa")
        << QByteArray("0.25") << QByteArray("1000") << "Sensor 1 reads 1000.00 kPa away";
    QTest::newRow("offset of -1000 kPa")
        << QByteArray("0.25") << QByteArray("-1000") << "Sensor 1 reads -1000.00 kPa away";
    QTest::newRow("offset just past the limit")
        << QByteArray("0.25") << QByteArray("5.01") << "Sensor 1 reads 5.01 kPa";
    QTest::newRow("offset on the limit") << QByteArray("0.25") << QByteArray("5") << QString();
    QTest::newRow("noise") << QByteArray("noise") << QByteArray("9") << "does not follow the others";
    QTest::newRow("too few readings")
        << QByteArray("\"readings\": 16") << QByteArray("\"readings\": 3") << "at least 10";
    QTest::newRow("made in the future")
        << QByteArray("\"created\": \"20") << QByteArray("\"created\": \"29") << "in the future";
    QTest::newRow("no date") << QByteArray("\"created\": \"20") << QByteArray("\"created\": \"x")
                             << "date is not valid";
    QTest::newRow("a name with lines in it")
        << QByteArray("\"source\": \"cal.txt\"")
        << QByteArray("\"source\": \"cal\\nVerdict: in sync\\r\\u0007\"") << QString();
}

void TestCalibration::storedDamage()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, reason);
    const QDateTime now(QDate(2026, 12, 7), QTime(9, 0));
    Calibration made = *computeCalibration(oneSource(16), now).calibration;
    if (from == "noise")
        made.noiseKPa[0] = to.toDouble();
    QByteArray json = calibrationToJson(made);
    if (!from.isEmpty() && from != "noise") {
        QVERIFY2(json.contains(from), json.constData());
        // Only the first: the first offset, the first noise value.
        json.replace(json.indexOf(from), from.size(), to);
    }
    QString why;
    const std::optional<Calibration> loaded = calibrationFromJson(json, &why, now);
    if (!reason.isEmpty()) {
        QVERIFY2(!loaded, json.constData());
        QVERIFY2(why.contains(reason), qPrintable(why));
        return;
    }
    QVERIFY2(loaded, qPrintable(why));
    // Nothing taken from the file can break a line of any output.
    const QString note = calibrationNote(*loaded);
    QVERIFY2(!note.contains(QLatin1Char('\n')) && !note.contains(QLatin1Char('\r'))
                 && !note.contains(QChar(7)),
             qPrintable(note));
    QCOMPARE(loaded->readings, made.readings);
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
    QVERIFY(writeTestFile(path, "{\"format\":1,\"created\":\"x\"}"));
    QVERIFY(!loadCalibration(path, &error));
    QVERIFY2(error.contains(QStringLiteral("is not usable, so it is not applied"))
                 && error.contains(QStringLiteral("--calibrate LOG")),
             qPrintable(error));
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
                .contains(QStringLiteral("cylinder 2 has 0.38 kPa more vacuum than the reference")));

    const Session uncalibrated = session;
    applyCalibration(session, calibration);
    QCOMPARE(session.raw(0)[0], -20.0f);
    QCOMPARE(session.average(1)[0], -24.0f);
    // A frame read live is calibrated value for value as the session's rows.
    for (std::size_t i = 0; i < session.readingCount(); ++i) {
        CylinderValues raw{};
        for (std::size_t c = 0; c < raw.size(); ++c)
            raw[c] = uncalibrated.raw(int(c))[i];
        const CylinderValues calibrated = calibratedReadings(raw, calibration);
        for (std::size_t c = 0; c < raw.size(); ++c)
            QCOMPARE(calibrated[c], session.raw(int(c))[i]);
    }
    const SessionAnalysis after = analyseSession(session, settings);
    const QString note = calibrationNote(calibration);
    QVERIFY(note.contains(QStringLiteral("2026-12-01 10:00")));
    const QString summary = summaryText(after, Unit::KPa);
    QVERIFY2(summary.contains(note), qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("\nIn sync: all four cylinders within ±0.20 kPa of "
                                             "cylinder 1 for the last 8 readings.\n")),
             qPrintable(summary));
    const QString csv = csvText(after, Unit::CmHg);
    QVERIFY2(csv.contains(QStringLiteral("\ncalibration,") + csvField(note) + QLatin1Char('\n')),
             qPrintable(csv));
    QVERIFY2(csv.contains(QStringLiteral("verdict,In sync: all four cylinders within ±0.15 cmHg "
                                         "of cylinder 1 for the last 8 readings.\n")),
             qPrintable(csv));
    // Italian: decimal commas, fields separated by semicolons, the same rows.
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const QString csvIt = csvText(after, Unit::CmHg, italian);
    QVERIFY2(csvIt.contains(QStringLiteral("\n1;-18,00;-21,00;-15,00;")), qPrintable(csvIt));
    QVERIFY2(csvIt.contains(QStringLiteral("\ndecimal separator;,\n")), qPrintable(csvIt));
    QCOMPARE(csvIt.count(QLatin1Char('\n')), csv.count(QLatin1Char('\n')));
    QVERIFY2(summaryText(after, Unit::KPa, italian).contains(QStringLiteral("±0,20 kPa")),
             qPrintable(summaryText(after, Unit::KPa, italian)));
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
        << QStringList{"--summary", "--period", "-10", "a"} << "error: --period needs a poll period";
    QTest::newRow("period below 1 ms")
        << QStringList{"--summary", "--period", "0.5", "a"} << "error: --period needs a poll period";
    QTest::newRow("period above 10 s") << QStringList{"--summary", "--period", "10.5s", "a"}
                                       << "error: --period needs a poll period";
    QTest::newRow("period of 1 ms") << QStringList{"--summary", "--period=1ms", "a"}
                                    << "summary 1 kPa ref1 tol1 period0.001 stop none";
    QTest::newRow("period of 10 s") << QStringList{"--summary", "--period=10000", "a"}
                                    << "summary 1 kPa ref1 tol1 period10 stop none";
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
    // The option syntax: short help, "-" as a log, "=" and the next argument,
    // what is not an option, and a value missing or where none belongs.
    QTest::newRow("short help") << QStringList{"-h", "--unit", "hpa"} << "help";
    QTest::newRow("help with a bad value")
        << QStringList{"--help", "--reference", "0"} << "error: --reference needs a cylinder";
    QTest::newRow("standard input as a log")
        << QStringList{"--summary", "-"} << "summary 1 kPa ref1 tol1 period- stop none";
    QTest::newRow("unknown short option") << QStringList{"-x", "a"} << "error: unknown option -x";
    QTest::newRow("unknown option with =")
        << QStringList{"--summary", "a", "--colour=red"} << "error: unknown option --colour (see";
    QTest::newRow("report without its file")
        << QStringList{"a.txt", "--report"} << "error: --report needs a value";
    QTest::newRow("value on help") << QStringList{"--help=all"} << "error: --help takes no value";
    QTest::newRow("value on a policy")
        << QStringList{"--skip-bad-lines=1", "a"} << "error: --skip-bad-lines takes no value";
    QTest::newRow("a value that looks like an option")
        << QStringList{"--summary", "--unit", "--csv", "a"} << "error: unknown unit \"--csv\"";
    QTest::newRow("modes, the second named")
        << QStringList{"--calibrate", "a", "--report", "r.pdf"} << "error: --report cannot be";
    QTest::newRow("one mode twice")
        << QStringList{"--summary", "a", "--summary"} << "summary 1 kPa ref1 tol1 period- stop none";
    QTest::newRow("one policy twice") << QStringList{"--skip-bad-lines", "--skip-bad-lines", "a"}
                                      << "window 1 kPa ref1 tol1 period- skip none";
    // Each option's range, at both edges; an option given twice takes its
    // last value, and every value given is checked.
    QTest::newRow("reference 0") << QStringList{"--summary", "--reference", "0", "a"}
                                 << "error: --reference needs a cylinder from 1 to 4";
    QTest::newRow("reference 4") << QStringList{"--summary", "--reference", "4", "a"}
                                 << "summary 1 kPa ref4 tol1 period- stop none";
    QTest::newRow("reference not a number")
        << QStringList{"--summary", "--reference=one", "a"} << "error: --reference needs a cylinder";
    QTest::newRow("tolerance negative") << QStringList{"--summary", "--tolerance", "-1", "a"}
                                        << "error: --tolerance needs a positive";
    QTest::newRow("tolerance infinite") << QStringList{"--summary", "--tolerance", "inf", "a"}
                                        << "error: --tolerance needs a positive";
    QTest::newRow("tolerance small") << QStringList{"--summary", "--tolerance", "0.01", "a"}
                                     << "summary 1 kPa ref1 tol0.01 period- stop none";
    QTest::newRow("last unit counts")
        << QStringList{"--unit", "inhg", "--summary", "--unit=mmhg", "a"}
        << "summary 1 mmHg ref1 tol1 period- stop none";
    QTest::newRow("an earlier bad unit")
        << QStringList{"--unit", "psi", "--summary", "--unit=mmhg", "a"}
        << "error: unknown unit \"psi\"";
    QTest::newRow("last reference counts")
        << QStringList{"--reference=2", "--reference", "3", "--summary", "a"}
        << "summary 1 kPa ref3 tol1 period- stop none";
    QTest::newRow("period just below 1 ms") << QStringList{"--summary", "--period", "0.999ms", "a"}
                                            << "error: --period needs a poll period from 1 to 10000";
    QTest::newRow("period just above 10 s")
        << QStringList{"--summary", "--period", "10000.5", "a"} << "error: --period needs";
    QTest::newRow("period not a number")
        << QStringList{"--summary", "--period", "fast", "a"} << "error: --period needs";
    QTest::newRow("calibration none")
        << QStringList{"--calibration", "use", "--calibration=NONE", "--summary", "a"}
        << "summary 1 kPa ref1 tol1 period- stop none";
    QTest::newRow("calibrate with a stored calibration")
        << QStringList{"--calibrate", "a", "--calibration", "use"}
        << "error: --calibrate cannot use a stored calibration";
    QTest::newRow("calibrate without a log") << QStringList{"--calibrate=", "--unit", "kpa"}
                                             << "calibrate 1 kPa ref1 tol1 period- stop none";
    QTest::newRow("three logs in the window")
        << QStringList{"a", "b", "c"} << "error: at most two logs can be opened";
    QTest::newRow("report of three logs") << QStringList{"--report", "r.png", "a", "b", "c"}
                                          << "error: at most two logs (before and after), not 3";
    QTest::newRow("live poll on the edges")
        << QStringList{"--live", "p", "--period", "10", "--damping", "2", "--compare", "1-2"}
        << "window 0 kPa ref1 tol1 period0.01 stop none live p for- cmp1 cycle0 damp2";
    QTest::newRow("live poll just above 50 ms")
        << QStringList{"--live", "p", "--period", "50.5"} << "error: --period with --live";
    QTest::newRow("live poll just below 10 ms")
        << QStringList{"--live", "p", "--period", "9.5ms"} << "error: --period with --live";
    QTest::newRow("live poll 50 ms, damping 0.1")
        << QStringList{"--live", "p",       "--period", "50ms",    "--damping=0.1", "--compare",
                       "3-4",    "--cycle", "MEAN",     "--cycle", "minimum"}
        << "window 0 kPa ref1 tol1 period0.05 stop none live p for- cmp2 cycle1 damp0.1";
    QTest::newRow("live reference comparison")
        << QStringList{"--live",    "p",     "--compare", "linkage",  "--compare",
                       "reference", "--for", "2s",        "--summary"}
        << "summary 0 kPa ref1 tol1 period- stop none live p for2 cmp0 cycle0 damp0.3";
    QTest::newRow("for negative") << QStringList{"--live", "p", "--for", "-5", "--summary"}
                                  << "error: --for needs a positive number of seconds";
    QTest::newRow("for on the window") << QStringList{"--live", "p", "--for", "5"}
                                       << "window 0 kPa ref1 tol1 period- stop none live p for5 cmp0 "
                                          "cycle0 damp0.3";
    QTest::newRow("live, an earlier port checked")
        << QStringList{"--live=", "--live", "p"} << "error: --live needs the board's serial port";
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
        QCOMPARE(result.exitCode, ExitCode::BadOption);
        return;
    }
    QCOMPARE(result.exitCode, ExitCode::Ok);
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

// Every option --help names is one the parser takes.
void TestCalibration::helpNamesOnlyOptionsTaken()
{
    const QString help = helpText();
    QSet<QString> named;
    QRegularExpressionMatchIterator matches =
        QRegularExpression(QStringLiteral("(--[a-z][a-z-]*|-h)\\b")).globalMatch(help);
    while (matches.hasNext())
        named.insert(matches.next().captured(1));
    QVERIFY2(named.contains(QStringLiteral("--damping")) && named.contains(QStringLiteral("-h")),
             qPrintable(help));
    for (const QString &option : std::as_const(named)) {
        const CommandLineResult result = parseCommandLine({option, QStringLiteral("1")});
        QVERIFY2(!result.error.startsWith(QLatin1String("unknown option")), qPrintable(option));
    }
}

void TestCalibration::headlessRuns()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString calibrationPath = dir.filePath(QStringLiteral("conf/calibration.json"));
    const QString calLog = dir.filePath(QStringLiteral("log_A_B_C_D_EMEDIE7_12_2026_9_0_0.txt"));
    QVERIFY(gaugeLog(oneSource(20)).save(calLog));
    const QString badLog = dir.filePath(QStringLiteral("bad.txt"));
    TestLog bad = gaugeLog(oneSource(3));
    bad.addText(QStringLiteral("1,2,3\r\n"));
    QVERIFY(bad.save(badLog));

    Run r = run({QStringLiteral("--summary"), calLog}, calibrationPath);
    QCOMPARE(r.code, ExitCode::Ok);
    QVERIFY2(r.out.contains(QStringLiteral("Saved: 2026-12-07 09:00\n")), qPrintable(r.out));
    QVERIFY2(r.out.contains(QStringLiteral("In sync: all four cylinders within ±1.00 kPa of "
                                           "cylinder 1 for the last 20 readings.")),
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
    QVERIFY2(r.err.contains(QStringLiteral("bad.txt: 1 bad lines skipped")), qPrintable(r.err));
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
    QVERIFY(gaugeLog(twoSources).save(refusedLog));
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

// Odd and hostile inputs through the commands, as a user gives them: the log
// (kinds of file, values no sensor gives), the stored calibration (kinds of
// file, damage) and where a calibration is stored. Each is refused with its
// exit code and reason, or read with what was left out said.
void TestCalibration::badInputs_data()
{
    QTest::addColumn<QString>("log");         // what LOG is
    QTest::addColumn<QString>("calibration"); // what the stored calibration is
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected"); // in standard output (Ok) or error
    QTest::addColumn<QString>("absent");   // in neither

    const QStringList summary{"--summary", "LOG"};
    const QStringList applied{"--summary", "--calibration=use", "LOG"};
    QTest::newRow("log: a pipe") << "fifo"
                                 << "none" << summary << ExitCode::UnreadableLog
                                 << "is not a regular file"
                                 << "";
    QTest::newRow("log: a link to /dev/zero")
        << "zero"
        << "none" << QStringList{"--csv", "LOG"} << ExitCode::UnreadableLog << "is not a regular file"
        << "";
    QTest::newRow("log: a value of 3.4e38")
        << "huge value"
        << "none" << summary << ExitCode::Ok
        << "2 values left out: 2 beyond ±200 kPa, which no sensor reads"
        << "e+";
    QTest::newRow("log: a value of 3.4e38, verdict")
        << "huge value"
        << "none" << summary << ExitCode::Ok << "\nIn sync: all four cylinders"
        << "never within the band";
    QTest::newRow("log: a value of 3.4e38, CSV")
        << "huge value"
        << "none" << QStringList{"--csv", "LOG"} << ExitCode::Ok
        << "\nvalues beyond ±200 kPa left out,2\nvalues not a number left out,0\n"
        << "e+";
    QTest::newRow("log: nan and inf")
        << "nan values"
        << "none" << summary << ExitCode::Ok << "values left out: 3 not a number (nan or inf)"
        << "";
    QTest::newRow("calibration: a pipe")
        << "good"
        << "fifo" << applied << ExitCode::CalibrationRefused << "not a regular file"
        << "Calibration applied";
    QTest::newRow("calibration: a link to /dev/zero")
        << "good"
        << "zero" << applied << ExitCode::CalibrationRefused << "not a regular file"
        << "Calibration applied";
    QTest::newRow("calibration: offsets of 1000 kPa")
        << "good"
        << "offsets 1000" << applied << ExitCode::CalibrationRefused
        << "Sensor 1 reads 1000.00 kPa away"
        << "Calibration applied";
    QTest::newRow("calibration: refused, how to make one")
        << "good"
        << "offsets 1000" << applied << ExitCode::CalibrationRefused << "--calibrate LOG"
        << "";
    QTest::newRow("calibration: too large a file")
        << "good"
        << "huge file" << applied << ExitCode::CalibrationRefused << "too large"
        << "";
    QTest::newRow("calibration: a name with a line in it")
        << "good"
        << "evil name" << applied << ExitCode::Ok << "Calibration applied (made"
        << "\nVerdict";
    QTest::newRow("calibration: stored into a pipe") << "good"
                                                     << "fifo" << QStringList{"--calibrate", "LOG"}
                                                     << ExitCode::OutputFailed << "not a regular file"
                                                     << "";
    QTest::newRow("calibration: from an engine's four intakes")
        << "engine"
        << "none" << QStringList{"--calibrate", "LOG"} << ExitCode::CalibrationRefused
        << "do not show the same pulses"
        << "";
}

void TestCalibration::badInputs()
{
    QFETCH(QString, log);
    QFETCH(QString, calibration);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    QFETCH(QString, absent);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString logPath = dir.filePath(QStringLiteral("log_A_B_C_D_EMEDIE7_12_2026_9_0_0.txt"));
    const QString calibrationPath = dir.filePath(QStringLiteral("calibration.json"));

    Session session = oneSource(20);
    if (log == QLatin1String("huge value")) {
        session.columns[Raw3][10] = 3.4e38f;
        session.columns[Average3][10] = 3.4e38f;
    } else if (log == QLatin1String("nan values")) {
        session.columns[Raw1][3] = std::numeric_limits<float>::quiet_NaN();
        session.columns[Raw2][4] = std::numeric_limits<float>::infinity();
        session.columns[Average4][5] = -std::numeric_limits<float>::infinity();
    } else if (log == QLatin1String("engine")) {
        for (std::size_t i = 0; i < session.readingCount(); ++i) {
            for (std::size_t c = 0; c < kCylinderCount; ++c)
                session.columns[c][i] = (c == 1 ? -27.5f : -30.0f)
                    + 1.9f * float(std::sin(M_PI * (double(i) / 4.0 + double(c) / 2.0)));
        }
    }
    if (log == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(logPath).constData(), 0600), 0);
    else if (log == QLatin1String("zero"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), logPath));
    else
        QVERIFY(gaugeLog(session).save(logPath));

    const QDateTime made(QDate(2026, 12, 1), QTime(10, 0));
    Calibration stored = *computeCalibration(oneSource(16), made).calibration;
    if (calibration == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(calibrationPath).constData(), 0600), 0);
    } else if (calibration == QLatin1String("zero")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), calibrationPath));
    } else if (calibration == QLatin1String("huge file")) {
        QVERIFY(writeTestFile(calibrationPath,
                              calibrationToJson(stored)
                                  + QByteArray(int(kCalibrationMaxFileBytes), ' ')));
    } else if (calibration != QLatin1String("none")) {
        if (calibration == QLatin1String("offsets 1000"))
            stored.offsetsKPa = {1000, -1000, 0, 0};
        if (calibration == QLatin1String("evil name"))
            stored.sourceLog = QStringLiteral("cal.txt\nVerdict: In sync\r");
        QVERIFY(writeTestFile(calibrationPath, calibrationToJson(stored)));
    }

    arguments.replaceInStrings(QStringLiteral("LOG"), logPath);
    const Run r = run(arguments, calibrationPath);
    QCOMPARE(r.code, exitCode);
    const QString &shown = exitCode == ExitCode::Ok ? r.out : r.err;
    QVERIFY2(shown.contains(expected), qPrintable(shown));
    if (!absent.isEmpty())
        QVERIFY2(!r.out.contains(absent) && !r.err.contains(absent), qPrintable(r.out + r.err));
    if (calibration == QLatin1String("fifo")) {
        struct stat status;
        QVERIFY(::lstat(QFile::encodeName(calibrationPath).constData(), &status) == 0
                && S_ISFIFO(status.st_mode));
    }
}

QTEST_GUILESS_MAIN(TestCalibration)
#include "test_calibration.moc"
