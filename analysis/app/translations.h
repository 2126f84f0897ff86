#ifndef ANALYSIS_TRANSLATIONS_H
#define ANALYSIS_TRANSLATIONS_H

#include <QLocale>

class QCoreApplication;

// Installs the program's own translation for the locale's language (built into
// the program), and the toolkit's own (dialog buttons) when the system has it.
// Returns true when the program's translation was found and installed; an
// English locale, or one without a translation, keeps the English source texts.
bool installTranslations(QCoreApplication &application, const QLocale &locale);

#endif // ANALYSIS_TRANSLATIONS_H
