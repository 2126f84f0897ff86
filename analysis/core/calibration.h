#ifndef ANALYSIS_CALIBRATION_H
#define ANALYSIS_CALIBRATION_H

#include <QDateTime>
#include <QString>

#include <array>
#include <cstddef>
#include <optional>

struct Session;

// How the four sensors disagree when they all measure the same vacuum.
struct Calibration
{
    QDateTime createdAt; // when it was computed
    QString sourceLog;   // the calibration log's file name, without folder
    std::size_t readings = 0;
    // Each sensor's mean minus the mean of the four, kPa (index 0..3 = sensor
    // of cylinder 1..4). Applying the calibration subtracts it.
    std::array<double, 4> offsetsKPa{};
    // Each sensor's noise: the standard deviation of its reading minus the
    // mean of the four at the same moment, kPa.
    std::array<double, 4> noiseKPa{};

    bool operator==(const Calibration &other) const;
};

// Limits beyond which a log cannot come from one vacuum source: a sensor
// whose mean lies farther than this from the mean of the four ...
constexpr double kCalibrationMaxOffsetKPa = 5.0;
// ... or whose reading wanders against the others' mean by more than this
// (standard deviation), i.e. they do not follow the same pulsation.
constexpr double kCalibrationMaxNoiseKPa = 1.5;
// Fewer readings (with all four values finite) than this are too few.
constexpr std::size_t kCalibrationMinReadings = 10;

struct CalibrationResult
{
    std::optional<Calibration> calibration;
    QString refusal; // translated reason, when refused
};

// From a log recorded with all four sensors on one source. Uses the raw
// readings of the rows whose four values are finite. Refuses, with the
// reason, a log with too few readings or readings too far apart to be one
// source.
CalibrationResult computeCalibration(const Session &session, const QDateTime &createdAt);

// Subtracts each sensor's offset from its raw readings and its averages and
// records the calibration in the session.
void applyCalibration(Session &session, const Calibration &calibration);

// "Calibration applied (made 2026-12-07 08:50 from log_...txt)." Translated.
QString calibrationNote(const Calibration &calibration);

// The calibration file: a small JSON object in the user's configuration.
// QStandardPaths::AppConfigLocation + "/calibration.json"; the application's
// name (and organisation) must be set before calling.
QString defaultCalibrationPath();

QByteArray calibrationToJson(const Calibration &calibration);
// Nothing when the text is not a calibration this program wrote; *error says why.
std::optional<Calibration> calibrationFromJson(const QByteArray &json, QString *error = nullptr);

// Writes the file (creating its folder), replacing any earlier one only once
// complete. False with *error on failure.
bool saveCalibration(const Calibration &calibration, const QString &path, QString *error = nullptr);
// Nothing when there is no file (then *error stays empty) or it is not valid
// (then *error says why).
std::optional<Calibration> loadCalibration(const QString &path, QString *error = nullptr);

#endif // ANALYSIS_CALIBRATION_H
