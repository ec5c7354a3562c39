// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/UnitMain.h"

#include "acquisition/MessageTransfer.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "acquisition/AcquisitionState.h"
#include "acquisition/MessageTransfer.h"
#include "app/ArchivePath.h"
#include "app/CommandLine.h"
#include "app/ui/AlertNotice.h"
#include "app/ui/Application.h"
#include "app/ui/ImageList.h"
#include "app/ui/JpegImage.h"
#include "app/ui/Language.h"
#include "app/ui/LanguagePass.h"
#include "app/ui/MessageBox.h"
#include "app/ui/Palette.h"
#include "app/ui/UnitSystemInfo.h"
#include "app/ui/UserTools.h"
#include "common/DateTime.h"
#include "nmea/Sentences.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Process.h"
#include "settings/ui/UnitConfig.h"
#include "signalk/Notifications.h"
#include "ui_UnitMain.h"
#include "update/FirmwareTransfer.h"
#include "update/ui/UnitUpdate.h"

namespace {

// The notice's key of the storm warning (a message's is its band, identifier and time).
const QString StormKey = QStringLiteral("storm");

constexpr int PanelWidths[6] = {200, 100, 210, 100, 100, 200};

QProgressBar* MakeSmoothBar(QWidget* parent, int step, const char* name) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setProperty("step", step);
    bar->resize(150, 16);
    bar->hide();
    return bar;
}

}  // namespace

TMainForm::TMainForm(std::vector<std::string> args, QWidget* parent)
    : QMainWindow(parent), ui(new Ui::TMainForm), arguments(std::move(args)) {
    ui->setupUi(this);
    BuildNavtexPage();
    navtexControl = std::make_unique<TNavtexTreeControl>(ui->NavtexTreeView, ui->NavtexMemo, messageHeader);
    navtex = std::make_unique<navtex::TNavtexTree>(*navtexControl, readMarks, Acquisition, arguments);
    historyPanel->Results()->setPalette(ui->NavtexTreeView->palette());  // the tree's selection colours
    ui->NavtexTreeView->setItemDelegate(new TNavtexItemDelegate(
        [this](int node, bool selected) { return NavtexTreeViewCustomDrawItem(node, selected); },
        ui->NavtexTreeView));
    connect(ui->NavtexTreeView, &QTreeWidget::currentItemChanged, this, &TMainForm::NavtexTreeViewChange);
    // A message found in the history takes the memo until the search ends.
    connect(historyPanel, &THistoryPanel::MessageChosen, this,
            [this](const std::string& text, const QString& header) {
                navtexControl->ShowLent(text, header.toStdString());
            });
    connect(historyPanel, &THistoryPanel::SearchEnded, this, [this] { navtexControl->ReturnMemo(); });
    baroControl = std::make_unique<TBaroChartControl>(ui->Chart1);
    baro = std::make_unique<baro::TBaroChart>(*baroControl, Acquisition);
    connect(ui->Chart1, &TChart::Zoom, this, &TMainForm::Chart1Zoom);
    connect(ui->Chart1, &TChart::UndoZoomed, this, &TMainForm::Chart1UndoZoom);
    userTools = std::make_unique<TUserTools>(*this);
    BuildToolBar();
    BuildStatusBar();
    WireCommands();

    StartupTimer = new QTimer(this);
    StartupTimer->setObjectName("StartupTimer");
    StartupTimer->setInterval(3000);
    connect(StartupTimer, &QTimer::timeout, this, &TMainForm::StartupTimerTimer);
    UTCUpdateTimer = new QTimer(this);
    UTCUpdateTimer->setObjectName("UTCUpdateTimer");
    UTCUpdateTimer->setInterval(1000);
    connect(UTCUpdateTimer, &QTimer::timeout, this, &TMainForm::UTCUpdateTimerTimer);

    // The pictures take no input; a disabled label would draw them greyed out.
    const std::pair<QLabel*, const char*> pictures[] = {
        {ui->StartupImageDeutsch, ":/images/StartupDeutsch.jpg"},
        {ui->StartupImageEnglish, ":/images/StartupEnglish.jpg"},
        {ui->StartupImageFrench, ":/images/StartupFrench.jpg"},
    };
    for (const auto& [label, resource] : pictures) {
        label->setPixmap(QPixmap::fromImage(LoadJpeg(resource)));
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    FormCreate();
}

TMainForm::~TMainForm() {
    FormDestroy();
    // The palette is the application's: the next window starts in daylight unless it keeps another.
    palette::Apply(palette::TMode::Day);
    delete ui;
}

std::vector<std::pair<QAction*, int>> TMainForm::ToolBarImages() const {
    return {
        {ui->LoadToolButton, 0},        {ui->SaveToolButton, 1},     {ui->PrintToolButton, 2},
        {ui->ExpandToolButton, 3},      {ui->CollapseToolButton, 4}, {ui->BaroZoomInToolButton, 6},
        {ui->BaroZoomOutToolButton, 7}, {ui->HelpToolButton, 5},     {ui->SystemToolButton, 8},
    };
}

void TMainForm::SetToolBarIcons() {
    const QList<QIcon> images = BuildImageList1();
    for (const auto& [action, image] : ToolBarImages()) action->setIcon(images.at(image));
}

void TMainForm::BuildToolBar() {
    ui->ToolBar1->setStyleSheet("QToolBar#ToolBar1 { border: 2px; spacing: 0px; }");
    SetToolBarIcons();
    for (const auto& [action, image] : ToolBarImages()) {
        if (QWidget* button = ui->ToolBar1->widgetForAction(action)) {
            button->setObjectName(action->objectName());
            if (auto* tool = qobject_cast<QToolButton*>(button)) tool->setAutoRaise(true);
        }
    }
    // Separators of 8 pixels, named like the controls they stand for.
    const std::pair<QAction*, const char*> separators[] = {
        {ui->PrintToolButton, "ToolButton7"},
        {ui->ExpandToolButton, "ToolButton6"},
        {ui->BaroZoomInToolButton, "ToolButton2"},
        {ui->HelpToolButton, "ToolButton3"},
    };
    for (const auto& [before, name] : separators) {
        auto* gap = new QWidget(ui->ToolBar1);
        gap->setObjectName(name);
        gap->setFixedWidth(8);
        ui->ToolBar1->insertWidget(before, gap);
    }
    auto* last = new QWidget(ui->ToolBar1);
    last->setObjectName("ToolButton1");
    last->setFixedWidth(8);
    ui->ToolBar1->addWidget(last);
    ParameterLabel = new QLabel(ui->ToolBar1);
    ParameterLabel->setObjectName("ParameterLabel");
    ParameterLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ParameterLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ui->ToolBar1->addWidget(ParameterLabel);
}

void TMainForm::BuildNavtexPage() {
    // The tree and the message side by side in a splitter the user can move (the form's
    // 233 pixels at first, then what was left at the last end); a header above the message.
    QTreeWidget* tree = ui->NavtexTreeView;
    ui->NavtexLayout->removeWidget(tree);
    ui->NavtexLayout->removeWidget(ui->NavtexMemo);
    tree->setMinimumWidth(120);
    tree->setMaximumWidth(QWIDGETSIZE_MAX);
    auto* message = new QWidget;
    auto* column = new QVBoxLayout(message);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    messageHeader = new QLabel(message);
    messageHeader->setObjectName("MessageHeader");
    messageHeader->setTextFormat(Qt::PlainText);
    messageHeader->setWordWrap(true);
    messageHeader->setContentsMargins(4, 2, 4, 2);
    column->addWidget(messageHeader);
    column->addWidget(ui->NavtexMemo, 1);
    // Under the message, the positions it gives, and a button that copies them.
    auto* placeRow = new QHBoxLayout;
    placeRow->setContentsMargins(4, 2, 4, 2);
    positionsLabel = new QLabel(message);
    positionsLabel->setObjectName("PositionsLabel");
    positionsLabel->setWordWrap(true);
    positionsLabel->setTextFormat(Qt::PlainText);
    positionsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    copyPositions = new QPushButton(tr("Copier les positions"), message);
    copyPositions->setObjectName("CopyPositions");
    placeRow->addWidget(positionsLabel, 1);
    placeRow->addWidget(copyPositions, 0, Qt::AlignTop);
    column->addLayout(placeRow);
    navtexSplitter = new QSplitter(Qt::Horizontal, ui->NavtexTabSheet);
    navtexSplitter->setObjectName("NavtexSplitter");
    navtexSplitter->setChildrenCollapsible(false);
    historyPanel = new THistoryPanel(tree, nullptr);
    navtexSplitter->addWidget(historyPanel);
    navtexSplitter->addWidget(message);
    navtexSplitter->setStretchFactor(1, 1);
    navtexSplitter->setSizes({wantedTreeWidth, 747});
    ui->NavtexLayout->addWidget(navtexSplitter);
    navtexSplitter->installEventFilter(this);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // The tree's width is given once the splitter has a width of its own to share.
    if (watched == navtexSplitter && event->type() == QEvent::Resize && !treeWidthApplied &&
        navtexSplitter->width() > wantedTreeWidth + 100) {
        treeWidthApplied = true;
        navtexSplitter->setSizes({wantedTreeWidth, navtexSplitter->width() - wantedTreeWidth});
    }
    return QMainWindow::eventFilter(watched, event);
}

int TMainForm::TreeWidth() const {
    return treeWidthApplied ? navtexSplitter->sizes().value(0) : wantedTreeWidth;
}

void TMainForm::BuildStatusBar() {
    QStatusBar* bar = ui->StatusBar1;
    bar->setFixedHeight(19);
    bar->setStyleSheet("QStatusBar::item { border: 0px; }");
    for (size_t i = 0; i < panels.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QString("StatusPanel%1").arg(i));
        panel->setFixedWidth(PanelWidths[i]);
        panel->setFont(font());  // the bar's style sheet would hand it the application's font
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(2, 0, 2, 0);
        bar->addWidget(panel);
        panels[i] = panel;
    }
    BusyProgressBar = MakeSmoothBar(this, 10, "BusyProgressBar");
    BatteryCapacityProgressBar = MakeSmoothBar(this, 1, "BatteryCapacityProgressBar");
}

void TMainForm::WireCommands() {
    const std::pair<QAction*, void (TMainForm::*)()> handlers[] = {
        {ui->LoadToolButton, &TMainForm::LoadToolButtonClick},
        {ui->Oeffnen, &TMainForm::OeffnenClick},
        {ui->SaveToolButton, &TMainForm::SaveToolButtonClick},
        {ui->Speichern, &TMainForm::SpeichernClick},
        {ui->PrintToolButton, &TMainForm::PrintToolButtonClick},
        {ui->Drucken, &TMainForm::DruckenClick},
        {ui->Beenden1, &TMainForm::Beenden1Click},
        {ui->ExpandToolButton, &TMainForm::ExpandToolButtonClick},
        {ui->Menbaumaufklappen1, &TMainForm::Menbaumaufklappen1Click},
        {ui->CollapseToolButton, &TMainForm::CollapseToolButtonClick},
        {ui->Menbaumeinklappen1, &TMainForm::Menbaumeinklappen1Click},
        {ui->BaroZoomInToolButton, &TMainForm::BaroZoomInToolButtonClick},
        {ui->ZoomIn1, &TMainForm::ZoomIn1Click},
        {ui->BaroZoomOutToolButton, &TMainForm::BaroZoomOutToolButtonClick},
        {ui->ZoomOut1, &TMainForm::ZoomOut1Click},
        {ui->Konfiguration, &TMainForm::KonfigurationClick},
        {ui->HelpToolButton, &TMainForm::HelpToolButtonClick},
        {ui->Bedienungsanleitung, &TMainForm::BedienungsanleitungClick},
        {ui->SystemToolButton, &TMainForm::SystemToolButtonClick},
        {ui->Systeminformation, &TMainForm::SysteminformationClick},
    };
    for (const auto& [action, handler] : handlers) connect(action, &QAction::triggered, this, handler);
    // Keys a sailor expects, on the window: menu items themselves carry no shortcut.
    const std::pair<QKeySequence, QAction*> keys[] = {{QKeySequence::Open, ui->Oeffnen},
                                                      {QKeySequence::Save, ui->Speichern},
                                                      {QKeySequence::Print, ui->Drucken},
                                                      {QKeySequence(Qt::CTRL | Qt::Key_Q), ui->Beenden1},
                                                      {QKeySequence(Qt::Key_F1), ui->Bedienungsanleitung}};
    for (const auto& [key, action] : keys) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setObjectName("Key" + action->objectName());
        connect(shortcut, &QShortcut::activated, action, [action] {
            if (action->isEnabled()) action->trigger();
        });
    }
    auto* find = new QShortcut(QKeySequence::Find, this);
    find->setObjectName("KeySearch");
    connect(find, &QShortcut::activated, this, [this] {
        if (!ui->PageControl1->isVisible() || !ui->PageControl1->isEnabled()) return;
        ui->PageControl1->setCurrentWidget(ui->NavtexTabSheet);
        PageControl1Change();
        historyPanel->FocusSearch();
    });
    exportWarningsAction = new QAction(tr("Exporter les avertissements…"), this);
    exportWarningsAction->setObjectName("ExportWarningsAction");
    const QList<QAction*> fileActions = ui->Datei->actions();
    const qsizetype afterPrint = fileActions.indexOf(ui->Drucken) + 1;
    ui->Datei->insertAction(afterPrint < fileActions.size() ? fileActions.at(afterPrint) : nullptr,
                            exportWarningsAction);
    connect(exportWarningsAction, &QAction::triggered, this, &TMainForm::ExportWarningsCommand);
    // Day, dusk and night, in turn.
    paletteAction = new QAction(this);
    paletteAction->setObjectName("PaletteAction");
    ui->Einstellungen->addAction(paletteAction);
    connect(paletteAction, &QAction::triggered, this,
            [this] { SetPalette(palette::Next(palette::Current())); });
    auto* paletteKey = new QShortcut(QKeySequence(Qt::Key_F12), this);
    paletteKey->setObjectName("KeyPalette");
    connect(paletteKey, &QShortcut::activated, paletteAction, &QAction::trigger);
    ShowPaletteAction();
    BuildLanguageMenu();
    networkAction = new QAction(tr("Réseau du bord et alarmes…"), this);
    networkAction->setObjectName("NetworkAction");
    ui->Einstellungen->addAction(networkAction);
    connect(networkAction, &QAction::triggered, this, &TMainForm::NetworkCommand);
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, &TMainForm::PageControl1Change);
}

void TMainForm::BuildLanguageMenu() {
    auto* menu = new QMenu(tr("&Langue"), this);
    menu->setObjectName("LanguageMenu");
    ui->MainMenu->insertMenu(ui->Hilfe->menuAction(), menu);
    auto* group = new QActionGroup(this);
    for (const language::TLanguage each :
         {language::TLanguage::French, language::TLanguage::English, language::TLanguage::German}) {
        QAction* action = menu->addAction(language::OwnName(each));
        action->setObjectName(QStringLiteral("Language_%1").arg(QString::fromLatin1(language::Code(each))));
        action->setCheckable(true);
        action->setChecked(each == language::Current());
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, each] {
            chosenLanguage = each;
            // Said in the language chosen: the one who chose it reads it.
            ShowMessageBox(
                this, TBoxKind::Information,
                language::TranslateInto(
                    each, "TMainForm",
                    QT_TRANSLATE_NOOP("TMainForm",
                                      "La langue choisie s’applique au prochain démarrage du programme.")));
        });
    }
}

void TMainForm::ShowPaletteAction() {
    paletteAction->setText(tr("Couleurs de %1\tF12").arg(palette::Words(palette::Next(palette::Current()))));
    paletteAction->setToolTip(
        tr("Jour, crépuscule, nuit : maintenant %1").arg(palette::Words(palette::Current())));
}

void TMainForm::SetPalette(palette::TMode mode) {
    palette::Apply(mode);
    // What draws its own colours, and what was coloured item by item.
    navtexControl->ApplyPalette();
    SetToolBarIcons();
    warningsView->Decorate(*navtex, *navtexControl);
    historyPanel->ShowStates();
    mapPage->SetWarnings(warningsView->MapWarnings());
    ShowParameterLabel();
    ShowPaletteAction();
}

void TMainForm::ExpandTreeCommand() {
    if (NavtexPageActive()) navtex->ExpandAll();
}

void TMainForm::CollapseTreeCommand() {
    if (NavtexPageActive()) navtex->CollapseAll();
}

void TMainForm::KonfigurationClick() {
    if (Forms.ConfigurationDlg) Forms.ConfigurationDlg->exec();
}

void TMainForm::ManualCommand() {
    ui->PageControl1->setCurrentWidget(ui->HelpTabSheet);
    PageControl1Change();
}

void TMainForm::SystemInformationCommand() {
    if (Forms.SysteminfoForm) Forms.SysteminfoForm->exec();
}

void TMainForm::PageControl1Change() {
    QWidget* page = ui->PageControl1->currentWidget();
    const bool navtexPage = page == ui->NavtexTabSheet;
    const bool baroPage = page == ui->BaroTabSheet;
    const bool helpPage = page == ui->HelpTabSheet;
    const bool mapShown = page == mapPage;
    const auto set = [](QAction* button, QAction* item, bool enabled) {
        button->setEnabled(enabled);
        item->setEnabled(enabled);
    };
    set(ui->LoadToolButton, ui->Oeffnen, navtexPage);
    set(ui->SaveToolButton, ui->Speichern, navtexPage || baroPage || mapShown);
    set(ui->PrintToolButton, ui->Drucken, navtexPage || baroPage || helpPage || mapShown);
    set(ui->ExpandToolButton, ui->Menbaumaufklappen1, navtexPage);
    set(ui->CollapseToolButton, ui->Menbaumeinklappen1, navtexPage);
    // At 12 hours there is no zooming in, at 7 days no zooming out.
    set(ui->BaroZoomInToolButton, ui->ZoomIn1, baroPage && baro->SpanDays > 0.5);
    set(ui->BaroZoomOutToolButton, ui->ZoomOut1, baroPage && baro->SpanDays < 7);
    SetStatusPanel(2, navtexPage ? Acquisition.CurrentMessagesText : std::string());
}

void TMainForm::UTCUpdateTimerTimer() {
    if (!Acquisition.Busy) {
        BusyProgressBar->setValue(0);
        // At rest the bar has nothing to show: the timer sleeps until the acquisition
        // thread next asks the window for something (WakeBusyIndicator).
        UTCUpdateTimer->stop();
        return;
    }
    int position = BusyProgressBar->value() + BusyProgressBar->property("step").toInt();
    if (position >= BusyProgressBar->maximum()) position = 0;
    BusyProgressBar->setValue(position);
    BusyProgressBar->repaint();  // only the bar changed
}

void TMainForm::WakeBusyIndicator() {
    if (busyIndicatorStarted && !UTCUpdateTimer->isActive()) UTCUpdateTimer->start();
}

void TMainForm::EmbedInPanel(QProgressBar* bar, int panel) {
    QLabel* holder = StatusPanel(panel);
    bar->setParent(holder);
    bar->setGeometry(holder->contentsRect());
    bar->show();
    // The panels have fixed widths; only the height follows the bar.
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(bar);
}

void TMainForm::FormCreate() {
    archivePath = app::ArchivePath(platform::ApplicationDataFolder(), platform::ExecutableFolder());
    app::PrepareArchiveFolder(archivePath);
    platform::StartLog(archivePath);
    platform::KeepDescriptorInReserve();
    navtex->SetArchiveRoot(archivePath);
    // The interface's language, not the system's: a French window on a machine left in the
    // C locale would read "9 Dec 2026 14:00:00".
    const QLocale locale = language::LocaleOf(language::Current());
    ui->Chart1->SetBottomLocale(locale);
    baro->ChartSetup(datetime::Now(),
                     (locale.dateFormat(QLocale::ShortFormat) + " " + locale.timeFormat(QLocale::ShortFormat))
                         .toStdString());
    ui->Chart1->SetDecimalSeparator(platform::DecimalSeparator());
    readMarks.clear();
    navtex->BuildSkeleton();
    navtex->ExpandAll();
    // The output and the filter first: the archive the start-up shows is not sent.
    network = std::make_unique<TBoatNetwork>();
    network->Start(archivePath, platform::GetEnv("ZEL2_NMEA"));
    // While plotters are connected, the status bar says how many.
    networkIndicator = new QLabel(ui->StatusBar1);
    networkIndicator->setObjectName("NetworkIndicator");
    networkIndicator->setFont(font());
    networkIndicator->hide();
    ui->StatusBar1->addPermanentWidget(networkIndicator);
    // The boat's position, its source and its age; the distance to the message shown.
    positionIndicator = new QLabel(ui->StatusBar1);
    positionIndicator->setObjectName("PositionIndicator");
    positionIndicator->setFont(font());
    // It shrinks with the window rather than widening it; the tool tip keeps the whole line.
    positionIndicator->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ui->StatusBar1->addPermanentWidget(positionIndicator, 1);
    positionTick = new QTimer(this);
    positionTick->setTimerType(Qt::VeryCoarseTimer);
    connect(positionTick, &QTimer::timeout, this, &TMainForm::ShowPosition);
    connect(&network->Position(), &TBoatPosition::PositionChanged, this, &TMainForm::ShowPosition);
    ShowPosition();
    connect(&network->Output(), &TNmeaOutput::StatusChanged, this, [this] {
        const int clients = network->Output().Clients();
        networkIndicator->setText(clients == 1 ? tr("NMEA : 1 client")
                                               : tr("NMEA : %1 clients").arg(clients));
        networkIndicator->setToolTip(network->Output().StatusText());
        networkIndicator->setVisible(clients > 0);
    });
    stormAlarm = new TStormAlarm(this);
    connect(stormAlarm, &TStormAlarm::Raised, this,
            [this](const QDateTime& when, double hPa, const QString& label) {
                ui->Chart1->AddMark(when, hPa, label);
            });
    // Every alert on one notice; the storm's also on the boat's network until it eases.
    alertNotice = new TAlertNotice(this);
    connect(stormAlarm, &TStormAlarm::Alert, this, [this](const QString& text) {
        alertNotice->Add({{StormKey, {}, QColor(200, 90, 0), tr("Baromètre"), tr("Avis de tempête"), text}});
        network->Notifier().Set({signalk::StormPath, "warn", text.toStdString(), {}, {}});
    });
    connect(stormAlarm, &TStormAlarm::Eased, this, [this] {
        network->Notifier().Set({signalk::StormPath, "normal", "", {}, {}});
    });
    connect(alertNotice, &TAlertNotice::Open, this, &TMainForm::OpenAlert);
    connect(alertNotice, &TAlertNotice::Acknowledged, this, [this](const QStringList& keys) {
        warningsView->Acknowledge(keys);
        if (keys.contains(StormKey)) network->Notifier().Set({signalk::StormPath, "normal", "", {}, {}});
    });
    // The map, between the barograph and the manual.
    mapPage = new TMapPage(ui->PageControl1);
    mapPage->setObjectName("MapTabSheet");
    ui->PageControl1->insertTab(ui->PageControl1->indexOf(ui->HelpTabSheet), mapPage, tr("CARTE"));
    LoadWindowSettings();
    acquisition::RecoverTransfer(archivePath);
    // Every rebuild, the first at start-up included, hands the archive to the history; after
    // each of its batches the warnings are read anew there, on the history's thread.
    warningsView = new TWarningsView(this, positionsLabel, copyPositions, alertNotice);
    warningsView->SetNotificationSink(
        [notifier = &network->Notifier()](const signalk::TNotification& n) { notifier->Set(n); });
    warningsView->Start(archivePath, network->Settings().warningsFolder, [panel = historyPanel] {
        if (panel->Writer()) panel->Writer()->Add({});
    });
    connect(
        warningsView, &TWarningsView::StatesChanged, this,
        [this] {
            warningsView->Decorate(*navtex, *navtexControl);
            historyPanel->ShowStates();
            mapPage->SetWarnings(warningsView->MapWarnings());
        },
        Qt::QueuedConnection);
    historyPanel->SetEndedTip([view = warningsView](int64_t id) { return view->EndedTip(id); });
    historyPanel->SetInForce([view = warningsView](int64_t id) { return view->InForce(id); });
    historyPanel->SetStateWords([view = warningsView](int64_t id) { return view->StateWordsOf(id); });
    historyPanel->SetMarker([view = warningsView](int64_t id, const std::string& name) {
        const warnings::TUrgency level = view->UrgencyOf(id, name);
        return THistoryPanel::TMark{urgency::Icon(level), urgency::Colour(level), urgency::Words(level)};
    });
    warningsView->SetBoat([position = &network->Position()] { return position->Current(); });
    warningsView->SetNearDistance(network->Settings().nearDistanceNm);
    historyPanel->SetNear([view = warningsView](int64_t id) { return view->Near(id); },
                          network->Settings().nearDistanceNm);
    const auto nameStation = [this](int band, const TMsgHeaderElement& record) {
        return stationNames.Name(band, record.Name, warnings::TStationNames::Text(record),
                                 network->Position().Current());
    };
    navtex->SetStationNamer(nameStation);
    warningsView->SetStationNamer(nameStation);
    historyPanel->SetStationNamer([this](int band, const std::string& name, const std::string& text) {
        return stationNames.Name(band, name, text, network->Position().Current());
    });
    historyPanel->SetStationsHeard([this](char letter) { return stationNames.Heard(letter); });
    mapPage->SetStationNamer([this](int band, const std::string& name, const std::string& text) {
        return stationNames.Name(band, name, text, network->Position().Current());
    });
    mapPage->SetBoat(network->Position().Current(), network->Settings().nearDistanceNm);
    connect(&network->Position(), &TBoatPosition::PositionChanged, this,
            [this] { mapPage->SetBoat(network->Position().Current(), network->Settings().nearDistanceNm); });
    connect(mapPage, &TMapPage::OpenOnNavtexPage, this,
            [this](const std::string& text, const std::string& header) {
                ui->PageControl1->setCurrentWidget(ui->NavtexTabSheet);
                PageControl1Change();
                navtexControl->ShowLent(text, header);
            });
    connect(ui->NavtexMemo, &QPlainTextEdit::textChanged, this, [this] {
        warningsView->ShowPositions(ui->NavtexMemo->toPlainText().toStdString());
        navtexControl->SetHeaderDistance(warningsView->DistanceWords());
    });
    historyPanel->Start(archivePath, [view = warningsView](int added, const history::THistoryStore& store) {
        view->HistoryWritten(added, store);
    });
    navtex->SetArchiveSink(
        [this](std::vector<navtex::TArchiveFile> files) { historyPanel->ArchiveRead(std::move(files)); });
    receiver::LoadLocalCopies(archivePath, Acquisition, readMarks, *this);

    if (wantedPalette != palette::TMode::Day) SetPalette(wantedPalette);
    TGetDataThread::Options options;
    options.archiveRoot = archivePath;
    options.decimalSeparator = platform::DecimalSeparator();
    options.correction = baro::AltitudeCorrection;
    dataThread = new TGetDataThread(Acquisition, *this, options);
    dataThread->SetPriority(platform::ThreadPriority::BelowNormal);
}

void TMainForm::FillChart(uint16_t writeIndex, uint16_t validCount) {
    baro->FillChart(writeIndex, validCount);
}

void TMainForm::RedrawChart() {
    baro->FillChart(Acquisition.SystemData.WriteIndex(), Acquisition.SystemData.ValidCount());
}

void TMainForm::Chart1Zoom() {
    baro->Chart1Zoom();
}
void TMainForm::Chart1UndoZoom() {
    baro->Chart1UndoZoom();
}
void TMainForm::BaroZoomInToolButtonClick() {
    ZoomIn1Click();
}
void TMainForm::ZoomIn1Click() {
    baro->ZoomIn();
    PageControl1Change();
}
void TMainForm::BaroZoomOutToolButtonClick() {
    ZoomOut1Click();
}
void TMainForm::ZoomOut1Click() {
    baro->ZoomOut();
    PageControl1Change();
}

void TMainForm::RebuildTree() {
    // What the receiver hears tells which station each letter is here.
    stationNames.Learn(navtex->List518(), navtex->List490());
    historyPanel->NameStations();
    navtex->Rebuild();
    warningsView->Decorate(*navtex, *navtexControl);
    network->TreeRebuilt(navtex->List518(), navtex->List490());
}

void TMainForm::OpenAlert(const QString& key) {
    if (key == StormKey) {
        ui->PageControl1->setCurrentWidget(ui->BaroTabSheet);
        PageControl1Change();
        return;
    }
    const std::optional<TWarningsView::Key> wanted = TWarningsView::ReadAlertKey(key);
    for (int node = 0; wanted && node < navtex->NodeCount(); ++node) {
        int band = 0;
        const TMsgHeaderElement* record = navtex->RecordOf(node, band);
        if (!record || TWarningsView::Key{band, record->Name, record->Age} != *wanted) continue;
        ui->PageControl1->setCurrentWidget(ui->NavtexTabSheet);
        PageControl1Change();
        if (QTreeWidgetItem* item = navtexControl->Item(node)) ui->NavtexTreeView->setCurrentItem(item);
        return;
    }
}

void TMainForm::RefreshShown() {
    network->StatusShown(Acquisition);
    stormAlarm->StatusShown(Acquisition, network->Settings().stormThreshold);
    ShowParameterLabel();
}

void TMainForm::NavtexTreeViewChange() {
    navtex->SelectionChanged(TNavtexTreeControl::NodeOf(ui->NavtexTreeView->currentItem()));
    if (warningsView) warningsView->Decorate(*navtex, *navtexControl);  // an alarm read is red no more
}

bool TMainForm::NavtexTreeViewCustomDrawItem(int node, bool selected) const {
    return navtex->DrawSelectedRed(node, selected);
}

void TMainForm::SetStatusPanel(int index, const std::string& text) {
    StatusPanel(index)->setText(QString::fromStdString(text));
}

void TMainForm::SetBusyProgress(int position) {
    BusyProgressBar->setValue(position);
}

void TMainForm::SetBatteryProgress(int percent) {
    BatteryCapacityProgressBar->setValue(percent);
}

void TMainForm::SetParameterLabel(const std::string& text) {
    parameterText = text;
    ShowParameterLabel();
}

void TMainForm::ShowParameterLabel() {
    const QString text = QString::fromStdString(parameterText);
    const QString tendency = QString::fromStdString(Acquisition.TendencyText);
    // In a storm the tendency turns red.
    if (!stormAlarm || !stormAlarm->Active() || tendency.isEmpty() || !text.endsWith(tendency)) {
        ParameterLabel->setTextFormat(Qt::PlainText);
        ParameterLabel->setText(text);
        return;
    }
    ParameterLabel->setTextFormat(Qt::RichText);
    ParameterLabel->setText(text.left(text.size() - tendency.size()).toHtmlEscaped().replace(" ", "&nbsp;") +
                            "<span style=\"color:" + palette::Shade(QColor(0xe0, 0, 0)).name() +
                            "; font-weight:bold\">" + tendency.toHtmlEscaped() + "</span>");
}

void TMainForm::SetBaroTabVisible(bool visible) {
    // Every status display asks; only a change lays out and repaints the pages.
    if (ui->PageControl1->isTabVisible(1) != visible) ui->PageControl1->setTabVisible(1, visible);
}

void TMainForm::SetConfigurationEnabled(bool enabled) {
    ui->Konfiguration->setEnabled(enabled);
}

void TMainForm::SetSeriesBlue(bool blue) {
    ui->Chart1->SetSeriesColor(blue ? QColor(0, 0, 255) : QColor(0, 0, 0));
}

bool TMainForm::NavtexPageActive() const {
    return ui->PageControl1->currentWidget() == ui->NavtexTabSheet;
}

IUserToolsWindow::TPage TMainForm::ActivePage() const {
    const QWidget* page = ui->PageControl1->currentWidget();
    if (page == ui->NavtexTabSheet) return TPage::Navtex;
    if (page == ui->BaroTabSheet) return TPage::Barograph;
    if (page == ui->HelpTabSheet) return TPage::Help;
    if (page == mapPage) return TPage::Map;
    return TPage::Other;
}

QPlainTextEdit* TMainForm::MessageView() {
    return ui->NavtexMemo;
}

std::string TMainForm::ShownMessageName() const {
    const std::string& fromHistory = historyPanel->ShownName();
    return fromHistory.empty() ? navtex->ShownMessageName() : fromHistory;
}
TChart* TMainForm::Chart() {
    return ui->Chart1;
}
QTextBrowser* TMainForm::HelpView() {
    return ui->WebBrowser1;
}

void TMainForm::ConfigurationAccepted() {
    RedrawChart();
    if (dataThread) dataThread->ForceRefresh();
}

void TMainForm::NetworkCommand() {
    if (!networkDialog) {
        networkDialog = new TNetworkDlg(*network, this);
        networkDialog->SetExportState([view = warningsView] { return view->ExportStateText(); });
        connect(warningsView, &TWarningsView::ExportChanged, networkDialog, &TNetworkDlg::ShowExportState,
                Qt::QueuedConnection);
    }
    networkDialog->exec();
    warningsView->SetExportFolder(network->Settings().warningsFolder);
    warningsView->SetNearDistance(network->Settings().nearDistanceNm);
    historyPanel->SetNear([view = warningsView](int64_t id) { return view->Near(id); },
                          network->Settings().nearDistanceNm);
    // A new folder gets the files at once, from the history writer's thread.
    if (historyPanel->Writer()) historyPanel->Writer()->Add({});
}

void TMainForm::ExportWarningsCommand() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, tr("Exporter les avertissements vers"),
                                          QString::fromStdString(network->Settings().warningsFolder));
    if (folder.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written =
        TWarningsView::ExportOnce(archivePath, QDir::toNativeSeparators(folder).toStdString());
    QApplication::restoreOverrideCursor();
    if (!written)
        ShowMessageBox(this, TBoxKind::Error,
                       tr("Les avertissements n’ont pas pu être écrits dans %1.").arg(folder));
}

void TMainForm::ShowPosition() {
    const TBoatPosition& position = network->Position();
    const QString text = position.StatusText();
    positionIndicator->setText(text);
    positionIndicator->setToolTip(text);
    positionIndicator->setVisible(!text.isEmpty());
    // Room for the position itself once there is one; the source and the age may be cut.
    positionIndicator->setMinimumWidth(text.isEmpty() ? 0
                                                      : positionIndicator->fontMetrics().horizontalAdvance(
                                                            text.section(QStringLiteral(" · "), 0, 0)) +
                                                            8);
    // The age counts while a live source is set: a tick a second then, none otherwise.
    const bool live = position.Last() && network->Settings().positionSource != "fixed";
    if (live && !positionTick->isActive()) positionTick->start(1000);
    if (!live) positionTick->stop();
    if (navtexControl && warningsView) navtexControl->SetHeaderDistance(warningsView->DistanceWords());
}

void TMainForm::RepaintStatusBar() {
    ui->StatusBar1->repaint();
}

void TMainForm::SetPagesEnabled(bool enabled) {
    // The acquisition thread disables the pages and enables them again in one synchronised
    // step, in which no input is handled and nothing is drawn: only the state that lasts
    // past the step reaches the widgets. Applied at once, the pair would repaint the whole
    // page at every refresh for nothing.
    pagesEnabled = enabled;
    if (pagesPending) return;
    pagesPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            pagesPending = false;
            ui->PageControl1->setEnabled(pagesEnabled);
        },
        Qt::QueuedConnection);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce) return;
    shownOnce = true;
    CentreOnScreen(this);

    // After the window is on the screen, so the modal steps have a parent to sit on.
    QMetaObject::invokeMethod(this, &TMainForm::FormShow, Qt::QueuedConnection);
}

void TMainForm::LoadHelpPage() {
    // Beside the program (its build folder, a portable folder), else where an installation
    // under any prefix puts it: ../share/zel2 from the program's folder.
    // The manual of the interface's language, the French one where there is no other.
    const std::string own = language::Current() == language::TLanguage::French
                                ? std::string("Manuel.htm")
                                : std::string("Manuel_") + language::Code(language::Current()) + ".htm";
    std::string path;
    for (const std::string& name : {own, std::string("Manuel.htm")})
        for (const char* folder : {"Aide\\", "..\\share\\zel2\\Aide\\"})
            if (path.empty() &&
                platform::FileExists(platform::JoinPath(platform::ExecutableFolder(), folder + name)))
                path = platform::JoinPath(platform::ExecutableFolder(), folder + name);
    if (path.empty()) path = platform::JoinPath(platform::ExecutableFolder(), "Aide\\Manuel.htm");
    ui->WebBrowser1->setSource(QUrl::fromLocalFile(QDir::cleanPath(QString::fromStdString(path))));
}

void TMainForm::FormShow() {
    RunLanguagePass(*this);
    EmbedInPanel(BusyProgressBar, 1);
    EmbedInPanel(BatteryCapacityProgressBar, 4);
    LoadHelpPage();
    PageControl1Change();

    if (app::DecideStartAction(arguments) == app::StartAction::UpdateDialog) {
        if (Forms.UpdateForm) Forms.UpdateForm->exec();
    } else {
        CheckFirmwareOffer();
    }

    ui->PageControl1->hide();
    ui->StartupImageFrench->show();
    alertNotice->Hold(true);  // over the start-up picture it would hide it: shown with the pages
    StartupTimer->start();
    busyIndicatorStarted = true;
    UTCUpdateTimer->start();
    if (dataThread) dataThread->Resume();
}

void TMainForm::StartupTimerTimer() {
    StartupTimer->stop();
    // Shown once a run: their decoded pixels (and the scaled copy a label keeps) would
    // otherwise be a sixth of the program's memory for the rest of the voyage.
    for (QLabel* picture : {ui->StartupImageDeutsch, ui->StartupImageEnglish, ui->StartupImageFrench}) {
        picture->hide();
        picture->clear();
    }
    ui->PageControl1->show();
    alertNotice->Hold(false);
}

bool TMainForm::StartupPictureShown() const {
    return ui->StartupImageFrench->isVisible();
}

namespace {
// What the window keeps of its look between runs, beside NMEA.INI: the tree's width and
// the search filters, as key=value lines.
constexpr const char* WindowSettingsName = "WINDOW.INI";
}  // namespace

bool TMainForm::FormDestroy() {
    if (destroyed) return saved;
    destroyed = true;
    UTCUpdateTimer->stop();
    // The state is saved only once the thread can no longer change it.
    if (dataThread) {
        dataThread->Terminate();
        dataThread->WaitFor();
        delete dataThread;
        dataThread = nullptr;
    }
    saved = receiver::SaveLocalCopies(archivePath, Acquisition, readMarks);
    if (!saved)
        platform::Log("exit: CONFIG.BIN, MISC.BIN, SYSTEM.BIN and BARODATA.BIN could not be saved in " +
                      archivePath);
    historyPanel->Stop();
    if (!SaveWindowSettings())
        platform::Log(std::string("exit: ") + WindowSettingsName + " could not be saved");
    readMarks.clear();
    return saved;
}

void TMainForm::LoadWindowSettings() {
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile(platform::JoinPath(archivePath, WindowSettingsName), bytes, 4096)) return;
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<qsizetype>(bytes.size()));
    historyPanel->LoadSettings(text.split('\n'));
    mapPage->LoadSettings(text.split('\n'));
    for (const QString& line : text.split('\n')) {
        const QString value = line.trimmed().section('=', 1);
        bool ok = false;
        const int width = value.toInt(&ok);
        if (line.startsWith("tree-width=") && ok && width >= 120 && width <= 2000) wantedTreeWidth = width;
        if (line.startsWith("language=")) chosenLanguage = language::FromCode(value.toStdString());
        if (line.startsWith("palette="))
            if (const auto mode = palette::FromName(value.toStdString()); mode) wantedPalette = *mode;
    }
}

bool TMainForm::SaveWindowSettings() const {
    std::string text = "tree-width=" + std::to_string(TreeWidth()) + "\r\n";
    text += std::string("palette=") + palette::Name(palette::Current()) + "\r\n";
    // Only a language chosen in the menu: without one, the system's is taken at each start.
    if (chosenLanguage) text += std::string("language=") + language::Code(*chosenLanguage) + "\r\n";
    for (const QString& line : historyPanel->Settings()) text += line.toStdString() + "\r\n";
    for (const QString& line : mapPage->Settings()) text += line.toStdString() + "\r\n";
    return platform::WriteFileAtomic(platform::JoinPath(archivePath, WindowSettingsName), text.data(),
                                     text.size());
}

void TMainForm::OpenCommand() {
    userTools->Open();
}
void TMainForm::SaveCommand() {
    userTools->Save();
}
void TMainForm::PrintCommand() {
    userTools->Print();
}

void TMainForm::CheckFirmwareOffer() {
    const std::string model = Acquisition.ReceiverModel();
    const update::TPackageChoice installed =
        update::FindFirmwarePackage(update::InstalledPackageRoots(), model);
    if (!update::FirmwareOfferDue(model, Acquisition.SystemData.FirmwareVersionNumber(), installed)) return;
    const int answer = ShowMessageBox(
        this, TBoxKind::Information,
        "There is an new firmware available. Update receiver with newest firmware?", TBoxButtons::YesNo);
    if (answer == QMessageBox::Yes && Forms.UpdateForm) Forms.UpdateForm->exec();
}
