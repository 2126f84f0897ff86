#include "units.h"

#include <QCoreApplication>

#include <cmath>

namespace {

// 1 mmHg = 133.322387415 Pa (conventional millimetre of mercury);
// 1 inHg = 25.4 mmHg.
constexpr double kKPaPerMmHg = 0.133322387415;

} // namespace

double kPaPerUnit(Unit unit)
{
    switch (unit) {
    case Unit::KPa:
        return 1.0;
    case Unit::HPa:
        return 0.1;
    case Unit::MmHg:
        return kKPaPerMmHg;
    case Unit::CmHg:
        return 10.0 * kKPaPerMmHg;
    case Unit::InHg:
        return 25.4 * kKPaPerMmHg;
    }
    return 1.0;
}

double fromKPa(double kPa, Unit unit)
{
    return kPa / kPaPerUnit(unit);
}

double toKPa(double value, Unit unit)
{
    return value * kPaPerUnit(unit);
}

int unitDecimals(Unit unit)
{
    switch (unit) {
    case Unit::KPa:
        return 2; // 0.01 kPa
    case Unit::HPa:
        return 1; // 0.1 hPa = 0.01 kPa
    case Unit::MmHg:
        return 1; // 0.1 mmHg = 0.013 kPa
    case Unit::CmHg:
        return 2; // 0.01 cmHg = 0.013 kPa
    case Unit::InHg:
        return 2; // 0.01 inHg = 0.034 kPa
    }
    return 2;
}

QString unitSymbol(Unit unit)
{
    switch (unit) {
    case Unit::KPa:
        return QStringLiteral("kPa");
    case Unit::HPa:
        return QStringLiteral("hPa");
    case Unit::MmHg:
        return QStringLiteral("mmHg");
    case Unit::CmHg:
        return QStringLiteral("cmHg");
    case Unit::InHg:
        return QStringLiteral("inHg");
    }
    return QString();
}

QString unitDisplayName(Unit unit)
{
    if (unit == Unit::HPa)
        return QCoreApplication::translate("Units", "hPa (mbar)");
    return unitSymbol(unit);
}

std::optional<Unit> parseUnit(const QString &text)
{
    const QString name = text.trimmed().toLower();
    if (name == QLatin1String("mbar"))
        return Unit::HPa;
    for (const Unit unit : kAllUnits) {
        if (name == unitSymbol(unit).toLower())
            return unit;
    }
    return std::nullopt;
}

QString formatNumber(double kPa, Unit unit, const QLocale &locale)
{
    if (std::isnan(kPa))
        return QStringLiteral("nan");
    if (std::isinf(kPa))
        return kPa > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    const int decimals = unitDecimals(unit);
    double value = fromKPa(kPa, unit);
    // A value that rounds to zero is shown without a minus sign.
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals))
        value = 0.0;
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'f', decimals);
}

QString formatValue(double kPa, Unit unit, const QLocale &locale)
{
    return formatNumber(kPa, unit, locale) + QLatin1Char(' ') + unitSymbol(unit);
}
