#ifndef ANALYSIS_TEXTOUTPUT_H
#define ANALYSIS_TEXTOUTPUT_H

#include "sessionanalysis.h"
#include "units.h"

#include <QLocale>
#include <QString>

// The plain-text summary of one session, for standard output: the file, the
// time it was saved, its length, skipped lines and values left out, the
// calibration note when one
// was applied, the reference and tolerance, a statistics table per cylinder,
// the pulsation note, the in-sync stretches, the longest, the ending verdict
// and the pairs' verdict. Lines end in "\n". Translated.
QString summaryText(const SessionAnalysis &analysis, Unit unit, const QLocale &locale = QLocale::c());

// The stretches of a band: "2 stretches within the band, 40.0% of the
// session; the longest 3.2 s, from reading 12", or "never within the band".
QString stretchesLine(const BandStretches &band, const SessionAnalysis &analysis,
                      const QLocale &locale);
// "In sync (all four within the band): " and the sync band's stretches; the
// same for the pairs. Every output words them so.
QString inSyncLine(const SessionAnalysis &analysis, const QLocale &locale);
QString pairsInSyncLine(const SessionAnalysis &analysis, const QLocale &locale);

// The same as CSV (RFC 4180 quoting, lines ending in "\n"), machine-readable
// in the locale's form: numbers without group separators and with the
// locale's decimal separator; fields separated by commas, or by semicolons
// where the decimal separator is a comma (as spreadsheets there expect). A
// table with one row per cylinder (cylinder, mean, minimum, maximum,
// pulsation, mean difference from the reference, difference at the end,
// pulsation stands out), then an empty line, then item,value rows with the
// file, the counts of lines and values left out, the unit, the decimal
// separator, the calibration note when applied, the settings and the
// verdicts.
QString csvText(const SessionAnalysis &analysis, Unit unit, const QLocale &locale = QLocale::c());

// The CSV field separator for a locale: ';' where numbers have a decimal comma.
QChar csvSeparator(const QLocale &locale);

// One CSV field, quoted when it holds the separator, a quote or a line end.
QString csvField(const QString &text, QChar separator = QLatin1Char(','));

#endif // ANALYSIS_TEXTOUTPUT_H
