#include "liveprogram.h"

#include "exitcodes.h"
#include "liverun.h"
#include "reportwriter.h"

#include <QCoreApplication>
#include <QDir>

namespace {

class LiveProgramText
{
    Q_DECLARE_TR_FUNCTIONS(Program)
};

} // namespace

int runLiveCommand(const CommandLine &commandLine, const QString &calibrationPath, QTextStream &out,
                   QTextStream &err)
{
    if (commandLine.mode != RunMode::Report)
        return runLiveTextCommand(commandLine, calibrationPath, out, err);
    const std::unique_ptr<LiveRun> run = recordLive(commandLine, calibrationPath);
    if (!tellLiveRun(*run, err))
        return run->exitCode;
    // The live verdict and engine speed go to standard output beside the
    // report, which holds the recorded session as a log's would.
    ReportContent content;
    content.unit = commandLine.unit;
    content.sessions.push_back(ReportSession{&run->session, run->analysis});
    QString error;
    if (!writeReport(commandLine.reportPath, commandLine.reportFormat, content, &error)) {
        err << error << '\n';
        err.flush();
        return ExitCode::OutputFailed;
    }
    out << liveSummaryText(run->live, commandLine.unit);
    out << LiveProgramText::tr("Report written to %1")
               .arg(QDir::toNativeSeparators(commandLine.reportPath))
        << '\n';
    out.flush();
    err.flush();
    return run->exitCode;
}
