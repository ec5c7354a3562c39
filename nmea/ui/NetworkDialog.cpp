// SPDX-License-Identifier: GPL-3.0-or-later
#include "nmea/ui/NetworkDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "nmea/ui/BoatNetwork.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Serial.h"

namespace {

// A number field that takes the user's decimal separator and a point alike: "2,5" and
// "2.5" are both two and a half.
class TDecimalSpinBox : public QDoubleSpinBox {
public:
    using QDoubleSpinBox::QDoubleSpinBox;

    QValidator::State validate(QString& text, int& position) const override {
        QString local = Local(text);
        return QDoubleSpinBox::validate(local, position);
    }
    double valueFromText(const QString& text) const override {
        return QDoubleSpinBox::valueFromText(Local(text));
    }
    void fixup(QString& text) const override {
        text = Local(text);
        QDoubleSpinBox::fixup(text);
    }

private:
    QString Local(QString text) const {
        const QChar separator = locale().decimalPoint().front();
        text.replace(QChar(separator == ',' ? '.' : ','), separator);
        return text;
    }
};

// "54.0683, 10.205", "54,0683 10,205", "54.0683;10.205": decimal degrees, north and east
// positive; false for anything else.
bool ReadFixed(QString text, double& latitude, double& longitude) {
    text = text.trimmed().replace(';', ' ');
    QStringList parts = text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    if (parts.size() == 1 && parts[0].count(',') == 1 && !parts[0].contains('.')) parts = parts[0].split(',');
    if (parts.size() == 2 && parts[0].endsWith(',')) parts[0].chop(1);
    if (parts.size() != 2) return false;
    bool okLat = false, okLon = false;
    latitude = QString(parts[0]).replace(',', '.').toDouble(&okLat);
    longitude = QString(parts[1]).replace(',', '.').toDouble(&okLon);
    return okLat && okLon && std::fabs(latitude) <= 90 && std::fabs(longitude) <= 180;
}

}  // namespace

TNetworkDlg::TNetworkDlg(TBoatNetwork& n, QWidget* parent) : QDialog(parent), network(n) {
    setObjectName("NetworkDlg");
    setWindowTitle(QCoreApplication::translate("TNetworkDlg", "Réseau du bord et alarmes"));
    output = new QCheckBox(QCoreApplication::translate("TNetworkDlg", "Sortie NMEA 0183 activée"), this);
    port = new QSpinBox(this);
    port->setRange(1, 65535);
    allInterfaces =
        new QCheckBox(QCoreApplication::translate("TNetworkDlg", "Écouter sur tous les réseaux"), this);
    udp = new QLineEdit(this);
    udp->setPlaceholderText(QCoreApplication::translate("TNetworkDlg", "hôte:port"));
    threshold = new TDecimalSpinBox(this);
    threshold->setDecimals(1);
    threshold->setRange(0.5, 20.0);
    threshold->setSingleStep(0.1);
    QLocale locale =
        platform::DecimalSeparator() == ',' ? QLocale(QLocale::French, QLocale::France) : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    threshold->setLocale(locale);
    status = new QLabel(this);
    status->setObjectName("NetworkStatusLabel");
    status->setWordWrap(true);
    status->setMinimumWidth(320);

    // The warnings with positions, for the chart plotter: off while no folder is named.
    warningsFolder = new QLineEdit(this);
    warningsFolder->setObjectName("WarningsFolder");
    warningsFolder->setPlaceholderText(QCoreApplication::translate("TNetworkDlg", "aucun (pas d’export)"));
    warningsFolder->setToolTip(QCoreApplication::translate(
        "TNetworkDlg",
        "Après chaque transfert, les avertissements en vigueur qui donnent des positions y "
        "sont écrits en GPX et en GeoJSON (navtex-warnings.gpx, navtex-warnings.geojson)."));
    auto* browse = new QPushButton(QCoreApplication::translate("TNetworkDlg", "Parcourir…"), this);
    browse->setObjectName("WarningsFolderBrowse");
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(
            this, QCoreApplication::translate("TNetworkDlg", "Dossier des avertissements"),
            warningsFolder->text());
        if (!chosen.isEmpty()) warningsFolder->setText(QDir::toNativeSeparators(chosen));
    });
    exportStatus = new QLabel(this);
    exportStatus->setObjectName("ExportStatusLabel");
    exportStatus->setWordWrap(true);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(warningsFolder, 1);
    folderRow->addWidget(browse);
    if (const QString layers = OpenCpnLayers(); !layers.isEmpty()) {
        auto* opencpn =
            new QPushButton(QCoreApplication::translate("TNetworkDlg", "Calques d’OpenCPN"), this);
        opencpn->setObjectName("WarningsFolderOpenCpn");
        opencpn->setToolTip(layers);
        connect(opencpn, &QPushButton::clicked, this, [this, layers] { warningsFolder->setText(layers); });
        folderRow->addWidget(opencpn);
    }

    // The boat's position: from the boat's network, gpsd, or typed in.
    positionSource = new QComboBox(this);
    positionSource->setObjectName("PositionSource");
    positionSource->addItem(QCoreApplication::translate("TNetworkDlg", "Aucune"), "none");
    positionSource->addItem(QCoreApplication::translate("TNetworkDlg", "NMEA 0183 en UDP (multiplexeur)"),
                            "udp");
    positionSource->addItem(QCoreApplication::translate("TNetworkDlg", "NMEA 0183 par TCP"), "tcp");
    positionSource->addItem("gpsd", "gpsd");
    positionSource->addItem(QCoreApplication::translate("TNetworkDlg", "Serveur Signal K"), "signalk");
    positionSource->addItem(QCoreApplication::translate("TNetworkDlg", "GPS sur port série (USB)"), "serial");
    positionSource->addItem(QCoreApplication::translate("TNetworkDlg", "Position fixe (port, mouillage)"),
                            "fixed");
    positionAddress = new QLineEdit(this);
    positionAddress->setObjectName("PositionAddress");
    requestAccess = new QPushButton(QCoreApplication::translate("TNetworkDlg", "Demander l’accès"), this);
    requestAccess->setObjectName("SignalKAccessBtn");
    requestAccess->setToolTip(QCoreApplication::translate(
        "TNetworkDlg",
        "Pour un serveur Signal K dont la sécurité est active : la demande s’approuve dans son "
        "administration, le jeton reçu est gardé."));
    connect(requestAccess, &QPushButton::clicked, this, [this] {
        RequestAccess(
            positionAddress, positionStatus,
            QCoreApplication::translate("TNetworkDlg", "Indiquez la source sous la forme hôte:port."));
    });
    connect(&network.SignalKAccess(), &TSignalKAccess::StateChanged, this, &TNetworkDlg::ShowPositionState);
    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(positionAddress, 1);
    addressRow->addWidget(requestAccess);
    fixedPosition = new QLineEdit(this);
    fixedPosition->setObjectName("FixedPosition");
    fixedPosition->setPlaceholderText("54.0683, 10.2050");
    fixedPosition->setToolTip(QCoreApplication::translate(
        "TNetworkDlg", "Latitude et longitude en degrés décimaux, nord et est positifs"));
    nearDistance = new QSpinBox(this);
    nearDistance->setObjectName("NearDistance");
    nearDistance->setRange(1, nmea::MaxNearDistanceNm);
    nearDistance->setToolTip(QCoreApplication::translate(
        "TNetworkDlg", "Un avertissement à moins de cette distance du bateau le concerne"));
    positionStatus = new QLabel(this);
    positionStatus->setObjectName("PositionStatusLabel");
    positionStatus->setWordWrap(true);
    connect(positionSource, &QComboBox::currentIndexChanged, this, &TNetworkDlg::PositionSourceChosen);
    connect(&network.Position(), &TBoatPosition::StateChanged, this, &TNetworkDlg::ShowPositionState);
    connect(&network.Position(), &TBoatPosition::PositionChanged, this, &TNetworkDlg::ShowPositionState);

    // The alerts on the boat's network, for the plotter and the crew's phones.
    alertsToSignalK = new QCheckBox(
        QCoreApplication::translate("TNetworkDlg", "Envoyer les alertes au serveur Signal K"), this);
    alertsToSignalK->setObjectName("SignalKAlerts");
    alertsToSignalK->setToolTip(QCoreApplication::translate(
        "TNetworkDlg",
        "Détresse, avis de coup de vent, avertissements près du bateau et avis de tempête deviennent des "
        "notifications du serveur (notifications.navtex.…), levées quand le message n’est plus en vigueur "
        "ou a été acquitté."));
    alertsAddress = new QLineEdit(this);
    alertsAddress->setObjectName("SignalKAlertsAddress");
    alertsAddress->setPlaceholderText("localhost:3000");
    auto* alertsAccess =
        new QPushButton(QCoreApplication::translate("TNetworkDlg", "Demander l’accès"), this);
    alertsAccess->setObjectName("SignalKAlertsAccessBtn");
    alertsAccess->setToolTip(requestAccess->toolTip());
    connect(alertsAccess, &QPushButton::clicked, this, [this] {
        RequestAccess(
            alertsAddress, alertsStatus,
            QCoreApplication::translate("TNetworkDlg", "Indiquez le serveur sous la forme hôte:port."));
    });
    connect(alertsToSignalK, &QCheckBox::toggled, alertsAddress, &QWidget::setEnabled);
    alertsStatus = new QLabel(this);
    alertsStatus->setObjectName("SignalKAlertsStatus");
    alertsStatus->setWordWrap(true);
    connect(&network.Notifier(), &TSignalKNotifier::StateChanged, this, &TNetworkDlg::ShowAlertsState);
    connect(&network.SignalKAccess(), &TSignalKAccess::StateChanged, this, &TNetworkDlg::ShowAlertsState);
    auto* alertsRow = new QHBoxLayout;
    alertsRow->addWidget(alertsAddress, 1);
    alertsRow->addWidget(alertsAccess);

    auto* form = new QFormLayout;
    form->addRow(output);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "Port TCP :"), port);
    form->addRow(allInterfaces);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "Destination UDP :"), udp);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "Avis de tempête [hPa/3h] :"), threshold);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "État :"), status);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "Exporter les avertissements vers"), folderRow);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "Export :"), exportStatus);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "Position du bateau :"), positionSource);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "Adresse de la source :"), addressRow);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "Position fixe :"), fixedPosition);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "Distance d’alerte [nm] :"), nearDistance);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "Position :"), positionStatus);
    form->addRow(alertsToSignalK);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "Serveur Signal K :"), alertsRow);
    form->addRow(QCoreApplication::translate("TNetworkDlg", "Alertes :"), alertsStatus);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QCoreApplication::translate("TNetworkDlg", "Enregistrer"),
                                         QDialogButtonBox::AcceptRole);
    ok->setObjectName("OKBtn");
    ok->setDefault(true);
    buttons->addButton(QCoreApplication::translate("TNetworkDlg", "Fermer"), QDialogButtonBox::RejectRole)
        ->setObjectName("CancelBtn");
    connect(ok, &QPushButton::clicked, this, &TNetworkDlg::OKBtnClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(&network.Output(), &TNmeaOutput::StatusChanged, this, &TNetworkDlg::ShowStatus);
}

void TNetworkDlg::showEvent(QShowEvent* event) {
    const nmea::TNmeaSettings& s = network.Settings();
    output->setChecked(s.enabled);
    port->setValue(s.tcpPort);
    allInterfaces->setChecked(s.allInterfaces);
    udp->setText(s.udpHost.empty() ? QString()
                                   : QString::fromStdString(s.udpHost + ":" + std::to_string(s.udpPort)));
    threshold->setValue(s.stormThreshold);
    warningsFolder->setText(QString::fromStdString(s.warningsFolder));
    positionSource->setCurrentIndex(
        std::max(0, positionSource->findData(QString::fromStdString(s.positionSource))));
    positionAddress->setText(QString::fromStdString(s.positionAddress));
    fixedPosition->setText(
        s.positionSource == "fixed" || s.fixedLatitude != 0 || s.fixedLongitude != 0
            ? QStringLiteral("%1, %2").arg(s.fixedLatitude, 0, 'f', 6).arg(s.fixedLongitude, 0, 'f', 6)
            : QString());
    nearDistance->setValue(s.nearDistanceNm);
    alertsToSignalK->setChecked(!s.signalkAlerts.empty());
    alertsAddress->setEnabled(!s.signalkAlerts.empty());
    alertsAddress->setText(QString::fromStdString(!s.signalkAlerts.empty() ? s.signalkAlerts
                                                  : s.positionSource == "signalk"
                                                      ? s.positionAddress
                                                      : std::string("localhost:3000")));
    ShowAlertsState();
    PositionSourceChosen();
    ShowStatus();
    ShowExportState();
    QDialog::showEvent(event);
}

void TNetworkDlg::SetExportState(std::function<QString()> state) {
    exportState = std::move(state);
    ShowExportState();
}

void TNetworkDlg::ShowExportState() {
    exportStatus->setText(exportState ? exportState() : QString());
}

QString TNetworkDlg::OpenCpnLayers() {
    QStringList candidates{QDir::homePath() + "/.opencpn/layers"};
    if (const QString local = qEnvironmentVariable("LOCALAPPDATA"); !local.isEmpty())
        candidates << local + "/opencpn/layers";
    for (const QString& folder : candidates)
        if (QDir(folder).exists()) return QDir::toNativeSeparators(folder);
    return {};
}

namespace {
#ifdef Q_OS_WIN
constexpr const char* SerialExample = "COM3";
#else
constexpr const char* SerialExample = "/dev/ttyUSB0";
#endif
}  // namespace

void TNetworkDlg::PositionSourceChosen() {
    const QString source = positionSource->currentData().toString();
    positionAddress->setEnabled(source == "udp" || source == "tcp" || source == "gpsd" ||
                                source == "signalk" || source == "serial");
    QString ports;
    if (source == "serial") {
        const std::vector<std::string> present = platform::SerialPorts();
        for (const std::string& p : present)
            ports += (ports.isEmpty() ? "" : ", ") + QString::fromStdString(p);
        if (positionAddress->text().isEmpty() && !present.empty())
            positionAddress->setText(QString::fromStdString(present.front()));
    }
    positionAddress->setToolTip(
        source == "serial"
            ? QStringLiteral("Ports série présents : %1. Ajoutez « @4800 » ou « @38400 » pour imposer "
                             "une vitesse ; sans elle, les deux sont essayées.")
                  .arg(ports.isEmpty() ? QCoreApplication::translate("TNetworkDlg", "aucun") : ports)
            : QString());
    fixedPosition->setEnabled(source == "fixed");
    requestAccess->setVisible(source == "signalk");
    positionAddress->setPlaceholderText(
        source == "udp"       ? QCoreApplication::translate("TNetworkDlg", "port (10110)")
        : source == "gpsd"    ? "localhost:2947"
        : source == "signalk" ? "localhost:3000"
        : source == "serial"  ? SerialExample
                              : QCoreApplication::translate("TNetworkDlg", "hôte:port"));
    // What each source usually listens on, when nothing is typed yet.
    if (positionAddress->text().isEmpty() && source == "udp") positionAddress->setText("10110");
    if (positionAddress->text().isEmpty() && source == "gpsd") positionAddress->setText("localhost:2947");
    if (positionAddress->text().isEmpty() && source == "signalk") positionAddress->setText("localhost:3000");
    ShowPositionState();
}

void TNetworkDlg::ShowPositionState() {
    const TBoatPosition& position = network.Position();
    QStringList lines{position.StateText()};
    if (const QString access = network.SignalKAccess().StateText(); !access.isEmpty()) lines << access;
    if (const QString status = position.StatusText(); !status.isEmpty()) lines << status;
    positionStatus->setText(lines.join('\n'));
}

void TNetworkDlg::RequestAccess(QLineEdit* address, QLabel* state, const QString& hint) {
    const std::string typed = address->text().trimmed().toStdString();
    if (!nmea::ValidPositionAddress("signalk", typed)) {
        state->setText(hint);
        address->setFocus();
        return;
    }
    network.RequestSignalKAccess(QString::fromStdString(typed));
}

void TNetworkDlg::ShowAlertsState() {
    QStringList lines;
    if (const QString state = network.Notifier().StateText(); !state.isEmpty()) lines << state;
    if (const QString access = network.SignalKAccess().StateText(); !access.isEmpty()) lines << access;
    alertsStatus->setText(lines.join('\n'));
}

void TNetworkDlg::ShowStatus() {
    status->setText(network.Output().StatusText());
}

void TNetworkDlg::OKBtnClick() {
    nmea::TNmeaSettings s = network.Settings();
    s.enabled = output->isChecked();
    s.tcpPort = port->value();
    s.allInterfaces = allInterfaces->isChecked();
    const nmea::TNmeaSettings destination =
        nmea::WithOverride({}, "udp:" + udp->text().trimmed().toStdString());
    s.udpHost = destination.udpHost;
    s.udpPort = destination.udpPort;
    // What is typed counts, also when the field has not taken it yet.
    threshold->interpretText();
    s.stormThreshold = threshold->value();
    const std::string folder = warningsFolder->text().trimmed().toStdString();
    // A relative folder would land wherever the program was started: the dialog stays open.
    if (!folder.empty() && !platform::IsAbsolutePath(folder)) {
        exportStatus->setText(
            QCoreApplication::translate("TNetworkDlg",
                                        "« %1 » n’est pas un chemin complet : choisissez le dossier avec "
                                        "« Parcourir… ».")
                .arg(QString::fromStdString(folder)));
        warningsFolder->setFocus();
        return;
    }
    s.warningsFolder = nmea::ValidFolder(folder) ? folder : std::string();
    s.positionSource = positionSource->currentData().toString().toStdString();
    const std::string address = positionAddress->text().trimmed().toStdString();
    if (s.positionSource == "udp" || s.positionSource == "tcp" || s.positionSource == "gpsd" ||
        s.positionSource == "signalk" || s.positionSource == "serial") {
        if (!nmea::ValidPositionAddress(s.positionSource, address)) {
            positionStatus->setText(
                s.positionSource == "udp"
                    ? QCoreApplication::translate("TNetworkDlg",
                                                  "Indiquez un port UDP (1 à 65535), par exemple 10110.")
                : s.positionSource == "serial"
                    ? QCoreApplication::translate(
                          "TNetworkDlg",
                          "Indiquez le port série, par exemple /dev/ttyUSB0 ou COM3 (suivi de "
                          "« @4800 » ou « @38400 » pour imposer une vitesse).")
                    : QCoreApplication::translate("TNetworkDlg",
                                                  "Indiquez la source sous la forme hôte:port."));
            positionAddress->setFocus();
            return;
        }
        s.positionAddress = address;
    } else {
        s.positionAddress.clear();
    }
    if (s.positionSource == "fixed") {
        double latitude = 0, longitude = 0;
        if (!ReadFixed(fixedPosition->text(), latitude, longitude)) {
            positionStatus->setText(QCoreApplication::translate(
                "TNetworkDlg", "Indiquez la position en degrés décimaux, par exemple « 54.0683, 10.2050 »."));
            fixedPosition->setFocus();
            return;
        }
        s.fixedLatitude = std::round(latitude * 1e6) / 1e6;
        s.fixedLongitude = std::round(longitude * 1e6) / 1e6;
    }
    s.nearDistanceNm = nearDistance->value();
    s.signalkAlerts.clear();
    if (alertsToSignalK->isChecked()) {
        const std::string server = alertsAddress->text().trimmed().toStdString();
        if (!nmea::ValidPositionAddress("signalk", server)) {
            alertsStatus->setText(
                QCoreApplication::translate("TNetworkDlg", "Indiquez le serveur sous la forme hôte:port."));
            alertsAddress->setFocus();
            return;
        }
        s.signalkAlerts = server;
    }
    network.Apply(s, true);
    accept();
}
