#ifndef ANALYSIS_CALIBRATION_H
#define ANALYSIS_CALIBRATION_H

#include "measure/readings.h"

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
    std::array<double, kCylinderCount> offsetsKPa{};
    // Each sensor's noise: the standard deviation of its reading minus the
    // mean of the four at the same moment, kPa.
    std::array<double, kCylinderCount> noiseKPa{};

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
// Four sensors on one source see the same pulses at the same moments: the
// mean of the four pulsates by at least this (standard deviation) ...
constexpr double kCalibrationMinPulseKPa = 0.5;
// ... and each sensor's pulses follow the other three's, with at least this
// correlation. The four intakes of a running engine pulse a quarter cycle
// apart, and their mean hardly moves.
constexpr double kCalibrationMinCorrelation = 0.8;
// A stored calibration file larger than this is not one this program wrote.
constexpr qint64 kCalibrationMaxFileBytes = 64 * 1024;

struct CalibrationResult
{
    std::optional<Calibration> calibration;
    QString refusal; // translated reason, when refused
};

// From a log recorded with all four sensors on one source. Uses the raw
// readings of the rows whose four values are finite. Refuses, with the
// reason, a log with too few readings, readings too far apart to be one
// source, or sensors that do not move together.
CalibrationResult computeCalibration(const Session &session, const QDateTime &createdAt);

// Subtracts each sensor's offset from its raw readings and its averages and
// records the calibration in the session.
void applyCalibration(Session &session, const Calibration &calibration);
// One frame's raw readings with the calibration applied, value for value
// as applyCalibration applies it to a session's.
CylinderValues calibratedReadings(const CylinderValues &raw, const Calibration &calibration);

// "Calibration applied (made 2026-12-07 08:50 from log_...txt)." Translated.
QString calibrationNote(const Calibration &calibration);

// The calibration file: a small JSON object in the user's configuration.
// QStandardPaths::AppConfigLocation + "/calibration.json"; the application's
// name (and organisation) must be set before calling.
QString defaultCalibrationPath();

QByteArray calibrationToJson(const Calibration &calibration);
// Nothing when the text is not a calibration this program wrote, or one
// that computing would have refused (offsets, noise, readings, a date later
// than now); *error says why.
std::optional<Calibration> calibrationFromJson(const QByteArray &json, QString *error = nullptr,
                                               const QDateTime &now = QDateTime::currentDateTime());

// Why a calibration cannot be used, translated; empty when it can.
QString calibrationProblem(const Calibration &calibration, const QDateTime &now);

// A name taken from a file, fit to show on one line of any output: control
// characters and line breaks become spaces.
QString printableName(const QString &name);

// Writes the file (creating its folder), replacing any earlier one only once
// complete. False with *error on failure.
bool saveCalibration(const Calibration &calibration, const QString &path, QString *error = nullptr);
// Nothing when there is no file (then *error stays empty) or it is not a
// usable calibration (then *error says why and how to make a new one). Reads
// only a regular file of at most kCalibrationMaxFileBytes.
std::optional<Calibration> loadCalibration(const QString &path, QString *error = nullptr,
                                           const QDateTime &now = QDateTime::currentDateTime());

#endif // ANALYSIS_CALIBRATION_H
