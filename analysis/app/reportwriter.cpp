#include "reportwriter.h"

#include "cylindercolours.h"
#include "filetexts.h"
#include "safefile.h"
#include "textoutput.h"
#include "sessionchart.h"
#include "sessioncurves.h"
#include "statistics.h"
#include "syncanalysis.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QTextDocument>
#include <QtCharts/QAbstractAxis>
#include <QtCharts/QLegend>

#include <algorithm>
#include <memory>


namespace {

class ReportText
{
    Q_DECLARE_TR_FUNCTIONS(Report)
};

constexpr int pageMargin = 70;

QFont pixelFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Chart fonts in pixels, so that a graph keeps its proportions on every
// device whatever its resolution.
void usePixelFonts(SessionChart &chart)
{
    chart.legend()->setFont(pixelFont(15));
    chart.setTitleFont(pixelFont(17, true));
    const auto axes = chart.axes();
    for (QAbstractAxis *axis : axes) {
        axis->setLabelsFont(pixelFont(14));
        axis->setTitleFont(pixelFont(15));
    }
}

void paintChart(QPainter &painter, SessionChart *chart, const QRectF &target)
{
    QGraphicsScene scene;
    scene.addItem(chart); // the scene owns the chart now
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    usePixelFonts(*chart);
    chart->setGeometry(QRectF(QPointF(0, 0), target.size()));
    // Lay the chart out now, without an event loop, and reduce the curves
    // to its real plot width.
    QCoreApplication::sendPostedEvents();
    chart->refresh();
    QCoreApplication::sendPostedEvents();
    scene.setSceneRect(QRectF(QPointF(0, 0), target.size()));
    scene.render(&painter, target, scene.sceneRect(), Qt::IgnoreAspectRatio);
}

// The two graphs of a session, side by side (side) or one above the other.
void paintCharts(QPainter &painter, const ReportSession &part, Unit unit, const QLocale &locale,
                 const QRectF &area, bool side)
{
    auto *pressures = new SessionChart;
    auto *differences = new SessionChart;
    showSessionInCharts(*pressures, *differences, *part.session, part.analysis.sync,
                        part.analysis.settings.pollPeriodSeconds, unit);
    pressures->setTitle(ReportText::tr("Pressures (light: readings, dark: running averages)"));
    differences->setTitle(
        ReportText::tr("Differences from cylinder %1, tolerance ±%2")
            .arg(part.analysis.sync.settings.referenceCylinder)
            .arg(formatValue(part.analysis.settings.sync.toleranceKPa, unit, locale)));
    QRectF first = area, second = area;
    if (side) {
        // Half a page is too narrow for a second legend; the colours are
        // the same as beside it.
        differences->legend()->hide();
        first.setWidth(area.width() / 2 - 8);
        second.setLeft(area.left() + area.width() / 2 + 8);
    } else {
        first.setHeight(area.height() * 0.56 - 8);
        second.setTop(area.top() + area.height() * 0.56 + 8);
    }
    paintChart(painter, pressures, first);
    paintChart(painter, differences, second);
}

void layOut(QTextDocument &document, const QString &html, qreal width)
{
    document.setDefaultFont(pixelFont(17));
    document.setDocumentMargin(0);
    document.setHtml(html);
    document.setTextWidth(width);
}

qreal htmlHeight(const QString &html, qreal width)
{
    QTextDocument document;
    layOut(document, html, width);
    return document.size().height();
}

qreal paintHtml(QPainter &painter, const QString &html, const QPointF &at, qreal width)
{
    QTextDocument document;
    layOut(document, html, width);
    painter.save();
    painter.translate(at);
    document.drawContents(&painter);
    painter.restore();
    return document.size().height();
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

QSize reportPageSize()
{
    // A4, 210 mm x 297 mm.
    return QSize(1240, 1754);
}

static QString verdictHtml(const SessionAnalysis &analysis, Unit unit, const QLocale &locale)
{
    const std::optional<double> period = analysis.settings.pollPeriodSeconds;
    QString html;
    html += QStringLiteral("<p style=\"font-size:25px\"><b>%1</b></p>")
                .arg(escaped(endingVerdict(analysis.sync, period, unit, locale)));
    html += QStringLiteral("<p>%1</p>")
                .arg(escaped(pairVerdict(analysis.pairs, analysis.settings.sync.toleranceKPa, period,
                                         unit, locale)));
    if (analysis.pulsationStandout)
        html += QStringLiteral("<p style=\"color:#b35900\">%1</p>")
                    .arg(escaped(pulsationNote(*analysis.pulsationStandout)));
    return html;
}

static QString statisticsHtml(const SessionAnalysis &analysis, Unit unit, const QLocale &locale)
{
    QString html;
    html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"5\" border=\"1\" "
                           "style=\"border-collapse:collapse; border-color:#999999\">");
    html +=
        QStringLiteral("<tr><th></th><th>%1</th><th>%2</th><th>%3</th><th>%4</th><th>%5</th></tr>")
            .arg(escaped(ReportText::tr("Mean")), escaped(ReportText::tr("Minimum")),
                 escaped(ReportText::tr("Maximum")), escaped(ReportText::tr("Pulsation (std. dev.)")),
                 escaped(ReportText::tr("Difference at the end")));
    for (int c = 0; c < kCylinderCount; ++c) {
        const SeriesStatistics &stats = analysis.statistics[std::size_t(c)];
        const bool flagged = analysis.pulsationStandout && *analysis.pulsationStandout == c + 1;
        const QString name = c + 1 == analysis.sync.settings.referenceCylinder
            ? ReportText::tr("Cylinder %1 (reference)").arg(c + 1)
            : ReportText::tr("Cylinder %1").arg(c + 1);
        html += QStringLiteral("<tr><td><span style=\"color:%1\">&#9632;</span> %2</td>")
                    .arg(cylinderColour(c).name(), escaped(name));
        for (double value : {stats.mean, stats.minimum, stats.maximum})
            html += QStringLiteral("<td align=\"right\">%1</td>")
                        .arg(escaped(formatValue(value, unit, locale)));
        html += QStringLiteral("<td align=\"right\">%1%2</td>")
                    .arg(flagged ? QStringLiteral("&#9888; ") : QString(),
                         escaped(formatValue(stats.standardDeviation, unit, locale)));
        html += QStringLiteral("<td align=\"right\">%1</td></tr>")
                    .arg(escaped(formatValue(analysis.sync.finalDifferencesKPa[std::size_t(c)], unit,
                                             locale)));
    }
    html += QStringLiteral("</table>");

    html +=
        QStringLiteral("<p>%1<br>%2</p>")
            .arg(escaped(inSyncLine(analysis, locale)), escaped(pairsInSyncLine(analysis, locale)));
    return html;
}

void paintReport(QPainter &painter, const ReportContent &content)
{
    const QSize page = reportPageSize();
    painter.fillRect(QRect(QPoint(0, 0), page), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const qreal width = page.width() - 2 * pageMargin;
    qreal y = pageMargin;
    const bool beforeAfter = content.sessions.size() == 2;

    painter.setPen(Qt::black);
    painter.setFont(pixelFont(34, true));
    const QString title = beforeAfter
        ? ReportText::tr("Aspirello: carburettor sync, before and after")
        : ReportText::tr("Aspirello: carburettor sync report");
    painter.drawText(QRectF(pageMargin, y, width, 48), Qt::AlignLeft | Qt::AlignVCenter, title);
    y += 58;

    for (std::size_t s = 0; s < content.sessions.size(); ++s) {
        const ReportSession &part = content.sessions[s];
        const SessionAnalysis &analysis = part.analysis;
        QString heading = printableName(QFileInfo(analysis.fileName).fileName());
        if (beforeAfter)
            heading =
                (s == 0 ? ReportText::tr("Before: %1") : ReportText::tr("After: %1")).arg(heading);
        QStringList facts;
        if (analysis.recordedAt)
            facts << savedText(*analysis.recordedAt);
        facts << sessionLengthText(analysis, content.locale);
        facts
            << ReportText::tr("reference cylinder %1").arg(analysis.sync.settings.referenceCylinder);
        facts << ReportText::tr("tolerance ±%1")
                     .arg(formatValue(analysis.settings.sync.toleranceKPa, content.unit,
                                      content.locale));
        facts << (analysis.sync.settings.source == SyncSource::Averages
                      ? ReportText::tr("running averages compared")
                      : ReportText::tr("raw readings compared"));
        if (analysis.skippedLines > 0)
            facts << skippedLinesText(analysis.skippedLines);
        if (!leftOutValuesText(analysis).isEmpty())
            facts << leftOutValuesText(analysis);
        QString header = QStringLiteral("<p style=\"font-size:22px\"><b>%1</b></p><p>%2</p>")
                             .arg(escaped(heading), escaped(facts.join(QStringLiteral(" · "))));
        if (analysis.appliedCalibration)
            header += QStringLiteral("<p>%1</p>")
                          .arg(escaped(calibrationNote(*analysis.appliedCalibration)));
        else
            header += QStringLiteral("<p>%1</p>")
                          .arg(escaped(ReportText::tr("No sensor calibration applied.")));
        y += paintHtml(painter, header, QPointF(pageMargin, y), width) + 4;
        y += paintHtml(painter, verdictHtml(analysis, content.unit, content.locale),
                       QPointF(pageMargin, y), width);

        const QString table = statisticsHtml(analysis, content.unit, content.locale);
        qreal chartsHeight = 330;
        if (!beforeAfter) // the graphs take what the table leaves of the page
            chartsHeight =
                std::max<qreal>(400, page.height() - pageMargin - y - htmlHeight(table, width) - 30);
        paintCharts(painter, part, content.unit, content.locale,
                    QRectF(pageMargin, y, width, chartsHeight), beforeAfter);
        y += chartsHeight + 12;
        y += paintHtml(painter, table, QPointF(pageMargin, y), width);
        y += 36;
    }
}

bool writeReport(const QString &path, ReportFormat format, const ReportContent &content,
                 QString *error)
{
    const QSize page = reportPageSize();
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = ReportText::tr("%1 cannot be written: %2")
                         .arg(QDir::toNativeSeparators(path), reason);
        return false;
    };
    // Drawn into memory first and saved in one go, so that a failed report
    // never leaves half a file behind or replaces an earlier one.
    QByteArray bytes;
    switch (format) {
    case ReportFormat::Png: {
        QImage image(page, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(kReportDotsPerInch / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            paintReport(painter, content);
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return fail(ReportText::tr("the image could not be encoded"));
        break;
    }
    case ReportFormat::Svg: {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(page);
        generator.setViewBox(QRect(QPoint(0, 0), page));
        generator.setResolution(kReportDotsPerInch);
        generator.setTitle(ReportText::tr("Aspirello: carburettor sync report"));
        QPainter painter;
        if (!painter.begin(&generator))
            return fail(ReportText::tr("the drawing could not be started"));
        paintReport(painter, content);
        painter.end();
        break;
    }
    case ReportFormat::Pdf: {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kReportDotsPerInch);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(ReportText::tr("Aspirello: carburettor sync report"));
        writer.setCreator(QStringLiteral("aspirello-analisi"));
        QPainter painter;
        if (!painter.begin(&writer))
            return fail(ReportText::tr("the drawing could not be started"));
        // The device may be a pixel or two off the page size: scale to it.
        painter.setWindow(QRect(QPoint(0, 0), page));
        painter.setViewport(QRect(0, 0, writer.width(), writer.height()));
        paintReport(painter, content);
        painter.end();
        break;
    }
    }

    FileFailure failure;
    if (!writeRegularFile(path, bytes, &failure))
        return fail(fileFailureReason(failure));
    return true;
}
