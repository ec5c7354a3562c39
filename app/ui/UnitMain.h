// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/UnitDataThread.h"
#include "app/ui/Language.h"
#include "app/ui/Palette.h"
#include "app/ui/UserTools.h"
#include "baro/UnitBaro.h"
#include "baro/ui/BaroChartControl.h"
#include "baro/ui/StormAlarm.h"
#include "history/ui/HistoryPanel.h"
#include "map/ui/MapPage.h"
#include "navtex/UnitNavtex.h"
#include "navtex/ui/NavtexTreeControl.h"
#include "nmea/ui/BoatNetwork.h"
#include "nmea/ui/NetworkDialog.h"
#include "receiver/ReadMarks.h"
#include "receiver/StateFiles.h"
#include "settings/ui/UnitConfig.h"
#include "warnings/StationNames.h"
#include "warnings/ui/UrgencyMark.h"
#include "warnings/ui/WarningsView.h"

namespace Ui {
class TMainForm;
}

class TMainForm : public QMainWindow,
                  public receiver::ILocalCopiesView,
                  public IAcquisitionWindow,
                  public IConfigurationTarget,
                  public IUserToolsWindow {
    Q_OBJECT

public:
    explicit TMainForm(std::vector<std::string> args, QWidget* parent = nullptr);
    ~TMainForm() override;

    Ui::TMainForm* Ui() const { return ui; }
    const std::string& ArchivePath() const { return archivePath; }
    const std::vector<std::string>& Arguments() const { return arguments; }

    // Panels of StatusBar1, index 0..5; 1 and 4 hold the progress bars once shown.
    QLabel* StatusPanel(int index) const { return panels.at(static_cast<size_t>(index)); }
    QProgressBar* BusyProgressBar = nullptr;
    QProgressBar* BatteryCapacityProgressBar = nullptr;
    QLabel* ParameterLabel = nullptr;
    QTimer* StartupTimer = nullptr;
    QTimer* UTCUpdateTimer = nullptr;

    void FormCreate();
    void FormShow();
    void StartupTimerTimer();
    // Stops the timer, ends the acquisition and saves the state; runs once.
    // Saves the state; false when it could not be saved (logged).
    bool FormDestroy();

    bool StartupPictureShown() const;

    TReadMarkList& ReadMarks() { return readMarks; }
    navtex::TNavtexTree& Navtex() { return *navtex; }
    TNavtexTreeControl& NavtexControl() { return *navtexControl; }

    // Commands, each reached from its tool button and its menu item.
    void LoadToolButtonClick() { OpenCommand(); }
    void OeffnenClick() { OpenCommand(); }
    void SaveToolButtonClick() { SaveCommand(); }
    void SpeichernClick() { SaveCommand(); }
    void PrintToolButtonClick() { PrintCommand(); }
    void DruckenClick() { PrintCommand(); }
    void Beenden1Click() { close(); }
    void ExpandToolButtonClick() { ExpandTreeCommand(); }
    void Menbaumaufklappen1Click() { ExpandTreeCommand(); }
    void CollapseToolButtonClick() { CollapseTreeCommand(); }
    void Menbaumeinklappen1Click() { CollapseTreeCommand(); }
    void KonfigurationClick();
    void HelpToolButtonClick() { ManualCommand(); }
    void BedienungsanleitungClick() { ManualCommand(); }
    void SystemToolButtonClick() { SystemInformationCommand(); }
    void SysteminformationClick() { SystemInformationCommand(); }

    void OpenCommand();
    void SaveCommand();
    void PrintCommand();
    void ExpandTreeCommand();
    void CollapseTreeCommand();
    void ManualCommand();
    void SystemInformationCommand();

    // Asks whether to update a receiver whose firmware is older than the built-in one.
    void CheckFirmwareOffer();

    // Command states for the active page, and panel 2.
    void PageControl1Change();
    // The busy bar, once a second.
    void UTCUpdateTimerTimer();
    // The acquisition thread is at work: the busy indicator's timer runs again.
    void WakeBusyIndicator();

    TUserTools& UserTools() { return *userTools; }
    baro::TBaroChart& Baro() { return *baro; }
    TBaroChartControl& BaroControl() { return *baroControl; }
    void Chart1Zoom();
    void Chart1UndoZoom();
    void BaroZoomInToolButtonClick();
    void ZoomIn1Click();
    void BaroZoomOutToolButtonClick();
    void ZoomOut1Click();

    void NavtexTreeViewChange();
    bool NavtexTreeViewCustomDrawItem(int node, bool selected) const;

    // What the saved state asks for once it is loaded.
    void FillChart(uint16_t writeIndex, uint16_t validCount) override;
    void RebuildTree() override;

    // What the acquisition cycle writes into the window.
    void SetStatusPanel(int index, const std::string& text) override;
    void SetStatusPanel0(const std::string& text) override { SetStatusPanel(0, text); }
    void SetBusyProgress(int position) override;
    void SetBatteryProgress(int percent) override;
    void SetParameterLabel(const std::string& text) override;
    void SetBaroTabVisible(bool visible) override;
    void SetConfigurationEnabled(bool enabled) override;
    void SetSeriesBlue(bool blue) override;
    bool NavtexPageActive() const override;
    void RepaintStatusBar() override;
    void RedrawChart() override;
    void SetPagesEnabled(bool enabled) override;

    TGetDataThread* DataThread() const { return dataThread; }

    // Beyond the receiver: the boat's network and the storm warning, each its own class.
    TBoatNetwork& Network() { return *network; }
    const TStormAlarm& Storm() const { return *stormAlarm; }
    void RefreshShown() override;

    // The configuration dialog's OK: the chart redrawn, a full refresh.
    void ConfigurationAccepted() override;
    // "Réseau du bord et alarmes…", for every model and with no receiver.
    void NetworkCommand();
    QAction* NetworkAction() const { return networkAction; }
    TNetworkDlg* NetworkDialog() const { return networkDialog; }
    // The NAVTEX page: the splitter's tree side, and the header above the message.
    int TreeWidth() const;
    QLabel* MessageHeader() const { return messageHeader; }
    QSplitter* NavtexSplitter() const { return navtexSplitter; }
    // The search field over the tree and the history behind it.
    THistoryPanel* History() const { return historyPanel; }
    TWarningsView* Warnings() const { return warningsView; }
    TAlertNotice* Alerts() const { return alertNotice; }
    // Day, dusk or night for every window (F12 and the Réglages menu go round them).
    void SetPalette(palette::TMode mode);
    QAction* PaletteAction() const { return paletteAction; }
    // File menu: the warnings for the chart plotter, once, into a folder chosen.
    void ExportWarningsCommand();
    QAction* ExportWarningsAction() const { return exportWarningsAction; }

    // Open, Save and Print's view of the window.
    QWidget* Window() override { return this; }
    TPage ActivePage() const override;
    QPlainTextEdit* MessageView() override;
    std::string ShownMessageName() const override;
    QString MessageHeaderText() const override { return messageHeader->text(); }
    void SetMessageHeaderText(const QString& text) override { messageHeader->setText(text); }
    TChart* Chart() override;
    QTextBrowser* HelpView() override;
    TMapPage* MapPage() override { return mapPage; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowParameterLabel();
    // The position in the status bar, the distance in the header.
    void ShowPosition();
    void BuildToolBar();
    void BuildStatusBar();
    void BuildNavtexPage();
    void LoadWindowSettings();
    bool SaveWindowSettings() const;
    void WireCommands();
    void EmbedInPanel(QProgressBar* bar, int panel);
    void LoadHelpPage();

    Ui::TMainForm* ui;
    std::vector<std::string> arguments;
    std::string archivePath;
    TReadMarkList readMarks;
    std::unique_ptr<TNavtexTreeControl> navtexControl;
    std::unique_ptr<navtex::TNavtexTree> navtex;
    std::unique_ptr<TUserTools> userTools;
    std::unique_ptr<TBaroChartControl> baroControl;
    std::unique_ptr<baro::TBaroChart> baro;
    TGetDataThread* dataThread = nullptr;
    std::array<QLabel*, 6> panels{};
    std::unique_ptr<TBoatNetwork> network;
    TStormAlarm* stormAlarm = nullptr;
    QAction* networkAction = nullptr;
    TNetworkDlg* networkDialog = nullptr;
    QLabel* networkIndicator = nullptr;
    QLabel* positionIndicator = nullptr;
    QTimer* positionTick = nullptr;
    QLabel* messageHeader = nullptr;
    QSplitter* navtexSplitter = nullptr;
    THistoryPanel* historyPanel = nullptr;
    TMapPage* mapPage = nullptr;
    TWarningsView* warningsView = nullptr;
    TAlertNotice* alertNotice = nullptr;
    QAction* paletteAction = nullptr;
    palette::TMode wantedPalette = palette::TMode::Day;  // as WINDOW.INI keeps it
    std::vector<std::pair<QAction*, int>> ToolBarImages() const;
    void SetToolBarIcons();
    void ShowPaletteAction();
    void BuildLanguageMenu();
    std::optional<language::TLanguage> chosenLanguage;  // in the menu, or as WINDOW.INI keeps it
    // The alert of the notice's key: its message on the NAVTEX page, or the barograph.
    void OpenAlert(const QString& key);
    warnings::TStationNames stationNames;
    QLabel* positionsLabel = nullptr;
    QPushButton* copyPositions = nullptr;
    QAction* exportWarningsAction = nullptr;
    int wantedTreeWidth = 233;
    bool treeWidthApplied = false;
    std::string parameterText;
    bool busyIndicatorStarted = false;
    bool pagesEnabled = true, pagesPending = false;
    bool shownOnce = false;
    bool destroyed = false;
    bool saved = true;
};
