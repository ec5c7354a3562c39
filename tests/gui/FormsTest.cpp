// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "acquisition/AcquisitionState.h"
#include "app/ui/UnitMain.h"
#include "app/ui/UnitSystemInfo.h"
#include "settings/ui/UnitConfig.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitMain.h"
#include "update/ui/UnitAdmin.h"
#include "update/ui/UnitUpdate.h"
#include "update/ui/UnitUpdateInfo.h"

using testing_support::TempFolder;

namespace {

template <typename T>
T* Find(QObject* root, const char* name) {
    T* found = root->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void ExpectGeometry(QWidget* w, int x, int y, int width, int height) {
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(), QRect(x, y, width, height)) << w->objectName().toStdString();
}

using MainFormTest = testing_support::WindowTest;

TEST_F(MainFormTest, MainWindowHasTheDesignControlsAndTexts) {
    TMainForm form({});
    EXPECT_EQ(form.windowTitle(), "ZEL2");
    EXPECT_EQ(form.size(), QSize(980, 700));

    auto* pages = Find<QTabWidget>(&form, "PageControl1");
    ASSERT_EQ(pages->count(), 4);  // the designed three and the map before the manual
    EXPECT_EQ(pages->widget(0)->objectName(), "NavtexTabSheet");
    EXPECT_EQ(pages->widget(1)->objectName(), "BaroTabSheet");
    EXPECT_EQ(pages->widget(2)->objectName(), "MapTabSheet");
    EXPECT_EQ(pages->widget(3)->objectName(), "HelpTabSheet");
    EXPECT_EQ(pages->tabText(0), "NAVTEX");
    EXPECT_EQ(pages->tabText(1), "BAROGRAPH");
    EXPECT_EQ(pages->tabText(3), "HILFE");
    EXPECT_EQ(pages->currentIndex(), 0);

    auto* tree = Find<QTreeWidget>(&form, "NavtexTreeView");
    EXPECT_EQ(form.TreeWidth(), 233) << "233 pixels at first; the splitter lets the user widen it";
    EXPECT_EQ(tree->indentation(), 19);
    EXPECT_EQ(tree->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(tree->styleSheet().contains("rgb(206, 247, 230)"));
    auto* memo = Find<QPlainTextEdit>(&form, "NavtexMemo");
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->font().family(), "Courier New");
    EXPECT_EQ(memo->font().pointSize(), 10);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    Find<QWidget>(&form, "Chart1");
    Find<QTextBrowser>(&form, "WebBrowser1");

    // Tool bar: buttons and separators in their order, design hints.
    auto* bar = Find<QToolBar>(&form, "ToolBar1");
    QStringList order;
    for (QAction* a : bar->actions()) {
        QWidget* w = bar->widgetForAction(a);
        order << (w ? w->objectName() : a->objectName());
    }
    EXPECT_EQ(order, QStringList({"LoadToolButton", "SaveToolButton", "ToolButton7", "PrintToolButton",
                                  "ToolButton6", "ExpandToolButton", "CollapseToolButton", "ToolButton2",
                                  "BaroZoomInToolButton", "BaroZoomOutToolButton", "ToolButton3",
                                  "HelpToolButton", "SystemToolButton", "ToolButton1", "ParameterLabel"}));
    const std::pair<const char*, const char*> hints[] = {
        {"LoadToolButton", "Datei laden"},
        {"SaveToolButton", "Datei speichern"},
        {"PrintToolButton", "Datei drucken"},
        {"ExpandToolButton", "Menübaum ausklappen"},
        {"CollapseToolButton", "Menübaum einklappen"},
        {"BaroZoomInToolButton", "Zoom In"},
        {"BaroZoomOutToolButton", "Zoom Out"},
        {"HelpToolButton", "Bedienungsanleitung"},
        {"SystemToolButton", "Systeminformation"},
    };
    for (const auto& [name, hint] : hints) {
        auto* action = form.findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->toolTip(), QString::fromUtf8(hint));
        EXPECT_FALSE(action->icon().isNull()) << name;
    }
    EXPECT_EQ(Find<QWidget>(&form, "ToolButton7")->width(), 8);
    EXPECT_EQ(form.ParameterLabel->text(), "");
    EXPECT_EQ(form.ParameterLabel->alignment() & Qt::AlignVCenter, Qt::AlignVCenter);

    // Status bar: six panels with fixed widths.
    const int widths[6] = {200, 100, 210, 100, 100, 200};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(form.StatusPanel(i)->width(), widths[i]) << i;
    EXPECT_EQ(form.statusBar()->height(), 19);
    EXPECT_EQ(form.BusyProgressBar->maximum(), 100);
    EXPECT_EQ(form.BusyProgressBar->property("step").toInt(), 10);
    EXPECT_EQ(form.BatteryCapacityProgressBar->property("step").toInt(), 1);
}

TEST_F(MainFormTest, MenuHasTheDesignItemsWithoutShortcuts) {
    TMainForm form({});
    QStringList seen;
    for (QAction* top : form.menuBar()->actions()) {
        seen << top->menu()->objectName() + "=" + top->text();
        for (QAction* item : top->menu()->actions()) {
            if (item->isSeparator()) {
                seen << "-";
                continue;
            }
            seen << item->objectName() + "=" + item->text();
            EXPECT_TRUE(item->shortcut().isEmpty()) << item->objectName().toStdString();
        }
    }
    EXPECT_EQ(seen, QStringList({"Datei=&Datei",
                                 "Oeffnen=&Öffnen...",
                                 "Speichern=&Speichern...",
                                 "Drucken=&Drucken...",
                                 "ExportWarningsAction=Exporter les avertissements…",
                                 "-",
                                 "Beenden1=&Beenden",
                                 "Einstellungen=Einstellungen",
                                 "Menbaumaufklappen1=Menübaum aufklappen",
                                 "Menbaumeinklappen1=Menübaum einklappen",
                                 "-",
                                 "ZoomIn1=Zoom In",
                                 "ZoomOut1=Zoom Out",
                                 "-",
                                 "Konfiguration=Konfiguration...",
                                 "PaletteAction=Couleurs de crépuscule\tF12",
                                 "NetworkAction=Réseau du bord et alarmes…",
                                 "LanguageMenu=&Langue",
                                 "Language_fr=Français",
                                 "Language_en=English",
                                 "Language_de=Deutsch",
                                 "Hilfe=&Hilfe",
                                 "Bedienungsanleitung=&Bedienungsanleitung",
                                 "Systeminformation=&Systeminformation..."}));
}

TEST_F(MainFormTest, CreationPreparesTheArchiveFolder) {
    TMainForm form({});
    EXPECT_EQ(form.ArchivePath(), temp / "data/ZEL2/");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(form.ArchivePath())).isDir());
}

TEST_F(MainFormTest, SavedStateIsLoadedAtCreationAndWrittenAtTheEnd) {
    temp.WriteFile("data/ZEL2/CONFIG.BIN", std::string("\x2c\x01\x00\x00\x01", 5));
    temp.WriteFile("data/ZEL2/MISC.BIN", std::string("\x07\x00\x00\x00\x00", 5));
    {
        TMainForm form({});
        EXPECT_EQ(Acquisition.BaroHeight, 300);
        EXPECT_EQ(Acquisition.ShowLastMessage, 1);
        ASSERT_EQ(form.ReadMarks().size(), 1u);
        EXPECT_EQ(form.ReadMarks()[0].Age, 7);
        Acquisition.BaroHeight = 42;
        form.ReadMarks().push_back({9, 1});
    }
    QFile config(QString::fromStdString(temp / "data/ZEL2/CONFIG.BIN"));
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    EXPECT_EQ(config.readAll(), QByteArray("\x2a\x00\x00\x00\x01", 5));
    EXPECT_EQ(QFileInfo(QString::fromStdString(temp / "data/ZEL2/MISC.BIN")).size(), 10);
    EXPECT_EQ(QFileInfo(QString::fromStdString(temp / "data/ZEL2/BARODATA.BIN")).size(), 20488);
    Acquisition.BaroHeight = 0;
    Acquisition.ShowLastMessage = 0;
}

TEST_F(MainFormTest, StartupPictureGivesWayToThePages) {
    TMainForm form({});
    form.show();
    form.FormShow();
    EXPECT_TRUE(form.StartupPictureShown());
    EXPECT_FALSE(form.Ui()->PageControl1->isVisible());
    EXPECT_TRUE(form.StartupTimer->isActive());
    EXPECT_EQ(form.StartupTimer->interval(), 3000);
    EXPECT_TRUE(form.UTCUpdateTimer->isActive());
    EXPECT_FALSE(form.Ui()->StartupImageFrench->pixmap().isNull());
    EXPECT_EQ(form.Ui()->StartupImageFrench->pixmap().size(), QSize(972, 603));
    EXPECT_FALSE(form.Ui()->StartupImageDeutsch->isVisible());
    EXPECT_FALSE(form.Ui()->StartupImageEnglish->isVisible());
    EXPECT_EQ(form.BusyProgressBar->parentWidget(), form.StatusPanel(1));
    EXPECT_EQ(form.BatteryCapacityProgressBar->parentWidget(), form.StatusPanel(4));

    form.StartupTimerTimer();
    EXPECT_FALSE(form.StartupTimer->isActive());
    EXPECT_FALSE(form.StartupPictureShown());
    EXPECT_TRUE(form.Ui()->PageControl1->isVisible());
    // Never shown again: their memory is given back.
    for (const QLabel* picture :
         {form.Ui()->StartupImageDeutsch, form.Ui()->StartupImageEnglish, form.Ui()->StartupImageFrench})
        EXPECT_TRUE(picture->pixmap().isNull());
    form.FormDestroy();
    EXPECT_FALSE(form.UTCUpdateTimer->isActive());
}

TEST(DialogForms, NoAdminAndUpdateDialogsMatchTheirLayouts) {
    TNoAdminForm admin;
    EXPECT_EQ(admin.windowTitle(), "Update Info");
    EXPECT_EQ(admin.size(), QSize(386, 243));
    ExpectGeometry(Find<QPlainTextEdit>(&admin, "Memo1"), 8, 8, 361, 169);
    EXPECT_TRUE(Find<QPlainTextEdit>(&admin, "Memo1")->isReadOnly());
    auto* close = Find<QPushButton>(&admin, "CloseButton");
    EXPECT_EQ(close->text(), "Schließen");

    TUpdateForm update;
    EXPECT_EQ(update.windowTitle(), "Update");
    EXPECT_EQ(update.size(), QSize(250, 124));
    EXPECT_FALSE(update.windowFlags() & Qt::WindowCloseButtonHint);
    auto* label = Find<QLabel>(&update, "StatusLabel");
    EXPECT_EQ(label->pos(), QPoint(16, 16));
    EXPECT_EQ(label->text(), "");
    ExpectGeometry(Find<QProgressBar>(&update, "ProgressBar1"), 16, 40, 217, 24);
    EXPECT_EQ(Find<QProgressBar>(&update, "ProgressBar1")->maximum(), 100);
    ExpectGeometry(Find<QPushButton>(&update, "StartButton"), 16, 80, 99, 25);
    EXPECT_EQ(Find<QPushButton>(&update, "StartButton")->text(), "Start Update");
    ExpectGeometry(Find<QPushButton>(&update, "CancelUpdateButton"), 136, 80, 97, 25);
    EXPECT_EQ(Find<QPushButton>(&update, "CancelUpdateButton")->text(), "Abbrechen");

    TUpdateInfoForm info;
    EXPECT_EQ(info.size(), QSize(337, 302));
    auto* memo = Find<QPlainTextEdit>(&info, "Memo1");
    ExpectGeometry(memo, 8, 8, 321, 241);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(memo->toPlainText().isEmpty());
    ExpectGeometry(Find<QPushButton>(&info, "CloseButton"), 120, 264, 74, 25);
}

TEST(DialogForms, ConfigurationAndSystemInformationMatchTheirLayouts) {
    TConfigurationDlg config;
    EXPECT_EQ(config.windowTitle(), "Konfiguration");
    EXPECT_EQ(config.size(), QSize(264, 174));
    auto* group = Find<QGroupBox>(&config, "GroupBox1");
    EXPECT_EQ(group->size(), QSize(249, 121));
    EXPECT_EQ(group->title(), "Barometer Höhenkorrektur");
    EXPECT_EQ(Find<QLabel>(&config, "Label1")->text(), "Barometerhöhe [m]");
    auto* spin = Find<QSpinBox>(&config, "BaroheightSpinEdit");
    EXPECT_EQ(spin->width(), 121);
    EXPECT_EQ(spin->minimum(), 0);
    EXPECT_EQ(spin->maximum(), 750);
    EXPECT_EQ(Find<QCheckBox>(&config, "LastMessageCheckBox")->text(),
              "Aktuellste Meldung automatisch anzeigen ");
    EXPECT_TRUE(Find<QPushButton>(&config, "OKBtn")->isDefault());
    EXPECT_EQ(Find<QPushButton>(&config, "CancelBtn")->text(), "Abbrechen");

    TSysteminfoForm system;
    EXPECT_EQ(system.windowTitle(), "Systeminformation");
    EXPECT_EQ(system.size(), QSize(319, 240));
    EXPECT_FALSE(system.windowFlags() & Qt::WindowCloseButtonHint);
    const std::tuple<const char*, int, int, const char*> labels[] = {
        {"ProduktnameLabel", 24, 16, "Produktname:"},
        {"ProduktLabel", 128, 16, "ZEL3"},
        {"SoftwareLabel", 24, 40, "Softwareversion:"},
        {"SoftwareVersionLabel", 127, 40, ""},
        {"FirmLabel", 24, 63, "Firmwareversion:"},
        {"FirmwareLabel", 127, 63, "Firmware"},
        {"SeriLabel", 24, 87, "Seriennummer:"},
        {"SeriennummerLabel", 127, 87, "Seriennummer"},
        {"Label1", 24, 112, "System:"},
        {"OSLabel", 128, 112, ""},
    };
    for (const auto& [name, x, y, text] : labels) {
        auto* label = Find<QLabel>(&system, name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->pos(), QPoint(x, y)) << name;
        EXPECT_EQ(label->text(), QString::fromUtf8(text)) << name;
    }
    auto* image = Find<QLabel>(&system, "Image1");
    // Ten pixels shorter than the Windows layout, so the "System:" line below it is not hidden.
    ExpectGeometry(image, 216, 10, 95, 100);
    EXPECT_FALSE(image->pixmap().isNull()) << "the product picture is built in";
    EXPECT_EQ(Find<QLabel>(&system, "UpdatesLinkLabel")->cursor().shape(), Qt::PointingHandCursor);
    ExpectGeometry(Find<QPushButton>(&system, "CloseButton"), 119, 191, 74, 25);
}

}  // namespace
