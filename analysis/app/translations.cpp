#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

static void loadTranslationResources()
{
    // The translations live in a resource of this static library, which the
    // linker keeps only when it is named.
    Q_INIT_RESOURCE(analysis_translations);
}

bool installTranslations(QCoreApplication &application, const QLocale &locale)
{
    loadTranslationResources();
    if (locale.language() == QLocale::English || locale.language() == QLocale::C) {
        // The source texts are English; only their plural forms need a file.
        auto *plurals = new QTranslator(&application);
        if (plurals->load(QStringLiteral(":/i18n/aspirello-analisi_en.qm")))
            QCoreApplication::installTranslator(plurals);
        else
            delete plurals;
        return false;
    }

    auto *own = new QTranslator(&application);
    if (!own->load(locale, QStringLiteral("aspirello-analisi"), QStringLiteral("_"),
                   QStringLiteral(":/i18n"))) {
        delete own;
        return false;
    }
    QCoreApplication::installTranslator(own);

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QString qtTranslations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    const QString qtTranslations = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
    auto *toolkit = new QTranslator(&application);
    if (toolkit->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), qtTranslations))
        QCoreApplication::installTranslator(toolkit);
    else
        delete toolkit;
    return true;
}
