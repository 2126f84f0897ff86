#ifndef REPORTWRITER_H
#define REPORTWRITER_H

#include "commandline.h"
#include "session.h"
#include "sessionanalysis.h"
#include "units.h"

#include <QLocale>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

// One session of a report with its analysis.
struct ReportSession
{
    const Session *session = nullptr;
    SessionAnalysis analysis;
};

// A report: one session, or two on a before/after page.
struct ReportContent
{
    std::vector<ReportSession> sessions;
    Unit unit = Unit::KPa;
    QLocale locale;
};

// The page every report is drawn on, in pixels: A4 at 150 dots per inch.
QSize reportPageSize();
constexpr int kReportDotsPerInch = 150;

// Draws the report (title, graphs, statistics and verdict of each session)
// onto a painter whose device is reportPageSize() pixels large. Needs a
// QApplication (the graphs are chart widgets), but no display.
void paintReport(QPainter &painter, const ReportContent &content);

// Writes the report as PDF, PNG or SVG. False with *error (translated) when
// the file cannot be written.
bool writeReport(const QString &path, ReportFormat format, const ReportContent &content,
                 QString *error);

#endif // REPORTWRITER_H
