#include "tools/UnitConfig.h"

#include "acquisition/AcquisitionState.h"
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
    const nmea::TNmeaSettings s = target ? target->NetworkSettings() : nmea::TNmeaSettings{};
    ui->NmeaOutputCheckBox->setChecked(s.enabled);
    ui->NmeaPortSpinEdit->setValue(s.tcpPort);
    ui->NmeaAllInterfacesCheckBox->setChecked(s.allInterfaces);
    ui->NmeaUdpEdit->setText(s.udpHost.empty() ? QString() : QString::fromStdString(s.udpHost + ":" + std::to_string(s.udpPort)));
    ui->StormThresholdSpinEdit->setValue(s.stormThreshold);
    if (target && watched != target) {
        target->WatchNetworkStatus(this, [this] { ShowNetworkStatus(); });
        watched = target;
    }
    ShowNetworkStatus();
}

void TConfigurationDlg::ShowNetworkStatus() {
    ui->NmeaStatusLabel->setText(target ? target->NetworkStatus() : QString());
}

void TConfigurationDlg::OKBtnClick() {
    // The typed text, not the box's last valid value: what the user sees is what counts.
    Acquisition.BaroHeight = tools::ParseBaroHeight(ui->BaroheightSpinEdit->text().toStdString());
    Acquisition.ShowLastMessage = ui->LastMessageCheckBox->isChecked() ? 1 : 0;
    if (target) {
        nmea::TNmeaSettings s = target->NetworkSettings();
        s.enabled = ui->NmeaOutputCheckBox->isChecked();
        s.tcpPort = ui->NmeaPortSpinEdit->value();
        s.allInterfaces = ui->NmeaAllInterfacesCheckBox->isChecked();
        const nmea::TNmeaSettings udp = nmea::WithOverride({}, "udp:" + ui->NmeaUdpEdit->text().trimmed().toStdString());
        s.udpHost = udp.udpHost;
        s.udpPort = udp.udpPort;
        s.stormThreshold = ui->StormThresholdSpinEdit->value();
        target->ConfigurationAccepted(s);
    }
    accept();
}
