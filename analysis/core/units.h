#ifndef ANALYSIS_UNITS_H
#define ANALYSIS_UNITS_H

#include <QLocale>
#include <QString>

#include <array>
#include <optional>

// Pressure units. Logs hold kPa; every other unit is a display of the same
// value. All conversions are linear (no offset), so they apply alike to
// absolute values, to differences and to tolerances.
enum class Unit {
    KPa, // as logged, two decimals
    HPa, // hectopascal, the same as millibar
    MmHg,
    CmHg, // what most workshop manuals give
    InHg,
};

// Every unit, in the order the window's selector lists them.
constexpr std::array<Unit, 5> kAllUnits{Unit::KPa, Unit::HPa, Unit::MmHg, Unit::CmHg, Unit::InHg};

// How many kPa one of the unit is. The only place the factors are written.
double kPaPerUnit(Unit unit);

double fromKPa(double kPa, Unit unit);
double toKPa(double value, Unit unit);

// Decimals shown in the unit: about the same resolution as two decimals of kPa.
int unitDecimals(Unit unit);

// The unit's symbol as written after a number: "kPa", "hPa", "mmHg", "cmHg", "inHg".
QString unitSymbol(Unit unit);

// The name a selector shows: "kPa", "hPa (mbar)", "mmHg", "cmHg", "inHg".
QString unitDisplayName(Unit unit);

// The symbol for the command line, case-insensitive: kpa, hpa, mbar, mmhg,
// cmhg, inhg. Nothing for anything else.
std::optional<Unit> parseUnit(const QString &text);

// A kPa value converted and written with the unit's decimals, no symbol:
// fromKPa(-25.0, CmHg) -> "-18.75". The locale chooses the decimal separator;
// the default writes a full stop. Non-finite values give "nan", "inf", "-inf".
QString formatNumber(double kPa, Unit unit, const QLocale &locale = QLocale::c());

// The same followed by a space and the unit's symbol: "-18.75 cmHg".
QString formatValue(double kPa, Unit unit, const QLocale &locale = QLocale::c());

#endif // ANALYSIS_UNITS_H
