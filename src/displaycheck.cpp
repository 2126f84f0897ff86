#include "displaycheck.h"

#include <QtGlobal>

QString requestedPlatform(const QStringList &arguments, const QString &platformVariable)
{
    for (int i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("-platform") || arguments[i] == QLatin1String("--platform"))
            return arguments[i + 1];
    }
    return platformVariable;
}

bool displayReachable(const QString &platform, bool xDisplayNamed, bool waylandDisplayNamed)
{
    if (platform.trimmed().isEmpty())
        return xDisplayNamed || waylandDisplayNamed;
    for (const QString &entry : platform.split(QLatin1Char(';'))) {
        // Options follow the name after a colon ("xcb:...").
        const QString name = entry.section(QLatin1Char(':'), 0, 0).trimmed();
        if (name == QLatin1String("xcb")) {
            if (xDisplayNamed)
                return true;
        } else if (name.startsWith(QLatin1String("wayland"))) {
            if (waylandDisplayNamed)
                return true;
        } else if (!name.isEmpty()) {
            return true;
        }
    }
    return false;
}

bool displayAvailable(int argc, char *argv[])
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    QStringList arguments;
    bool displayArgument = false;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
        displayArgument = displayArgument
            || (i > 0 && i + 1 < argc
                && (qstrcmp(argv[i], "-display") == 0 || qstrcmp(argv[i], "--display") == 0));
    }
    const QString platform = requestedPlatform(arguments, qEnvironmentVariable("QT_QPA_PLATFORM"));
    return displayReachable(platform, displayArgument || !qEnvironmentVariableIsEmpty("DISPLAY"),
                            !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return true;
#endif
}

QString noDisplayMessage(const QString &program, const QString &howInstead)
{
    return QStringLiteral("%1 needs a display to show its window, and there is none here.\n%2\n")
        .arg(program, howInstead);
}
