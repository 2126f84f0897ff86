// The main window form: every object under its exact object name, class and
// parent, with what the program's logic depends on (ranges, defaults, flags,
// texts), compared with one listing of the whole tree; the bar palette; the
// window settings; and every text readable in full.
#include "form/mainwindowform.h"
#include "legibleform.h"
#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHash>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMetaProperty>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include <functional>
#include <memory>

namespace {

// The form's objects in the order of creation, one line each: object name,
// class, parent's object name, then every listed property that differs from
// a newly made object of the same class. A spin box's or a bar's own text
// only repeats its value (in the user's locale) and is left out.
const char *const expectedTree = R"~(
actionAvanzate QAction MainWindow text="Avanzate" toolTip="Avanzate"
centralWidget QWidget MainWindow
groupBox_6 QGroupBox centralWidget title="Ricezione dati "
groupBox_9 QGroupBox groupBox_6 title="Letture non elaborate"
groupBox_8 QGroupBox groupBox_9 title="Singoli valori in [kPa]"
A QLCDNumber groupBox_8 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
C QLCDNumber groupBox_8 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
D QLCDNumber groupBox_8 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
B QLCDNumber groupBox_8 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
groupBox_10 QGroupBox groupBox_9 title="Letture rispetto al cilindro di riferimento [kPa]"
AD QLCDNumber groupBox_10 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
CD QLCDNumber groupBox_10 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
BD QLCDNumber groupBox_10 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
DD QLCDNumber groupBox_10 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
groupBox_3 QGroupBox groupBox_9 title="Cilindro 1"
BA QProgressBar groupBox_3 minimum=-50 maximum=1 value=-24 orientation=Vertical palette=bar
groupBox_4 QGroupBox groupBox_9 title="Cilindro 2"
BB QProgressBar groupBox_4 minimum=-50 maximum=1 value=-24 orientation=Vertical palette=bar
groupBox_5 QGroupBox groupBox_9 title="Cilindro 3"
BC QProgressBar groupBox_5 minimum=-50 maximum=1 value=-24 orientation=Vertical palette=bar
groupBox_7 QGroupBox groupBox_9 title="Cilindro 4"
BAD QProgressBar groupBox_7 minimum=-50 maximum=1 value=-24 orientation=Vertical palette=bar
groupBox_11 QGroupBox groupBox_6 title="Letture con media galoppante degli ultimi valori ( taratura fine )"
groupBox_20 QGroupBox groupBox_11 title="Singoli valori in [kPa]"
AM QLCDNumber groupBox_20 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
CM QLCDNumber groupBox_20 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
DM QLCDNumber groupBox_20 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
BM QLCDNumber groupBox_20 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
groupBox_21 QGroupBox groupBox_11 title="Letture medie rispetto al cilindro di riferimento [kPa]"
AMD QLCDNumber groupBox_21 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
CMD QLCDNumber groupBox_21 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
BMD QLCDNumber groupBox_21 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
DMD QLCDNumber groupBox_21 digitCount=8 segmentStyle=Flat smallDecimalPoint=true
groupBox_14 QGroupBox groupBox_11 title="Cilindro 1"
BAM QProgressBar groupBox_14 minimum=-50 maximum=1 value=-24 orientation=Vertical palette=bar
groupBox_15 QGroupBox groupBox_11 title="Cilindro 2"
BBM QProgressBar groupBox_15 minimum=-50 maximum=1 value=-24 orientation=Vertical palette=bar
groupBox_19 QGroupBox groupBox_11 title="Cilindro 3"
BCM QProgressBar groupBox_19 minimum=-50 maximum=1 value=-24 orientation=Vertical palette=bar
groupBox_22 QGroupBox groupBox_11 title="Cilindro 4"
BDM QProgressBar groupBox_22 minimum=-50 maximum=1 value=-24 orientation=Vertical palette=bar
label_13 QLabel groupBox_6 text="Sostieni il progetto Aspirello: libero e aperto a tutti"
groupBox_2 QGroupBox centralWidget title="Impostazioni generali"
groupBox_13 QGroupBox groupBox_2 title="Scegli il carb. statico"
label_5 QLabel groupBox_13 text="Cilindro N°"
Scegli QComboBox groupBox_13 editable=true currentIndex=0 currentText="1" items=1,2,3,4
groupBox_16 QGroupBox groupBox_2 title="Comunicazione"
push_start_data QPushButton groupBox_16 text="Ricevi" checkable=true cursor=PointingHandCursor
label_8 QLabel groupBox_16 text="[ms]"
check_timer QCheckBox groupBox_16 text="Ricevi dati in:"
combo_serial QComboBox groupBox_16 cursor=PointingHandCursor
push_serial_connect QPushButton groupBox_16 text="Aprila" checkable=true cursor=PointingHandCursor
spin_ms_timer QSpinBox groupBox_16 minimum=10 maximum=50 value=20
groupBox_32 QGroupBox groupBox_2 title="Log"
button_startSampling QPushButton groupBox_32 text="Salva" cursor=PointingHandCursor
button_startSampling_2 QPushButton groupBox_32 text="Reset" cursor=PointingHandCursor
button_startSampling_3 QPushButton groupBox_32 text="TOP" cursor=PointingHandCursor
groupBox QGroupBox groupBox_2 title="Media degli ultimi"
label_11 QLabel groupBox text="Valori"
Media QSpinBox groupBox minimum=1 maximum=10000 value=10 buttonSymbols=NoButtons
label_17 QLabel groupBox text="Per taratura fine"
label_9 QLabel groupBox_2 text="Aspirello"
label_10 QLabel groupBox_2 text="Kit"
label_12 QLabel groupBox_2 text="libero e aperto"
groupBox_12 QGroupBox groupBox_2 title="N° letture interne"
INVIA QPushButton groupBox_12 text="Invia" checkable=true cursor=PointingHandCursor
MedInt QSpinBox groupBox_12 minimum=1 maximum=1000 value=10 buttonSymbols=NoButtons
filtroLp QDoubleSpinBox groupBox_12 maximum=1 value=0.5 singleStep=1e-06 decimals=5
label_15 QLabel groupBox_12 text="Filtro Low-Pass"
label_16 QLabel groupBox_12 text="Ciclo for interno"
groupBox_17 QGroupBox groupBox_2 title="T CicloArdu"
Tardu QLCDNumber groupBox_17 digitCount=3
label_14 QLabel groupBox_17 text="[ms]"
mainToolBar QToolBar MainWindow
statusBar QStatusBar MainWindow
)~";

// The bar palette: fifteen roles, the same in the active and inactive groups,
// set with solid opaque brushes; every other role is left as it was.
struct BarColour
{
    QPalette::ColorRole role;
    QRgb active; // also the inactive colour
    QRgb disabled;
};
const BarColour barColours[] = {
    {QPalette::WindowText, 0x000000, 0x00015a},    {QPalette::Button, 0x0003b5, 0x0003b5},
    {QPalette::Light, 0x1014ff, 0x1014ff},         {QPalette::Midlight, 0x080bda, 0x080bda},
    {QPalette::Dark, 0x00015a, 0x00015a},          {QPalette::Mid, 0x000279, 0x000279},
    {QPalette::Text, 0x000000, 0x00015a},          {QPalette::BrightText, 0xffffff, 0xffffff},
    {QPalette::ButtonText, 0x000000, 0x00015a},    {QPalette::Base, 0xffffff, 0x0003b5},
    {QPalette::Window, 0x0003b5, 0x0003b5},        {QPalette::Shadow, 0x000000, 0x000000},
    {QPalette::AlternateBase, 0x7f81da, 0x0003b5}, {QPalette::ToolTipBase, 0xffffdc, 0xffffdc},
    {QPalette::ToolTipText, 0x000000, 0x000000},
};

// The properties listed, in this order.
// clang-format off
const char *const listedProperties[] = {
    "text", "title", "windowTitle", "toolTip", "statusTip", "whatsThis", "enabled", "checkable",
    "checked", "tristate", "autoDefault", "default", "flat", "editable", "readOnly", "minimum",
    "maximum", "value", "intValue", "singleStep", "decimals", "wrapping", "buttonSymbols",
    "prefix", "suffix", "digitCount", "segmentStyle", "smallDecimalPoint", "mode", "orientation",
    "invertedAppearance", "textVisible", "format", "currentIndex", "currentText", "alignment",
    "wordWrap", "acceptDrops", "movable", "floatable", "sizeGripEnabled"};
// clang-format on

// A newly made object of each class of the form, to tell what the form set;
// made once, gone before the application.
QHash<QString, std::shared_ptr<QObject>> defaultObjects;
QObject *makeDefault(const QString &className)
{
    static const QHash<QString, std::function<QObject *()>> factories = {
        {"QAction", [] { return new QAction(nullptr); }},
        {"QWidget", [] { return new QWidget; }},
        {"QGroupBox", [] { return new QGroupBox; }},
        {"QLCDNumber", [] { return new QLCDNumber; }},
        {"QProgressBar", [] { return new QProgressBar; }},
        {"QLabel", [] { return new QLabel; }},
        {"QComboBox", [] { return new QComboBox; }},
        {"QPushButton", [] { return new QPushButton; }},
        {"QCheckBox", [] { return new QCheckBox; }},
        {"QSpinBox", [] { return new QSpinBox; }},
        {"QDoubleSpinBox", [] { return new QDoubleSpinBox; }},
        {"QToolBar", [] { return new QToolBar; }},
        {"QStatusBar", [] { return new QStatusBar; }},
    };
    if (!defaultObjects.contains(className))
        defaultObjects.insert(className,
                              std::shared_ptr<QObject>(
                                  factories.contains(className) ? factories[className]() : nullptr));
    return defaultObjects.value(className).get();
}

QString shown(const QMetaProperty &property, const QVariant &value)
{
    if (property.isEnumType()) {
        const QMetaEnum e = property.enumerator();
        return QString::fromLatin1(e.isFlag() ? e.valueToKeys(value.toInt())
                                              : QByteArray(e.valueToKey(value.toInt())));
    }
    if (value.userType() == QMetaType::QString)
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    if (value.userType() == QMetaType::Double)
        return QString::number(value.toDouble());
    return value.toString();
}

// The bar palette over the palette a widget would have without one: empty if
// the widget's palette is that, else the first role that differs.
QString barPaletteMismatch(const QWidget *widget)
{
    const QPalette plain = widget->parentWidget() ? widget->parentWidget()->palette()
                                                  : QApplication::palette(widget);
    QPalette expected = plain;
    for (const BarColour &c : barColours)
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            expected.setBrush(group, c.role,
                              QBrush(QColor(group == QPalette::Disabled ? c.disabled : c.active)));
    for (int g = 0; g < int(QPalette::NColorGroups); ++g)
        for (int r = 0; r < int(QPalette::NColorRoles); ++r) {
            const auto group = QPalette::ColorGroup(g);
            const auto role = QPalette::ColorRole(r);
            if (widget->palette().brush(group, role) != expected.brush(group, role))
                return QStringLiteral("group %1 role %2 is %3 style %4")
                    .arg(g)
                    .arg(r)
                    .arg(widget->palette().brush(group, role).color().name(QColor::HexArgb))
                    .arg(int(widget->palette().brush(group, role).style()));
        }
    return QString();
}

// One line of the listing.
QString describe(const QObject *object)
{
    const QString className = QString::fromLatin1(object->metaObject()->className());
    QStringList line{object->objectName(), className, object->parent()->objectName()};
    const QObject *plain = makeDefault(className);
    if (!plain)
        return line.join(QLatin1Char(' ')) + QStringLiteral(" (a class the form does not use)");
    const bool derivedText = qobject_cast<const QAbstractSpinBox *>(object)
        || qobject_cast<const QProgressBar *>(object);
    for (const char *name : listedProperties) {
        const QMetaObject *meta = object->metaObject();
        const int index = meta->indexOfProperty(name);
        if (index < 0 || (derivedText && qstrcmp(name, "text") == 0))
            continue;
        const QMetaProperty property = meta->property(index);
        const QVariant value = property.read(object);
        if (value != property.read(plain))
            line << QString::fromLatin1(name) + QLatin1Char('=') + shown(property, value);
    }
    if (const auto *combo = qobject_cast<const QComboBox *>(object)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        if (!items.isEmpty())
            line << QStringLiteral("items=") + items.join(QLatin1Char(','));
    }
    if (const auto *widget = qobject_cast<const QWidget *>(object)) {
        if (widget->testAttribute(Qt::WA_SetCursor))
            line << QStringLiteral("cursor=")
                    + QMetaEnum::fromType<Qt::CursorShape>().valueToKey(widget->cursor().shape());
        if (widget->testAttribute(Qt::WA_SetPalette)) {
            const QString mismatch = barPaletteMismatch(widget);
            line << (mismatch.isEmpty() ? QStringLiteral("palette=bar")
                                        : QStringLiteral("palette: ") + mismatch);
        }
    }
    return line.join(QLatin1Char(' '));
}

// The listing of every named object under root, parents before children and
// siblings in the order of their parent's list (the order of creation), less
// the parts Qt makes and names for itself ("qt_...", "_layout").
QStringList listTree(const QObject *root)
{
    QStringList lines;
    for (const QObject *child : root->children()) {
        const QString name = child->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))
            || name.startsWith(QLatin1Char('_')))
            continue;
        lines << describe(child) << listTree(child);
    }
    return lines;
}

QStringList expectedLines()
{
    return QString::fromUtf8(expectedTree).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Where some widgets stand, in their parent's coordinates, at any window size.
struct Placement
{
    const char *name;
    QRect rect;
};
const Placement placements[] = {
    {"groupBox_6", {10, 90, 1361, 771}}, {"groupBox_2", {10, 0, 1361, 91}},
    {"groupBox_10", {10, 670, 651, 61}}, {"groupBox_11", {610, 10, 661, 741}},
    {"BA", {10, 20, 121, 551}},          {"BDM", {10, 20, 131, 551}},
    {"CM", {330, 20, 151, 41}},          {"label_9", {483, -3, 71, 21}},
    {"label_13", {360, 750, 451, 21}},   {"INVIA", {184, 13, 61, 51}},
    {"filtroLp", {10, 43, 71, 21}},      {"Tardu", {10, 20, 51, 31}},
};

// Messages caught while a window is built.
QStringList caughtMessages;
void catchMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    caughtMessages << message;
}

// --- Where texts are painted ------------------------------------------------

// The room a widget gives its text and the rectangle the text takes there,
// in the widget's coordinates; false for a widget that shows no text.
bool paintedText(const QWidget *widget, QRect *room, QRect *text)
{
    const QStyle *style = widget->style();
    const QFontMetrics metrics = widget->fontMetrics();
    QString shown;
    int width = -1;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QStyleOptionButton button;
    button.initFrom(widget);
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        shown = label->text();
        *room = label->contentsRect();
        alignment = label->alignment();
    } else if (const auto *box = qobject_cast<const QGroupBox *>(widget)) {
        // The style draws the title clipped to a rectangle it sizes itself.
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = shown = box->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        *room = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        width = metrics.horizontalAdvance(shown.trimmed());
    } else if (const auto *check = qobject_cast<const QCheckBox *>(widget)) {
        shown = check->text();
        *room = style->subElementRect(QStyle::SE_CheckBoxContents, &button, check);
    } else if (const auto *push = qobject_cast<const QPushButton *>(widget)) {
        shown = push->text();
        *room = style->subElementRect(QStyle::SE_PushButtonContents, &button, push);
        alignment = Qt::AlignCenter;
    } else if (const QLineEdit *edit =
                   widget->findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly)) {
        // A spin box or an editable combo box: its line edit leaves two
        // pixels on either side and needs one more for the cursor.
        QStyleOptionFrame option;
        option.initFrom(edit);
        shown = edit->text();
        *room = style->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                    .adjusted(2, 0, -2, 0)
                    .translated(edit->pos());
        width = metrics.horizontalAdvance(shown) + 1;
        alignment = edit->alignment();
    } else if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
        // The current item is drawn one pixel in from the edit field's sides.
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.currentText = shown = combo->currentText();
        *room =
            style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
                .adjusted(1, 0, -1, 0);
    } else {
        return false;
    }
    if (width < 0)
        width = metrics.horizontalAdvance(shown);
    *text = QStyle::alignedRect(widget->layoutDirection(), alignment, QSize(width, metrics.height()),
                                *room);
    return !shown.isEmpty();
}

// What a widget paints over whatever lies under it, in its parent's
// coordinates: a label, a check box or a group box its text (they fill no
// background), any other control all of its rectangle.
QRect cover(const QWidget *widget)
{
    QRect room, text;
    if (widget->isHidden() || widget->isWindow() || qobject_cast<const QLineEdit *>(widget))
        return {};
    if (qobject_cast<const QLabel *>(widget) || qobject_cast<const QCheckBox *>(widget)
        || qobject_cast<const QGroupBox *>(widget))
        return paintedText(widget, &room, &text) ? text.translated(widget->pos()) : QRect();
    return widget->geometry();
}

// Why the text of a widget cannot be read in full, or an empty string. The
// text must fit the room its widget gives it, lie inside the widget's
// ancestors up to the window, and lie under nothing painted later: a child
// of the widget, or a later sibling of the widget or of an ancestor.
QString clipOf(const QWidget *widget, const QWidget *window)
{
    QRect room, text;
    if (!paintedText(widget, &room, &text))
        return QStringLiteral("shows no text");
    if (text.width() > room.width() || text.height() > room.height())
        return QStringLiteral("needs %1x%2 px, has %3x%4")
            .arg(text.width())
            .arg(text.height())
            .arg(room.width())
            .arg(room.height());
    for (const QObject *child : widget->children())
        if (child->isWidgetType() && cover(static_cast<const QWidget *>(child)).intersects(text))
            return QStringLiteral("under its child ") + child->objectName();
    for (const QWidget *w = widget; w != window; w = w->parentWidget()) {
        text.translate(w->pos());
        if (!w->parentWidget()->rect().contains(text))
            return QStringLiteral("cut by the edge of ") + w->parentWidget()->objectName();
        const QObjectList siblings = w->parentWidget()->children();
        for (int i = siblings.indexOf(const_cast<QWidget *>(w)) + 1; i < siblings.size(); ++i)
            if (siblings.at(i)->isWidgetType()
                && cover(static_cast<const QWidget *>(siblings.at(i))).intersects(text))
                return QStringLiteral("under ") + siblings.at(i)->objectName();
    }
    return QString();
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
        const QList<QObject *> all = window->findChildren<QObject *>(QString::fromLatin1(name));
        return all.size() == 1 ? qobject_cast<T *>(all.first()) : nullptr;
    }

    // The listing of a window against the expected one, line by line.
    static void compareTree(const QMainWindow &tested)
    {
        const QStringList actual = listTree(&tested);
        const QStringList expected = expectedLines();
        for (int i = 0; i < qMax(actual.size(), expected.size()); ++i)
            QCOMPARE(actual.value(i, QStringLiteral("(nothing)")),
                     expected.value(i, QStringLiteral("(nothing)")));
    }

private slots:
    void initTestCase()
    {
        // The font and style the program and the demo choose.
        useLegibleForm();
        QtMessageHandler previous = qInstallMessageHandler(catchMessage);
        caughtMessages.clear();
        window = std::make_unique<MainWindow>();
        qInstallMessageHandler(previous);
        constructionMessages = caughtMessages;
    }

    void cleanupTestCase()
    {
        window.reset();
        defaultObjects.clear();
    }

    // --- The objects -----------------------------------------------------

    // The form alone, the program's window (less the ports it lists), and a
    // form whose texts were changed and given again all list as expected.
    void tree_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("the form") << 0;
        QTest::newRow("the program's window") << 1;
        QTest::newRow("texts given again") << 2;
    }

    void tree()
    {
        QCOMPARE(expectedLines().size(), 75);
        QFETCH(int, which);
        if (which == 1) {
            MainWindow program;
            program.findChild<QComboBox *>(QStringLiteral("combo_serial"))->clear();
            compareTree(program);
            return;
        }
        QMainWindow plain;
        MainWindowForm form;
        setupForm(&form, &plain);
        if (which == 2) {
            form.Scegli->setCurrentIndex(2);
            form.groupBox_13->setTitle(QStringLiteral("altro"));
            form.label_13->setText(QString());
            plain.setWindowTitle(QStringLiteral("altro"));
            retranslateForm(&form, &plain);
            QCOMPARE(plain.windowTitle(), QStringLiteral("Aspirello Kit V1.0 \"VALVOLIX KIT\""));
        }
        compareTree(plain);
    }

    // setupForm fills every member, in the order of creation, with the
    // object of that name.
    void formMembers()
    {
        QMainWindow plain;
        MainWindowForm f;
        setupForm(&f, &plain);
        const QObject *const members[] = {f.actionAvanzate,
                                          f.centralWidget,
                                          f.groupBox_6,
                                          f.groupBox_9,
                                          f.groupBox_8,
                                          f.A,
                                          f.C,
                                          f.D,
                                          f.B,
                                          f.groupBox_10,
                                          f.AD,
                                          f.CD,
                                          f.BD,
                                          f.DD,
                                          f.groupBox_3,
                                          f.BA,
                                          f.groupBox_4,
                                          f.BB,
                                          f.groupBox_5,
                                          f.BC,
                                          f.groupBox_7,
                                          f.BAD,
                                          f.groupBox_11,
                                          f.groupBox_20,
                                          f.AM,
                                          f.CM,
                                          f.DM,
                                          f.BM,
                                          f.groupBox_21,
                                          f.AMD,
                                          f.CMD,
                                          f.BMD,
                                          f.DMD,
                                          f.groupBox_14,
                                          f.BAM,
                                          f.groupBox_15,
                                          f.BBM,
                                          f.groupBox_19,
                                          f.BCM,
                                          f.groupBox_22,
                                          f.BDM,
                                          f.label_13,
                                          f.groupBox_2,
                                          f.groupBox_13,
                                          f.label_5,
                                          f.Scegli,
                                          f.groupBox_16,
                                          f.push_start_data,
                                          f.label_8,
                                          f.check_timer,
                                          f.combo_serial,
                                          f.push_serial_connect,
                                          f.spin_ms_timer,
                                          f.groupBox_32,
                                          f.button_startSampling,
                                          f.button_startSampling_2,
                                          f.button_startSampling_3,
                                          f.groupBox,
                                          f.label_11,
                                          f.Media,
                                          f.label_17,
                                          f.label_9,
                                          f.label_10,
                                          f.label_12,
                                          f.groupBox_12,
                                          f.INVIA,
                                          f.MedInt,
                                          f.filtroLp,
                                          f.label_15,
                                          f.label_16,
                                          f.groupBox_17,
                                          f.Tardu,
                                          f.label_14,
                                          f.mainToolBar,
                                          f.statusBar};
        const QStringList lines = expectedLines();
        QCOMPARE(int(sizeof members / sizeof members[0]), lines.size());
        for (int i = 0; i < lines.size(); ++i) {
            const QString name = lines.at(i).section(QLatin1Char(' '), 0, 0);
            QVERIFY2(members[i], qPrintable(name));
            QCOMPARE(members[i]->objectName(), name);
            QCOMPARE(plain.findChild<QObject *>(name), members[i]);
        }
        QCOMPARE(plain.objectName(), QStringLiteral("MainWindow"));
        QCOMPARE(f.combo_serial->count(), 0);
        QCOMPARE(f.combo_serial->currentText(), QString());
    }

    // Each slot bound by name finds its widget: connectSlotsByName warns
    // about any on_ slot whose object or signal is missing.
    void slotsByNameFindTheirWidgets()
    {
        for (const QString &message : constructionMessages)
            QVERIFY2(!message.contains(QLatin1String("connectSlotsByName")), qPrintable(message));
    }

    // --- The window ----------------------------------------------------------

    void windowSettings()
    {
        QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Aspirello Kit V1.0 \"VALVOLIX KIT\""));
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
        // No widget shows the action: neither a menu nor the tool bar.
        QVERIFY(!window->actions().contains(action));
        for (const QWidget *widget : window->findChildren<QWidget *>())
            QVERIFY2(!widget->actions().contains(action), qPrintable(widget->objectName()));
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

    // Widgets stand where the form puts them, and stay there when the window
    // is resized.
    void placement()
    {
        MainWindow other;
        for (const QSize size : {other.size(), QSize(600, 400)}) {
            other.resize(size);
            for (const Placement &p : placements) {
                const QWidget *widget = other.findChild<QWidget *>(QString::fromLatin1(p.name));
                QVERIFY2(widget, p.name);
                QCOMPARE(widget->geometry(), p.rect);
            }
        }
    }

    // Every bar has the bar palette (the listing names the widgets with a
    // palette of their own), and its brushes are solid and opaque.
    void barPalette()
    {
        QVERIFY(barPaletteMismatch(find<QWidget>("groupBox_14")) != QString());
        for (const char *name : {"BA", "BB", "BC", "BAD", "BAM", "BBM", "BCM", "BDM"}) {
            const QWidget *bar = find<QProgressBar>(name);
            QVERIFY2(bar, name);
            QCOMPARE(barPaletteMismatch(bar), QString());
            const QBrush brush = bar->palette().brush(QPalette::Disabled, QPalette::Base);
            QCOMPARE(brush.color(), QColor(0, 3, 181, 255));
            QCOMPARE(brush.style(), Qt::SolidPattern);
        }
    }

    // The values outside a box's range are brought into it (in a window of
    // its own, so that the values changed here stay here).
    void spinBoxesClamp_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("set");
        QTest::addColumn<int>("steps");
        QTest::addColumn<double>("expected");
        QTest::newRow("timer low") << "spin_ms_timer" << 5.0 << 0 << 10.0;
        QTest::newRow("timer high") << "spin_ms_timer" << 500.0 << 0 << 50.0;
        QTest::newRow("timer stepped up") << "spin_ms_timer" << 50.0 << 10 << 50.0;
        QTest::newRow("Media low") << "Media" << 0.0 << 0 << 1.0;
        QTest::newRow("Media high") << "Media" << 20000.0 << 0 << 10000.0;
        QTest::newRow("MedInt low") << "MedInt" << -3.0 << 0 << 1.0;
        QTest::newRow("MedInt high") << "MedInt" << 1001.0 << 0 << 1000.0;
        QTest::newRow("MedInt stepped down") << "MedInt" << 1000.0 << -5000 << 1.0;
        QTest::newRow("filter low") << "filtroLp" << -0.25 << 0 << 0.0;
        QTest::newRow("filter high") << "filtroLp" << 1.5 << 0 << 1.0;
        QTest::newRow("filter rounded") << "filtroLp" << 0.123456 << 0 << 0.12346;
    }

    void spinBoxesClamp()
    {
        QFETCH(QString, name);
        QFETCH(double, set);
        QFETCH(int, steps);
        QFETCH(double, expected);
        MainWindow other;
        auto *box = other.findChild<QAbstractSpinBox *>(name);
        QVERIFY(box);
        QVERIFY(box->setProperty("value", set));
        box->stepBy(steps);
        QCOMPARE(box->property("value").toDouble(), expected);
    }

    // The filter's step is finer than its five decimals show; its text is
    // its value in the user's locale.
    void filterText()
    {
        auto *box = find<QDoubleSpinBox>("filtroLp");
        QVERIFY(box);
        QVERIFY(box->singleStep() < 0.000005);
        QCOMPARE(box->text(), QLocale().toString(0.5, 'f', 5));
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

    // The credit and donation labels carry a text of this project, and no
    // e-mail address.
    void creditLabels()
    {
        for (const char *name : {"label_9", "label_10", "label_12", "label_13"}) {
            QLabel *label = find<QLabel>(name);
            QVERIFY2(label && !label->text().isEmpty(), name);
            QVERIFY2(!label->text().contains(QLatin1Char('@')), name);
        }
    }

    // --- Every text fits -------------------------------------------------

    // Every caption, button text, spin box value at its widest and the
    // name of a real serial adapter can be read in full: in the font the
    // program chooses, and in each candidate font installed here.
    void everyTextFits_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::newRow("the program's font") << QApplication::font();
        for (const FormFontCandidate &candidate : formFontCandidates()) {
            const QStringList family{QString::fromLatin1(candidate.family)};
            if (QFontDatabase().families().contains(family.first(), Qt::CaseInsensitive))
                QTest::newRow(candidate.family) << formFont(family, QApplication::font());
        }
    }

    void everyTextFits()
    {
        QFETCH(QFont, font);
        const QFont programFont = QApplication::font();
        QApplication::setFont(font);
        MainWindow shown;
        shown.show();
        const bool exposed = QTest::qWaitForWindowExposed(&shown);
        QStringList clipped;
        int texts = 0;
        auto check = [&](const QWidget *widget) {
            const QString clip = clipOf(widget, &shown);
            clipped << (clip.isEmpty() ? QString()
                                       : widget->objectName() + QStringLiteral(": ") + clip);
            ++texts;
        };
        QRect room, text;
        for (const QWidget *widget : shown.findChildren<QWidget *>())
            if (!qobject_cast<const QAbstractSpinBox *>(widget)
                && !qobject_cast<const QComboBox *>(widget) && paintedText(widget, &room, &text))
                check(widget);
        const QList<QPair<const char *, double>> widest = {
            {"Media", 10000},      {"Media", 1},          {"MedInt", 1000},  {"MedInt", 999},
            {"spin_ms_timer", 50}, {"spin_ms_timer", 10}, {"filtroLp", 0.0}, {"filtroLp", 1.0}};
        for (const auto &value : widest) {
            QWidget *spin = shown.findChild<QWidget *>(QString::fromLatin1(value.first));
            spin->setProperty("value", value.second);
            check(spin);
        }
        auto *serial = shown.findChild<QComboBox *>(QStringLiteral("combo_serial"));
        serial->addItems({"ttyUSB0", "ttyACM0", "COM12", "pts/12"});
        for (const char *combo : {"Scegli", "combo_serial"}) {
            auto *box = shown.findChild<QComboBox *>(QString::fromLatin1(combo));
            for (int i = 0; i < box->count(); ++i) {
                box->setCurrentIndex(i);
                check(box);
            }
        }
        const QString fontShown = shown.font().toString();
        const bool fitting = dynamic_cast<const TitleFittingStyle *>(shown.style());
        QApplication::setFont(programFont);
        QVERIFY(exposed && fitting);
        QCOMPARE(fontShown, font.toString());
        // 40 captions (11 labels, 6 buttons, a check box, 22 group boxes),
        // 8 spin box values, 4 reference cylinders and the port names.
        QCOMPARE(texts, 40 + 8 + 4 + serial->count());
        clipped.removeAll(QString());
        QVERIFY2(clipped.isEmpty(), qPrintable(fontShown + ": " + clipped.join("; ")));
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
