#include "calibration.h"

#include "session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
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

QJsonArray toArray(const std::array<double, 4> &values)
{
    QJsonArray array;
    for (const double value : values)
        array.append(value);
    return array;
}

bool fromArray(const QJsonValue &value, std::array<double, 4> &out)
{
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
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
    std::array<double, 4> sums{};
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
    std::array<double, 4> means{};
    double meanOfFour = 0.0;
    for (std::size_t c = 0; c < 4; ++c) {
        means[c] = sums[c] / count;
        meanOfFour += means[c] / 4.0;
    }

    Calibration calibration;
    calibration.createdAt = createdAt;
    calibration.sourceLog = QFileInfo(session.fileName).fileName();
    calibration.readings = used;
    for (std::size_t c = 0; c < 4; ++c)
        calibration.offsetsKPa[c] = means[c] - meanOfFour;

    // Noise: how each sensor's reading, its offset removed, wanders against
    // the mean of the four at the same moment.
    std::array<double, 4> squares{};
    for (std::size_t i = 0; i < n; ++i) {
        if (!rowIsFinite(i))
            continue;
        double moment = 0.0;
        for (int c = 0; c < kCylinderCount; ++c)
            moment += static_cast<double>(session.raw(c)[i]) / 4.0;
        for (std::size_t c = 0; c < 4; ++c) {
            const double d = static_cast<double>(session.raw(static_cast<int>(c))[i]) - moment
                - calibration.offsetsKPa[c];
            squares[c] += d * d;
        }
    }
    for (std::size_t c = 0; c < 4; ++c)
        calibration.noiseKPa[c] = std::sqrt(squares[c] / count);

    for (std::size_t c = 0; c < 4; ++c) {
        if (std::fabs(calibration.offsetsKPa[c]) > kCalibrationMaxOffsetKPa) {
            result.refusal =
                CalibrationTexts::tr(
                    "Sensor %1 reads %2 away from the mean of the four; more than %3 "
                    "cannot come from one vacuum source.")
                    .arg(c + 1)
                    .arg(formatKPa(calibration.offsetsKPa[c]), formatKPa(kCalibrationMaxOffsetKPa));
            return result;
        }
    }
    for (std::size_t c = 0; c < 4; ++c) {
        if (calibration.noiseKPa[c] > kCalibrationMaxNoiseKPa) {
            result.refusal =
                CalibrationTexts::tr(
                    "Sensor %1 does not follow the others (it wanders by %2, more than "
                    "%3): the four sensors were not on one vacuum source.")
                    .arg(c + 1)
                    .arg(formatKPa(calibration.noiseKPa[c]), formatKPa(kCalibrationMaxNoiseKPa));
            return result;
        }
    }
    result.calibration = calibration;
    return result;
}

void applyCalibration(Session &session, const Calibration &calibration)
{
    for (int c = 0; c < kCylinderCount; ++c) {
        const double offset = calibration.offsetsKPa[static_cast<std::size_t>(c)];
        for (const int column : {Raw1 + c, Average1 + c}) {
            for (float &value : session.columns[static_cast<std::size_t>(column)])
                value = static_cast<float>(static_cast<double>(value) - offset);
        }
    }
    session.appliedCalibration = calibration;
}

QString calibrationNote(const Calibration &calibration)
{
    return CalibrationTexts::tr("Calibration applied (made %1 from %2).")
        .arg(calibration.createdAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
             calibration.sourceLog);
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

std::optional<Calibration> calibrationFromJson(const QByteArray &json, QString *error)
{
    const auto fail = [error](const QString &why) -> std::optional<Calibration> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return fail(CalibrationTexts::tr("not a JSON object"));
    const QJsonObject object = document.object();
    if (object.value(kFormatKey).toInt() != kFormatVersion)
        return fail(CalibrationTexts::tr("unknown calibration format"));
    Calibration calibration;
    calibration.createdAt =
        QDateTime::fromString(object.value(kCreatedKey).toString(), Qt::ISODateWithMs);
    if (!calibration.createdAt.isValid())
        return fail(CalibrationTexts::tr("no valid date"));
    calibration.sourceLog = object.value(kSourceKey).toString();
    const double readings = object.value(kReadingsKey).toDouble(-1.0);
    if (!(readings >= 0.0 && readings < 9.0e15))
        return fail(CalibrationTexts::tr("no valid reading count"));
    calibration.readings = static_cast<std::size_t>(readings);
    if (!fromArray(object.value(kOffsetsKey), calibration.offsetsKPa)
        || !fromArray(object.value(kNoiseKey), calibration.noiseKPa))
        return fail(CalibrationTexts::tr("offsets or noise are not four numbers"));
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
    QSaveFile file(path);
    const QByteArray bytes = calibrationToJson(calibration);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()
        || !file.commit()) {
        if (error)
            *error = CalibrationTexts::tr("cannot write %1: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

std::optional<Calibration> loadCalibration(const QString &path, QString *error)
{
    if (error)
        error->clear();
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = CalibrationTexts::tr("cannot read %1: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        return std::nullopt;
    }
    QString why;
    std::optional<Calibration> calibration = calibrationFromJson(file.readAll(), &why);
    if (!calibration && error)
        *error = CalibrationTexts::tr("%1 is not a valid calibration: %2")
                     .arg(QDir::toNativeSeparators(path), why);
    return calibration;
}
