// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QTest>

#include "app/ui/AlertNotice.h"
#include "app/ui/Palette.h"
#include "app/ui/UnitMain.h"
#include "nmea/ui/NetworkDialog.h"
#include "support/MainWindow.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitMain.h"

namespace {

class PaletteTest : public testing_support::WindowTest {
protected:
    PaletteTest() {
        for (const char* f : {"data", "data/ZEL2", "data/ZEL2/INTERNAT", "data/ZEL2/NATIONAL"})
            temp.MakeFolder(f);
        temp.WriteFile("data/ZEL2/INTERNAT/ED01", "ZCZC ED01\r\nMAYDAY RELAY 50-10N 005-20W\r\nNNNN\r\n");
        temp.WriteFile("data/ZEL2/INTERNAT/FE01", "ZCZC FE01\r\nWIND SW 5\r\nNNNN\r\n");
    }

    // What in a picture is light, or of another hue than red: none of it may be at night.
    struct TCount {
        int light = 0, notRed = 0, all = 0;
    };
    static TCount Count(const QImage& picture) {
        TCount count;
        const QImage image = picture.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                ++count.all;
                count.light += c.lightnessF() > 0.45 ? 1 : 0;
                count.notRed += c.green() > c.red() + 8 || c.blue() > c.red() + 8 ? 1 : 0;
            }
        return count;
    }
};

}  // namespace

TEST_F(PaletteTest, F12GoesRoundDayDuskNightAndTheNightIsDarkAndRedEverywhere) {
    TMainForm form({});
    testing_support::ShowMainWindow(form, {.active = true, .exposed = true, .historyRecorded = true});
    EXPECT_EQ(form.PaletteAction()->text(), "Couleurs de crépuscule\tF12");
    EXPECT_GT(Count(form.grab().toImage()).light, 0) << "daylight is light";

    QTest::keyClick(&form, Qt::Key_F12);
    QTest::qWait(20);  // the application's palette reaches the widgets as events
    EXPECT_EQ(palette::Current(), palette::TMode::Dusk);
    EXPECT_EQ(form.PaletteAction()->text(), "Couleurs de nuit\tF12");
    const TCount dusk = Count(form.grab().toImage());
    EXPECT_LT(dusk.light, dusk.all / 10) << "at dusk the surfaces are dark";

    QTest::keyClick(&form, Qt::Key_F12);
    QTest::qWait(20);
    EXPECT_EQ(palette::Current(), palette::TMode::Night);
    // Every page, the notice and a dialog: nothing light, nothing but red.
    for (QWidget* page : {form.Ui()->NavtexTabSheet, form.Ui()->BaroTabSheet,
                          static_cast<QWidget*>(form.MapPage()), form.Ui()->HelpTabSheet}) {
        form.Ui()->PageControl1->setCurrentWidget(page);
        QTest::qWait(50);
        const TCount night = Count(form.grab().toImage());
        EXPECT_EQ(night.light, 0) << page->objectName().toStdString();
        EXPECT_LT(night.notRed, night.all / 1000) << page->objectName().toStdString();
    }
    ASSERT_TRUE(form.Alerts()->isVisible());
    EXPECT_EQ(Count(form.Alerts()->grab().toImage()).light, 0);
    TNetworkDlg dialog(form.Network());
    dialog.show();
    EXPECT_EQ(Count(dialog.grab().toImage()).light, 0);
    // What is saved or printed stays the day's.
    EXPECT_EQ(form.Ui()->Chart1->Picture().pixelColor(2, 2), QColor(Qt::white));

    QTest::keyClick(&form, Qt::Key_F12);
    EXPECT_EQ(palette::Current(), palette::TMode::Day);
    form.PaletteAction()->trigger();
    form.PaletteAction()->trigger();
    EXPECT_EQ(palette::Current(), palette::TMode::Night) << "the menu's command goes round the same way";
    ASSERT_TRUE(form.FormDestroy());
    EXPECT_NE(testing_support::ReadText(temp / "data/ZEL2/WINDOW.INI").find("palette=night\r\n"),
              std::string::npos);
}

TEST_F(PaletteTest, TheNightKeptForTheNextStart) {
    temp.WriteFile("data/ZEL2/WINDOW.INI", "palette=night\r\n");
    TMainForm form({});
    testing_support::ShowMainWindow(form, {.exposed = true});
    EXPECT_EQ(palette::Current(), palette::TMode::Night);
    EXPECT_EQ(Count(form.grab().toImage()).light, 0);
}
