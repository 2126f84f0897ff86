#ifndef DISPLAYCHECK_H
#define DISPLAYCHECK_H

#include <QString>
#include <QStringList>

// Whether a window can be shown at all, asked before the application object
// exists: without a display the toolkit aborts at its start with a message
// about platform plugins, which tells a user nothing.

// The exit code of a program asked for a window where there is no display
// (aspirello-analisi's as well).
constexpr int kNoDisplayExitCode = 7;

// The window-system platform the toolkit is asked for: the value of a
// -platform (or --platform) argument, else platformVariable
// (QT_QPA_PLATFORM's value); empty for the system's default.
QString requestedPlatform(const QStringList &arguments, const QString &platformVariable);

// Whether platform can show a window: the X11 platform (xcb) needs an X
// display, a Wayland one a Wayland display, the default either; platforms
// that draw without a display server (offscreen, minimal, eglfs, linuxfb,
// ...) always can. A list of platforms separated by ';' needs one of them.
bool displayReachable(const QString &platform, bool xDisplayNamed, bool waylandDisplayNamed);

// The above for this process: its arguments (a -display argument names an
// X display too) and its environment (DISPLAY, WAYLAND_DISPLAY). Always true
// on systems that have no display servers to miss (Windows, macOS).
bool displayAvailable(int argc, char *argv[]);

// The message of a program that has no display: what is missing and what
// can be done instead, given as a command line in howInstead.
QString noDisplayMessage(const QString &program, const QString &howInstead);

#endif // DISPLAYCHECK_H
