#include "legibleform.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStyleOptionGroupBox>

#include <algorithm>

const QList<FormFontCandidate> &formFontCandidates()
{
    static const QList<FormFontCandidate> candidates = {
        {"Liberation Sans", 11},
        {"Arial", 11},
        {"DejaVu Sans", 10},
    };
    return candidates;
}

QFont formFont(const QStringList &installedFamilies, const QFont &fallback)
{
    for (const FormFontCandidate &candidate : formFontCandidates()) {
        const QString family = QString::fromLatin1(candidate.family);
        if (installedFamilies.contains(family, Qt::CaseInsensitive)) {
            QFont font(fallback);
            font.setFamily(family);
            font.setPixelSize(candidate.pixelSize);
            return font;
        }
    }
    int smallest = formFontCandidates().first().pixelSize;
    for (const FormFontCandidate &candidate : formFontCandidates())
        smallest = std::min(smallest, candidate.pixelSize);
    QFont font(fallback);
    font.setPixelSize(smallest);
    return font;
}

TitleFittingStyle::TitleFittingStyle(const QString &baseStyle)
    : QProxyStyle(baseStyle)
{
}

QRect TitleFittingStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                        SubControl subControl, const QWidget *widget) const
{
    QRect rect = QProxyStyle::subControlRect(control, option, subControl, widget);
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || subControl != SC_GroupBoxLabel || !box || box->text.isEmpty())
        return rect;
    // The text as drawn, and one blank after it, as far as the box allows.
    const int textWidth =
        box->fontMetrics.size(Qt::TextShowMnemonic, box->text + QLatin1Char(' ')).width();
    const int roomRight = box->rect.right() - rect.left() + 1;
    if (textWidth > rect.width())
        rect.setWidth(qMin(textWidth, qMax(rect.width(), roomRight)));
    return rect;
}

void useLegibleForm()
{
    QApplication::setFont(formFont(QFontDatabase().families(), QApplication::font()));
    QApplication::setStyle(new TitleFittingStyle(QApplication::style()->objectName()));
}
