#include "displaycheck.h"
#include "legibleform.h"
#include "mainwindow.h"
#include "mmapthreshold.h"
#include "screenfit.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Before the window exists and frees its first large block: over a
    // session of hours the log's buffer then grows in place by mremap instead
    // of being copied inside the heap at each enlargement.
    fixMmapThreshold();
    if (!displayAvailable(argc, argv)) {
        std::fputs(
            qPrintable(noDisplayMessage(
                QStringLiteral("Aspirello"),
                QStringLiteral("Start it from a desktop session (over ssh: ssh -X). A picture of "
                               "the gauge on its simulated board can be taken without one:\n"
                               "  QT_QPA_PLATFORM=offscreen Aspirello-demo --auto --screenshot "
                               "gauge.png"))),
            stderr);
        return kNoDisplayExitCode;
    }
    QApplication application(argc, argv);
    useLegibleForm();
    int result = 0;
    {
        MainWindow window;
        fitWindowToScreen(window);
        window.show();
        result = application.exec();
    }
    return result;
}
