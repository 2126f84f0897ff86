#include "analysiswindow.h"

#include "cylindercolours.h"
#include "livewindow.h"
#include "reportwriter.h"
#include "sessionchart.h"
#include "sessioncurves.h"
#include "statistics.h"
#include "syncanalysis.h"
#include "textoutput.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

AnalysisWindow::AnalysisWindow(const QString &calibrationPath, QWidget *parent)
    : QMainWindow(parent)
    , calibrationFile(calibrationPath)
{
    setObjectName(QStringLiteral("AnalysisWindow"));
    setWindowTitle(tr("Aspirello Analisi"));
    setAcceptDrops(true);
    buildForm();
    if (!calibrationFile.isEmpty()) {
        storedCalibration = loadCalibration(calibrationFile, &calibrationError);
        if (!storedCalibration && !calibrationError.isEmpty())
            showMessage(calibrationError);
    }
    updateCalibrationLabel();
    resize(1280, 900);
}

void AnalysisWindow::buildForm()
{
    QToolBar *tools = addToolBar(tr("Tools"));
    tools->setObjectName(QStringLiteral("toolBar"));
    tools->setMovable(false);
    QAction *open = tools->addAction(tr("Open logs…"), this, &AnalysisWindow::chooseLogs);
    open->setObjectName(QStringLiteral("actionOpen"));
    open->setShortcut(QKeySequence::Open);
    QAction *exportReport =
        tools->addAction(tr("Export report…"), this, &AnalysisWindow::chooseReportFile);
    exportReport->setObjectName(QStringLiteral("actionExport"));
    exportReport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    QAction *calibrate = tools->addAction(tr("Calibrate sensors from a log…"), this,
                                          &AnalysisWindow::chooseCalibrationLog);
    calibrate->setObjectName(QStringLiteral("actionCalibrate"));
    QAction *connectBoard =
        tools->addAction(tr("Connect board…"), this, qOverload<>(&AnalysisWindow::openLiveWindow));
    connectBoard->setObjectName(QStringLiteral("actionLive"));
    QAction *quit = new QAction(tr("Quit"), this);
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    addAction(quit);

    auto *central = new QWidget(this);
    auto *outer = new QHBoxLayout(central);

    // The choices, on the left.
    auto *controls = new QGroupBox(tr("Analysis"), central);
    controls->setObjectName(QStringLiteral("groupAnalysis"));
    auto *form = new QFormLayout(controls);
    comboLog = new QComboBox(controls);
    comboLog->setObjectName(QStringLiteral("comboLog"));
    comboLog->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    comboLog->setMinimumContentsLength(18);
    form->addRow(tr("Log:"), comboLog);
    form->addRow(tr("Unit:"), choices.makeUnitBox(controls));
    form->addRow(tr("Reference:"), choices.makeReferenceBox(controls, tr("Cylinder %1")));
    comboCompare = new QComboBox(controls);
    comboCompare->setObjectName(QStringLiteral("comboCompare"));
    comboCompare->addItem(tr("Running averages"), int(SyncSource::Averages));
    comboCompare->addItem(tr("Raw readings"), int(SyncSource::Raw));
    form->addRow(tr("Compare:"), comboCompare);
    form->addRow(tr("Tolerance:"), choices.makeToleranceBox(controls));
    spinPeriod = new QSpinBox(controls);
    spinPeriod->setObjectName(QStringLiteral("spinPeriod"));
    spinPeriod->setRange(0, int(kMaxPollPeriodSeconds * 1000.0));
    spinPeriod->setSuffix(tr(" ms"));
    spinPeriod->setSpecialValueText(tr("not known"));
    spinPeriod->setToolTip(tr("The poll period the log was recorded with. When it is known, the "
                              "graphs and stretches are in seconds; otherwise in readings."));
    form->addRow(tr("Poll period:"), spinPeriod);
    checkSkipBadLines = new QCheckBox(tr("Skip bad lines"), controls);
    checkSkipBadLines->setObjectName(QStringLiteral("checkSkipBadLines"));
    checkSkipBadLines->setToolTip(tr("Leave out lines that are not eight numbers and count them, "
                                     "instead of refusing the log at the first one."));
    form->addRow(checkSkipBadLines);
    checkCalibration = new QCheckBox(tr("Apply the sensor calibration"), controls);
    checkCalibration->setObjectName(QStringLiteral("checkCalibration"));
    form->addRow(checkCalibration);
    labelCalibration = new QLabel(controls);
    labelCalibration->setObjectName(QStringLiteral("labelCalibration"));
    labelCalibration->setWordWrap(true);
    form->addRow(labelCalibration);
    auto *help = new QLabel(tr("Drag across a graph to zoom in, use the wheel to zoom, the middle "
                               "button or Shift to move sideways, the right button to zoom out and "
                               "a double click to see the whole session."),
                            controls);
    help->setWordWrap(true);
    help->setStyleSheet(QStringLiteral("color: palette(mid)"));
    form->addRow(help);
    controls->setMaximumWidth(340);
    outer->addWidget(controls);

    // The results, on the right.
    auto *results = new QWidget(central);
    auto *column = new QVBoxLayout(results);
    column->setContentsMargins(0, 0, 0, 0);
    labelMessage = new QLabel(results);
    labelMessage->setObjectName(QStringLiteral("labelMessage"));
    labelMessage->setWordWrap(true);
    labelMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    labelMessage->setStyleSheet(QStringLiteral("color: #b00020"));
    labelMessage->hide();
    column->addWidget(labelMessage);
    labelVerdict = new QLabel(tr("Open a log saved by Aspirello, or drop it here."), results);
    labelVerdict->setObjectName(QStringLiteral("labelVerdict"));
    labelVerdict->setWordWrap(true);
    QFont big = labelVerdict->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    labelVerdict->setFont(big);
    column->addWidget(labelVerdict);
    labelPairs = new QLabel(results);
    labelPairs->setObjectName(QStringLiteral("labelPairs"));
    labelPairs->setWordWrap(true);
    column->addWidget(labelPairs);
    labelPulsation = new QLabel(results);
    labelPulsation->setObjectName(QStringLiteral("labelPulsation"));
    labelPulsation->setWordWrap(true);
    labelPulsation->setStyleSheet(QStringLiteral("color: #b35900"));
    labelPulsation->hide();
    column->addWidget(labelPulsation);

    tabGraphs = new QTabWidget(results);
    tabGraphs->setObjectName(QStringLiteral("tabGraphs"));
    pressureChart = new SessionChart;
    pressureView = new SessionChartView(pressureChart, tabGraphs);
    pressureView->setObjectName(QStringLiteral("chartPressures"));
    pressureChart->setTitle(tr("Light: readings · dark: running averages"));
    tabGraphs->addTab(pressureView, tr("Pressures"));
    differenceChart = new SessionChart;
    differenceView = new SessionChartView(differenceChart, tabGraphs);
    differenceView->setObjectName(QStringLiteral("chartSync"));
    tabGraphs->addTab(differenceView, tr("Sync"));
    // Both graphs show the same stretch of the session.
    connect(pressureChart, &SessionChart::visibleRangeChanged, differenceChart,
            &SessionChart::setVisibleRange);
    connect(differenceChart, &SessionChart::visibleRangeChanged, pressureChart,
            &SessionChart::setVisibleRange);

    column->addWidget(tabGraphs, 1);
    tableStatistics = new QTableWidget(kCylinderCount, 5, results);
    tableStatistics->setObjectName(QStringLiteral("tableStatistics"));
    tableStatistics->setHorizontalHeaderLabels({tr("Mean"), tr("Minimum"), tr("Maximum"),
                                                tr("Pulsation (std. dev.)"),
                                                tr("Difference at the end")});
    QStringList rows;
    for (int c = 1; c <= kCylinderCount; ++c)
        rows << tr("Cylinder %1").arg(c);
    tableStatistics->setVerticalHeaderLabels(rows);
    for (int c = 0; c < kCylinderCount; ++c) {
        QPixmap swatch(14, 14);
        swatch.fill(cylinderColour(c));
        tableStatistics->verticalHeaderItem(c)->setIcon(QIcon(swatch));
    }
    tableStatistics->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableStatistics->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Long headings ("Pulsation (std. dev.)") wrap onto a second line rather
    // than being cut on a narrow window.
    tableStatistics->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter
                                                             | Qt::Alignment(Qt::TextWordWrap));
    tableStatistics->horizontalHeader()->setMinimumHeight(2 * tableStatistics->fontMetrics().height()
                                                          + 8);
    // Four rows, always wholly visible: the graph takes the rest.
    const int rowHeight = tableStatistics->fontMetrics().height() + 10;
    tableStatistics->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tableStatistics->verticalHeader()->setDefaultSectionSize(rowHeight);
    tableStatistics->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableStatistics->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableStatistics->setFixedHeight(std::max(tableStatistics->horizontalHeader()->sizeHint().height(),
                                             tableStatistics->horizontalHeader()->minimumHeight())
                                    + kCylinderCount * rowHeight + 2 * tableStatistics->frameWidth()
                                    + 4);
    column->addWidget(tableStatistics);
    labelStretches = new QLabel(results);
    labelStretches->setObjectName(QStringLiteral("labelStretches"));
    labelStretches->setWordWrap(true);
    column->addWidget(labelStretches);
    outer->addWidget(results, 1);
    setCentralWidget(central);

    updating = true;
    choices.chooseUnit(Unit::KPa);
    choices.showTolerance();
    choices.chooseReference(kDefaultReferenceCylinder);
    updating = false;

    connect(comboLog, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &AnalysisWindow::sessionChosen);
    connect(choices.unit, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &AnalysisWindow::unitChanged);
    connect(choices.reference, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &AnalysisWindow::settingsChanged);
    connect(comboCompare, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &AnalysisWindow::settingsChanged);
    connect(choices.tolerance, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &AnalysisWindow::toleranceChosen);
    connect(spinPeriod, qOverload<int>(&QSpinBox::valueChanged), this,
            &AnalysisWindow::settingsChanged);
    connect(checkSkipBadLines, &QCheckBox::toggled, this, &AnalysisWindow::badLinePolicyChanged);
    connect(checkCalibration, &QCheckBox::toggled, this, &AnalysisWindow::calibrationChoiceChanged);
}

Unit AnalysisWindow::unit() const
{
    return choices.chosenUnit();
}

void AnalysisWindow::toleranceChosen()
{
    if (updating)
        return;
    choices.takeShownTolerance();
    settingsChanged();
}

AnalysisSettings AnalysisWindow::settings() const
{
    AnalysisSettings result;
    result.sync.referenceCylinder = choices.chosenReference();
    result.sync.toleranceKPa = choices.toleranceKPa;
    result.sync.source = SyncSource(comboCompare->currentData().toInt());
    if (spinPeriod->value() > 0)
        result.pollPeriodSeconds = spinPeriod->value() / 1000.0;
    return result;
}

BadLinePolicy AnalysisWindow::badLinePolicy() const
{
    return checkSkipBadLines->isChecked() ? BadLinePolicy::Skip : BadLinePolicy::Stop;
}

const SessionAnalysis *AnalysisWindow::currentAnalysis() const
{
    if (currentSession < 0 || currentSession >= int(analyses.size()))
        return nullptr;
    return &analyses[std::size_t(currentSession)];
}

void AnalysisWindow::setUnit(Unit newUnit)
{
    choices.chooseUnit(newUnit);
}

void AnalysisWindow::setAnalysisSettings(const AnalysisSettings &newSettings)
{
    updating = true;
    choices.chooseReference(newSettings.sync.referenceCylinder);
    comboCompare->setCurrentIndex(comboCompare->findData(int(newSettings.sync.source)));
    choices.setToleranceKPa(newSettings.sync.toleranceKPa);
    spinPeriod->setValue(newSettings.pollPeriodSeconds
                             ? int(std::lround(std::clamp(*newSettings.pollPeriodSeconds * 1000.0,
                                                          0.0, kMaxPollPeriodSeconds * 1000.0)))
                             : 0);
    updating = false;
    settingsChanged();
}

void AnalysisWindow::setBadLinePolicy(BadLinePolicy policy)
{
    checkSkipBadLines->setChecked(policy == BadLinePolicy::Skip);
}

void AnalysisWindow::setCalibrationApplied(bool applied)
{
    if (applied && !storedCalibration)
        showMessage(calibrationError.isEmpty() ? tr("No calibration is stored, so none is applied.")
                                               : calibrationError);
    checkCalibration->setChecked(applied && storedCalibration.has_value());
}

bool AnalysisWindow::openLogs(const QStringList &paths)
{
    QStringList messages;
    std::vector<Session> read;
    // Remembered even when none could be read, so that choosing to skip bad
    // lines reads them again.
    logPaths = paths.mid(0, 2);
    for (const QString &path : qAsConst(logPaths)) {
        ReadResult result = readLogFile(path, badLinePolicy());
        if (!result.ok()) {
            messages << result.errorText;
            continue;
        }
        if (result.session.skippedLines > 0) {
            messages << QStringLiteral("%1: %2.").arg(displayName(result.session),
                                                      skippedLinesText(result.session.skippedLines));
            for (const LineError &error : result.lineErrors) {
                if (messages.size() >= 6)
                    break;
                messages << lineErrorText(displayName(result.session), error);
            }
        }
        read.push_back(std::move(result.session));
    }
    if (paths.size() > 2)
        messages << tr(
            "Only two logs are compared at a time (before and after); the others were left out.");
    showMessage(messages.join(QLatin1Char('\n')));
    if (read.empty())
        return false;

    readSessions = std::move(read);
    updating = true;
    comboLog->clear();
    for (std::size_t i = 0; i < readSessions.size(); ++i) {
        QString name = displayName(readSessions[i]);
        if (readSessions.size() == 2)
            name = (i == 0 ? tr("Before: %1") : tr("After: %1")).arg(name);
        comboLog->addItem(name);
    }
    comboLog->setCurrentIndex(0);
    currentSession = 0;
    updating = false;
    applyCalibrationChoice();
    reanalyse(false);
    return true;
}

void AnalysisWindow::applyCalibrationChoice()
{
    // A calibrated copy only when one is applied; otherwise the sessions as
    // read are shown (a long log is not held twice).
    shownSessions.clear();
    if (checkCalibration->isChecked() && storedCalibration) {
        shownSessions = readSessions;
        for (Session &session : shownSessions)
            applyCalibration(session, *storedCalibration);
    }
}

void AnalysisWindow::reanalyse(bool keepRange)
{
    analyses.clear();
    const AnalysisSettings chosen = settings();
    for (const Session &session : shown())
        analyses.push_back(analyseSession(session, chosen));
    showAnalysis(keepRange);
}

void AnalysisWindow::showAnalysis(bool keepRange)
{
    const SessionAnalysis *analysis = currentAnalysis();
    if (!analysis)
        return;
    const Session &session = shown()[std::size_t(currentSession)];
    const Unit shownUnit = unit();
    const QLocale locale;
    const std::optional<double> period = analysis->settings.pollPeriodSeconds;

    showSessionInCharts(*pressureChart, *differenceChart, session, analysis->sync, period, shownUnit,
                        keepRange);
    differenceChart->setTitle(
        tr("Differences from cylinder %1, tolerance ±%2")
            .arg(analysis->sync.settings.referenceCylinder)
            .arg(formatValue(analysis->settings.sync.toleranceKPa, shownUnit, locale)));

    labelVerdict->setText(endingVerdict(analysis->sync, period, shownUnit, locale));
    labelPairs->setText(pairVerdict(analysis->pairs, analysis->settings.sync.toleranceKPa, period,
                                    shownUnit, locale));
    if (analysis->pulsationStandout) {
        labelPulsation->setText(pulsationNote(*analysis->pulsationStandout));
        labelPulsation->show();
    } else {
        labelPulsation->clear();
        labelPulsation->hide();
    }

    for (int c = 0; c < kCylinderCount; ++c) {
        const SeriesStatistics &stats = analysis->statistics[std::size_t(c)];
        const double values[5] = {stats.mean, stats.minimum, stats.maximum, stats.standardDeviation,
                                  analysis->sync.finalDifferencesKPa[std::size_t(c)]};
        for (int column = 0; column < 5; ++column) {
            auto *item = new QTableWidgetItem(formatValue(values[column], shownUnit, locale));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (column == 3 && analysis->pulsationStandout && *analysis->pulsationStandout == c + 1) {
                item->setForeground(QColor(0xb3, 0x59, 0x00));
                item->setToolTip(pulsationNote(c + 1));
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            tableStatistics->setItem(c, column, item);
        }
        const QString name = c + 1 == analysis->sync.settings.referenceCylinder
            ? tr("Cylinder %1 (reference)").arg(c + 1)
            : tr("Cylinder %1").arg(c + 1);
        tableStatistics->verticalHeaderItem(c)->setText(name);
    }

    QStringList stretches{inSyncLine(*analysis, locale), pairsInSyncLine(*analysis, locale)};
    if (!leftOutValuesText(*analysis).isEmpty())
        stretches << leftOutValuesText(*analysis);
    labelStretches->setText(stretches.join(QLatin1Char('\n')));

    QStringList status;
    status << displayName(session);
    if (analysis->recordedAt)
        status << savedText(*analysis->recordedAt);
    status << sessionLengthText(*analysis, locale);
    if (analysis->skippedLines > 0)
        status << skippedLinesText(analysis->skippedLines);
    if (!leftOutValuesText(*analysis).isEmpty())
        status << leftOutValuesText(*analysis);
    if (analysis->appliedCalibration)
        status << calibrationNote(*analysis->appliedCalibration);
    statusBar()->showMessage(status.join(QStringLiteral(" · ")));
}

void AnalysisWindow::showMessage(const QString &text)
{
    labelMessage->setText(text);
    labelMessage->setVisible(!text.isEmpty());
}

void AnalysisWindow::updateCalibrationLabel()
{
    checkCalibration->setEnabled(storedCalibration.has_value());
    labelCalibration->setToolTip(QString());
    if (!storedCalibration) {
        labelCalibration->setText(
            calibrationError.isEmpty()
                ? tr("No calibration stored. Record a log with all four sensors on "
                     "the same vacuum source and choose “Calibrate sensors from a log…”.")
                : tr("The stored calibration is unusable and is not applied. Record a log with "
                     "all four sensors on the same vacuum source and choose “Calibrate sensors "
                     "from a log…”."));
        labelCalibration->setToolTip(calibrationError);
        return;
    }
    const QLocale locale;
    QStringList offsets;
    for (int c = 0; c < kCylinderCount; ++c)
        offsets << QStringLiteral("%1: %2").arg(c + 1).arg(
            formatValue(storedCalibration->offsetsKPa[std::size_t(c)], unit(), locale));
    // A long file name would widen the panel over the graph: elided here,
    // whole in the tooltip.
    const QString source = labelCalibration->fontMetrics().elidedText(storedCalibration->sourceLog,
                                                                      Qt::ElideMiddle, 220);
    const QString text = tr("Calibration of %1 (%2); offsets %3.");
    labelCalibration->setText(text.arg(dateTimeText(storedCalibration->createdAt), source,
                                       offsets.join(QStringLiteral(", "))));
    if (source != storedCalibration->sourceLog)
        labelCalibration->setToolTip(text.arg(dateTimeText(storedCalibration->createdAt),
                                              storedCalibration->sourceLog,
                                              offsets.join(QStringLiteral(", "))));
}

void AnalysisWindow::chooseLogs()
{
    const QStringList paths =
        QFileDialog::getOpenFileNames(this, tr("Open one log, or two to compare before and after"),
                                      QString(), tr("Aspirello logs (*.txt);;All files (*)"));
    if (!paths.isEmpty())
        openLogs(paths);
}

bool AnalysisWindow::exportReport(const QString &path)
{
    const std::optional<ReportFormat> format = reportFormatForPath(path);
    if (!format) {
        showMessage(tr("%1: a report is written as .pdf, .png or .svg.").arg(path));
        return false;
    }
    if (analyses.empty()) {
        showMessage(tr("Open a log before exporting a report."));
        return false;
    }
    ReportContent content;
    content.unit = unit();
    for (std::size_t i = 0; i < shown().size(); ++i)
        content.sessions.push_back(ReportSession{&shown()[i], analyses[i]});
    QString error;
    if (!writeReport(path, *format, content, &error)) {
        showMessage(error);
        return false;
    }
    showMessage(QString());
    statusBar()->showMessage(tr("Report written to %1").arg(QDir::toNativeSeparators(path)), 10000);
    return true;
}

void AnalysisWindow::chooseReportFile()
{
    if (analyses.empty()) {
        showMessage(tr("Open a log before exporting a report."));
        return;
    }
    QString suggested = QFileInfo(shown().front().fileName).completeBaseName()
        + QStringLiteral(".pdf");
    QString selectedFilter;
    QString path = QFileDialog::getSaveFileName(
        this, tr("Export report"), suggested,
        tr("PDF document (*.pdf);;PNG image (*.png);;SVG drawing (*.svg)"), &selectedFilter);
    if (path.isEmpty())
        return;
    if (!reportFormatForPath(path)) {
        if (selectedFilter.contains(QLatin1String("*.png")))
            path += QStringLiteral(".png");
        else if (selectedFilter.contains(QLatin1String("*.svg")))
            path += QStringLiteral(".svg");
        else
            path += QStringLiteral(".pdf");
    }
    exportReport(path);
}

void AnalysisWindow::chooseCalibrationLog()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr("A log recorded with all four sensors on the same vacuum source"), QString(),
        tr("Aspirello logs (*.txt);;All files (*)"));
    if (!path.isEmpty())
        calibrateFrom(path);
}

bool AnalysisWindow::calibrateFrom(const QString &path)
{
    const ReadResult read = readLogFile(path, badLinePolicy());
    if (!read.ok()) {
        showMessage(read.errorText);
        return false;
    }
    const CalibrationResult result = computeCalibration(read.session, QDateTime::currentDateTime());
    if (!result.calibration) {
        showMessage(tr("Calibration refused: %1").arg(result.refusal));
        return false;
    }
    QString error;
    if (!saveCalibration(*result.calibration, calibrationFile, &error)) {
        showMessage(error);
        return false;
    }
    storedCalibration = result.calibration;
    calibrationError.clear();
    showMessage(QString());
    updateCalibrationLabel();
    // Applying it stays the user's choice; when it was applied already, the
    // new offsets take the old ones' place.
    if (checkCalibration->isChecked())
        calibrationChoiceChanged();
    return true;
}

void AnalysisWindow::unitChanged()
{
    updating = true;
    choices.showTolerance();
    updating = false;
    updateCalibrationLabel();
    showAnalysis(true);
}

void AnalysisWindow::settingsChanged()
{
    if (updating)
        return;
    reanalyse(true);
}

void AnalysisWindow::badLinePolicyChanged()
{
    if (!logPaths.isEmpty())
        openLogs(QStringList(logPaths));
}

void AnalysisWindow::calibrationChoiceChanged()
{
    if (readSessions.empty())
        return;
    applyCalibrationChoice();
    reanalyse(true);
}

void AnalysisWindow::sessionChosen()
{
    if (updating)
        return;
    currentSession = comboLog->currentIndex();
    showAnalysis(false);
}

void AnalysisWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QMimeData *mime = event->mimeData();
    if (!mime->hasUrls())
        return;
    const QList<QUrl> urls = mime->urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void AnalysisWindow::dropEvent(QDropEvent *event)
{
    QStringList paths;
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    openLogs(paths);
}

LiveWindow *AnalysisWindow::openLiveWindow()
{
    if (!liveWindow) {
        liveWindow =
            new LiveWindow(QDir::currentPath(), LiveWindow::presetsPathBeside(calibrationFile), this);
        liveWindow->setWindowFlag(Qt::Window);
        liveWindow->setUnit(unit());
        LiveSettings live;
        live.referenceCylinder = choices.chosenReference();
        live.toleranceKPa = choices.toleranceKPa;
        liveWindow->setLiveSettings(live);
        // The captures' before/after pair, opened here: the report is one click on.
        connect(liveWindow, &LiveWindow::compareRequested, this, [this](const QStringList &logs) {
            openLogs(logs);
            raise();
            activateWindow();
        });
    }
    liveWindow->show();
    liveWindow->raise();
    return liveWindow;
}

LiveWindow *AnalysisWindow::openLiveWindow(const LiveCommand &command,
                                           std::optional<double> pollPeriodSeconds)
{
    LiveWindow *window = openLiveWindow();
    LiveSettings settings = command.settings;
    window->setLiveSettings(settings);
    if (pollPeriodSeconds)
        window->setPollPeriodMs(int(std::lround(*pollPeriodSeconds * 1000.0)));
    if (command.isLive())
        window->connectBoard(command.port);
    return window;
}
