#pragma once

#include <QDialog>
#include <QString>

#include <functional>

#include "nmea/NmeaSettings.h"

namespace Ui {
class TConfigurationDlg;
}

// What the dialog reaches beyond the acquisition state: the boat's network, and the window
// that redraws the chart and refreshes after OK. The main window implements it.
class IConfigurationTarget {
public:
    virtual ~IConfigurationTarget() = default;
    virtual nmea::TNmeaSettings NetworkSettings() const = 0;
    virtual QString NetworkStatus() const = 0;
    // changed runs whenever the network's state changes, for as long as context lives.
    virtual void WatchNetworkStatus(QObject* context, std::function<void()> changed) = 0;
    // OK: keeps the settings, redraws the chart and forces a full refresh.
    virtual void ConfigurationAccepted(const nmea::TNmeaSettings& settings) = 0;
};

class TConfigurationDlg : public QDialog {
    Q_OBJECT

public:
    explicit TConfigurationDlg(QWidget* parent = nullptr);
    ~TConfigurationDlg() override;

    Ui::TConfigurationDlg* Ui() const { return ui; }
    void SetTarget(IConfigurationTarget* newTarget) { target = newTarget; }

    void FormShow();
    void OKBtnClick();
    // The network output's state, kept current while the dialog is open.
    void ShowNetworkStatus();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Ui::TConfigurationDlg* ui;
    IConfigurationTarget* target = nullptr;
    IConfigurationTarget* watched = nullptr;
};
