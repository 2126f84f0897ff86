// Builds the main window's form: every object, its name, its place and its
// initial properties, in the order of creation.
#include "form/mainwindowform.h"

#include "deviceprotocol.h"
#include "measure/runningaverage.h"

#include <QAction>
#include <QBrush>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QCursor>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLCDNumber>
#include <QLabel>
#include <QMainWindow>
#include <QMetaObject>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QRect>
#include <QSpinBox>
#include <QStatusBar>
#include <QString>
#include <QTabWidget>
#include <QToolBar>
#include <QVariant>
#include <QWidget>

namespace {

// Constructs a child of the given class on parent, names it and places it.
template <typename W>
W *place(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    W *widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(QRect(x, y, w, h));
    return widget;
}

// Constructs a push button with the hand cursor and the given checkability.
QPushButton *handButton(QWidget *parent, const char *name, int x, int y, int w, int h, bool checkable)
{
    QPushButton *button = place<QPushButton>(parent, name, x, y, w, h);
    button->setCursor(QCursor(Qt::PointingHandCursor));
    button->setCheckable(checkable);
    return button;
}

// The display set of the 16 measurement displays.
QLCDNumber *display(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    QLCDNumber *lcd = place<QLCDNumber>(parent, name, x, y, w, h);
    lcd->setSmallDecimalPoint(true);
    lcd->setDigitCount(8);
    lcd->setSegmentStyle(QLCDNumber::Flat);
    lcd->setProperty("value", QVariant(0.0));
    lcd->setProperty("intValue", QVariant(0));
    return lcd;
}

// The bar set of the 8 bar gauges; the palette goes first.
QProgressBar *bar(QWidget *parent, const char *name, int x, int y, int w, int h,
                  const QPalette &palette)
{
    QProgressBar *gauge = place<QProgressBar>(parent, name, x, y, w, h);
    gauge->setPalette(palette);
    gauge->setMinimum(-50);
    gauge->setMaximum(1);
    gauge->setValue(-24);
    gauge->setOrientation(Qt::Vertical);
    return gauge;
}

// An integer spin box with its range and starting value. Media and MedInt
// are too narrow for their widest values beside arrow buttons, so they go
// without: they still step with the arrow keys, Page Up/Down and the wheel.
QSpinBox *spin(QWidget *parent, const char *name, int x, int y, int w, int h, int minimum,
               int maximum, int value)
{
    QSpinBox *box = place<QSpinBox>(parent, name, x, y, w, h);
    box->setMinimum(minimum);
    box->setMaximum(maximum);
    box->setValue(value);
    return box;
}

// The bar palette: the default palette with 15 roles set in all three
// colour groups from nine solid, opaque brushes made once.
QPalette barPalette()
{
    auto solid = [](int r, int g, int b) {
        QBrush brush(QColor(r, g, b, 255));
        brush.setStyle(Qt::SolidPattern);
        return brush;
    };
    const QBrush black = solid(0, 0, 0);
    const QBrush blue = solid(0, 3, 181);
    const QBrush light = solid(16, 20, 255);
    const QBrush midlight = solid(8, 11, 218);
    const QBrush dark = solid(0, 1, 90);
    const QBrush mid = solid(0, 2, 121);
    const QBrush white = solid(255, 255, 255);
    const QBrush alternate = solid(127, 129, 218);
    const QBrush toolTip = solid(255, 255, 220);

    struct Entry
    {
        QPalette::ColorRole role;
        const QBrush *active; // also the inactive brush
        const QBrush *disabled;
    };
    const Entry entries[] = {
        {QPalette::WindowText, &black, &dark},
        {QPalette::Button, &blue, &blue},
        {QPalette::Light, &light, &light},
        {QPalette::Midlight, &midlight, &midlight},
        {QPalette::Dark, &dark, &dark},
        {QPalette::Mid, &mid, &mid},
        {QPalette::Text, &black, &dark},
        {QPalette::BrightText, &white, &white},
        {QPalette::ButtonText, &black, &dark},
        {QPalette::Base, &white, &blue},
        {QPalette::Window, &blue, &blue},
        {QPalette::Shadow, &black, &black},
        {QPalette::AlternateBase, &alternate, &blue},
        {QPalette::ToolTipBase, &toolTip, &toolTip},
        {QPalette::ToolTipText, &black, &black},
    };

    QPalette palette;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (const Entry &entry : entries) {
            const QBrush *brush = group == QPalette::Disabled ? entry.disabled : entry.active;
            palette.setBrush(group, entry.role, *brush);
        }
    }
    return palette;
}

} // namespace

void setupForm(MainWindowForm *form, QMainWindow *window)
{
    // The window itself.
    if (window->objectName().isEmpty())
        window->setObjectName(QString::fromLatin1("MainWindow"));
    window->resize(1291, 903);
    window->setCursor(QCursor(Qt::ArrowCursor));
    window->setAcceptDrops(false);
    window->setToolButtonStyle(Qt::ToolButtonIconOnly);
    window->setTabShape(QTabWidget::Rounded);

    // The action and the central widget.
    form->actionAvanzate = new QAction(window);
    form->actionAvanzate->setObjectName(QString::fromLatin1("actionAvanzate"));
    form->centralWidget = new QWidget(window);
    form->centralWidget->setObjectName(QString::fromLatin1("centralWidget"));

    // Every widget, each created after its parent; siblings in the order
    // that gives their stacking and focus order.
    // Lower band: readings and running averages.
    form->groupBox_6 = place<QGroupBox>(form->centralWidget, "groupBox_6", 10, 90, 1361, 771);
    form->groupBox_9 = place<QGroupBox>(form->groupBox_6, "groupBox_9", 10, 20, 591, 741);
    form->groupBox_8 = place<QGroupBox>(form->groupBox_9, "groupBox_8", 10, 20, 571, 61);
    form->A = display(form->groupBox_8, "A", 10, 20, 141, 31);
    form->C = display(form->groupBox_8, "C", 300, 20, 131, 31);
    form->D = display(form->groupBox_8, "D", 440, 20, 131, 31);
    form->B = display(form->groupBox_8, "B", 160, 20, 131, 31);
    form->groupBox_10 = place<QGroupBox>(form->groupBox_9, "groupBox_10", 10, 670, 651, 61);
    form->AD = display(form->groupBox_10, "AD", 10, 20, 131, 31);
    form->CD = display(form->groupBox_10, "CD", 290, 20, 131, 31);
    form->BD = display(form->groupBox_10, "BD", 150, 20, 131, 31);
    form->DD = display(form->groupBox_10, "DD", 430, 20, 131, 31);

    // One palette, built when the first bar is set up, shared by all eight.
    form->groupBox_3 = place<QGroupBox>(form->groupBox_9, "groupBox_3", 20, 80, 141, 581);
    const QPalette palette = barPalette();
    form->BA = bar(form->groupBox_3, "BA", 10, 20, 121, 551, palette);
    form->groupBox_4 = place<QGroupBox>(form->groupBox_9, "groupBox_4", 160, 80, 141, 581);
    form->BB = bar(form->groupBox_4, "BB", 10, 20, 121, 551, palette);
    form->groupBox_5 = place<QGroupBox>(form->groupBox_9, "groupBox_5", 300, 80, 141, 581);
    form->BC = bar(form->groupBox_5, "BC", 10, 20, 121, 551, palette);
    form->groupBox_7 = place<QGroupBox>(form->groupBox_9, "groupBox_7", 440, 80, 141, 581);
    form->BAD = bar(form->groupBox_7, "BAD", 10, 20, 121, 551, palette);

    form->groupBox_11 = place<QGroupBox>(form->groupBox_6, "groupBox_11", 610, 10, 661, 741);
    form->groupBox_20 = place<QGroupBox>(form->groupBox_11, "groupBox_20", 10, 20, 651, 71);
    form->AM = display(form->groupBox_20, "AM", 10, 20, 151, 41);
    form->CM = display(form->groupBox_20, "CM", 330, 20, 151, 41);
    form->DM = display(form->groupBox_20, "DM", 490, 20, 151, 41);
    form->BM = display(form->groupBox_20, "BM", 170, 20, 151, 41);
    form->groupBox_21 = place<QGroupBox>(form->groupBox_11, "groupBox_21", 20, 670, 631, 61);
    form->AMD = display(form->groupBox_21, "AMD", 10, 20, 141, 31);
    form->CMD = display(form->groupBox_21, "CMD", 320, 20, 151, 31);
    form->BMD = display(form->groupBox_21, "BMD", 160, 20, 151, 31);
    form->DMD = display(form->groupBox_21, "DMD", 480, 20, 141, 31);
    form->groupBox_14 = place<QGroupBox>(form->groupBox_11, "groupBox_14", 20, 90, 151, 581);
    form->BAM = bar(form->groupBox_14, "BAM", 10, 20, 131, 551, palette);
    form->groupBox_15 = place<QGroupBox>(form->groupBox_11, "groupBox_15", 180, 90, 151, 581);
    form->BBM = bar(form->groupBox_15, "BBM", 10, 20, 131, 551, palette);
    form->groupBox_19 = place<QGroupBox>(form->groupBox_11, "groupBox_19", 340, 90, 151, 581);
    form->BCM = bar(form->groupBox_19, "BCM", 10, 20, 131, 551, palette);
    form->groupBox_22 = place<QGroupBox>(form->groupBox_11, "groupBox_22", 500, 90, 151, 581);
    form->BDM = bar(form->groupBox_22, "BDM", 10, 20, 131, 551, palette);
    form->label_13 = place<QLabel>(form->groupBox_6, "label_13", 360, 750, 451, 21);

    // Top band: controls.
    form->groupBox_2 = place<QGroupBox>(form->centralWidget, "groupBox_2", 10, 0, 1361, 91);
    form->groupBox_13 = place<QGroupBox>(form->groupBox_2, "groupBox_13", 10, 20, 151, 61);
    form->label_5 = place<QLabel>(form->groupBox_13, "label_5", 15, 25, 90, 20);
    form->Scegli = place<QComboBox>(form->groupBox_13, "Scegli", 82, 20, 50, 31);
    form->Scegli->setEditable(true);

    form->groupBox_16 = place<QGroupBox>(form->groupBox_2, "groupBox_16", 170, 20, 401, 61);
    form->push_start_data = handButton(form->groupBox_16, "push_start_data", 340, 13, 51, 42, true);
    form->label_8 = place<QLabel>(form->groupBox_16, "label_8", 300, 24, 31, 20);
    form->check_timer = place<QCheckBox>(form->groupBox_16, "check_timer", 141, 19, 111, 31);
    form->combo_serial = place<QComboBox>(form->groupBox_16, "combo_serial", 7, 20, 71, 31);
    form->combo_serial->setCursor(QCursor(Qt::PointingHandCursor));
    form->push_serial_connect =
        handButton(form->groupBox_16, "push_serial_connect", 84, 20, 51, 31, true);
    form->spin_ms_timer = spin(form->groupBox_16, "spin_ms_timer", 250, 24, 41, 22, kShortestPollMs,
                               kLongestPollMs, kDefaultPollMs);

    form->groupBox_32 = place<QGroupBox>(form->groupBox_2, "groupBox_32", 690, 20, 191, 61);
    form->button_startSampling =
        handButton(form->groupBox_32, "button_startSampling", 70, 16, 51, 41, false);
    form->button_startSampling_2 =
        handButton(form->groupBox_32, "button_startSampling_2", 7, 16, 51, 41, false);
    form->button_startSampling_3 =
        handButton(form->groupBox_32, "button_startSampling_3", 132, 16, 51, 41, false);

    form->groupBox = place<QGroupBox>(form->groupBox_2, "groupBox", 890, 10, 121, 71);
    form->label_11 = place<QLabel>(form->groupBox, "label_11", 70, 17, 41, 31);
    form->Media =
        spin(form->groupBox, "Media", 12, 21, 51, 22, 1, kLongestAverage, kDefaultAverageLength);
    form->Media->setButtonSymbols(QAbstractSpinBox::NoButtons);
    form->label_17 = place<QLabel>(form->groupBox, "label_17", 10, 40, 101, 31);

    form->label_9 = place<QLabel>(form->groupBox_2, "label_9", 483, -3, 71, 21);
    form->label_10 = place<QLabel>(form->groupBox_2, "label_10", 550, -3, 51, 21);
    form->label_12 = place<QLabel>(form->groupBox_2, "label_12", 620, -3, 141, 21);

    form->groupBox_12 = place<QGroupBox>(form->groupBox_2, "groupBox_12", 1020, 10, 251, 71);
    // INVIA: the enabled state comes before the geometry.
    form->INVIA = new QPushButton(form->groupBox_12);
    form->INVIA->setObjectName(QString::fromLatin1("INVIA"));
    form->INVIA->setEnabled(true);
    form->INVIA->setGeometry(QRect(184, 13, 61, 51));
    form->INVIA->setCursor(QCursor(Qt::PointingHandCursor));
    form->INVIA->setCheckable(true);
    form->MedInt = spin(form->groupBox_12, "MedInt", 10, 18, 41, 22, kMinInnerLoopCount,
                        kMaxInnerLoopCount, kDefaultInnerLoopCount);
    form->MedInt->setButtonSymbols(QAbstractSpinBox::NoButtons);
    form->filtroLp = place<QDoubleSpinBox>(form->groupBox_12, "filtroLp", 10, 43, 71, 21);
    form->filtroLp->setDecimals(5);
    form->filtroLp->setMaximum(1.0);
    form->filtroLp->setSingleStep(0.000001);
    form->filtroLp->setValue(kDefaultLowPassCoefficient);
    form->label_15 = place<QLabel>(form->groupBox_12, "label_15", 88, 37, 111, 31);
    form->label_16 = place<QLabel>(form->groupBox_12, "label_16", 60, 13, 121, 31);

    form->groupBox_17 = place<QGroupBox>(form->groupBox_2, "groupBox_17", 580, 20, 101, 61);
    form->Tardu = place<QLCDNumber>(form->groupBox_17, "Tardu", 10, 20, 51, 31);
    form->Tardu->setDigitCount(3);
    form->label_14 = place<QLabel>(form->groupBox_17, "label_14", 67, 23, 31, 20);

    // The central widget, once all its descendants exist.
    window->setCentralWidget(form->centralWidget);

    // The tool bar (no actions) and the status bar.
    form->mainToolBar = new QToolBar(window);
    form->mainToolBar->setObjectName(QString::fromLatin1("mainToolBar"));
    window->addToolBar(Qt::TopToolBarArea, form->mainToolBar);
    form->statusBar = new QStatusBar(window);
    form->statusBar->setObjectName(QString::fromLatin1("statusBar"));
    window->setStatusBar(form->statusBar);

    // Texts, then the connection of slots by object name.
    retranslateForm(form, window);
    QMetaObject::connectSlotsByName(window);
}
