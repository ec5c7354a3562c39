#include "tools/UnitConfig.h"

#include "acquisition/AcquisitionState.h"
#include "app/Application.h"
#include "app/NmeaOutput.h"
#include "app/UnitMain.h"
#include "nmea/NmeaSettings.h"
#include "tools/BaroHeightInput.h"
#include "ui_UnitConfig.h"

TConfigurationDlg::TConfigurationDlg(QWidget* parent) : QDialog(parent), ui(new Ui::TConfigurationDlg) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->OKBtn, &QPushButton::clicked, this, &TConfigurationDlg::OKBtnClick);
}

TConfigurationDlg::~TConfigurationDlg() { delete ui; }

void TConfigurationDlg::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TConfigurationDlg::FormShow() {
    setWindowTitle("Configuration");
    ui->GroupBox1->setTitle("Correction barométre altitude");
    ui->Label1->setText("Barométre altitude [m]");
    ui->LastMessageCheckBox->setText("Dernier message afficher automatiquement");
    ui->OKBtn->setText("Sauvegarder");
    ui->CancelBtn->setText("Fermer");
    ui->BaroheightSpinEdit->setValue(Acquisition.BaroHeight);
    ui->LastMessageCheckBox->setChecked(Acquisition.ShowLastMessage != 0);

    // The boat's network and the storm warning.
    ui->NmeaGroupBox->setTitle("Réseau du bord (NMEA 0183)");
    ui->NmeaOutputCheckBox->setText("Sortie NMEA activée");
    ui->NmeaPortLabel->setText("Port TCP");
    ui->NmeaAllInterfacesCheckBox->setText("Écouter sur tous les réseaux");
    ui->NmeaUdpLabel->setText("UDP hôte:port");
    ui->StormLabel->setText("Avis de tempête [hPa/3h]");
    const nmea::TNmeaSettings s = Forms.MainForm ? Forms.MainForm->NmeaSettings() : nmea::TNmeaSettings{};
    ui->NmeaOutputCheckBox->setChecked(s.enabled);
    ui->NmeaPortSpinEdit->setValue(s.tcpPort);
    ui->NmeaAllInterfacesCheckBox->setChecked(s.allInterfaces);
    ui->NmeaUdpEdit->setText(s.udpHost.empty() ? QString() : QString::fromStdString(s.udpHost + ":" + std::to_string(s.udpPort)));
    ui->StormThresholdSpinEdit->setValue(s.stormThreshold);
    if (Forms.MainForm)
        connect(&Forms.MainForm->NmeaOutput(), &TNmeaOutput::StatusChanged, this, &TConfigurationDlg::ShowNetworkStatus,
                Qt::UniqueConnection);
    ShowNetworkStatus();
}

void TConfigurationDlg::ShowNetworkStatus() {
    ui->NmeaStatusLabel->setText(Forms.MainForm ? Forms.MainForm->NmeaOutput().StatusText() : QString());
}

void TConfigurationDlg::OKBtnClick() {
    // The typed text, not the box's last valid value: what the user sees is what counts.
    Acquisition.BaroHeight = tools::ParseBaroHeight(ui->BaroheightSpinEdit->text().toStdString());
    Acquisition.ShowLastMessage = ui->LastMessageCheckBox->isChecked() ? 1 : 0;
    if (Forms.MainForm) {
        nmea::TNmeaSettings s = Forms.MainForm->NmeaSettings();
        s.enabled = ui->NmeaOutputCheckBox->isChecked();
        s.tcpPort = ui->NmeaPortSpinEdit->value();
        s.allInterfaces = ui->NmeaAllInterfacesCheckBox->isChecked();
        const nmea::TNmeaSettings udp = nmea::WithOverride({}, "udp:" + ui->NmeaUdpEdit->text().trimmed().toStdString());
        s.udpHost = udp.udpHost;
        s.udpPort = udp.udpPort;
        s.stormThreshold = ui->StormThresholdSpinEdit->value();
        Forms.MainForm->ApplyNmeaSettings(s, true);
        Forms.MainForm->RedrawChart();
        if (Forms.MainForm->DataThread()) Forms.MainForm->DataThread()->ForceRefresh();
    }
    accept();
}
