// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TBoatNetwork;

// "Réseau du bord et alarmes…": the NMEA 0183 output and the storm warning's threshold,
// for every model and with no receiver at all, and the output's state as it is now.
class QComboBox;
class QSpinBox;

class TNetworkDlg : public QDialog {
    Q_OBJECT

public:
    explicit TNetworkDlg(TBoatNetwork& network, QWidget* parent = nullptr);

    QCheckBox* OutputCheckBox() const { return output; }
    QSpinBox* PortSpinEdit() const { return port; }
    QCheckBox* AllInterfacesCheckBox() const { return allInterfaces; }
    QLineEdit* UdpEdit() const { return udp; }
    QDoubleSpinBox* ThresholdSpinEdit() const { return threshold; }
    QLabel* StatusLabel() const { return status; }
    QLineEdit* WarningsFolderEdit() const { return warningsFolder; }
    QLabel* ExportStatusLabel() const { return exportStatus; }
    // Where the state of the plotter's files comes from (last written, or why not).
    void SetExportState(std::function<QString()> state);
    // The state anew (the files were just written, or could not be).
    void ShowExportState();
    // The layers folder of OpenCPN when this computer has one, else empty.
    static QString OpenCpnLayers();

    // Keeps what the fields say (in NMEA.INI too) and closes.
    void OKBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowStatus();

    TBoatNetwork& network;
    QCheckBox* output;
    QSpinBox* port;
    QCheckBox* allInterfaces;
    QLineEdit* udp;
    QDoubleSpinBox* threshold;
    QLabel* status;
    QLineEdit* warningsFolder;
    QLabel* exportStatus;
    QComboBox* positionSource;
    QLineEdit* positionAddress;
    QPushButton* requestAccess;
    QLineEdit* fixedPosition;
    QSpinBox* nearDistance;
    QLabel* positionStatus;
    QCheckBox* alertsToSignalK;
    QLineEdit* alertsAddress;
    QLabel* alertsStatus;
    void ShowPositionState();
    void ShowAlertsState();
    // Asks the Signal K server typed in address to let the program in; hint where it is none.
    void RequestAccess(QLineEdit* address, QLabel* state, const QString& hint);
    void PositionSourceChosen();
    std::function<QString()> exportState;
};
