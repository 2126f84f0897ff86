#ifndef MAINWINDOWFORM_H
#define MAINWINDOWFORM_H

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLCDNumber;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QToolBar;
class QWidget;

// Every object of the main window, each member named like its object and
// listed in the order of creation. The pointers do not own: the widgets are
// children of the window.
struct MainWindowForm
{
    QAction *actionAvanzate = nullptr;
    QWidget *centralWidget = nullptr;
    QGroupBox *groupBox_6 = nullptr;
    QGroupBox *groupBox_9 = nullptr;
    QGroupBox *groupBox_8 = nullptr;
    QLCDNumber *A = nullptr;
    QLCDNumber *C = nullptr;
    QLCDNumber *D = nullptr;
    QLCDNumber *B = nullptr;
    QGroupBox *groupBox_10 = nullptr;
    QLCDNumber *AD = nullptr;
    QLCDNumber *CD = nullptr;
    QLCDNumber *BD = nullptr;
    QLCDNumber *DD = nullptr;
    QGroupBox *groupBox_3 = nullptr;
    QProgressBar *BA = nullptr;
    QGroupBox *groupBox_4 = nullptr;
    QProgressBar *BB = nullptr;
    QGroupBox *groupBox_5 = nullptr;
    QProgressBar *BC = nullptr;
    QGroupBox *groupBox_7 = nullptr;
    QProgressBar *BAD = nullptr;
    QGroupBox *groupBox_11 = nullptr;
    QGroupBox *groupBox_20 = nullptr;
    QLCDNumber *AM = nullptr;
    QLCDNumber *CM = nullptr;
    QLCDNumber *DM = nullptr;
    QLCDNumber *BM = nullptr;
    QGroupBox *groupBox_21 = nullptr;
    QLCDNumber *AMD = nullptr;
    QLCDNumber *CMD = nullptr;
    QLCDNumber *BMD = nullptr;
    QLCDNumber *DMD = nullptr;
    QGroupBox *groupBox_14 = nullptr;
    QProgressBar *BAM = nullptr;
    QGroupBox *groupBox_15 = nullptr;
    QProgressBar *BBM = nullptr;
    QGroupBox *groupBox_19 = nullptr;
    QProgressBar *BCM = nullptr;
    QGroupBox *groupBox_22 = nullptr;
    QProgressBar *BDM = nullptr;
    QLabel *label_13 = nullptr;
    QGroupBox *groupBox_2 = nullptr;
    QGroupBox *groupBox_13 = nullptr;
    QLabel *label_5 = nullptr;
    QComboBox *Scegli = nullptr;
    QGroupBox *groupBox_16 = nullptr;
    QPushButton *push_start_data = nullptr;
    QLabel *label_8 = nullptr;
    QCheckBox *check_timer = nullptr;
    QComboBox *combo_serial = nullptr;
    QPushButton *push_serial_connect = nullptr;
    QSpinBox *spin_ms_timer = nullptr;
    QGroupBox *groupBox_32 = nullptr;
    QPushButton *button_startSampling = nullptr;
    QPushButton *button_startSampling_2 = nullptr;
    QPushButton *button_startSampling_3 = nullptr;
    QGroupBox *groupBox = nullptr;
    QLabel *label_11 = nullptr;
    QSpinBox *Media = nullptr;
    QLabel *label_17 = nullptr;
    QLabel *label_9 = nullptr;
    QLabel *label_10 = nullptr;
    QLabel *label_12 = nullptr;
    QGroupBox *groupBox_12 = nullptr;
    QPushButton *INVIA = nullptr;
    QSpinBox *MedInt = nullptr;
    QDoubleSpinBox *filtroLp = nullptr;
    QLabel *label_15 = nullptr;
    QLabel *label_16 = nullptr;
    QGroupBox *groupBox_17 = nullptr;
    QLCDNumber *Tardu = nullptr;
    QLabel *label_14 = nullptr;
    QToolBar *mainToolBar = nullptr;
    QStatusBar *statusBar = nullptr;
};

// Creates, names, places and initialises every widget on the window, gives
// them their texts and, last, connects the window's slots by object name.
void setupForm(MainWindowForm *form, QMainWindow *window);

// Gives every visible text of the form.
void retranslateForm(MainWindowForm *form, QMainWindow *window);

#endif // MAINWINDOWFORM_H
