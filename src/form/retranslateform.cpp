// Gives every visible text of the main window. The source is
// UTF-8: "N°" carries the degree sign U+00B0.
#include "form/mainwindowform.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QString>
#include <QStringList>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("MainWindow", text, nullptr);
}

} // namespace

void retranslateForm(MainWindowForm *form, QMainWindow *window)
{
    window->setWindowTitle(tr("Aspirello Kit V1.0 \"VALVOLIX KIT\""));
    form->actionAvanzate->setText(tr("Avanzate"));
    form->groupBox_6->setTitle(tr("Ricezione dati "));
    form->groupBox_9->setTitle(tr("Letture non elaborate"));
    form->groupBox_8->setTitle(tr("Singoli valori in [kPa]"));
    form->groupBox_10->setTitle(tr("Letture rispetto al cilindro di riferimento [kPa]"));
    form->groupBox_3->setTitle(tr("Cilindro 1"));
    form->groupBox_4->setTitle(tr("Cilindro 2"));
    form->groupBox_5->setTitle(tr("Cilindro 3"));
    form->groupBox_7->setTitle(tr("Cilindro 4"));
    form->groupBox_11->setTitle(
        tr("Letture con media galoppante degli ultimi valori ( taratura fine )"));
    form->groupBox_20->setTitle(tr("Singoli valori in [kPa]"));
    form->groupBox_21->setTitle(tr("Letture medie rispetto al cilindro di riferimento [kPa]"));
    form->groupBox_14->setTitle(tr("Cilindro 1"));
    form->groupBox_15->setTitle(tr("Cilindro 2"));
    form->groupBox_19->setTitle(tr("Cilindro 3"));
    form->groupBox_22->setTitle(tr("Cilindro 4"));
    form->label_13->setText(tr("Sostieni il progetto Aspirello: libero e aperto a tutti"));
    form->groupBox_2->setTitle(tr("Impostazioni generali"));
    form->groupBox_13->setTitle(tr("Scegli il carb. statico"));
    form->label_5->setText(tr("Cilindro N°"));

    form->Scegli->clear();
    form->Scegli->insertItems(0, QStringList() << tr("1") << tr("2") << tr("3") << tr("4"));
    form->Scegli->setCurrentText(tr("1"));

    form->groupBox_16->setTitle(tr("Comunicazione"));
    form->push_start_data->setText(tr("Ricevi"));
    form->label_8->setText(tr("[ms]"));
    form->check_timer->setText(tr("Ricevi dati in:"));
    form->push_serial_connect->setText(tr("Aprila"));
    form->groupBox_32->setTitle(tr("Log"));
    form->button_startSampling->setText(tr("Salva"));
    form->button_startSampling_2->setText(tr("Reset"));
    form->button_startSampling_3->setText(tr("TOP"));
    form->groupBox->setTitle(tr("Media degli ultimi"));
    form->label_11->setText(tr("Valori"));
    form->label_17->setText(tr("Per taratura fine"));
    form->label_9->setText(tr("Aspirello"));
    form->label_10->setText(tr("Kit"));
    form->label_12->setText(tr("libero e aperto"));
    form->groupBox_12->setTitle(tr("N° letture interne"));
    form->INVIA->setText(tr("Invia"));
    form->label_15->setText(tr("Filtro Low-Pass"));
    form->label_16->setText(tr("Ciclo for interno"));
    form->groupBox_17->setTitle(tr("T CicloArdu"));
    form->label_14->setText(tr("[ms]"));
}
