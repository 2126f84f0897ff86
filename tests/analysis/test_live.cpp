#include "boardmodel.h"
#include "calibration.h"
#include "commandline.h"
#include "exitcodes.h"
#include "liveanalysis.h"
#include "livecapture.h"
#include "liverun.h"
#include "livesource.h"
#include "logreader.h"
#include "testboard.h"
#include "testlog.h"
#include "usermessages.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <termios.h>
#include <random>

namespace {

// Readings every period seconds, each cylinder at its level; the reference
// series of a test.
CylinderValues levels(double c1, double c2, double c3, double c4)
{
    return {float(c1), float(c2), float(c3), float(c4)};
}

// The simulated engine through the board, set to pass the pulses (one
// sensor read per frame, no low-pass), read every periodMs with a small
// steady jitter, as the polls come.
struct EngineRun
{
    BoardModel board;
    double periodMs;
    int frame = 0;

    EngineRun(double rpm, double periodMs, double wander = 50.0, int innerLoopCount = 1,
              float coefficient = 1.0f)
        : board(config(rpm, wander))
        , periodMs(periodMs)
    {
        board.applySettings(float(innerLoopCount), coefficient);
    }
    static EngineConfig config(double rpm, double wander)
    {
        EngineConfig c;
        c.idleRpm = rpm;
        c.rpmWander = wander;
        return c;
    }
    // Feeds seconds of frames to the estimator; returns the time reached.
    double feed(EngineSpeedEstimator &speed, double seconds)
    {
        double t = 0;
        const int frames = int(seconds * 1000.0 / periodMs);
        for (int i = 0; i < frames; ++i, ++frame) {
            // +-1.5 ms of poll jitter, the same each run.
            t = (frame * periodMs + 1.5 * std::sin(frame * 2.3)) / 1000.0;
            speed.addSample(t, board.takeFrame(t * 1000.0).readings);
        }
        return t;
    }
};

} // namespace

class TestLive : public QObject
{
    Q_OBJECT
private slots:
    void verdictHysteresisAndHoldTime_data();
    void verdictHysteresisAndHoldTime();
    void comparisons_data();
    void comparisons();
    void cycleValueAndDamping();
    void stepShowsWithinTwoTenths();
    void engineSpeedAgainstKnownEngine_data();
    void engineSpeedAgainstKnownEngine();
    void engineSpeedNotGuessed_data();
    void engineSpeedNotGuessed();
    void idleDrift();
    void captureIsTheGaugesLog();
    void livePathOverPseudoTerminal();
    void sourceTellsSilenceAndLoss();
    void headlessLiveRun();
    void headlessLiveRunFailures();
    void pollsWithTheGaugesBytesAndLine();
    void tickWaitsForTheReplyOnItsWay();
    void liveSummaryAndCsv();
    void calibrationReachesTheLiveVerdict();
};

// Differences (kPa) at one reading a second, against a tolerance of 1 kPa:
// the verdict after each, "I" in sync and "O" out, and how long it held.
void TestLive::verdictHysteresisAndHoldTime_data()
{
    QTest::addColumn<QVector<double>>("differences");
    QTest::addColumn<QString>("verdicts");
    QTest::addColumn<double>("held");
    QTest::newRow("enters only well inside") << QVector<double>{1.0, 0.95, 0.9, 0.5} << "OOII" << 1.0;
    QTest::newRow("stays in up to the edge")
        << QVector<double>{0.5, 0.95, 1.0, -1.0} << "IIII" << 3.0;
    QTest::newRow("leaves just past the edge")
        << QVector<double>{0.5, 1.01, 0.95, 0.89} << "IOOI" << 0.0;
    QTest::newRow("no flicker at the edge")
        << QVector<double>{0.5, 0.99, 1.0, 0.98, 0.97} << "IIIII" << 4.0;
    QTest::newRow("nan is out") << QVector<double>{0.2, qQNaN(), 0.2} << "IOI" << 0.0;
    QTest::newRow("out holds its time") << QVector<double>{2.0, 1.5, 1.2, 3.0} << "OOOO" << 3.0;
}

void TestLive::verdictHysteresisAndHoldTime()
{
    QFETCH(QVector<double>, differences);
    QFETCH(QString, verdicts);
    QFETCH(double, held);
    LiveVerdict verdict;
    QString found;
    for (int i = 0; i < differences.size(); ++i) {
        // The other bars well inside: only this one decides.
        verdict.update(10.0 + i, {0.1, differences[i], -0.2}, 1.0);
        found += verdict.inSync() ? QLatin1Char('I') : QLatin1Char('O');
    }
    QCOMPARE(found, verdicts);
    QCOMPARE(verdict.heldSeconds(), held);
    QCOMPARE(liveVerdictTitle(verdict.inSync()),
             verdict.inSync() ? QStringLiteral("IN SYNC") : QStringLiteral("OUT OF SYNC"));
    QCOMPARE(liveVerdictHeldText(verdict),
             QStringLiteral("%1 for %2 s")
                 .arg(verdict.inSync() ? "in sync" : "out of sync")
                 .arg(int(held)));
}

void TestLive::comparisons_data()
{
    QTest::addColumn<int>("comparison");
    QTest::addColumn<int>("reference");
    QTest::addColumn<QString>("bars"); // label=difference, in kPa
    // Cylinders at -30, -32, -29, -33.5.
    QTest::newRow("against cylinder 2")
        << int(LiveComparison::Reference) << 2 << "1=2 2=0 3=3 4=-1.5";
    QTest::newRow("against cylinder 1")
        << int(LiveComparison::Reference) << 1 << "1=0 2=-2 3=1 4=-3.5";
    QTest::newRow("1 and 2, reference 2") << int(LiveComparison::Cylinders1And2) << 2 << "1 − 2=2";
    QTest::newRow("1 and 2, reference 1") << int(LiveComparison::Cylinders1And2) << 1 << "2 − 1=-2";
    QTest::newRow("1 and 2, reference 4") << int(LiveComparison::Cylinders1And2) << 4 << "2 − 1=-2";
    QTest::newRow("3 and 4, reference 4") << int(LiveComparison::Cylinders3And4) << 4 << "3 − 4=4.5";
    QTest::newRow("3 and 4, reference 2") << int(LiveComparison::Cylinders3And4) << 2 << "4 − 3=-4.5";
    QTest::newRow("pairs, reference 2") << int(LiveComparison::Pairs) << 2 << "3+4 − 1+2=-0.25";
    QTest::newRow("pairs, reference 3") << int(LiveComparison::Pairs) << 3 << "1+2 − 3+4=0.25";
    QTest::newRow("linkage, reference 2")
        << int(LiveComparison::LinkageScrews) << 2 << "1 − 2=2 3+4 − 1+2=-0.25 4 − 3=-4.5";
}

void TestLive::comparisons()
{
    QFETCH(int, comparison);
    QFETCH(int, reference);
    QFETCH(QString, bars);
    LiveSettings settings;
    settings.comparison = LiveComparison(comparison);
    settings.referenceCylinder = reference;
    settings.toleranceKPa = 2.0;
    LiveAnalysis live(settings);
    for (int i = 0; i < 20; ++i)
        live.addFrame(i * 0.02, levels(-30, -32, -29, -33.5));
    QStringList found;
    bool allWithin = true;
    for (const LiveBar &bar : live.bars()) {
        found << QStringLiteral("%1=%2").arg(bar.label).arg(bar.differenceKPa);
        QCOMPARE(bar.withinBand, std::fabs(bar.differenceKPa) <= 2.0);
        allWithin = allWithin && bar.withinBand;
    }
    QCOMPARE(found.join(QLatin1Char(' ')), bars);
    // The band is judged on the bars shown, and only on them.
    QCOMPARE(live.verdict().inSync(),
             allWithin && found.size() == 1 && std::fabs(live.bars()[0].differenceKPa) <= 1.8);

    // Another damping keeps the verdict and its hold time; another band starts anew.
    QCOMPARE(live.verdict().heldSeconds(), 19 * 0.02);
    settings.dampingSeconds = 1.0;
    settings.cycleValue = CycleValue::Minimum;
    live.setSettings(settings);
    QCOMPARE(live.verdict().heldSeconds(), 19 * 0.02);
    settings.toleranceKPa = 5.0;
    live.setSettings(settings);
    QCOMPARE(live.verdict().heldSeconds(), 0.0);
    QVERIFY(live.verdict().hasReadings());
}

// Per engine cycle the mean or the bottom of the pulse; the damping is a
// time constant whatever the frames' spacing.
void TestLive::cycleValueAndDamping()
{
    LiveSettings settings;
    settings.dampingSeconds = 0.1;
    LiveAnalysis mean(settings);
    settings.cycleValue = CycleValue::Minimum;
    LiveAnalysis minimum(settings);
    // Cylinder 1 pulses -20/-30 every other frame (20 ms), the others steady at -25.
    for (int i = 0; i < 100; ++i) {
        const double t = i * 0.02;
        const CylinderValues raw = levels(i % 2 ? -30 : -20, -25, -25, -25);
        mean.addFrame(t, raw);
        minimum.addFrame(t, raw);
    }
    QVERIFY2(std::fabs(mean.cylinderValuesKPa()[0] + 25.0) < 0.6,
             qPrintable(QString::number(mean.cylinderValuesKPa()[0])));
    QVERIFY(std::fabs(minimum.cylinderValuesKPa()[0] + 30.0) < 1e-6);
    QVERIFY(std::fabs(minimum.cylinderValuesKPa()[1] + 25.0) < 1e-6);

    // A step of 2 kPa on cylinder 2: after one time constant 63 % of it, after three 95 %.
    for (const double tau : {0.5, 2.0}) {
        settings.cycleValue = CycleValue::Mean;
        settings.dampingSeconds = tau;
        LiveAnalysis live(settings);
        double t = 0;
        for (; t < 1.0; t += 0.01)
            live.addFrame(t, levels(-25, -25, -25, -25));
        // The cycle's mean ramps over one cycle: the step counts from its middle.
        const double stepAt = t + kDefaultCycleSeconds / 2;
        for (; t < stepAt + 3 * tau; t += 0.01) {
            live.addFrame(t, levels(-25, -23, -25, -25));
            if (std::fabs(t - (stepAt + tau)) < 0.005)
                QVERIFY2(std::fabs(live.bars()[1].differenceKPa - 2 * 0.632) < 0.05,
                         qPrintable(QString::number(live.bars()[1].differenceKPa)));
        }
        QVERIFY(live.bars()[1].differenceKPa > 1.88 && live.bars()[1].differenceKPa < 2.0);
    }
    // A damping outside 0.1..2 s is brought within.
    settings.dampingSeconds = 10;
    QCOMPARE(LiveAnalysis(settings).settings().dampingSeconds, kLongestDampingSeconds);
    settings.dampingSeconds = 0.01;
    QCOMPARE(LiveAnalysis(settings).settings().dampingSeconds, kShortestDampingSeconds);
}

// At the shortest damping a step shows on the bars within 0.2 s: at least
// half of it, at the engine's idle, with either cycle value.
void TestLive::stepShowsWithinTwoTenths()
{
    for (const CycleValue value : {CycleValue::Mean, CycleValue::Minimum}) {
        LiveSettings settings;
        settings.dampingSeconds = kShortestDampingSeconds;
        settings.cycleValue = value;
        LiveAnalysis live(settings);
        EngineConfig config;
        config.offsets = {0, 0, 0, 0};
        BoardModel board(config);
        board.applySettings(1, 1);
        double t = 0;
        for (; t < 5.0; t += 0.01)
            live.addFrame(t, board.takeFrame(t * 1000).readings);
        // Cylinder 2 against the reference, cylinder 1.
        const double before = live.bars()[1].differenceKPa;
        const double stepAt = t;
        for (; t < stepAt + 0.2; t += 0.01) {
            CylinderValues raw = board.takeFrame(t * 1000).readings;
            raw[1] += 3.0f;
            live.addFrame(t, raw);
        }
        QVERIFY2(live.bars()[1].differenceKPa - before > 1.5,
                 qPrintable(
                     QStringLiteral("%1 -> %2").arg(before).arg(live.bars()[1].differenceKPa)));
    }
}

// The simulated engine's speed is known: the estimate lies within 3 % of its
// mean over the readings used, at idle and fast idle, polled every 10 or 20 ms.
void TestLive::engineSpeedAgainstKnownEngine_data()
{
    QTest::addColumn<double>("rpm");
    QTest::addColumn<double>("periodMs");
    for (const double rpm : {800.0, 1000.0, 1250.0, 1500.0, 1750.0, 2000.0}) {
        for (const double period : {10.0, 20.0})
            QTest::addRow("%d rpm, %d ms", int(rpm), int(period)) << rpm << period;
    }
}

void TestLive::engineSpeedAgainstKnownEngine()
{
    QFETCH(double, rpm);
    QFETCH(double, periodMs);
    EngineRun engine(rpm, periodMs);
    EngineSpeedEstimator speed;
    const double end = engine.feed(speed, 8.0);
    QCOMPARE(speed.state(), EngineSpeedEstimator::State::Measured);
    const EngineModel &model = engine.board.engine();
    const double start = end - EngineSpeedEstimator::kWindowSeconds;
    const double truth = (model.cycles(end) - model.cycles(start)) / (end - start) * 120.0;
    const double error = std::fabs(*speed.lastEstimateRpm() - truth) / truth;
    QVERIFY2(error < 0.03,
             qPrintable(QStringLiteral("%1 rpm for %2").arg(*speed.lastEstimateRpm()).arg(truth)));
    QVERIFY(speed.rpm().has_value());
    // Written to the nearest 10 rpm.
    QCOMPARE(engineSpeedText(speed),
             QStringLiteral("%1 rpm").arg(10 * std::lround(*speed.rpm() / 10)));
}

void TestLive::engineSpeedNotGuessed_data()
{
    QTest::addColumn<int>("innerLoopCount");
    QTest::addColumn<double>("coefficient");
    QTest::addColumn<double>("periodMs");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("state");
    QTest::newRow("too early") << 1 << 1.0 << 20.0 << 1.5
                               << int(EngineSpeedEstimator::State::TooFewReadings);
    QTest::newRow("the board averages whole cycles")
        << 75 << 1.0 << 20.0 << 8.0 << int(EngineSpeedEstimator::State::PollTooSlow);
    QTest::newRow("steady readings, noise only")
        << 1 << 0.0 << 20.0 << 8.0 << int(EngineSpeedEstimator::State::TooSmoothed);
    QTest::newRow("polled too slowly")
        << 1 << 1.0 << 200.0 << 10.0 << int(EngineSpeedEstimator::State::PollTooSlow);
}

void TestLive::engineSpeedNotGuessed()
{
    QFETCH(int, innerLoopCount);
    QFETCH(double, coefficient);
    QFETCH(double, periodMs);
    QFETCH(double, seconds);
    QFETCH(int, state);
    // The frames of a long inner loop come as slowly as the loop takes.
    EngineRun engine(1100, std::max(periodMs, innerLoopCount * BoardModel::kSampleMs), 50.0,
                     innerLoopCount, float(coefficient));
    EngineSpeedEstimator speed;
    if (coefficient == 0.0) {
        // Steady values with the sensor's noise and nothing else.
        std::mt19937_64 generator(7);
        const auto noise = [&generator] {
            return 0.5 * (double(generator() >> 11) * 0x1.0p-53 - 0.5);
        };
        for (int i = 0; i < int(seconds * 1000 / periodMs); ++i)
            speed.addSample(i * periodMs / 1000.0,
                            levels(-25 + noise(), -25 + noise(), -25 + noise(), -25 + noise()));
    } else {
        engine.feed(speed, seconds);
    }
    QCOMPARE(int(speed.state()), state);
    QVERIFY(!speed.rpm());
    if (state == int(EngineSpeedEstimator::State::TooSmoothed))
        QVERIFY(engineSpeedText(speed).contains(
            QStringLiteral("a short inner-loop count and a low-pass coefficient near 1")));
}

void TestLive::idleDrift()
{
    EngineSpeedEstimator speed;
    EngineRun slow(1000, 20, 0.0);
    const double end = slow.feed(speed, 6.0);
    QVERIFY(!speed.idleDrifts());
    QVERIFY(idleDriftText(speed).isEmpty());
    // The idle rises by 15 %: from the same clock on.
    EngineRun fast(1150, 20, 0.0);
    fast.frame = int(end * 1000 / 20) + 1;
    fast.feed(speed, end + 12.0);
    QVERIFY(speed.idleDrifts());
    const QRegularExpressionMatch drift =
        QRegularExpression(
            QStringLiteral("^Idle speed drifted from (\\d+) to (\\d+) rpm \\((\\d+) %\\)"))
            .match(idleDriftText(speed));
    QVERIFY2(drift.hasMatch(), qPrintable(idleDriftText(speed)));
    QVERIFY(std::abs(drift.captured(1).toInt() - 1000) <= 30);
    QVERIFY(std::abs(drift.captured(2).toInt() - 1150) <= 35);
}

// What a capture saves is what the gauge's "Salva" saves: its lines and its
// file name, read back by the log reader; a name taken is never overwritten.
void TestLive::captureIsTheGaugesLog()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    LiveRecording recording;
    TestLog expected;
    for (int i = 0; i < 25; ++i) {
        const CylinderValues raw = levels(-20 - i, -21.5, -19.25 + 0.5 * i, 1e-7 * i);
        QVERIFY(recording.add(raw));
        expected.addRaw(raw);
    }
    QCOMPARE(recording.log(), expected.text());

    const QDateTime at(QDate(2026, 12, 7), QTime(9, 5, 3));
    const CaptureSave first = saveRecording(recording, folder.path(), at);
    QVERIFY2(first.saved, qPrintable(first.error));
    QCOMPARE(QFileInfo(first.path).fileName(),
             QStringLiteral("log_A_B_C_D_EMEDIE7_12_2026_9_5_3.txt"));
    const CaptureSave second = saveRecording(recording, folder.path(), at);
    QVERIFY(second.saved);
    QCOMPARE(QFileInfo(second.path).fileName(),
             QStringLiteral("log_A_B_C_D_EMEDIE7_12_2026_9_5_4.txt"));

    const ReadResult read = readLogFile(first.path, BadLinePolicy::Stop);
    QVERIFY(read.ok());
    QCOMPARE(read.session.readingCount(), std::size_t(25));
    QCOMPARE(read.session.recordedAt, std::optional<QDateTime>(at));
    // The same readings, to the log's six decimals.
    for (std::size_t column = 0; column < std::size_t(kLogColumnCount); ++column) {
        for (std::size_t i = 0; i < 25; ++i)
            QVERIFY(
                std::fabs(read.session.columns[column][i] - recording.session().columns[column][i])
                <= 5e-7f + 1e-6f * std::fabs(read.session.columns[column][i]));
    }

    const CaptureSave refused =
        saveRecording(recording, folder.filePath(QStringLiteral("missing/folder")), at);
    QVERIFY(!refused.saved);
    QVERIFY2(refused.error.startsWith(QStringLiteral("Salvataggio non riuscito")),
             qPrintable(refused.error));
}

// The board on a pseudo-terminal: every frame it sends is taken by the
// gauge's rule, two run together are both thrown away, a split one waits.
void TestLive::livePathOverPseudoTerminal()
{
    TestBoard board;
    QVERIFY2(board.plugIn(), qPrintable(board.errorString()));
    LiveSource source;
    source.setPollPeriodMs(5);
    QCOMPARE(source.pollPeriodMs(), LiveSource::kShortestPollMs);
    source.setPollPeriodMs(10);
    QSignalSpy frames(&source, &LiveSource::frameReceived);
    QVERIFY(source.open(board.portName()));
    QTRY_VERIFY_WITH_TIMEOUT(frames.size() >= 5, 5000);

    // A chosen value goes through bit for bit.
    board.setValueOfNextReply(readingOffset(2), -12.375f);
    const int seen = frames.size();
    QTRY_VERIFY(frames.size() > seen);
    QCOMPARE(frames.at(seen).at(0).value<MeasurementFrame>().readings[2], -12.375f);

    // A stray byte before a reply makes it too long: the gauge's rule throws
    // both away, and the next reply is taken again.
    const quint64 discardsBefore = source.discards();
    board.addStrayBytesBeforeNextReply(QByteArray("\x01", 1));
    QTRY_VERIFY(source.discards() > discardsBefore);
    const int afterDiscard = frames.size();
    QTRY_VERIFY(frames.size() > afterDiscard + 2);

    // A reply in two pieces is taken once whole (the rest comes well before
    // the next poll).
    source.setPollPeriodMs(50);
    board.splitNextReply(12, 5);
    board.setValueOfNextReply(readingOffset(0), -7.5f);
    const int beforeSplit = frames.size();
    QTRY_VERIFY(frames.size() > beforeSplit + 2);
    bool splitTaken = false;
    for (int i = beforeSplit; i < frames.size(); ++i)
        splitTaken = splitTaken || frames.at(i).at(0).value<MeasurementFrame>().readings[0] == -7.5f;
    QVERIFY(splitTaken);
    QVERIFY(board.pollsReceived() >= source.framesAccepted());
    // Every frame has its time, in order.
    double last = -1;
    for (const QList<QVariant> &arguments : frames) {
        QVERIFY(arguments.at(1).toDouble() >= last);
        last = arguments.at(1).toDouble();
    }
}

void TestLive::sourceTellsSilenceAndLoss()
{
    LiveSource source;
    QString error;
    QVERIFY(!source.open(QStringLiteral("/dev/aspirello-no-such-port"), &error));
    QCOMPARE(error, QStringLiteral("Impossibile aprire aspirello-no-such-port: porta non trovata"));

    TestBoard board;
    QVERIFY(board.plugIn());
    board.setSilent(true);
    QSignalSpy problems(&source, &LiveSource::problemChanged);
    QVERIFY(source.open(board.portName()));
    QTRY_VERIFY_WITH_TIMEOUT(!problems.isEmpty(), 5000);
    const QString shown = LiveSource::shownPortName(board.portName());
    // The port taken already (by the gauge, say): the gauge's words.
    LiveSource second;
    QVERIFY(!second.open(board.portName(), &error));
    QCOMPARE(error, QStringLiteral("Impossibile aprire %1: porta già in uso").arg(shown));
    QCOMPARE(problems.last().at(0).toString(), noAnswerMessage(shown));
    board.setSilent(false);
    QTRY_VERIFY_WITH_TIMEOUT(problems.last().at(0).toString().isEmpty(), 5000);

    QSignalSpy lost(&source, &LiveSource::lost);
    QTRY_VERIFY(source.framesAccepted() > 3);
    board.unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!lost.isEmpty(), 5000);
    QCOMPARE(lost.first().at(0).toString(), boardLostMessage());
    QVERIFY(!source.isOpen());
}

// --live PORT --for SECONDS --summary/--csv: the board recorded, analysed
// with the log analysis' rules, with the live verdict and the engine speed.
void TestLive::headlessLiveRun()
{
    EngineConfig config;
    config.offsets = {0.0, 0.0, 0.0, 0.0};
    config.rpmWander = 0.0;
    TestBoard board(config);
    QVERIFY(board.plugIn());
    board.model().applySettings(1, 1);

    CommandLineResult parsed = parseCommandLine(
        {QStringLiteral("--live"), board.portName(), QStringLiteral("--for"), QStringLiteral("4"),
         QStringLiteral("--summary"), QStringLiteral("--period"), QStringLiteral("10"),
         QStringLiteral("--reference=2"), QStringLiteral("--tolerance=1.33")});
    QVERIFY2(parsed.commandLine, qPrintable(parsed.error));
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    QCOMPARE(runLiveTextCommand(*parsed.commandLine, QString(), outStream, errStream), ExitCode::Ok);
    QVERIFY2(out.contains(QStringLiteral("Live verdict at the end: IN SYNC, in sync for")),
             qPrintable(out));
    QVERIFY2(out.contains(QStringLiteral("Reference: cylinder 2"))
                 || out.contains(QStringLiteral("cylinder 2")),
             qPrintable(out));
    const QRegularExpression rpm(QStringLiteral("Engine speed: (\\d+) rpm"));
    const QRegularExpressionMatch match = rpm.match(out);
    QVERIFY2(match.hasMatch(), qPrintable(out));
    QVERIFY2(std::abs(match.captured(1).toInt() - 1100) <= 33, qPrintable(out));
    QVERIFY2(err.isEmpty(), qPrintable(err));

    // CSV, with a cylinder out of the band: the same rules judge it.
    board.model().engine();
    parsed =
        parseCommandLine({QStringLiteral("--live=") + board.portName(), QStringLiteral("--for=1.5"),
                          QStringLiteral("--csv"), QStringLiteral("--tolerance=0.0001")});
    QVERIFY(parsed.commandLine);
    out.clear();
    QCOMPARE(runLiveTextCommand(*parsed.commandLine, QString(), outStream, errStream), ExitCode::Ok);
    QVERIFY2(out.contains(QStringLiteral("live verdict,OUT OF SYNC\n")), qPrintable(out));
    QVERIFY2(out.contains(QStringLiteral("engine speed (rpm),")), qPrintable(out));
}

void TestLive::headlessLiveRunFailures()
{
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    CommandLineResult parsed =
        parseCommandLine({QStringLiteral("--live"), QStringLiteral("/dev/aspirello-none"),
                          QStringLiteral("--for=1"), QStringLiteral("--summary")});
    QVERIFY(parsed.commandLine);
    QCOMPARE(runLiveTextCommand(*parsed.commandLine, QString(), outStream, errStream),
             ExitCode::LiveFailed);
    QVERIFY2(err.contains(QStringLiteral("porta non trovata")), qPrintable(err));
    QVERIFY(out.isEmpty());

    // A board that never answers: nothing recorded, and said so.
    TestBoard board;
    QVERIFY(board.plugIn());
    board.setSilent(true);
    parsed = parseCommandLine({QStringLiteral("--live"), board.portName(),
                               QStringLiteral("--for=1.5"), QStringLiteral("--csv")});
    err.clear();
    QCOMPARE(runLiveTextCommand(*parsed.commandLine, QString(), outStream, errStream),
             ExitCode::LiveFailed);
    QVERIFY2(err.contains(noAnswerMessage(LiveSource::shownPortName(board.portName()))),
             qPrintable(err));
    QVERIFY(out.isEmpty());

    // A board lost during the session: what was recorded is analysed, and
    // the exit code says the session was cut short.
    board.setSilent(false);
    QTimer unplug;
    unplug.setSingleShot(true);
    const quint64 pollsBefore = board.pollsReceived();
    connect(&board, &TestBoard::pollReceived, &unplug, [&] {
        if (board.pollsReceived() >= pollsBefore + 20 && board.isPluggedIn() && !unplug.isActive())
            unplug.start(0);
    });
    connect(&unplug, &QTimer::timeout, &board, &TestBoard::unplug);
    parsed = parseCommandLine({QStringLiteral("--live"), board.portName(), QStringLiteral("--for=30"),
                               QStringLiteral("--summary")});
    err.clear();
    QCOMPARE(runLiveTextCommand(*parsed.commandLine, QString(), outStream, errStream),
             ExitCode::LiveFailed);
    QVERIFY2(err.contains(boardLostMessage()), qPrintable(err));
    QVERIFY2(err.contains(QStringLiteral("what was recorded until then is analysed")),
             qPrintable(err));
    QVERIFY2(out.contains(QStringLiteral("Live verdict at the end")), qPrintable(out));
}

// Nothing but the gauge's poll goes to the board, at the gauge's line settings.
void TestLive::pollsWithTheGaugesBytesAndLine()
{
    TestBoard board;
    QVERIFY(board.plugIn());
    LiveSource source;
    QVERIFY(source.open(board.portName()));
    QVERIFY(board.waitForReceived(20));
    termios line{};
    QVERIFY(board.lineSettings(&line));
    QCOMPARE(cfgetospeed(&line), termiosSpeed(kBaudRate));
    QCOMPARE(cfgetispeed(&line), termiosSpeed(kBaudRate));
    QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
    source.close();
    const QByteArray sent = board.takeReceived();
    QCOMPARE(sent.size() % pollCommand().size(), 0);
    QCOMPARE(sent, pollCommand().repeated(sent.size() / pollCommand().size()));
    QCOMPARE(quint64(sent.size() / pollCommand().size()), source.pollsSent());
}

// A board slower than the poll period: the ticks that come while a reply is
// on its way send nothing, so that no two replies meet and none is lost.
void TestLive::tickWaitsForTheReplyOnItsWay()
{
    TestBoard board;
    QVERIFY(board.plugIn());
    board.splitEveryReply(12, 35);
    LiveSource source;
    source.setPollPeriodMs(LiveSource::kShortestPollMs);
    QVERIFY(source.open(board.portName()));
    QTRY_VERIFY_WITH_TIMEOUT(source.framesAccepted() >= 10, 10000);
    QCOMPARE(source.discards(), quint64(0));
    QVERIFY(source.ticksWaited() > 0);
    QVERIFY(source.pollsSent() - source.framesAccepted() <= 1);
}

// The live lines of the summary and the CSV, in the unit asked.
void TestLive::liveSummaryAndCsv()
{
    LiveSettings settings;
    settings.referenceCylinder = 2;
    settings.toleranceKPa = toKPa(10.0, Unit::MmHg);
    LiveAnalysis live(settings);
    // Cylinder 4 is 1 kPa (7.5 mmHg) above cylinder 2: within the band.
    for (int i = 0; i <= 100; ++i)
        live.addFrame(i * 0.1, levels(-30, -30, -30, -29));
    QCOMPARE(liveSummaryText(live, Unit::MmHg),
             QStringLiteral("Live verdict at the end: IN SYNC, in sync for 10 s\n"
                            "  1: 0.0 mmHg\n  3: 0.0 mmHg\n  4: 7.5 mmHg\n"
                            "Engine speed: cannot be measured: the readings carry no intake "
                            "pulses; set the board so: a short inner-loop count and a low-pass "
                            "coefficient near 1\n"));
    QCOMPARE(liveCsvRows(live, Unit::MmHg),
             QStringLiteral("live verdict,IN SYNC\nlive verdict held (s),10.0\n"
                            "live difference 1 (mmHg),0.0\nlive difference 3 (mmHg),0.0\n"
                            "live difference 4 (mmHg),7.5\nengine speed (rpm),\n"
                            "engine speed note,cannot be measured: the readings carry no intake "
                            "pulses; set the board so: a short inner-loop count and a low-pass "
                            "coefficient near 1\n"));
    LiveAnalysis empty;
    QCOMPARE(liveSummaryText(empty, Unit::KPa),
             QStringLiteral("Live verdict at the end: no readings\n  2: 0.00 kPa\n  3: 0.00 kPa\n"
                            "  4: 0.00 kPa\nEngine speed: not measured yet\n"));
}

// A sensor calibration asked for reaches the live verdict as well as the
// recorded session's analysis; the recorded readings stay as they came.
void TestLive::calibrationReachesTheLiveVerdict()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    Calibration calibration;
    calibration.createdAt = QDateTime(QDate(2026, 12, 7), QTime(8, 50));
    calibration.sourceLog = QStringLiteral("cal.txt");
    calibration.readings = 100;
    // Sensor 3 is said to read 3 kPa high: calibrated, cylinder 3 is 3 kPa low.
    calibration.offsetsKPa = {-1.0, -1.0, 3.0, -1.0};
    const QString path = folder.filePath(QStringLiteral("calibration.json"));
    QVERIFY(saveCalibration(calibration, path));

    EngineConfig config;
    config.offsets = {0.0, 0.0, 0.0, 0.0};
    TestBoard board(config);
    QVERIFY(board.plugIn());
    const CommandLineResult parsed =
        parseCommandLine({QStringLiteral("--live"), board.portName(), QStringLiteral("--for=1.5"),
                          QStringLiteral("--tolerance=1"), QStringLiteral("--calibration=use"),
                          QStringLiteral("--summary")});
    QVERIFY(parsed.commandLine);
    const std::unique_ptr<LiveRun> run = recordLive(*parsed.commandLine, path);
    QCOMPARE(run->exitCode, ExitCode::Ok);
    QVERIFY(run->recording.readingCount() > 10);
    QVERIFY(!run->live.verdict().inSync());
    QVERIFY2(run->live.bars()[2].differenceKPa < -3.5,
             qPrintable(QString::number(run->live.bars()[2].differenceKPa)));
    QVERIFY(run->analysis.appliedCalibration.has_value());
    // The log keeps the readings as the board sent them.
    QCOMPARE(run->recording.session().columns[Raw3].front(),
             run->session.columns[Raw3].front() + 3.0f);

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    QCOMPARE(runLiveTextCommand(*parsed.commandLine, folder.filePath(QStringLiteral("none.json")),
                                outStream, errStream),
             ExitCode::CalibrationRefused);
    QVERIFY2(err.contains(QStringLiteral("no calibration is stored")), qPrintable(err));
}

QTEST_GUILESS_MAIN(TestLive)
#include "test_live.moc"
