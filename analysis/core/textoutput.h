#ifndef ANALYSIS_TEXTOUTPUT_H
#define ANALYSIS_TEXTOUTPUT_H

#include "sessionanalysis.h"
#include "units.h"

#include <QLocale>
#include <QString>

// The plain-text summary of one session, for standard output and the report:
// the file, its date, length and skipped lines, the calibration note when one
// was applied, the reference and tolerance, a statistics table per cylinder,
// the pulsation note, the in-sync stretches, the longest, the ending verdict
// and the pairs' verdict. Lines end in "\n". Translated.
QString summaryText(const SessionAnalysis &analysis, Unit unit, const QLocale &locale = QLocale::c());

// The same as CSV (RFC 4180 quoting, comma separator, full stop as decimal
// separator, lines ending in "\n"): a table with one row per cylinder
// (cylinder, mean, minimum, maximum, standard deviation, mean difference from
// the reference, pulsation stands out), then an empty line, then item,value
// rows with the file, the unit, the calibration note when applied, the
// settings and the verdicts.
QString csvText(const SessionAnalysis &analysis, Unit unit);

// One CSV field, quoted when it holds a comma, a quote or a line end.
QString csvField(const QString &text);

#endif // ANALYSIS_TEXTOUTPUT_H
