#include "calibration.h"

#include "filetexts.h"
#include "safefile.h"
#include "session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cmath>

namespace {

// The texts of this file, under one translation context.
struct CalibrationTexts
{
    Q_DECLARE_TR_FUNCTIONS(Calibration)
};

constexpr int kFormatVersion = 1;

const QString kFormatKey = QStringLiteral("format");
const QString kCreatedKey = QStringLiteral("created");
const QString kSourceKey = QStringLiteral("source");
const QString kReadingsKey = QStringLiteral("readings");
const QString kOffsetsKey = QStringLiteral("offsets_kpa");
const QString kNoiseKey = QStringLiteral("noise_kpa");

QJsonArray toArray(const std::array<double, kCylinderCount> &values)
{
    QJsonArray array;
    for (const double value : values)
        array.append(value);
    return array;
}

bool fromArray(const QJsonValue &value, std::array<double, kCylinderCount> &out)
{
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() != kCylinderCount)
        return false;
    for (int i = 0; i < kCylinderCount; ++i) {
        if (!array.at(i).isDouble() || !std::isfinite(array.at(i).toDouble()))
            return false;
        out[static_cast<std::size_t>(i)] = array.at(i).toDouble();
    }
    return true;
}

QString formatKPa(double value)
{
    return QString::number(value, 'f', 2) + QStringLiteral(" kPa");
}

// A reading less its sensor's offset, worked in double and rounded once.
float lessOffset(float value, double offset)
{
    return static_cast<float>(static_cast<double>(value) - offset);
}

} // namespace

bool Calibration::operator==(const Calibration &other) const
{
    return createdAt == other.createdAt && sourceLog == other.sourceLog && readings == other.readings
        && offsetsKPa == other.offsetsKPa && noiseKPa == other.noiseKPa;
}

CalibrationResult computeCalibration(const Session &session, const QDateTime &createdAt)
{
    CalibrationResult result;
    const std::size_t n = session.readingCount();
    std::array<double, kCylinderCount> sums{};
    std::size_t used = 0;
    const auto rowIsFinite = [&session](std::size_t i) {
        for (int c = 0; c < kCylinderCount; ++c) {
            if (!std::isfinite(session.raw(c)[i]))
                return false;
        }
        return true;
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (!rowIsFinite(i))
            continue;
        for (int c = 0; c < kCylinderCount; ++c)
            sums[static_cast<std::size_t>(c)] += static_cast<double>(session.raw(c)[i]);
        ++used;
    }
    if (used < kCalibrationMinReadings) {
        result.refusal = CalibrationTexts::tr("The calibration log holds %1 complete readings; at "
                                              "least %2 are needed.")
                             .arg(static_cast<qulonglong>(used))
                             .arg(static_cast<qulonglong>(kCalibrationMinReadings));
        return result;
    }
    const double count = static_cast<double>(used);
    std::array<double, kCylinderCount> means{};
    double meanOfFour = 0.0;
    for (std::size_t c = 0; c < kCylinderCount; ++c) {
        means[c] = sums[c] / count;
        meanOfFour += means[c] / kCylinderCount;
    }

    Calibration calibration;
    calibration.createdAt = createdAt;
    calibration.sourceLog = printableName(QFileInfo(session.fileName).fileName());
    calibration.readings = used;
    for (std::size_t c = 0; c < kCylinderCount; ++c)
        calibration.offsetsKPa[c] = means[c] - meanOfFour;

    // Noise: how each sensor's reading, its offset removed, wanders against
    // the mean of the four at the same moment. Alongside, how the four move
    // together: the pulsation of their mean, and each sensor's correlation
    // with the other three.
    std::array<double, kCylinderCount> squares{};
    std::array<double, kCylinderCount> ownSquares{};
    std::array<double, kCylinderCount> othersSquares{};
    std::array<double, kCylinderCount> products{};
    double commonSquares = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!rowIsFinite(i))
            continue;
        std::array<double, kCylinderCount> deviation{};
        double moment = 0.0;
        for (std::size_t c = 0; c < kCylinderCount; ++c) {
            deviation[c] = static_cast<double>(session.raw(static_cast<int>(c))[i]) - means[c];
            moment += deviation[c] / kCylinderCount;
        }
        commonSquares += moment * moment;
        for (std::size_t c = 0; c < kCylinderCount; ++c) {
            const double d = deviation[c] - moment;
            squares[c] += d * d;
            const double others = (kCylinderCount * moment - deviation[c]) / (kCylinderCount - 1);
            ownSquares[c] += deviation[c] * deviation[c];
            othersSquares[c] += others * others;
            products[c] += deviation[c] * others;
        }
    }
    for (std::size_t c = 0; c < kCylinderCount; ++c)
        calibration.noiseKPa[c] = std::sqrt(squares[c] / count);

    const double commonPulse = std::sqrt(commonSquares / count);
    if (commonPulse < kCalibrationMinPulseKPa) {
        result.refusal =
            CalibrationTexts::tr(
                "The four sensors do not show the same pulses at the same moments (their common "
                "pulsation is %1, less than %2). A log of a running engine's four intakes, or of "
                "a source without pulses, cannot calibrate them: connect all four sensors to one "
                "intake of the running engine and record the calibration log again.")
                .arg(formatKPa(commonPulse), formatKPa(kCalibrationMinPulseKPa));
        return result;
    }
    const QString problem = calibrationProblem(calibration, createdAt);
    if (!problem.isEmpty()) {
        result.refusal = problem;
        return result;
    }
    for (std::size_t c = 0; c < kCylinderCount; ++c) {
        const double spread = std::sqrt(ownSquares[c] * othersSquares[c]);
        const double correlation = spread > 0.0 ? products[c] / spread : 0.0;
        if (!(correlation >= kCalibrationMinCorrelation)) {
            result.refusal =
                CalibrationTexts::tr(
                    "Sensor %1 does not follow the others' pulses: it does not see the same vacuum "
                    "at the same moments. Connect all four sensors to one intake of the running "
                    "engine and record the calibration log again.")
                    .arg(c + 1);
            return result;
        }
    }
    result.calibration = calibration;
    return result;
}

QString calibrationProblem(const Calibration &calibration, const QDateTime &now)
{
    if (calibration.readings < kCalibrationMinReadings)
        return CalibrationTexts::tr("The calibration log holds %1 complete readings; at least %2 "
                                    "are needed.")
            .arg(static_cast<qulonglong>(calibration.readings))
            .arg(static_cast<qulonglong>(kCalibrationMinReadings));
    for (std::size_t c = 0; c < kCylinderCount; ++c) {
        const double offset = calibration.offsetsKPa[c];
        if (!(std::fabs(offset) <= kCalibrationMaxOffsetKPa))
            return CalibrationTexts::tr("Sensor %1 reads %2 away from the mean of the four; more "
                                        "than %3 cannot come from one vacuum source.")
                .arg(c + 1)
                .arg(formatKPa(offset), formatKPa(kCalibrationMaxOffsetKPa));
    }
    for (std::size_t c = 0; c < kCylinderCount; ++c) {
        const double noise = calibration.noiseKPa[c];
        if (!(noise >= 0.0 && noise <= kCalibrationMaxNoiseKPa))
            return CalibrationTexts::tr("Sensor %1 does not follow the others (it wanders by %2, "
                                        "more than %3): the four sensors were not on one vacuum "
                                        "source.")
                .arg(c + 1)
                .arg(formatKPa(noise), formatKPa(kCalibrationMaxNoiseKPa));
    }
    // A day's grace for clocks that disagree.
    if (!calibration.createdAt.isValid() || calibration.createdAt > now.addDays(1))
        return CalibrationTexts::tr("Its date is not valid or lies in the future.");
    return QString();
}

QString printableName(const QString &name)
{
    QString shown = name;
    for (QChar &character : shown) {
        const QChar::Category category = character.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format
            || category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
            character = QLatin1Char(' ');
    }
    return shown;
}

void applyCalibration(Session &session, const Calibration &calibration)
{
    for (int c = 0; c < kCylinderCount; ++c) {
        const double offset = calibration.offsetsKPa[static_cast<std::size_t>(c)];
        for (const int column : {Raw1 + c, Average1 + c}) {
            for (float &value : session.columns[static_cast<std::size_t>(column)])
                value = lessOffset(value, offset);
        }
    }
    session.appliedCalibration = calibration;
}

CylinderValues calibratedReadings(const CylinderValues &raw, const Calibration &calibration)
{
    CylinderValues result{};
    for (std::size_t c = 0; c < result.size(); ++c)
        result[c] = lessOffset(raw[c], calibration.offsetsKPa[c]);
    return result;
}

QString calibrationNote(const Calibration &calibration)
{
    return CalibrationTexts::tr("Calibration applied (made %1 from %2).")
        .arg(dateTimeText(calibration.createdAt), printableName(calibration.sourceLog));
}

QString defaultCalibrationPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/calibration.json");
}

QByteArray calibrationToJson(const Calibration &calibration)
{
    QJsonObject object;
    object.insert(kFormatKey, kFormatVersion);
    object.insert(kCreatedKey, calibration.createdAt.toUTC().toString(Qt::ISODateWithMs));
    object.insert(kSourceKey, calibration.sourceLog);
    object.insert(kReadingsKey, static_cast<double>(calibration.readings));
    object.insert(kOffsetsKey, toArray(calibration.offsetsKPa));
    object.insert(kNoiseKey, toArray(calibration.noiseKPa));
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

std::optional<Calibration> calibrationFromJson(const QByteArray &json, QString *error,
                                               const QDateTime &now)
{
    const auto fail = [error](const QString &why) -> std::optional<Calibration> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return fail(CalibrationTexts::tr("It is not a JSON object."));
    const QJsonObject object = document.object();
    if (object.value(kFormatKey).toInt() != kFormatVersion)
        return fail(CalibrationTexts::tr("Its format is unknown."));
    Calibration calibration;
    calibration.createdAt =
        QDateTime::fromString(object.value(kCreatedKey).toString(), Qt::ISODateWithMs);
    if (!calibration.createdAt.isValid())
        return fail(CalibrationTexts::tr("Its date is not valid or lies in the future."));
    // A file name, not a text of any length.
    calibration.sourceLog = printableName(object.value(kSourceKey).toString().left(255));
    const double readings = object.value(kReadingsKey).toDouble(-1.0);
    if (!(readings >= 0.0 && readings < 9.0e15))
        return fail(CalibrationTexts::tr("Its reading count is not valid."));
    calibration.readings = static_cast<std::size_t>(readings);
    if (!fromArray(object.value(kOffsetsKey), calibration.offsetsKPa)
        || !fromArray(object.value(kNoiseKey), calibration.noiseKPa))
        return fail(CalibrationTexts::tr("Its offsets or noise are not four numbers."));
    const QString problem = calibrationProblem(calibration, now);
    if (!problem.isEmpty())
        return fail(problem);
    return calibration;
}

bool saveCalibration(const Calibration &calibration, const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = CalibrationTexts::tr("cannot create the folder %1")
                         .arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    FileFailure failure;
    if (!writeRegularFile(path, calibrationToJson(calibration), &failure)) {
        if (error)
            *error = writeFailureText(path, failure);
        return false;
    }
    return true;
}

std::optional<Calibration> loadCalibration(const QString &path, QString *error, const QDateTime &now)
{
    if (error)
        error->clear();
    FileFailure failure;
    const std::optional<QByteArray> bytes = readRegularFile(path, kCalibrationMaxFileBytes, &failure);
    if (!bytes && failure.fault == FileFault::Missing)
        return std::nullopt;
    const QString remedy =
        CalibrationTexts::tr("Make a new one from a log recorded with all four sensors on one intake "
                             "(“Calibrate sensors from a log…”, or --calibrate LOG).");
    if (!bytes) {
        if (error)
            *error = CalibrationTexts::tr("The stored calibration %1 cannot be read: %2. %3")
                         .arg(QDir::toNativeSeparators(path), fileFailureReason(failure), remedy);
        return std::nullopt;
    }
    QString why;
    std::optional<Calibration> calibration = calibrationFromJson(*bytes, &why, now);
    if (!calibration && error)
        *error = CalibrationTexts::tr("The stored calibration %1 is not usable, so it is not "
                                      "applied: %2 %3")
                     .arg(QDir::toNativeSeparators(path), why, remedy);
    return calibration;
}
