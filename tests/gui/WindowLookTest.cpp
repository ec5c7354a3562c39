// SPDX-License-Identifier: GPL-3.0-or-later
// What a user sees: every text whole in its control, the message view wrapping, a readable
// selection, Qt's dialogs in French, the axis with the user's decimal separator.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTextBlock>
#include <QToolTip>
#include <QTreeWidget>

#include <cstring>

#include "acquisition/AcquisitionState.h"
#include "acquisition/StatusTexts.h"
#include "app/ui/Application.h"
#include "app/ui/UnitMain.h"
#include "app/ui/UnitSystemInfo.h"
#include "navtex/ui/NavtexTreeControl.h"
#include "settings/ui/UnitConfig.h"
#include "support/MainWindow.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitConfig.h"
#include "ui_UnitMain.h"
#include "ui_UnitSystemInfo.h"
#include "ui_UnitUpdate.h"
#include "update/ui/UnitAdmin.h"
#include "update/ui/UnitUpdate.h"
#include "update/ui/UnitUpdateInfo.h"

namespace {

// The room a control's text has, and the room it needs, in pixels.
struct TextFit {
    int needed = 0, room = 0;
};

TextFit FitOf(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->wordWrap() || label->text().isEmpty() || label->textFormat() == Qt::RichText) return {};
        return {label->fontMetrics().horizontalAdvance(label->text()),
                label->contentsRect().width() - 2 * label->margin()};
    }
    if (const auto* check = qobject_cast<const QCheckBox*>(w)) {
        QStyleOptionButton option;
        option.initFrom(check);
        option.text = check->text();
        const QRect text = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
        return {check->fontMetrics().horizontalAdvance(check->text()), text.width()};
    }
    if (const auto* button = qobject_cast<const QPushButton*>(w)) {
        if (button->text().isEmpty()) return {};
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        return {button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&')),
                button->width() - margin};
    }
    return {};
}

// Every text control of a window placed at a fixed spot (not in a layout) must show its
// text whole and not run under a sibling (such as a picture).
void ExpectTextsFit(const QWidget* window, const char* name) {
    for (const QWidget* w : window->findChildren<const QWidget*>()) {
        if (!w->isVisibleTo(window)) continue;
        const TextFit fit = FitOf(w);
        if (fit.needed == 0) continue;
        EXPECT_LE(fit.needed, fit.room) << name << " " << w->objectName().toStdString() << " in "
                                        << QFontInfo(w->font()).family().toStdString();
        const auto* label = qobject_cast<const QLabel*>(w);
        if (!label || !w->parentWidget()) continue;
        const QRect text(w->geometry().topLeft(), QSize(fit.needed, w->height()));
        for (const QWidget* sibling :
             w->parentWidget()->findChildren<const QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (sibling == w || !sibling->isVisibleTo(window) || FitOf(sibling).needed > 0) continue;
            const auto* picture = qobject_cast<const QLabel*>(sibling);
            if (!picture || picture->pixmap().isNull()) continue;
            EXPECT_FALSE(text.intersects(sibling->geometry()))
                << name << " " << w->objectName().toStdString() << " runs under "
                << sibling->objectName().toStdString();
        }
    }
}

// Shown as the user opens it, then every text checked.
void ShowAndExpectTextsFit(QWidget& window, const char* name) {
    window.show();
    ExpectTextsFit(&window, name);
}

class WindowLookTest : public testing_support::WindowTest {
protected:
    ~WindowLookTest() override {
        Forms = TApplicationForms{};
        Acquisition.Detection = {};
    }
};

}  // namespace

TEST_F(WindowLookTest, EveryTextFitsItsControl) {
    if (!testing_support::NoFontsReason().isEmpty())
        GTEST_SKIP() << testing_support::NoFontsReason().toStdString();
    // The narrow Windows face is drawn with a face of its widths, not the wide default.
    const QFont system("MS Sans Serif", 8);
    EXPECT_EQ(QFontInfo(system).family(), "Liberation Sans");

    TMainForm form({});
    testing_support::ShowMainWindow(form);
    // The widest identifiers the status shows, and a ZEL2D's status.
    std::memcpy(Acquisition.SystemData.RecentMessageIds(), "EE33GB05FA12", 12);
    Acquisition.CurrentMessagesText = acquisition::CurrentMessagesText(Acquisition.SystemData);
    form.PageControl1Change();
    EXPECT_EQ(form.StatusPanel(2)->text(), "Actuel messages: EE33  GB05  FA12  ");
    form.SetStatusPanel(3, "Capacité:");
    form.SetStatusPanel(5, "E´tat: Stand-by exempt batterie");
    ExpectTextsFit(form.statusBar(), "status bar");
    form.SetStatusPanel(5, "No receiver connected.");
    ExpectTextsFit(form.statusBar(), "status bar");

    TConfigurationDlg config;
    ShowAndExpectTextsFit(config, "configuration");

    Acquisition.Detection.ReceiverModel = "ZEL2BX";
    Acquisition.FirmwareVersionText = "1.0.10";
    Acquisition.SerialNumberText = "B20190600211";
    TSysteminfoForm info;
    ShowAndExpectTextsFit(info, "system information");

    TUpdateForm update;
    ShowAndExpectTextsFit(update, "update");
    TNoAdminForm admin;
    ShowAndExpectTextsFit(admin, "privilege notice");
    TUpdateInfoForm updateInfo;
    ShowAndExpectTextsFit(updateInfo, "update information");
}

TEST_F(WindowLookTest, TheMessageWrapsAtTheViewsWidth) {
    temp.WriteFile("data/ZEL2/INTERNAT/FA12.TXT",
                   "ZCZC FA12\r\n" + std::string(400, 'X') + " END\r\nNNNN\r\n");
    TMainForm form({});
    testing_support::ShowMainWindow(form);
    QTreeWidget* tree = form.Ui()->NavtexTreeView;
    const auto items = tree->findItems("FA12", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(items.size(), 1);
    tree->setCurrentItem(items[0]);
    QApplication::processEvents();
    QPlainTextEdit* memo = form.Ui()->NavtexMemo;
    ASSERT_TRUE(memo->isVisible());
    ASSERT_TRUE(memo->toPlainText().contains(" END")) << memo->toPlainText().toStdString();
    EXPECT_FALSE(memo->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(memo->verticalScrollBar()->isVisible());
    const QTextBlock longLine = memo->document()->findBlockByNumber(1);
    ASSERT_TRUE(longLine.layout());
    EXPECT_GT(longLine.layout()->lineCount(), 3) << "400 characters on one screen line";
    EXPECT_LE(longLine.layout()->boundingRect().width(), memo->viewport()->width());
}

TEST_F(WindowLookTest, TheSelectionIsLightAndCutNamesShowWhole) {
    temp.WriteFile("data/ZEL2/INTERNAT/FA12.TXT", "ZCZC FA12\r\nNNNN\r\n");
    TMainForm form({});
    testing_support::ShowMainWindow(form);
    QTreeWidget* tree = form.Ui()->NavtexTreeView;
    QTreeWidgetItem* fa12 = tree->findItems("FA12", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(fa12, nullptr);
    tree->setCurrentItem(fa12);
    QApplication::processEvents();
    const QRect row = tree->visualItemRect(fa12);
    const QImage shot = tree->viewport()->grab().toImage();
    int red = 0, light = 0, dark = 0;
    for (int x = row.left(); x < row.right(); ++x)
        for (int y = row.top(); y < row.bottom(); ++y) {
            const QColor c = shot.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 90 && c.blue() < 90) {
                ++red;
            } else if (c.lightness() > 200) {
                ++light;
            } else if (c.lightness() < 80) {
                ++dark;
            }
        }
    EXPECT_GT(red, 5) << "the selected message stays red";
    EXPECT_GT(light, 5 * (red + dark)) << "on a light selection";
    EXPECT_EQ(dark, 0) << "no dark selection behind it";

    // A category name too long for the column: its tool tip is the whole name.
    tree->setFixedWidth(150);
    QApplication::processEvents();
    QTreeWidgetItem* category = tree->topLevelItem(1)->child(4);  // "Prévisions météorologiques"
    const QRect rect = tree->visualItemRect(category);
    QHelpEvent help(QEvent::ToolTip, rect.center(), tree->viewport()->mapToGlobal(rect.center()));
    QApplication::sendEvent(tree->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), "Prévisions météorologiques");
    QToolTip::hideText();
    // A name that fits has none.
    const QRect whole = tree->visualItemRect(fa12);
    QHelpEvent fits(QEvent::ToolTip, whole.center(), tree->viewport()->mapToGlobal(whole.center()));
    QApplication::sendEvent(tree->viewport(), &fits);
    EXPECT_NE(QToolTip::text(), "FA12");
}

TEST_F(WindowLookTest, QtsOwnDialogsSpeakFrench) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    const QLabel* lookIn = dialog.findChild<QLabel*>("lookInLabel");
    ASSERT_NE(lookIn, nullptr);
    EXPECT_EQ(lookIn->text().trimmed(), "Voir dans :");
    const QDialogButtonBox* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text().remove('&'), "Annuler");
}

TEST_F(WindowLookTest, PressureLabelsUseTheUsersDecimalSeparator) {
    TMainForm form({});
    form.resize(980, 700);
    form.show();
    form.Ui()->PageControl1->setCurrentWidget(form.Ui()->BaroTabSheet);
    QApplication::processEvents();
    TChart* chart = form.Ui()->Chart1;
    const auto labels = [chart] {
        QStringList texts;
        for (const TChart::TTick& t : chart->RightTicks()) texts << t.label;
        return texts.join('|');
    };
    chart->SetDecimalSeparator(',');
    chart->SetRightRange(1000, 1001);
    const QString comma = labels();
    EXPECT_TRUE(comma.contains("1000,2")) << comma.toStdString();
    EXPECT_FALSE(comma.contains("1000.2")) << comma.toStdString();
    chart->SetDecimalSeparator('.');
    chart->SetRightRange(1000, 1001.5);
    const QString point = labels();
    EXPECT_TRUE(point.contains("1000.2")) << point.toStdString();
}

TEST_F(WindowLookTest, TheUpdateDialogAsksForNoTitleBarButtons) {
    TUpdateForm update;
    update.show();
    const Qt::WindowFlags flags = update.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
}

// On a 1920 x 1080 screen at a scale factor of 2 (960 x 540 to Qt) the window shrinks to
// the screen and its title bar stays on it. Run in a process of its own, whose offscreen
// screen has that size.
TEST(WindowFit, TheWindowFitsA1920By1080ScreenAtScaleFactorTwo) {
    if (QSysInfo::productType() == "windows")
        GTEST_SKIP() << "the test program started again from itself does not initialise under wine";
    if (qEnvironmentVariableIsSet("ZEL2_FIT_CHILD")) {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        ASSERT_EQ(available.size(), QSize(960, 540));
        testing_support::TempFolder temp;
        testing_support::ScopedEnv data("XDG_DATA_HOME", temp / "data");
        TMainForm form({});
        form.show();
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        EXPECT_TRUE(available.contains(form.frameGeometry()))
            << form.frameGeometry().width() << "x" << form.frameGeometry().height();
        EXPECT_GE(form.frameGeometry().top(), available.top()) << "the title bar on the screen";
        return;
    }
    testing_support::TempFolder temp;
    temp.WriteFile("screens.json",
                   R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1920, "height": 1080,
                                      "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZEL2_FIT_CHILD", "1");
    env.insert("QT_SCALE_FACTOR", "2");
    env.insert("QT_QPA_PLATFORM", QString::fromStdString("offscreen:configfile=" + temp / "screens.json"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=WindowFit.*"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}
