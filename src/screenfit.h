#ifndef SCREENFIT_H
#define SCREENFIT_H

class QMainWindow;

// The gauge's form places every widget at a fixed pixel position in a window
// of 1291 x 903. On a smaller screen (a 1366 x 768 laptop less its panel)
// the lower rows, those watched while synchronising, and the status bar
// would lie beyond the screen's edge with no way to reach them.
//
// Call before the window is first shown. When the screen's available area
// cannot hold the window with its title bar, its content goes into a scroll
// area and the window takes the available area (maximised); the form's
// widgets keep their names, sizes and positions, and every text its size.
// On a screen that holds it nothing changes. True if the window was fitted.
bool fitWindowToScreen(QMainWindow &window);

#endif // SCREENFIT_H
