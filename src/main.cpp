#include "legibleform.h"
#include "mainwindow.h"
#include "mmapthreshold.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Before the window exists and frees its first large block: over a
    // session of hours the log's buffer then grows in place by mremap instead
    // of being copied inside the heap at each enlargement.
    fixMmapThreshold();
    QApplication application(argc, argv);
    useLegibleForm();
    int result = 0;
    {
        MainWindow window;
        window.show();
        result = application.exec();
    }
    return result;
}
