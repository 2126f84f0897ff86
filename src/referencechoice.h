#ifndef REFERENCECHOICE_H
#define REFERENCECHOICE_H

#include <QRegularExpressionValidator>

#include <functional>

class QComboBox;

// What may be typed into the reference-cylinder box: one cylinder number, 1
// to 4, and nothing else. Any other entry would add an item that stands for
// no cylinder, and every difference would then read 0, exactly what perfect
// synchronisation looks like. Anything else is refused as it is typed; an
// entry left empty goes back to the cylinder chosen before.
class ReferenceCylinderValidator : public QRegularExpressionValidator
{
public:
    // currentChoice gives the text of the cylinder chosen now.
    ReferenceCylinderValidator(std::function<QString()> currentChoice, QObject *parent);

    void fixup(QString &input) const override;

private:
    std::function<QString()> currentChoice;
};

// Lets only cylinder numbers be typed into box, which stays editable.
void acceptOnlyCylinders(QComboBox *box);

#endif // REFERENCECHOICE_H
