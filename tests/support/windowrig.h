#ifndef WINDOWRIG_H
#define WINDOWRIG_H

#include "demosession.h"
#include "frames.h"
#include "mainwindow.h"
#include "messagecapture.h"
#include "testboard.h"

#include <QLCDNumber>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QWidget>

// A widget of the window by its object name, or null.
template <typename T>
T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QString::fromLatin1(name));
}

// Plugs the board in answering no poll, so that the test writes every byte
// the window reads; false if no pseudo-terminal could be had.
inline bool plugInSilent(TestBoard &board)
{
    board.setSilent(true);
    return board.plugIn();
}

// The window, a silent board on a pseudo-terminal and the debug lines
// written meanwhile.
struct WindowRig
{
    MainWindow window;
    TestBoard board;
    MessageCapture messages;

    // Shows the window and plugs the board in; the port stays closed.
    bool showWithBoard()
    {
        window.show();
        return plugInSilent(board) && QTest::qWaitForWindowExposed(&window);
    }

    // Opens the board's port from the window; true if it opened.
    bool connectBoard() { return ::connectBoard(window, board.portName()); }

    // Sends one frame and waits until the window has shown it: cycle times
    // count up, so "Tardu" tells when each frame has been taken.
    bool frame(const CylinderValues &readings)
    {
        auto *tardu = child<QLCDNumber>(&window, "Tardu");
        cycle += 1;
        return tardu && board.send(frameBytes(readings, cycle))
            && QTest::qWaitFor([&] { return tardu->value() == double(cycle); }, 5000);
    }

    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    float cycle = 0;
};

#endif // WINDOWRIG_H
