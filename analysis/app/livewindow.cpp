#include "livewindow.h"

#include "cylindercolours.h"
#include "livebars.h"
#include "livewaveform.h"
#include "usermessages.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The presets as a table the user edits: name, reference, tolerance in the
// unit shown. Rows that are not complete are left out on OK.
bool editPresetTable(QWidget *parent, std::vector<WorkshopPreset> &presets, Unit unit)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dialogPresets"));
    dialog.setWindowTitle(LiveWindow::tr("Workshop presets"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *table = new QTableWidget(int(presets.size()), 3, &dialog);
    table->setObjectName(QStringLiteral("tablePresets"));
    table->setHorizontalHeaderLabels({LiveWindow::tr("Name"), LiveWindow::tr("Reference cylinder"),
                                      LiveWindow::tr("Tolerance ± (%1)").arg(unitSymbol(unit))});
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    const auto setRow = [table, unit](int row, const WorkshopPreset &preset) {
        table->setItem(row, 0, new QTableWidgetItem(preset.name));
        table->setItem(row, 1, new QTableWidgetItem(QString::number(preset.referenceCylinder)));
        table->setItem(row, 2,
                       new QTableWidgetItem(formatNumber(preset.toleranceKPa, unit, QLocale())));
    };
    for (int row = 0; row < int(presets.size()); ++row)
        setRow(row, presets[std::size_t(row)]);
    layout->addWidget(table);
    auto *rowButtons = new QHBoxLayout;
    auto *add = new QPushButton(LiveWindow::tr("Add"), &dialog);
    add->setObjectName(QStringLiteral("buttonAddPreset"));
    auto *remove = new QPushButton(LiveWindow::tr("Remove"), &dialog);
    remove->setObjectName(QStringLiteral("buttonRemovePreset"));
    rowButtons->addWidget(add);
    rowButtons->addWidget(remove);
    rowButtons->addStretch();
    layout->addLayout(rowButtons);
    QObject::connect(add, &QPushButton::clicked, table, [table, setRow] {
        const int row = table->rowCount();
        table->insertRow(row);
        setRow(row, WorkshopPreset{QString(), kDefaultReferenceCylinder, kDefaultToleranceKPa});
        table->editItem(table->item(row, 0));
    });
    QObject::connect(remove, &QPushButton::clicked, table, [table] {
        if (table->currentRow() >= 0)
            table->removeRow(table->currentRow());
    });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(640, 300);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    std::vector<WorkshopPreset> edited;
    const QLocale locale;
    for (int row = 0; row < table->rowCount(); ++row) {
        const auto text = [table, row](int column) {
            return table->item(row, column) ? table->item(row, column)->text().trimmed() : QString();
        };
        bool referenceOk = false, toleranceOk = false;
        WorkshopPreset preset;
        preset.name = text(0);
        preset.referenceCylinder = text(1).toInt(&referenceOk);
        double tolerance = locale.toDouble(text(2), &toleranceOk);
        if (!toleranceOk)
            tolerance = QLocale::c().toDouble(text(2), &toleranceOk);
        preset.toleranceKPa = toKPa(tolerance, unit);
        if (!referenceOk || !toleranceOk || !isSoundPreset(preset))
            continue;
        edited.push_back(preset);
    }
    presets = edited;
    return true;
}

QFont scaledFont(const QFont &base, double factor, bool bold)
{
    QFont font = base;
    font.setPointSizeF(std::max(1.0, base.pointSizeF()) * factor);
    font.setBold(bold);
    return font;
}

} // namespace

QString LiveWindow::presetsPathBeside(const QString &calibrationPath)
{
    if (calibrationPath.isEmpty())
        return QString();
    return QFileInfo(calibrationPath).dir().filePath(QStringLiteral("presets.ini"));
}

LiveWindow::LiveWindow(const QString &folder, const QString &presetsPath, QWidget *parent)
    : QMainWindow(parent)
    , captureFolder(folder)
    , configuration(presetsPath.isEmpty()
                        ? std::make_unique<QSettings>()
                        : std::make_unique<QSettings>(presetsPath, QSettings::IniFormat))
{
    setObjectName(QStringLiteral("LiveWindow"));
    setWindowTitle(tr("Aspirello Analisi: tuning live"));
    workshopPresets = loadPresets(*configuration);
    buildForm();
    connect(&source, &LiveSource::frameReceived, this, &LiveWindow::frameReceived);
    connect(&source, &LiveSource::problemChanged, this, &LiveWindow::showProblem);
    connect(&source, &LiveSource::lost, this, &LiveWindow::boardLost);
    refreshTimer.setInterval(kRefreshMs);
    refreshTimer.setSingleShot(true);
    connect(&refreshTimer, &QTimer::timeout, this, &LiveWindow::refresh);
    sinceRefresh.start();
    settingsChosen();
    resize(1100, 800);
}

LiveWindow::~LiveWindow()
{
    disconnectBoard();
}

void LiveWindow::buildForm()
{
    QToolBar *tools = addToolBar(tr("Board"));
    tools->setObjectName(QStringLiteral("toolBarLive"));
    tools->setMovable(false);
    tools->addWidget(new QLabel(tr("Port:"), tools));
    comboPort = new QComboBox(tools);
    comboPort->setObjectName(QStringLiteral("comboPort"));
    comboPort->setEditable(true);
    comboPort->setMinimumContentsLength(14);
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        comboPort->addItem(port.portName());
    comboPort->setToolTip(tr("The board's serial port, or a device path"));
    tools->addWidget(comboPort);
    tools->addWidget(new QLabel(tr(" every "), tools));
    spinPoll = new QSpinBox(tools);
    spinPoll->setObjectName(QStringLiteral("spinPoll"));
    spinPoll->setRange(LiveSource::kShortestPollMs, LiveSource::kLongestPollMs);
    spinPoll->setValue(LiveSource::kDefaultPollMs);
    spinPoll->setSuffix(tr(" ms"));
    tools->addWidget(spinPoll);
    buttonConnect = new QPushButton(tr("Connect"), tools);
    buttonConnect->setObjectName(QStringLiteral("buttonConnect"));
    tools->addWidget(buttonConnect);
    tools->addSeparator();
    buttonBefore = new QPushButton(tr("Before"), tools);
    buttonBefore->setObjectName(QStringLiteral("buttonBefore"));
    buttonBefore->setCheckable(true);
    buttonBefore->setToolTip(tr("Record the session before tuning; press again to save it as a log"));
    tools->addWidget(buttonBefore);
    buttonAfter = new QPushButton(tr("After"), tools);
    buttonAfter->setObjectName(QStringLiteral("buttonAfter"));
    buttonAfter->setCheckable(true);
    buttonAfter->setToolTip(tr("Record the session after tuning; press again to save it as a log"));
    tools->addWidget(buttonAfter);
    buttonCompare = new QPushButton(tr("Compare before and after"), tools);
    buttonCompare->setObjectName(QStringLiteral("buttonCompare"));
    buttonCompare->setEnabled(false);
    tools->addWidget(buttonCompare);
    tools->addSeparator();
    actionFullScreen = tools->addAction(tr("Full screen"));
    actionFullScreen->setObjectName(QStringLiteral("actionFullScreen"));
    actionFullScreen->setCheckable(true);
    actionFullScreen->setShortcut(QKeySequence(Qt::Key_F11));
    connect(actionFullScreen, &QAction::toggled, this, [this](bool full) {
        if (full)
            showFullScreen();
        else
            showNormal();
    });

    auto *central = new QWidget(this);
    auto *outer = new QHBoxLayout(central);
    auto *controls = new QGroupBox(tr("Tuning"), central);
    controls->setObjectName(QStringLiteral("groupTuning"));
    auto *form = new QFormLayout(controls);
    comboPreset = new QComboBox(controls);
    comboPreset->setObjectName(QStringLiteral("comboPreset"));
    comboPreset->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    comboPreset->setMinimumContentsLength(16);
    form->addRow(tr("Preset:"), comboPreset);
    auto *editPresetsButton = new QPushButton(tr("Edit presets…"), controls);
    editPresetsButton->setObjectName(QStringLiteral("buttonEditPresets"));
    form->addRow(editPresetsButton);
    form->addRow(tr("Unit:"), choices.makeUnitBox(controls));
    form->addRow(tr("Reference:"), choices.makeReferenceBox(controls, tr("Cylinder %1")));
    form->addRow(tr("Tolerance:"), choices.makeToleranceBox(controls));
    comboComparison = new QComboBox(controls);
    comboComparison->setObjectName(QStringLiteral("comboComparison"));
    comboComparison->addItem(tr("Each cylinder against the reference"),
                             int(LiveComparison::Reference));
    comboComparison->addItem(tr("Cylinder 1 against 2"), int(LiveComparison::Cylinders1And2));
    comboComparison->addItem(tr("Cylinder 3 against 4"), int(LiveComparison::Cylinders3And4));
    comboComparison->addItem(tr("Pair 1+2 against 3+4"), int(LiveComparison::Pairs));
    comboComparison->addItem(tr("Linkage screws: 1–2, 1+2–3+4, 3–4"),
                             int(LiveComparison::LinkageScrews));
    form->addRow(tr("Compare:"), comboComparison);
    comboCycle = new QComboBox(controls);
    comboCycle->setObjectName(QStringLiteral("comboCycle"));
    comboCycle->addItem(tr("Mean of each engine cycle"), int(CycleValue::Mean));
    comboCycle->addItem(tr("Minimum of each engine cycle"), int(CycleValue::Minimum));
    form->addRow(tr("Per cycle:"), comboCycle);
    spinDamping = new QDoubleSpinBox(controls);
    spinDamping->setObjectName(QStringLiteral("spinDamping"));
    spinDamping->setRange(kShortestDampingSeconds, kLongestDampingSeconds);
    spinDamping->setDecimals(1);
    spinDamping->setSingleStep(0.1);
    spinDamping->setValue(kDefaultDampingSeconds);
    spinDamping->setSuffix(tr(" s"));
    form->addRow(tr("Damping:"), spinDamping);
    comboZoom = new QComboBox(controls);
    comboZoom->setObjectName(QStringLiteral("comboZoom"));
    comboZoom->addItem(tr("Automatic"));
    comboZoom->addItem(tr("Fixed"));
    form->addRow(tr("Scale:"), comboZoom);
    spinRange = new QDoubleSpinBox(controls);
    spinRange->setObjectName(QStringLiteral("spinRange"));
    spinRange->setPrefix(QStringLiteral("± "));
    spinRange->setEnabled(false);
    form->addRow(tr("Scale range:"), spinRange);
    labelDamping = new QLabel(controls);
    labelDamping->setObjectName(QStringLiteral("labelDamping"));
    labelDamping->setWordWrap(true);
    form->addRow(labelDamping);
    controls->setMaximumWidth(340);
    outer->addWidget(controls);

    auto *results = new QWidget(central);
    auto *column = new QVBoxLayout(results);
    column->setContentsMargins(0, 0, 0, 0);
    labelProblem = new QLabel(results);
    labelProblem->setObjectName(QStringLiteral("labelProblem"));
    labelProblem->setWordWrap(true);
    labelProblem->setStyleSheet(QStringLiteral("color: #b00020"));
    labelProblem->hide();
    column->addWidget(labelProblem);
    labelVerdict = new QLabel(results);
    labelVerdict->setObjectName(QStringLiteral("labelLiveVerdict"));
    labelVerdict->setAlignment(Qt::AlignCenter);
    labelVerdict->setFont(scaledFont(font(), 4.0, true));
    labelVerdict->setAutoFillBackground(true);
    labelVerdict->setMinimumHeight(QFontMetrics(labelVerdict->font()).height() + 16);
    column->addWidget(labelVerdict);
    auto *line = new QHBoxLayout;
    labelHeld = new QLabel(results);
    labelHeld->setObjectName(QStringLiteral("labelHeld"));
    labelHeld->setFont(scaledFont(font(), 1.6, true));
    line->addWidget(labelHeld);
    line->addStretch();
    labelSpeed = new QLabel(results);
    labelSpeed->setObjectName(QStringLiteral("labelSpeed"));
    labelSpeed->setFont(scaledFont(font(), 1.6, true));
    labelSpeed->setWordWrap(true);
    labelSpeed->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    line->addWidget(labelSpeed, 1);
    column->addLayout(line);
    labelDrift = new QLabel(results);
    labelDrift->setObjectName(QStringLiteral("labelDrift"));
    labelDrift->setWordWrap(true);
    labelDrift->setStyleSheet(QStringLiteral("color: #b35900"));
    labelDrift->hide();
    column->addWidget(labelDrift);
    auto *splitter = new QSplitter(Qt::Vertical, results);
    bars = new LiveBars(splitter);
    bars->setObjectName(QStringLiteral("liveBars"));
    waveform = new LiveWaveform(splitter);
    waveform->setObjectName(QStringLiteral("liveWaveform"));
    splitter->addWidget(bars);
    splitter->addWidget(waveform);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    column->addWidget(splitter, 1);
    outer->addWidget(results, 1);
    setCentralWidget(central);

    updating = true;
    choices.showTolerance();
    spinRange->setDecimals(unitDecimals(Unit::KPa));
    spinRange->setRange(0.1, 100.0);
    spinRange->setValue(5.0);
    fillPresets();
    updating = false;

    connect(buttonConnect, &QPushButton::clicked, this, &LiveWindow::toggleConnection);
    connect(spinPoll, qOverload<int>(&QSpinBox::valueChanged), &source, &LiveSource::setPollPeriodMs);
    connect(buttonBefore, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            startCapture(false);
        else if (capturing == Capture::Before)
            finishCapture();
    });
    connect(buttonAfter, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            startCapture(true);
        else if (capturing == Capture::After)
            finishCapture();
    });
    connect(buttonCompare, &QPushButton::clicked, this, [this] {
        emit compareRequested({beforePath, afterPath});
    });
    connect(editPresetsButton, &QPushButton::clicked, this, &LiveWindow::editPresets);
    connect(comboPreset, qOverload<int>(&QComboBox::activated), this, &LiveWindow::presetChosen);
    connect(choices.unit, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &LiveWindow::unitChosen);
    for (QComboBox *combo : {choices.reference, comboComparison, comboCycle})
        connect(combo, qOverload<int>(&QComboBox::currentIndexChanged), this,
                &LiveWindow::settingsChosen);
    connect(spinDamping, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &LiveWindow::settingsChosen);
    connect(choices.tolerance, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &LiveWindow::toleranceChosen);
    connect(comboZoom, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &LiveWindow::zoomChosen);
    connect(spinRange, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &LiveWindow::zoomChosen);
    updateConnectionLook();
}

Unit LiveWindow::unit() const
{
    return choices.chosenUnit();
}

void LiveWindow::toleranceChosen()
{
    if (updating)
        return;
    choices.takeShownTolerance();
    settingsChosen();
}

LiveSettings LiveWindow::liveSettings() const
{
    LiveSettings settings;
    settings.referenceCylinder = choices.chosenReference();
    settings.toleranceKPa = choices.toleranceKPa;
    settings.comparison = LiveComparison(comboComparison->currentData().toInt());
    settings.cycleValue = CycleValue(comboCycle->currentData().toInt());
    settings.dampingSeconds = spinDamping->value();
    return settings;
}

void LiveWindow::setLiveSettings(const LiveSettings &settings)
{
    updating = true;
    choices.chooseReference(settings.referenceCylinder);
    choices.setToleranceKPa(settings.toleranceKPa);
    comboComparison->setCurrentIndex(comboComparison->findData(int(settings.comparison)));
    comboCycle->setCurrentIndex(comboCycle->findData(int(settings.cycleValue)));
    spinDamping->setValue(settings.dampingSeconds);
    updating = false;
    settingsChosen();
}

void LiveWindow::setUnit(Unit newUnit)
{
    choices.chooseUnit(newUnit);
}

void LiveWindow::setPollPeriodMs(int ms)
{
    spinPoll->setValue(ms);
}

void LiveWindow::settingsChosen()
{
    if (updating)
        return;
    live.setSettings(liveSettings());
    labelDamping->setText(
        tr("Bars damped with a time constant of %1 s; each follows the %2 of "
           "the last engine cycle.")
            .arg(QLocale().toString(live.settings().dampingSeconds, 'f', 1),
                 live.settings().cycleValue == CycleValue::Mean ? tr("mean") : tr("minimum")));
    // The preset shown is the one the choices match, if any.
    int match = 0;
    for (std::size_t i = 0; i < workshopPresets.size(); ++i) {
        if (workshopPresets[i].referenceCylinder == live.settings().referenceCylinder
            && std::fabs(workshopPresets[i].toleranceKPa - choices.toleranceKPa) < 1e-9)
            match = int(i) + 1;
    }
    comboPreset->setCurrentIndex(match);
    fresh = true;
    refresh();
}

void LiveWindow::unitChosen()
{
    const Unit shown = unit();
    updating = true;
    choices.showTolerance();
    choices.tolerance->setSuffix(QLatin1Char(' ') + unitSymbol(shown));
    const double range = toKPa(spinRange->value(), Unit(spinRange->property("unit").toInt()));
    spinRange->setDecimals(unitDecimals(shown));
    spinRange->setRange(fromKPa(0.1, shown), fromKPa(100.0, shown));
    spinRange->setSuffix(QLatin1Char(' ') + unitSymbol(shown));
    spinRange->setValue(fromKPa(range, shown));
    spinRange->setProperty("unit", int(shown));
    updating = false;
    bars->setUnit(shown);
    zoomChosen();
    fresh = true;
    refresh();
}

void LiveWindow::zoomChosen()
{
    if (updating)
        return;
    const bool fixed = comboZoom->currentIndex() == 1;
    spinRange->setEnabled(fixed);
    bars->setFixedRange(fixed ? std::optional<double>(toKPa(spinRange->value(), unit()))
                              : std::nullopt);
}

void LiveWindow::fillPresets()
{
    const bool was = updating;
    updating = true;
    comboPreset->clear();
    comboPreset->addItem(tr("(own choice)"));
    for (const WorkshopPreset &preset : workshopPresets)
        comboPreset->addItem(preset.name);
    updating = was;
}

void LiveWindow::presetChosen()
{
    const int index = comboPreset->currentIndex() - 1;
    if (index < 0 || index >= int(workshopPresets.size()))
        return;
    const WorkshopPreset &preset = workshopPresets[std::size_t(index)];
    LiveSettings settings = liveSettings();
    settings.referenceCylinder = preset.referenceCylinder;
    settings.toleranceKPa = preset.toleranceKPa;
    setLiveSettings(settings);
}

void LiveWindow::setPresets(const std::vector<WorkshopPreset> &presets)
{
    workshopPresets = presets;
    savePresets(*configuration, workshopPresets);
    fillPresets();
    settingsChosen();
}

void LiveWindow::editPresets()
{
    std::vector<WorkshopPreset> edited = workshopPresets;
    if (editPresetTable(this, edited, unit()))
        setPresets(edited);
}

void LiveWindow::toggleConnection()
{
    if (source.isOpen())
        disconnectBoard();
    else
        connectBoard(comboPort->currentText().trimmed());
}

bool LiveWindow::connectBoard(const QString &portName)
{
    if (comboPort->currentText() != portName)
        comboPort->setCurrentText(portName);
    source.setPollPeriodMs(spinPoll->value());
    QString error;
    if (!source.open(portName, &error)) {
        showProblem(error);
        updateConnectionLook();
        return false;
    }
    live.reset();
    waveform->clear();
    showProblem(QString());
    statusBar()->showMessage(tr("Connected to %1").arg(source.portName()));
    updateConnectionLook();
    return true;
}

void LiveWindow::disconnectBoard()
{
    if (capturing != Capture::None)
        finishCapture();
    source.close();
    updateConnectionLook();
}

void LiveWindow::boardLost(const QString &text)
{
    // What a capture holds is saved, not lost with the board.
    if (capturing != Capture::None)
        finishCapture();
    showProblem(text);
    updateConnectionLook();
}

void LiveWindow::updateConnectionLook()
{
    const bool open = source.isOpen();
    buttonConnect->setText(open ? tr("Disconnect") : tr("Connect"));
    comboPort->setEnabled(!open);
    buttonBefore->setEnabled(open || capturing == Capture::Before);
    buttonAfter->setEnabled(open || capturing == Capture::After);
    buttonCompare->setEnabled(!beforePath.isEmpty() && !afterPath.isEmpty());
}

void LiveWindow::showProblem(const QString &text)
{
    labelProblem->setText(text);
    labelProblem->setVisible(!text.isEmpty());
}

void LiveWindow::startCapture(bool after)
{
    if (capturing != Capture::None)
        finishCapture();
    capture.clear();
    capturing = after ? Capture::After : Capture::Before;
    QPushButton *other = after ? buttonBefore : buttonAfter;
    const QSignalBlocker blocker(other);
    other->setChecked(false);
    statusBar()->showMessage(after ? tr("Recording “After”…") : tr("Recording “Before”…"));
}

void LiveWindow::finishCapture()
{
    const Capture finished = capturing;
    capturing = Capture::None;
    for (QPushButton *button : {buttonBefore, buttonAfter}) {
        const QSignalBlocker blocker(button);
        button->setChecked(false);
    }
    if (capture.readingCount() == 0) {
        statusBar()->showMessage(tr("Nothing recorded: no reading came from the board."));
        updateConnectionLook();
        return;
    }
    const CaptureSave saved = saveRecording(capture, captureFolder, QDateTime::currentDateTime());
    if (!saved.saved) {
        showProblem(saved.error);
        updateConnectionLook();
        return;
    }
    (finished == Capture::After ? afterPath : beforePath) = saved.path;
    statusBar()->showMessage(
        (finished == Capture::After ? tr("“After” saved to %1") : tr("“Before” saved to %1"))
            .arg(QDir::toNativeSeparators(saved.path)));
    updateConnectionLook();
}

void LiveWindow::frameReceived(const MeasurementFrame &frame, double seconds)
{
    live.addFrame(seconds, frame.readings);
    waveform->addFrame(seconds, frame.readings);
    if (capturing != Capture::None && !capture.add(frame.readings) && capture.isFull()) {
        showProblem(logFullMessage());
        finishCapture();
    }
    fresh = true;
    if (sinceRefresh.elapsed() >= kRefreshMs)
        refresh();
    else if (!refreshTimer.isActive())
        refreshTimer.start();
}

void LiveWindow::refresh()
{
    if (!fresh)
        return;
    fresh = false;
    sinceRefresh.restart();
    bars->setBars(live.bars(), live.settings().toleranceKPa);
    waveform->refresh();
    const LiveVerdict &verdict = live.verdict();
    const QString title = verdict.hasReadings() ? liveVerdictTitle(verdict.inSync())
                                                : QStringLiteral("—");
    if (labelVerdict->text() != title) {
        labelVerdict->setText(title);
        QPalette colours = labelVerdict->palette();
        colours.setColor(QPalette::Window,
                         !verdict.hasReadings() ? palette().color(QPalette::Window)
                             : verdict.inSync() ? withinToleranceColour()
                                                : outsideToleranceColour());
        colours.setColor(QPalette::WindowText,
                         verdict.hasReadings() ? QColor(Qt::white)
                                               : palette().color(QPalette::WindowText));
        labelVerdict->setPalette(colours);
    }
    const QString held = liveVerdictHeldText(verdict);
    if (labelHeld->text() != held)
        labelHeld->setText(held);
    const QString speed = tr("Engine speed: %1").arg(engineSpeedText(live.engineSpeed()));
    if (labelSpeed->text() != speed)
        labelSpeed->setText(speed);
    const QString drift = idleDriftText(live.engineSpeed());
    if (labelDrift->text() != drift) {
        labelDrift->setText(drift);
        labelDrift->setVisible(!drift.isEmpty());
    }
}

void LiveWindow::closeEvent(QCloseEvent *event)
{
    disconnectBoard();
    QMainWindow::closeEvent(event);
}
