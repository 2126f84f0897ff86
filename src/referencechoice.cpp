#include "referencechoice.h"

#include "measure/readings.h"

#include <QComboBox>
#include <QRegularExpression>

namespace {

QRegularExpression cylinderNumber()
{
    return QRegularExpression(QStringLiteral("[1-%1]").arg(kCylinderCount));
}

} // namespace

ReferenceCylinderValidator::ReferenceCylinderValidator(std::function<QString()> currentChoice,
                                                       QObject *parent)
    : QRegularExpressionValidator(cylinderNumber(), parent)
    , currentChoice(std::move(currentChoice))
{
}

void ReferenceCylinderValidator::fixup(QString &input) const
{
    input = currentChoice();
}

void acceptOnlyCylinders(QComboBox *box)
{
    const auto chosen = [box] { return box->itemText(box->currentIndex()); };
    box->setValidator(new ReferenceCylinderValidator(chosen, box));
    // Completing a one-character entry adds nothing, and would put "1" in an
    // entry emptied and then given a refused character.
    box->setCompleter(nullptr);
}
