// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QShortcut>
#include <QTest>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "acquisition/AcquisitionState.h"
#include "app/ui/LanguagePass.h"
#include "app/ui/MessageBox.h"
#include "app/ui/UnitMain.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitMain.h"

using testing_support::TempFolder;

namespace {

class MainCommandsTest : public testing_support::WindowTest {
protected:
    MainCommandsTest() = default;
    ~MainCommandsTest() override {
        Acquisition.Busy = false;
        Acquisition.CurrentMessagesText.clear();
    }
};

struct Command {
    const char* button;
    const char* item;
    bool navtex, baro, help;
};

// Open, Save, Print, Expand, Collapse, Zoom in, Zoom out.
const Command States[] = {
    {"LoadToolButton", "Oeffnen", true, false, false},
    {"SaveToolButton", "Speichern", true, true, false},
    {"PrintToolButton", "Drucken", true, true, true},
    {"ExpandToolButton", "Menbaumaufklappen1", true, false, false},
    {"CollapseToolButton", "Menbaumeinklappen1", true, false, false},
    {"BaroZoomInToolButton", "ZoomIn1", false, true, false},
    {"BaroZoomOutToolButton", "ZoomOut1", false, true, false},
};

void ExpectStates(TMainForm& form, int page, const char* when) {
    for (const Command& c : States) {
        const bool expected = page == 0 ? c.navtex : page == 1 ? c.baro : c.help;
        QAction* button = form.findChild<QAction*>(c.button);
        QAction* item = form.findChild<QAction*>(c.item);
        ASSERT_TRUE(button && item) << c.button;
        EXPECT_EQ(button->isEnabled(), expected) << c.button << " " << when;
        EXPECT_EQ(item->isEnabled(), expected) << c.item << " " << when;
        if (QWidget* widget = form.Ui()->ToolBar1->widgetForAction(button)) {
            EXPECT_EQ(widget->isEnabled(), expected);
        }
    }
}

}  // namespace

TEST_F(MainCommandsTest, CommandStatesAndPanelTwoFollowThePage) {
    TMainForm form({});
    Acquisition.CurrentMessagesText = "Actuel messages: EE33  GB05  FA12";
    QTabWidget* pages = form.Ui()->PageControl1;
    form.PageControl1Change();
    ExpectStates(form, 0, "at start");
    EXPECT_EQ(form.StatusPanel(2)->text(), "Actuel messages: EE33  GB05  FA12");

    pages->setCurrentIndex(1);  // the user's page change runs the handler
    ExpectStates(form, 1, "barograph");
    EXPECT_EQ(form.StatusPanel(2)->text(), "");
    Acquisition.CurrentMessagesText = "Actuel messages: GB05  FA12  AL02";
    pages->setCurrentWidget(form.Ui()->HelpTabSheet);  // after the map
    ExpectStates(form, 2, "help");
    EXPECT_EQ(form.StatusPanel(2)->text(), "");
    pages->setCurrentIndex(0);
    EXPECT_EQ(form.StatusPanel(2)->text(), "Actuel messages: GB05  FA12  AL02");  // at once

    // Manual from every page, by button and by menu item.
    for (int from = 0; from < pages->count(); ++from) {
        for (const char* command : {"HelpToolButton", "Bedienungsanleitung"}) {
            pages->setCurrentIndex(from);
            form.findChild<QAction*>(command)->trigger();
            EXPECT_EQ(pages->currentWidget(), form.Ui()->HelpTabSheet);
            ExpectStates(form, 2, command);
        }
    }
    // The keys: F1 opens the manual, Ctrl+Q closes the window.
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    pages->setCurrentIndex(0);
    QTest::keyClick(&form, Qt::Key_F1);
    EXPECT_EQ(pages->currentWidget(), form.Ui()->HelpTabSheet);
    QTest::keyClick(&form, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form.isVisible());
    // Not touched by the page change.
    form.Ui()->Konfiguration->setEnabled(false);
    pages->setCurrentIndex(0);
    EXPECT_FALSE(form.Ui()->Konfiguration->isEnabled());
    EXPECT_TRUE(form.Ui()->Beenden1->isEnabled());
    EXPECT_TRUE(form.Ui()->Systeminformation->isEnabled());
    EXPECT_TRUE(form.Ui()->Bedienungsanleitung->isEnabled());
}

TEST_F(MainCommandsTest, TreeCommandsActOnlyOnTheNavtexPage) {
    TMainForm form({});
    QTreeWidget* tree = form.Ui()->NavtexTreeView;
    QTreeWidgetItem* category = tree->topLevelItem(0)->child(0);
    ASSERT_TRUE(category->isExpanded());

    form.Ui()->PageControl1->setCurrentIndex(1);
    form.CollapseToolButtonClick();  // reached although disabled there
    form.Menbaumeinklappen1Click();
    EXPECT_TRUE(category->isExpanded());

    form.Ui()->PageControl1->setCurrentIndex(0);
    form.Ui()->CollapseToolButton->trigger();
    EXPECT_FALSE(category->isExpanded());
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    form.Ui()->PageControl1->setCurrentIndex(2);
    form.Menbaumaufklappen1Click();
    EXPECT_FALSE(category->isExpanded());
    form.Ui()->PageControl1->setCurrentIndex(0);
    form.Ui()->Menbaumaufklappen1->trigger();
    EXPECT_TRUE(category->isExpanded());

    // Zoom has no page test.
    form.Ui()->PageControl1->setCurrentIndex(0);
    form.ZoomIn1Click();
    EXPECT_EQ(form.Baro().SpanDays, 1.0);
    form.BaroZoomOutToolButtonClick();
    EXPECT_EQ(form.Baro().SpanDays, 2.0);
}

TEST_F(MainCommandsTest, BusyBarStepsWhileTheThreadIsBusy) {
    TMainForm form({});
    std::vector<int> positions;
    Acquisition.Busy = true;
    for (int tick = 0; tick < 11; ++tick) {
        form.UTCUpdateTimerTimer();
        positions.push_back(form.BusyProgressBar->value());
    }
    EXPECT_EQ(positions, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 0, 10}));
    form.UTCUpdateTimerTimer();
    Acquisition.Busy = false;
    form.UTCUpdateTimerTimer();
    EXPECT_EQ(form.BusyProgressBar->value(), 0);
    form.UTCUpdateTimerTimer();
    EXPECT_EQ(form.BusyProgressBar->value(), 0);
    EXPECT_EQ(form.UTCUpdateTimer->interval(), 1000);

    // The timer itself drives the bar.
    Acquisition.Busy = true;
    form.UTCUpdateTimer->start(1);
    QElapsedTimer waited;
    waited.start();
    while (form.BusyProgressBar->value() == 0 && waited.elapsed() < 2000) QApplication::processEvents();
    EXPECT_EQ(form.BusyProgressBar->value(), 10);
    form.UTCUpdateTimer->stop();
}

TEST_F(MainCommandsTest, FrenchTextsAfterTheFirstShowing) {
    TMainForm form({});
    form.show();
    for (int i = 0; i < 20 && !form.StartupPictureShown(); ++i) QApplication::processEvents();
    ASSERT_TRUE(form.StartupPictureShown());

    QTabWidget* pages = form.Ui()->PageControl1;
    EXPECT_EQ(pages->tabText(0), "NAVTEX");
    EXPECT_EQ(pages->tabText(1), "BAROGRAPHE");
    EXPECT_EQ(pages->tabText(2), "CARTE");
    EXPECT_EQ(pages->tabText(3), "AIDE") << "the manual keeps its name after the map";
    EXPECT_EQ(form.Ui()->Datei->title(), "&Fichier");
    EXPECT_EQ(form.Ui()->Einstellungen->title(), "&Réglages");
    EXPECT_EQ(form.Ui()->Hilfe->title(), "&Aide");
    EXPECT_EQ(form.Ui()->Menbaumeinklappen1->text(), "&Fermer arborescence");
    EXPECT_EQ(form.Ui()->CollapseToolButton->toolTip(), "Reduire arborescence");
    EXPECT_EQ(form.Ui()->Menbaumaufklappen1->text(), "&Ouvrir arborescence");
    EXPECT_EQ(form.Ui()->ExpandToolButton->toolTip(), "Ouvrir arborescence");
    EXPECT_EQ(form.Ui()->ZoomOut1->text(), "Zoom arriére");
    EXPECT_EQ(form.Ui()->Chart1->RightTitle(), "Pression[hPa]");
    EXPECT_EQ(form.windowTitle(), "ZEL2");

    // Every entry of the table is in its control.
    ASSERT_EQ(FrenchMainTexts().size(), 27u);
    for (const TLanguageText& entry : FrenchMainTexts()) {
        const QString name = entry.control, text = QString::fromUtf8(entry.text);
        switch (entry.kind) {
            case TLanguageText::PageCaption: {
                QWidget* const designed[] = {form.Ui()->NavtexTabSheet, form.Ui()->BaroTabSheet,
                                             form.Ui()->HelpTabSheet};
                EXPECT_EQ(pages->tabText(pages->indexOf(designed[name.toInt()])), text);
                break;
            }
            case TLanguageText::MenuCaption:
                if (auto* menu = form.findChild<QMenu*>(name))
                    EXPECT_EQ(menu->title(), text);
                else
                    EXPECT_EQ(form.findChild<QAction*>(name)->text(), text) << entry.control;
                break;
            case TLanguageText::AxisTitle:
                EXPECT_EQ(form.Ui()->Chart1->RightTitle(), text);
                break;
            case TLanguageText::Hint:
                EXPECT_EQ(form.findChild<QAction*>(name)->toolTip(), text) << entry.control;
                break;
        }
    }
    // No menu item has a shortcut beyond its access letter; the keys belong to the window.
    for (QAction* action : form.Ui()->MainMenu->findChildren<QAction*>())
        EXPECT_TRUE(action->shortcut().isEmpty());
    for (const char* key :
         {"KeyOeffnen", "KeySpeichern", "KeyDrucken", "KeyBeenden1", "KeyBedienungsanleitung"})
        EXPECT_NE(form.findChild<QShortcut*>(key), nullptr) << key;

    // The tool bar: flat buttons with symbols and hints.
    int buttons = 0;
    for (QToolButton* button : form.Ui()->ToolBar1->findChildren<QToolButton*>()) {
        if (!button->defaultAction() || button->defaultAction()->isSeparator()) continue;
        ++buttons;
        EXPECT_TRUE(button->autoRaise());
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_FALSE(button->toolTip().isEmpty());
    }
    EXPECT_EQ(buttons, 9);
    form.close();
}

TEST(MessageBoxes, GermanCaptionsAndButtons) {
    const auto texts = [](QMessageBox* box) {
        QStringList list;
        for (QAbstractButton* b : box->buttons()) list << b->text();
        list.sort();
        return list;
    };
    std::unique_ptr<QMessageBox> warning(
        MakeMessageBox(nullptr, TBoxKind::Warning, "Files x exists! Overwrite?", TBoxButtons::YesNo));
    EXPECT_EQ(warning->windowTitle(), "Warnung");
    EXPECT_EQ(warning->icon(), QMessageBox::Warning);
    EXPECT_EQ(texts(warning.get()), (QStringList{"&Ja", "&Nein"}));
    EXPECT_EQ(warning->text(), "Files x exists! Overwrite?");
    std::unique_ptr<QMessageBox> info(
        MakeMessageBox(nullptr, TBoxKind::Information, "Bitte", TBoxButtons::Ok));
    EXPECT_EQ(info->windowTitle(), "Information");
    EXPECT_EQ(texts(info.get()), QStringList{"OK"});

    int seen = 0;
    SetMessageBoxAnswerer([&](QMessageBox& box) {
        ++seen;
        EXPECT_EQ(box.windowTitle(), "Warnung");
        return int(QMessageBox::No);
    });
    EXPECT_EQ(ShowMessageBox(nullptr, TBoxKind::Warning, "?", TBoxButtons::YesNo), QMessageBox::No);
    SetMessageBoxAnswerer({});
    EXPECT_EQ(seen, 1);
}
