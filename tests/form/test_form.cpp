// The main window form: every object under its
// exact object name, class and parent; the values the logic depends on; the
// bar palette; the window settings; and every text.
#include "form/mainwindowform.h"
#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLCDNumber>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include <functional>
#include <memory>

namespace {

// One row per object of the form, in the order of creation.
struct FormRow
{
    const char *name;
    const char *className;
    const char *parent;   // object name of the parent; "MainWindow" for the window
    std::function<QObject *(const MainWindowForm &)> member;
};

#define ROW(n, cls, par) \
    FormRow { #n, #cls, par, [](const MainWindowForm &f) -> QObject * { return f.n; } }

const FormRow formTable[] = {
    ROW(actionAvanzate, QAction, "MainWindow"),
    ROW(centralWidget, QWidget, "MainWindow"),
    ROW(groupBox_6, QGroupBox, "centralWidget"),
    ROW(groupBox_9, QGroupBox, "groupBox_6"),
    ROW(groupBox_8, QGroupBox, "groupBox_9"),
    ROW(A, QLCDNumber, "groupBox_8"),
    ROW(C, QLCDNumber, "groupBox_8"),
    ROW(D, QLCDNumber, "groupBox_8"),
    ROW(B, QLCDNumber, "groupBox_8"),
    ROW(groupBox_10, QGroupBox, "groupBox_9"),
    ROW(AD, QLCDNumber, "groupBox_10"),
    ROW(CD, QLCDNumber, "groupBox_10"),
    ROW(BD, QLCDNumber, "groupBox_10"),
    ROW(DD, QLCDNumber, "groupBox_10"),
    ROW(groupBox_3, QGroupBox, "groupBox_9"),
    ROW(BA, QProgressBar, "groupBox_3"),
    ROW(groupBox_4, QGroupBox, "groupBox_9"),
    ROW(BB, QProgressBar, "groupBox_4"),
    ROW(groupBox_5, QGroupBox, "groupBox_9"),
    ROW(BC, QProgressBar, "groupBox_5"),
    ROW(groupBox_7, QGroupBox, "groupBox_9"),
    ROW(BAD, QProgressBar, "groupBox_7"),
    ROW(groupBox_11, QGroupBox, "groupBox_6"),
    ROW(groupBox_20, QGroupBox, "groupBox_11"),
    ROW(AM, QLCDNumber, "groupBox_20"),
    ROW(CM, QLCDNumber, "groupBox_20"),
    ROW(DM, QLCDNumber, "groupBox_20"),
    ROW(BM, QLCDNumber, "groupBox_20"),
    ROW(groupBox_21, QGroupBox, "groupBox_11"),
    ROW(AMD, QLCDNumber, "groupBox_21"),
    ROW(CMD, QLCDNumber, "groupBox_21"),
    ROW(BMD, QLCDNumber, "groupBox_21"),
    ROW(DMD, QLCDNumber, "groupBox_21"),
    ROW(groupBox_14, QGroupBox, "groupBox_11"),
    ROW(BAM, QProgressBar, "groupBox_14"),
    ROW(groupBox_15, QGroupBox, "groupBox_11"),
    ROW(BBM, QProgressBar, "groupBox_15"),
    ROW(groupBox_19, QGroupBox, "groupBox_11"),
    ROW(BCM, QProgressBar, "groupBox_19"),
    ROW(groupBox_22, QGroupBox, "groupBox_11"),
    ROW(BDM, QProgressBar, "groupBox_22"),
    ROW(label_13, QLabel, "groupBox_6"),
    ROW(groupBox_2, QGroupBox, "centralWidget"),
    ROW(groupBox_13, QGroupBox, "groupBox_2"),
    ROW(label_5, QLabel, "groupBox_13"),
    ROW(Scegli, QComboBox, "groupBox_13"),
    ROW(groupBox_16, QGroupBox, "groupBox_2"),
    ROW(push_start_data, QPushButton, "groupBox_16"),
    ROW(label_8, QLabel, "groupBox_16"),
    ROW(check_timer, QCheckBox, "groupBox_16"),
    ROW(combo_serial, QComboBox, "groupBox_16"),
    ROW(push_serial_connect, QPushButton, "groupBox_16"),
    ROW(spin_ms_timer, QSpinBox, "groupBox_16"),
    ROW(groupBox_32, QGroupBox, "groupBox_2"),
    ROW(button_startSampling, QPushButton, "groupBox_32"),
    ROW(button_startSampling_2, QPushButton, "groupBox_32"),
    ROW(button_startSampling_3, QPushButton, "groupBox_32"),
    ROW(groupBox, QGroupBox, "groupBox_2"),
    ROW(label_11, QLabel, "groupBox"),
    ROW(Media, QSpinBox, "groupBox"),
    ROW(label_17, QLabel, "groupBox"),
    ROW(label_9, QLabel, "groupBox_2"),
    ROW(label_10, QLabel, "groupBox_2"),
    ROW(label_12, QLabel, "groupBox_2"),
    ROW(groupBox_12, QGroupBox, "groupBox_2"),
    ROW(INVIA, QPushButton, "groupBox_12"),
    ROW(MedInt, QSpinBox, "groupBox_12"),
    ROW(filtroLp, QDoubleSpinBox, "groupBox_12"),
    ROW(label_15, QLabel, "groupBox_12"),
    ROW(label_16, QLabel, "groupBox_12"),
    ROW(groupBox_17, QGroupBox, "groupBox_2"),
    ROW(Tardu, QLCDNumber, "groupBox_17"),
    ROW(label_14, QLabel, "groupBox_17"),
    ROW(mainToolBar, QToolBar, "MainWindow"),
    ROW(statusBar, QStatusBar, "MainWindow"),
};

#undef ROW

const char *const displayNames[] = {"A",  "B",  "C",  "D",  "AD",  "BD",  "CD",  "DD",
                                    "AM", "BM", "CM", "DM", "AMD", "BMD", "CMD", "DMD"};
const char *const barNames[] = {"BA", "BB", "BC", "BAD", "BAM", "BBM", "BCM", "BDM"};

// Messages caught while a window is built.
QStringList caughtMessages;
void catchMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    caughtMessages << message;
}

} // namespace

class TestForm : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window;
    QStringList constructionMessages;

    template <typename T = QObject>
    T *find(const char *name) const
    {
        const QList<QObject *> all =
            window->findChildren<QObject *>(QString::fromLatin1(name));
        if (all.size() != 1)
            return nullptr;
        return qobject_cast<T *>(all.first());
    }

private slots:
    void initTestCase()
    {
        QtMessageHandler previous = qInstallMessageHandler(catchMessage);
        caughtMessages.clear();
        window = std::make_unique<MainWindow>();
        qInstallMessageHandler(previous);
        constructionMessages = caughtMessages;
    }

    void cleanupTestCase() { window.reset(); }

    // --- Objects: name, class, parent -------------------------------------

    void tableHas75Objects()
    {
        QCOMPARE(int(sizeof formTable / sizeof formTable[0]), 75);
    }

    void objects_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("parentName");
        for (const FormRow &row : formTable)
            QTest::newRow(row.name) << QString::fromLatin1(row.className)
                                    << QString::fromLatin1(row.parent);
    }

    void objects()
    {
        QFETCH(QString, className);
        QFETCH(QString, parentName);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        const QList<QObject *> all = window->findChildren<QObject *>(name);
        QCOMPARE(all.size(), 1);
        QObject *object = all.first();
        QCOMPARE(object->objectName(), name);
        QCOMPARE(QString::fromLatin1(object->metaObject()->className()), className);
        QVERIFY(object->parent());
        QCOMPARE(object->parent()->objectName(), parentName);
        if (parentName == QLatin1String("MainWindow"))
            QCOMPARE(object->parent(), static_cast<QObject *>(window.get()));
    }

    // Siblings are created in the form's order: their order among the parent's
    // children (which also gives stacking and focus order) follows it.
    void creationOrder()
    {
        for (const FormRow &parentRow : formTable) {
            QObject *parent = find(parentRow.name);
            QVERIFY(parent);
            QStringList expected;
            for (const FormRow &row : formTable)
                if (QLatin1String(row.parent) == QLatin1String(parentRow.name))
                    expected << QString::fromLatin1(row.name);
            QStringList actual;
            for (QObject *child : parent->children())
                if (expected.contains(child->objectName()))
                    actual << child->objectName();
            QCOMPARE(actual, expected);
        }
    }

    // Each slot bound by name finds its widget: connectSlotsByName warns
    // about any on_ slot whose object or signal is missing.
    void slotsByNameFindTheirWidgets()
    {
        for (const QString &message : constructionMessages)
            QVERIFY2(!message.contains(QLatin1String("connectSlotsByName")), qPrintable(message));
    }

    // setupForm fills every member with the object of that name.
    void formMembers()
    {
        QMainWindow plain;
        MainWindowForm form;
        setupForm(&form, &plain);
        for (const FormRow &row : formTable) {
            QObject *member = row.member(form);
            QVERIFY2(member, row.name);
            QCOMPARE(member->objectName(), QString::fromLatin1(row.name));
            QCOMPARE(plain.findChild<QObject *>(QString::fromLatin1(row.name)), member);
        }
        QCOMPARE(plain.objectName(), QStringLiteral("MainWindow"));
        QVERIFY(form.combo_serial->count() == 0);
        QCOMPARE(form.combo_serial->currentText(), QString());
    }

    // --- The window ----------------------------------------------------------

    void windowSettings()
    {
        QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
        QCOMPARE(window->size(), QSize(1291, 903));
        QVERIFY(window->testAttribute(Qt::WA_SetCursor));
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!window->acceptDrops());
        QCOMPARE(window->toolButtonStyle(), Qt::ToolButtonIconOnly);
        QCOMPARE(window->tabShape(), QTabWidget::Rounded);

        QCOMPARE(window->centralWidget(), find<QWidget>("centralWidget"));
        QToolBar *toolBar = find<QToolBar>("mainToolBar");
        QVERIFY(toolBar);
        QCOMPARE(window->toolBarArea(toolBar), Qt::TopToolBarArea);
        QVERIFY(toolBar->actions().isEmpty());
        QStatusBar *statusBar = find<QStatusBar>("statusBar");
        QCOMPARE(window->statusBar(), statusBar);
        QVERIFY(statusBar->currentMessage().isEmpty());

        QAction *action = find<QAction>("actionAvanzate");
        QVERIFY(action);
        QVERIFY(action->associatedWidgets().isEmpty());
    }

    void presetObjectNameIsKept()
    {
        QMainWindow plain;
        plain.setObjectName(QStringLiteral("GiaNominata"));
        MainWindowForm form;
        setupForm(&form, &plain);
        QCOMPARE(plain.objectName(), QStringLiteral("GiaNominata"));
        QCOMPARE(plain.size(), QSize(1291, 903));
        QCOMPARE(form.centralWidget->parent(), static_cast<QObject *>(&plain));
    }

    void geometry_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::newRow("groupBox_6") << QRect(10, 90, 1361, 771);
        QTest::newRow("groupBox_2") << QRect(10, 0, 1361, 91);
        QTest::newRow("groupBox_10") << QRect(10, 670, 651, 61);
        QTest::newRow("BA") << QRect(10, 20, 121, 551);
        QTest::newRow("BDM") << QRect(10, 20, 131, 551);
        QTest::newRow("CM") << QRect(330, 20, 151, 41);
        QTest::newRow("label_9") << QRect(483, -3, 71, 21);
        QTest::newRow("INVIA") << QRect(184, 13, 61, 51);
        QTest::newRow("filtroLp") << QRect(10, 43, 71, 21);
        QTest::newRow("Tardu") << QRect(10, 20, 51, 31);
    }

    void geometry()
    {
        QFETCH(QRect, rect);
        QWidget *widget = find<QWidget>(QTest::currentDataTag());
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), rect);
    }

    void resizingMovesNothing()
    {
        MainWindow other;
        QWidget *group = other.findChild<QWidget *>(QStringLiteral("groupBox_11"));
        QWidget *label = other.findChild<QWidget *>(QStringLiteral("label_13"));
        QVERIFY(group && label);
        other.resize(600, 400);
        QCOMPARE(group->geometry(), QRect(610, 10, 661, 741));
        QCOMPARE(label->geometry(), QRect(360, 750, 451, 21));
    }

    // --- Displays and bars -------------------------------------------------

    void displays_data()
    {
        QTest::addColumn<int>("unused");
        for (const char *name : displayNames)
            QTest::newRow(name) << 0;
    }

    void displays()
    {
        QLCDNumber *lcd = find<QLCDNumber>(QTest::currentDataTag());
        QVERIFY(lcd);
        QCOMPARE(lcd->value(), 0.0);
        QCOMPARE(lcd->intValue(), 0);
        QCOMPARE(lcd->digitCount(), 8);
        QCOMPARE(lcd->segmentStyle(), QLCDNumber::Flat);
        QVERIFY(lcd->smallDecimalPoint());
        QVERIFY(!lcd->testAttribute(Qt::WA_SetPalette));
    }

    void tardu()
    {
        QLCDNumber *lcd = find<QLCDNumber>("Tardu");
        QVERIFY(lcd);
        const QLCDNumber plain;
        QCOMPARE(lcd->digitCount(), 3);
        QCOMPARE(lcd->segmentStyle(), plain.segmentStyle());
        QCOMPARE(lcd->smallDecimalPoint(), plain.smallDecimalPoint());
        QCOMPARE(lcd->mode(), plain.mode());
        QCOMPARE(lcd->value(), 0.0);
    }

    void bars_data()
    {
        QTest::addColumn<int>("unused");
        for (const char *name : barNames)
            QTest::newRow(name) << 0;
    }

    void bars()
    {
        QProgressBar *bar = find<QProgressBar>(QTest::currentDataTag());
        QVERIFY(bar);
        QCOMPARE(bar->minimum(), -50);
        QCOMPARE(bar->maximum(), 1);
        QCOMPARE(bar->value(), -24);
        QCOMPARE(bar->orientation(), Qt::Vertical);
        QVERIFY(bar->testAttribute(Qt::WA_SetPalette));
        QCOMPARE(bar->palette(), find<QProgressBar>("BA")->palette());
    }

    void barPalette_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("role");
        QTest::addColumn<QColor>("color");
        QTest::newRow("Active Button") << int(QPalette::Active) << int(QPalette::Button)
                                       << QColor(0, 3, 181);
        QTest::newRow("Active WindowText") << int(QPalette::Active) << int(QPalette::WindowText)
                                           << QColor(0, 0, 0);
        QTest::newRow("Disabled WindowText")
            << int(QPalette::Disabled) << int(QPalette::WindowText) << QColor(0, 1, 90);
        QTest::newRow("Inactive Light") << int(QPalette::Inactive) << int(QPalette::Light)
                                        << QColor(16, 20, 255);
        QTest::newRow("Active Base") << int(QPalette::Active) << int(QPalette::Base)
                                     << QColor(255, 255, 255);
        QTest::newRow("Disabled Base") << int(QPalette::Disabled) << int(QPalette::Base)
                                       << QColor(0, 3, 181);
        QTest::newRow("Inactive AlternateBase")
            << int(QPalette::Inactive) << int(QPalette::AlternateBase) << QColor(127, 129, 218);
        QTest::newRow("Disabled AlternateBase")
            << int(QPalette::Disabled) << int(QPalette::AlternateBase) << QColor(0, 3, 181);
        QTest::newRow("Active Mid") << int(QPalette::Active) << int(QPalette::Mid)
                                    << QColor(0, 2, 121);
        QTest::newRow("Disabled ToolTipBase")
            << int(QPalette::Disabled) << int(QPalette::ToolTipBase) << QColor(255, 255, 220);
    }

    void barPalette()
    {
        QFETCH(int, group);
        QFETCH(int, role);
        QFETCH(QColor, color);
        for (const char *name : barNames) {
            const QBrush brush = find<QProgressBar>(name)->palette().brush(
                QPalette::ColorGroup(group), QPalette::ColorRole(role));
            QCOMPARE(brush.color(), color);
            QCOMPARE(brush.color().alpha(), 255);
            QCOMPARE(brush.style(), Qt::SolidPattern);
        }
    }

    void barPaletteLeavesHighlightAlone()
    {
        const QPalette bar = find<QProgressBar>("BAM")->palette();
        const QPalette plain = find<QGroupBox>("groupBox_14")->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText,
                                             QPalette::Link, QPalette::LinkVisited})
                QCOMPARE(bar.brush(group, role), plain.brush(group, role));
        // No other widget gets a palette.
        QVERIFY(!find<QWidget>("groupBox_14")->testAttribute(Qt::WA_SetPalette));
        QVERIFY(!find<QWidget>("INVIA")->testAttribute(Qt::WA_SetPalette));
    }

    // --- Controls --------------------------------------------------------

    void buttons_data()
    {
        QTest::addColumn<bool>("checkable");
        QTest::newRow("push_start_data") << true;
        QTest::newRow("push_serial_connect") << true;
        QTest::newRow("INVIA") << true;
        QTest::newRow("button_startSampling") << false;
        QTest::newRow("button_startSampling_2") << false;
        QTest::newRow("button_startSampling_3") << false;
    }

    void buttons()
    {
        QFETCH(bool, checkable);
        QPushButton *button = find<QPushButton>(QTest::currentDataTag());
        QVERIFY(button);
        QCOMPARE(button->isCheckable(), checkable);
        QVERIFY(!button->isChecked());
        QVERIFY(button->isEnabled());
        QVERIFY(button->testAttribute(Qt::WA_SetCursor));
        QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
    }

    void spinBoxes_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::newRow("spin_ms_timer") << 10 << 50 << 20;
        QTest::newRow("Media") << 1 << 10000 << 10;
        QTest::newRow("MedInt") << 1 << 1000 << 10;
    }

    void spinBoxes()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, value);
        QSpinBox *box = find<QSpinBox>(QTest::currentDataTag());
        QVERIFY(box);
        QCOMPARE(box->minimum(), minimum);
        QCOMPARE(box->maximum(), maximum);
        QCOMPARE(box->value(), value);
        QVERIFY(box->prefix().isEmpty());
        QVERIFY(box->suffix().isEmpty());
        QVERIFY(!box->testAttribute(Qt::WA_SetCursor));
    }

    void filtroLp()
    {
        QDoubleSpinBox *box = find<QDoubleSpinBox>("filtroLp");
        QVERIFY(box);
        QCOMPARE(box->decimals(), 5);
        QCOMPARE(box->minimum(), 0.0);
        QCOMPARE(box->maximum(), 1.0);
        QCOMPARE(box->singleStep(), 0.000001);
        QVERIFY(box->singleStep() < 0.000005);
        QCOMPARE(box->value(), 0.5);
        QCOMPARE(box->text(), QLocale().toString(0.5, 'f', 5));
    }

    // A window of its own, so that the values changed here stay here.
    void spinBoxesClamp()
    {
        MainWindow other;
        auto spin = [&](const char *name) {
            return other.findChild<QSpinBox *>(QString::fromLatin1(name));
        };
        QSpinBox *timer = spin("spin_ms_timer");
        QSpinBox *media = spin("Media");
        QSpinBox *medInt = spin("MedInt");
        QDoubleSpinBox *filter = other.findChild<QDoubleSpinBox *>(QStringLiteral("filtroLp"));
        QVERIFY(timer && media && medInt && filter);

        timer->setValue(5);
        QCOMPARE(timer->value(), 10);
        timer->setValue(500);
        QCOMPARE(timer->value(), 50);
        timer->stepBy(10);
        QCOMPARE(timer->value(), 50);

        media->setValue(0);
        QCOMPARE(media->value(), 1);
        media->setValue(20000);
        QCOMPARE(media->value(), 10000);

        medInt->setValue(-3);
        QCOMPARE(medInt->value(), 1);
        medInt->setValue(1001);
        QCOMPARE(medInt->value(), 1000);
        medInt->stepBy(-5000);
        QCOMPARE(medInt->value(), 1);

        filter->setValue(-0.25);
        QCOMPARE(filter->value(), 0.0);
        filter->setValue(1.5);
        QCOMPARE(filter->value(), 1.0);
        filter->setValue(0.123456);
        QCOMPARE(filter->value(), 0.12346);   // rounded to five decimals
    }

    void comboBoxes()
    {
        QComboBox *scegli = find<QComboBox>("Scegli");
        QVERIFY(scegli);
        QVERIFY(scegli->isEditable());
        QCOMPARE(scegli->count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(scegli->itemText(i), QString::number(i + 1));
        QCOMPARE(scegli->currentIndex(), 0);
        QCOMPARE(scegli->currentText(), QStringLiteral("1"));
        QVERIFY(!scegli->testAttribute(Qt::WA_SetCursor));

        QComboBox *serial = find<QComboBox>("combo_serial");
        QVERIFY(serial);
        QVERIFY(!serial->isEditable());
        QCOMPARE(serial->cursor().shape(), Qt::PointingHandCursor);
    }

    // combo_serial lists the ports present, and only them; with none, it is
    // empty and the window is built all the same.
    void comboSerialListsPorts()
    {
        QComboBox *serial = find<QComboBox>("combo_serial");
        QStringList names;
        for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts())
            names << port.portName();
        QStringList items;
        for (int i = 0; i < serial->count(); ++i)
            items << serial->itemText(i);
        QCOMPARE(items, names);
        QCOMPARE(serial->currentIndex(), names.isEmpty() ? -1 : 0);
    }

    void checkTimer()
    {
        QCheckBox *check = find<QCheckBox>("check_timer");
        QVERIFY(check);
        QVERIFY(!check->isChecked());
    }

    // --- Texts ----------------------------------------------------------

    void windowTitle()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Aspirello Kit V1.0 \"VALVOLIX KIT\""));
    }

    void texts_data()
    {
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, const char *text) {
            QTest::newRow(name) << QString::fromUtf8(text);
        };
        row("actionAvanzate", "Avanzate");
        row("groupBox_6", "Ricezione dati ");
        row("groupBox_9", "Letture non elaborate");
        row("groupBox_8", "Singoli valori in [kPa]");
        row("groupBox_10", "Letture rispetto al cilindro di riferimento [kPa]");
        row("groupBox_3", "Cilindro 1");
        row("groupBox_4", "Cilindro 2");
        row("groupBox_5", "Cilindro 3");
        row("groupBox_7", "Cilindro 4");
        row("groupBox_11", "Letture con media galoppante degli ultimi valori ( taratura fine )");
        row("groupBox_20", "Singoli valori in [kPa]");
        row("groupBox_21", "Letture medie rispetto al cilindro di riferimento [kPa]");
        row("groupBox_14", "Cilindro 1");
        row("groupBox_15", "Cilindro 2");
        row("groupBox_19", "Cilindro 3");
        row("groupBox_22", "Cilindro 4");
        row("groupBox_2", "Impostazioni generali");
        row("groupBox_13", "Scegli il carb. statico");
        row("label_5", "Cilindro N\xC2\xB0");
        row("groupBox_16", "Comunicazione");
        row("push_start_data", "Ricevi");
        row("label_8", "[ms]");
        row("check_timer", "Ricevi dati in:");
        row("push_serial_connect", "Aprila");
        row("groupBox_32", "Log");
        row("button_startSampling", "Salva");
        row("button_startSampling_2", "Reset");
        row("button_startSampling_3", "TOP");
        row("groupBox", "Media degli ultimi");
        row("label_11", "Valori");
        row("label_17", "Per taratura fine");
        row("groupBox_12", "N\xC2\xB0 letture interne");
        row("INVIA", "Invia");
        row("label_15", "Filtro Low-Pass");
        row("label_16", "Ciclo for interno");
        row("groupBox_17", "T CicloArdu");
        row("label_14", "[ms]");
    }

    void texts()
    {
        QFETCH(QString, text);
        QObject *object = find(QTest::currentDataTag());
        QVERIFY(object);
        const char *property = qobject_cast<QGroupBox *>(object) ? "title" : "text";
        QCOMPARE(object->property(property).toString(), text);
    }

    void textDetails()
    {
        QVERIFY(find<QGroupBox>("groupBox_6")->title().endsWith(QLatin1Char(' ')));
        QCOMPARE(find<QLabel>("label_5")->text().back(), QChar(0x00B0));
        QCOMPARE(find<QGroupBox>("groupBox_12")->title().at(1), QChar(0x00B0));
    }

    // The credit and donation labels carry a text of this project, and no
    // e-mail address.
    void creditLabels()
    {
        for (const char *name : {"label_9", "label_10", "label_12", "label_13"}) {
            QLabel *label = find<QLabel>(name);
            QVERIFY(label);
            QVERIFY2(!label->text().isEmpty(), name);
            QVERIFY2(!label->text().contains(QLatin1Char('@')), name);
        }
    }

    void noOtherTexts()
    {
        QVERIFY(find<QWidget>("centralWidget")->windowTitle().isEmpty());
        QVERIFY(find<QToolBar>("mainToolBar")->windowTitle().isEmpty());
        QVERIFY(find<QDoubleSpinBox>("filtroLp")->prefix().isEmpty());
        QVERIFY(find<QDoubleSpinBox>("filtroLp")->suffix().isEmpty());
    }

    // Running retranslateForm again rewrites the texts and refills Scegli.
    void retranslateAgain()
    {
        QMainWindow plain;
        MainWindowForm form;
        setupForm(&form, &plain);
        form.Scegli->setCurrentIndex(2);
        form.groupBox_13->setTitle(QStringLiteral("altro"));
        plain.setWindowTitle(QStringLiteral("altro"));
        retranslateForm(&form, &plain);
        QCOMPARE(form.Scegli->count(), 4);
        QCOMPARE(form.Scegli->currentIndex(), 0);
        QCOMPARE(form.Scegli->currentText(), QStringLiteral("1"));
        QCOMPARE(form.groupBox_13->title(), QStringLiteral("Scegli il carb. statico"));
        QCOMPARE(plain.windowTitle(), QStringLiteral("Aspirello Kit V1.0 \"VALVOLIX KIT\""));
    }

    // --- Lifetime -------------------------------------------------------

    void buildAndDestroySeveral()
    {
        for (int i = 0; i < 3; ++i) {
            auto *other = new MainWindow;
            QPointer<QWidget> central = other->centralWidget();
            QPointer<QObject> bar = other->findChild<QProgressBar *>(QStringLiteral("BDM"));
            QVERIFY(central && bar);
            delete other;
            QVERIFY(central.isNull());
            QVERIFY(bar.isNull());
        }
    }
};

QTEST_MAIN(TestForm)
#include "test_form.moc"
