#include "textoutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace {

// The texts of this file, under one translation context.
struct TextOutputTexts
{
    Q_DECLARE_TR_FUNCTIONS(TextOutput)
};

QString sourceName(SyncSource source)
{
    return source == SyncSource::Raw ? TextOutputTexts::tr("raw readings")
                                     : TextOutputTexts::tr("running averages");
}

QString readingNumber(std::size_t index)
{
    return QString::number(static_cast<qulonglong>(index + 1));
}

QString percent(std::size_t part, std::size_t whole, const QLocale &locale)
{
    const double share = whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0;
    return locale.toString(share, 'f', 1) + QLatin1Char('%');
}

// Mean difference of a cylinder from the reference, over the raw means.
double meanDifference(const SessionAnalysis &analysis, int cylinder)
{
    const int reference = analysis.settings.sync.referenceCylinder;
    return analysis.statistics[static_cast<std::size_t>(cylinder - 1)].mean
        - analysis.statistics[static_cast<std::size_t>(reference - 1)].mean;
}

} // namespace

QString stretchesLine(const BandStretches &band, const SessionAnalysis &analysis,
                      const QLocale &locale)
{
    const std::optional<double> period = analysis.settings.pollPeriodSeconds;
    if (!band.longest)
        return TextOutputTexts::tr("never within the band");
    return TextOutputTexts::tr(
               "%n stretches within the band, %1 of the session; the longest %2, from reading %3",
               nullptr, static_cast<int>(std::min<std::size_t>(band.stretches.size(), 0x7fffffff)))
        .arg(percent(band.readingsInBand, analysis.readingCount, locale),
             durationText(band.longest->length, period, locale), readingNumber(band.longest->first));
}

QString inSyncLine(const SessionAnalysis &analysis, const QLocale &locale)
{
    return TextOutputTexts::tr("In sync (all four within the band): %1")
        .arg(stretchesLine(analysis.sync.band, analysis, locale));
}

QString pairsInSyncLine(const SessionAnalysis &analysis, const QLocale &locale)
{
    return TextOutputTexts::tr("%1, their means within the band: %2")
        .arg(pairsName(), stretchesLine(analysis.pairs.band, analysis, locale));
}

QString summaryText(const SessionAnalysis &analysis, Unit unit, const QLocale &locale)
{
    QString text;
    const auto line = [&text](const QString &content) {
        text += content;
        text += QLatin1Char('\n');
    };
    const std::optional<double> period = analysis.settings.pollPeriodSeconds;

    line(TextOutputTexts::tr("Log: %1").arg(
        printableName(QDir::toNativeSeparators(analysis.fileName))));
    if (analysis.recordedAt)
        line(TextOutputTexts::tr("Saved: %1").arg(dateTimeText(*analysis.recordedAt)));
    if (period) {
        line(TextOutputTexts::tr("Length: %1 (%2)")
                 .arg(sessionLengthText(analysis, locale),
                      durationText(analysis.readingCount, std::nullopt, locale)));
    } else {
        line(TextOutputTexts::tr("Length: %1").arg(sessionLengthText(analysis, locale)));
    }
    if (analysis.skippedLines > 0)
        line(skippedLinesText(analysis.skippedLines));
    if (!leftOutValuesText(analysis).isEmpty())
        line(leftOutValuesText(analysis));
    if (analysis.appliedCalibration)
        line(calibrationNote(*analysis.appliedCalibration));
    line(TextOutputTexts::tr("Reference: cylinder %1; tolerance: ±%2; compared: %3")
             .arg(analysis.settings.sync.referenceCylinder)
             .arg(formatValue(analysis.settings.sync.toleranceKPa, unit, locale),
                  sourceName(analysis.settings.sync.source)));
    line(QString());

    // The statistics table, right-aligned columns.
    const int width = 12;
    const QStringList headers{TextOutputTexts::tr("Cylinder"),  TextOutputTexts::tr("Mean"),
                              TextOutputTexts::tr("Minimum"),   TextOutputTexts::tr("Maximum"),
                              TextOutputTexts::tr("Pulsation"), TextOutputTexts::tr("Mean diff.")};
    QString header;
    for (const QString &h : headers)
        header += QStringLiteral("%1").arg(h, width);
    line(header + QStringLiteral("  (%1)").arg(unitSymbol(unit)));
    for (int c = 1; c <= kCylinderCount; ++c) {
        const SeriesStatistics &s = analysis.statistics[static_cast<std::size_t>(c - 1)];
        QString row = QStringLiteral("%1").arg(QString::number(c), width);
        if (s.count == 0) {
            row += QStringLiteral("%1").arg(TextOutputTexts::tr("no valid readings"), width * 5);
        } else {
            for (const double value :
                 {s.mean, s.minimum, s.maximum, s.standardDeviation, meanDifference(analysis, c)})
                row += QStringLiteral("%1").arg(formatNumber(value, unit, locale), width);
        }
        if (analysis.pulsationStandout == c)
            row += QStringLiteral("  *");
        line(row);
    }
    if (analysis.pulsationStandout)
        line(QStringLiteral("* ") + pulsationNote(*analysis.pulsationStandout));
    line(QString());

    line(TextOutputTexts::tr("Mean diff.: the cylinder's mean minus the reference's; pulsation: "
                             "the standard deviation of its readings."));
    line(QString());
    line(inSyncLine(analysis, locale));
    line(endingVerdict(analysis.sync, period, unit, locale));
    line(pairsInSyncLine(analysis, locale));
    line(pairVerdict(analysis.pairs, analysis.settings.sync.toleranceKPa, period, unit, locale));
    return text;
}

QString csvField(const QString &text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QChar csvSeparator(const QLocale &locale)
{
    return locale.decimalPoint() == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(',');
}

QString csvText(const SessionAnalysis &analysis, Unit unit, const QLocale &locale)
{
    const std::optional<double> period = analysis.settings.pollPeriodSeconds;
    const QChar separator = csvSeparator(locale);
    QString text;
    const auto row = [&text, separator](const QStringList &fields) {
        QStringList quoted;
        for (const QString &field : fields)
            quoted << csvField(field, separator);
        text += quoted.join(separator);
        text += QLatin1Char('\n');
    };
    const auto count = [](std::size_t n) { return QString::number(static_cast<qulonglong>(n)); };
    const QString symbol = unitSymbol(unit);
    row({TextOutputTexts::tr("cylinder"), TextOutputTexts::tr("mean (%1)").arg(symbol),
         TextOutputTexts::tr("minimum (%1)").arg(symbol),
         TextOutputTexts::tr("maximum (%1)").arg(symbol),
         TextOutputTexts::tr("pulsation, standard deviation (%1)").arg(symbol),
         TextOutputTexts::tr("mean difference from reference (%1)").arg(symbol),
         TextOutputTexts::tr("difference at the end (%1)").arg(symbol),
         TextOutputTexts::tr("pulsation stands out")});
    for (int cylinder = 1; cylinder <= kCylinderCount; ++cylinder) {
        const SeriesStatistics &s = analysis.statistics[static_cast<std::size_t>(cylinder - 1)];
        QStringList fields{QString::number(cylinder)};
        for (const double value :
             {s.mean, s.minimum, s.maximum, s.standardDeviation, meanDifference(analysis, cylinder)})
            fields << (s.count ? formatNumber(value, unit, locale) : QString());
        const double atEnd =
            analysis.sync.finalDifferencesKPa[static_cast<std::size_t>(cylinder - 1)];
        fields << (analysis.readingCount && std::isfinite(atEnd) ? formatNumber(atEnd, unit, locale)
                                                                 : QString());
        fields << (analysis.pulsationStandout == cylinder ? TextOutputTexts::tr("yes")
                                                          : TextOutputTexts::tr("no"));
        row(fields);
    }
    text += QLatin1Char('\n');
    row({TextOutputTexts::tr("item"), TextOutputTexts::tr("value")});
    row({TextOutputTexts::tr("log"), printableName(QFileInfo(analysis.fileName).fileName())});
    if (analysis.recordedAt)
        row({TextOutputTexts::tr("saved"), dateTimeText(*analysis.recordedAt)});
    row({TextOutputTexts::tr("readings"), count(analysis.readingCount)});
    if (period)
        row({TextOutputTexts::tr("poll period (s)"), locale.toString(*period, 'g', 6)});
    row({TextOutputTexts::tr("bad lines skipped"), count(analysis.skippedLines)});
    row({TextOutputTexts::tr("values beyond ±%1 kPa left out").arg(kPlausibleLimitKPa),
         count(analysis.impossibleValues)});
    row({TextOutputTexts::tr("values not a number left out"), count(analysis.nonFiniteValues)});
    row({TextOutputTexts::tr("unit"), symbol});
    row({TextOutputTexts::tr("decimal separator"), QString(locale.decimalPoint())});
    if (analysis.appliedCalibration)
        row({TextOutputTexts::tr("calibration"), calibrationNote(*analysis.appliedCalibration)});
    row({TextOutputTexts::tr("reference cylinder"),
         QString::number(analysis.settings.sync.referenceCylinder)});
    row({TextOutputTexts::tr("tolerance (%1)").arg(symbol),
         formatNumber(analysis.settings.sync.toleranceKPa, unit, locale)});
    row({TextOutputTexts::tr("compared"), sourceName(analysis.settings.sync.source)});
    const BandStretches &band = analysis.sync.band;
    row({TextOutputTexts::tr("in-sync stretches"), count(band.stretches.size())});
    row({TextOutputTexts::tr("readings in sync"), count(band.readingsInBand)});
    if (band.longest) {
        row({TextOutputTexts::tr("longest in-sync stretch"),
             durationText(band.longest->length, period, locale)});
        row({TextOutputTexts::tr("longest in-sync stretch from reading"),
             readingNumber(band.longest->first)});
    }
    row({TextOutputTexts::tr("verdict"), endingVerdict(analysis.sync, period, unit, locale)});
    row({TextOutputTexts::tr("pairs verdict"),
         pairVerdict(analysis.pairs, analysis.settings.sync.toleranceKPa, period, unit, locale)});
    if (analysis.pulsationStandout)
        row({TextOutputTexts::tr("pulsation"), pulsationNote(*analysis.pulsationStandout)});
    return text;
}
