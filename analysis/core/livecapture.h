#ifndef ANALYSIS_LIVECAPTURE_H
#define ANALYSIS_LIVECAPTURE_H

#include "measure/runningaverage.h"
#include "measurementlog.h"
#include "session.h"

#include <QDateTime>
#include <QString>

#include <array>

// A live session recorded as the gauge records one: every frame's raw
// readings and the running averages after it (of the gauge's "Media" when it
// starts, unless told otherwise), as the gauge's log lines (with the gauge's
// bound) and as a Session for the analysis.
class LiveRecording
{
public:
    explicit LiveRecording(int averageLength = kDefaultAverageLength);

    // False once the log is full (the readings are then not recorded: what
    // is kept is an unbroken run).
    bool add(const CylinderValues &raw);
    void clear();

    const Session &session() const { return recorded; }
    // The gauge's log text of what was recorded.
    const QString &log() const { return logText; }
    std::size_t readingCount() const { return recorded.readingCount(); }
    bool isFull() const { return full; }

private:
    std::array<RunningAverage, kCylinderCount> averages;
    QString logText;
    bool full = false;
    Session recorded;
};

struct CaptureSave
{
    bool saved = false;
    QString path;  // the file written
    QString error; // the gauge's wording, when not saved
};

// Writes a recording's log into folder under the gauge's file name for the
// moment given ("log_A_B_C_D_EMEDIE<day>_<month>_...txt"). A name already
// taken is never overwritten: the moment moves on a second until one is free.
CaptureSave saveRecording(const LiveRecording &recording, const QString &folder, const QDateTime &at);

#endif // ANALYSIS_LIVECAPTURE_H
