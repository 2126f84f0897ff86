#ifndef ANALYSIS_LIVEOPTIONS_H
#define ANALYSIS_LIVEOPTIONS_H

#include "liveanalysis.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of a live session on the board.
struct LiveCommand
{
    QString port;                  // --live PORT: empty when not live
    std::optional<double> seconds; // --for SECONDS
    LiveSettings settings;         // --compare, --cycle, --damping (reference and tolerance
                                   // come from --reference and --tolerance)
    bool isLive() const { return !port.isEmpty(); }
};

// The live options that take a value.
const QStringList &liveValueOptions();

enum class LiveOptionParse {
    NotLive, // not a live option
    Parsed,
    Failed, // *error says why (translated)
};

// One live option with its value: --live PORT, --for SECONDS,
// --compare reference|1-2|3-4|pairs|linkage, --cycle mean|minimum,
// --damping SECONDS (0.1 to 2).
LiveOptionParse parseLiveOption(const QString &option, const QString &value, LiveCommand &live,
                                QString *error);

// What a whole live command line may not hold (logs, --calibrate, a poll
// period outside 10..50 ms, a headless mode without --for, --for without
// --live). Empty when it is sound.
QString liveCommandError(bool hasLogs, bool headless, bool calibrate,
                         std::optional<double> pollPeriodSeconds, const LiveCommand &live);

// The live options' part of --help.
QString liveHelpText();

#endif // ANALYSIS_LIVEOPTIONS_H
