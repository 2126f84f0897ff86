#include "legibleform.h"
#include "longrun.h"
#include "mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    prepareForLongRuns();
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
