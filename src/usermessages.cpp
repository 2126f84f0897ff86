#include "usermessages.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

// The system's reasons as the toolkit words them (its own texts, or the C
// library's in the C locale). In another locale the C library's texts come
// already translated and are shown as they are.
QString plainSystemReason(const QString &toolkitReason)
{
    struct Wording
    {
        const char *system;
        const char *plain;
    };
    static const Wording wordings[] = {
        {"Permission denied", "permesso negato"},
        {"Operation not permitted", "operazione non permessa"},
        {"No space left on device", "disco pieno"},
        {"Disk quota exceeded", "spazio concesso sul disco esaurito"},
        {"Read-only file system", "disco in sola lettura"},
        {"File too large", "file troppo grande"},
        {"No such file or directory", "file o cartella inesistente"},
        {"Too many open files", "troppi file aperti"},
        {"Input/output error", "errore del dispositivo"},
        {"Device or resource busy", "dispositivo occupato"},
    };
    const QString reason = toolkitReason.trimmed();
    for (const Wording &wording : wordings) {
        if (reason.compare(QLatin1String(wording.system), Qt::CaseInsensitive) == 0)
            return tr(wording.plain);
    }
    return QString();
}

// The toolkit's text, or nothing when it has no reason to give.
QString givenReason(const QString &toolkitReason)
{
    const QString reason = toolkitReason.trimmed();
    if (reason.compare(QLatin1String("Unknown error"), Qt::CaseInsensitive) == 0)
        return QString();
    return reason;
}

QString portOpenFailureReason(QSerialPort::SerialPortError error, const QString &toolkitReason)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return tr("porta non trovata");
    case QSerialPort::PermissionError:
        // The toolkit reports a port that another program has locked or
        // holds exclusively as a permission error too.
        if (toolkitReason.contains(QLatin1String("locking the device"), Qt::CaseInsensitive)
            || toolkitReason.contains(QLatin1String("busy"), Qt::CaseInsensitive))
            return tr("porta già in uso");
#if defined(Q_OS_WIN)
        return tr("porta già in uso o accesso negato");
#elif defined(Q_OS_LINUX)
        return tr("permesso negato (serve il gruppo dialout)");
#else
        return tr("permesso negato");
#endif
    case QSerialPort::OpenError:
        return tr("porta già aperta");
    case QSerialPort::UnsupportedOperationError:
        return tr("non è una porta seriale");
    default:
        break;
    }
    const QString plain = plainSystemReason(toolkitReason);
    if (!plain.isEmpty())
        return plain;
    if (!givenReason(toolkitReason).isEmpty())
        return givenReason(toolkitReason);
    return error == QSerialPort::ResourceError ? tr("dispositivo non disponibile")
                                               : tr("errore sconosciuto");
}

} // namespace

QString portOpenFailedMessage(const QString &portName, QSerialPort::SerialPortError error,
                              const QString &toolkitReason)
{
    if (portName.isEmpty())
        return tr("Impossibile aprire la seriale: nessuna porta scelta");
    return tr("Impossibile aprire %1: %2").arg(portName, portOpenFailureReason(error, toolkitReason));
}

QString saveFailedMessage(QFileDevice::FileError error, const QString &toolkitReason)
{
    QString reason = plainSystemReason(toolkitReason);
    if (reason.isEmpty())
        reason = givenReason(toolkitReason);
    if (reason.isEmpty()) {
        // The toolkit's code for a write that found the disk full.
        if (error == QFileDevice::ResourceError)
            reason = tr("disco pieno");
        else if (error == QFileDevice::OpenError)
            reason = tr("impossibile creare il file");
        else
            reason = tr("errore di scrittura");
    }
    return tr("Salvataggio non riuscito: %1").arg(reason);
}

QString savedMessage(const QString &folder, const QString &fileName)
{
    return tr("Log salvato in %1").arg(QDir::toNativeSeparators(QDir(folder).filePath(fileName)));
}

QString logClearedMessage()
{
    return tr("Log svuotato");
}

QString boardLostMessage()
{
    return tr("Seriale persa");
}

QString logFullMessage()
{
    return tr("Log pieno: le nuove letture non vengono registrate");
}

QString noAnswerMessage(const QString &portName)
{
    return tr("Nessuna risposta dalla scheda su %1").arg(portName);
}

QString notABoardMessage(const QString &portName)
{
    return tr("Dati non riconosciuti su %1: non sembra la scheda").arg(portName);
}

QString settingsSentMessage(int innerLoopCount, double lowPassCoefficient, int decimals)
{
    // The interface is Italian whatever the system's language: a decimal
    // comma, and no grouping of thousands in the count.
    const QString coefficient = QString::number(lowPassCoefficient, 'f', decimals)
                                    .replace(QLatin1Char('.'), QLatin1Char(','));
    return tr("Impostazioni inviate: ciclo %1, filtro %2").arg(innerLoopCount).arg(coefficient);
}

QString settingsNotSentMessage()
{
    return tr("Impostazioni non inviate: la porta non è aperta");
}
