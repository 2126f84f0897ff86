#include "liverun.h"

#include "calibration.h"
#include "exitcodes.h"
#include "livesource.h"
#include "textoutput.h"
#include "usermessages.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <cmath>

namespace {

struct LiveRunTexts
{
    Q_DECLARE_TR_FUNCTIONS(LiveRun)
};

} // namespace

std::unique_ptr<LiveRun> recordLive(const CommandLine &commandLine, const QString &calibrationPath)
{
    auto run = std::make_unique<LiveRun>();
    const LiveCommand &command = commandLine.live;
    run->port = LiveSource::shownPortName(command.port);
    run->live.setSettings(command.settings);

    std::optional<Calibration> calibration;
    if (commandLine.calibration == CalibrationUse::Use) {
        QString error;
        calibration = loadCalibration(calibrationPath, &error);
        if (!calibration) {
            run->exitCode = ExitCode::CalibrationRefused;
            run->error = error.isEmpty() ? LiveRunTexts::tr("no calibration is stored; make one "
                                                            "with --calibrate LOG")
                                         : error;
            return run;
        }
    }

    LiveSource source;
    const int pollMs = commandLine.analysis.pollPeriodSeconds
        ? int(std::lround(*commandLine.analysis.pollPeriodSeconds * 1000.0))
        : LiveSource::kDefaultPollMs;
    source.setPollPeriodMs(pollMs);
    QString openError;
    if (!source.open(command.port, &openError)) {
        run->exitCode = ExitCode::LiveFailed;
        run->error = openError;
        return run;
    }

    QEventLoop loop;
    QString problem;
    bool lost = false;
    double first = -1.0, last = 0.0;
    QObject::connect(&source, &LiveSource::frameReceived, &loop,
                     [&](const MeasurementFrame &frame, double seconds) {
                         run->recording.add(frame.readings);
                         run->live.addFrame(seconds,
                                            calibration
                                                ? calibratedReadings(frame.readings, *calibration)
                                                : frame.readings);
                         if (first < 0)
                             first = seconds;
                         last = seconds;
                     });
    QObject::connect(&source, &LiveSource::problemChanged, &loop, [&](const QString &text) {
        if (!text.isEmpty()) {
            problem = text;
            run->notes << text;
        }
    });
    QObject::connect(&source, &LiveSource::lost, &loop, [&](const QString &text) {
        lost = true;
        run->notes << text;
        loop.quit();
    });
    QTimer::singleShot(int(std::lround(std::min(*command.seconds, 1e6) * 1000.0)), &loop,
                       &QEventLoop::quit);
    loop.exec();
    run->pollsSent = source.pollsSent();
    run->discards = source.discards();
    source.close();

    const std::size_t readings = run->recording.readingCount();
    if (readings == 0) {
        run->exitCode = ExitCode::LiveFailed;
        run->error = lost       ? boardLostMessage()
            : problem.isEmpty() ? noAnswerMessage(run->port)
                                : problem;
        return run;
    }
    if (run->recording.isFull())
        run->notes << logFullMessage();
    run->seconds = last - first;
    if (lost) {
        run->exitCode = ExitCode::LiveFailed;
        run->notes << LiveRunTexts::tr("The board was lost after %1 s; what was recorded until "
                                       "then is analysed.")
                          .arg(QLocale::c().toString(run->seconds, 'f', 1));
    }

    run->session = run->recording.session();
    run->session.fileName = LiveRunTexts::tr("live on %1").arg(run->port);
    if (calibration)
        applyCalibration(run->session, *calibration);
    AnalysisSettings settings = commandLine.analysis;
    // Durations in seconds: the readings' own mean spacing, which is the
    // poll period when the board answers every poll.
    settings.pollPeriodSeconds = readings > 1 ? run->seconds / double(readings - 1)
                                              : double(pollMs) / 1000.0;
    run->analysis = analyseSession(run->session, settings);
    return run;
}

QString liveCsvRows(const LiveAnalysis &live, Unit unit)
{
    const QLocale c = QLocale::c();
    QString text;
    const auto row = [&text](const QString &item, const QString &value) {
        text += csvField(item) + QLatin1Char(',') + csvField(value) + QLatin1Char('\n');
    };
    const LiveVerdict &verdict = live.verdict();
    row(LiveRunTexts::tr("live verdict"),
        verdict.hasReadings() ? liveVerdictTitle(verdict.inSync()) : QString());
    row(LiveRunTexts::tr("live verdict held (s)"), c.toString(verdict.heldSeconds(), 'f', 1));
    for (const LiveBar &bar : live.bars()) {
        if (!bar.isReference)
            row(LiveRunTexts::tr("live difference %1 (%2)").arg(bar.label, unitSymbol(unit)),
                formatNumber(bar.differenceKPa, unit, c));
    }
    const std::optional<double> rpm = live.engineSpeed().rpm();
    row(LiveRunTexts::tr("engine speed (rpm)"), rpm ? QString::number(std::lround(*rpm)) : QString());
    if (!rpm)
        row(LiveRunTexts::tr("engine speed note"), engineSpeedText(live.engineSpeed()));
    const QString drift = idleDriftText(live.engineSpeed());
    if (!drift.isEmpty())
        row(LiveRunTexts::tr("idle drift"), drift);
    return text;
}

bool tellLiveRun(const LiveRun &run, QTextStream &err)
{
    for (const QString &note : run.notes)
        err << note << '\n';
    const bool recorded = run.recording.readingCount() > 0;
    if (!recorded)
        err << run.error << '\n';
    err.flush();
    return recorded;
}

int runLiveTextCommand(const CommandLine &commandLine, const QString &calibrationPath,
                       QTextStream &out, QTextStream &err)
{
    const std::unique_ptr<LiveRun> run = recordLive(commandLine, calibrationPath);
    if (!tellLiveRun(*run, err))
        return run->exitCode;
    if (commandLine.mode == RunMode::Csv) {
        out << csvText(run->analysis, commandLine.unit) << liveCsvRows(run->live, commandLine.unit);
    } else {
        out << LiveRunTexts::tr("Live session on %1: %2 readings in %3 s, %4 polls sent, %5 "
                                "replies discarded")
                   .arg(run->port)
                   .arg(static_cast<qulonglong>(run->recording.readingCount()))
                   .arg(QLocale::c().toString(run->seconds, 'f', 1))
                   .arg(static_cast<qulonglong>(run->pollsSent))
                   .arg(static_cast<qulonglong>(run->discards))
            << '\n'
            << summaryText(run->analysis, commandLine.unit)
            << liveSummaryText(run->live, commandLine.unit);
    }
    out.flush();
    return run->exitCode;
}
