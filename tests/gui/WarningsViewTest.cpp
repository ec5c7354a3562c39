// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDateTime>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/ui/AlertNotice.h"
#include "app/ui/UnitMain.h"
#include "history/ui/HistoryPanel.h"
#include "platform/Files.h"
#include "support/MainWindow.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitMain.h"
#include "warnings/ui/UrgencyMark.h"

namespace {

class WarningsViewTest : public testing_support::WindowTest {
protected:
    WarningsViewTest() {
        Acquisition.ShowLastMessage = 0;
        for (const char* f : {"data", "data/ZEL2", "data/ZEL2/INTERNAT", "data/ZEL2/NATIONAL", "plotter"})
            temp.MakeFolder(f);
    }
    ~WarningsViewTest() override { Acquisition.ShowLastMessage = 0; }

    void Message(const std::string& name, const std::string& text, int hour) {
        At(name, text, {2026, 12, 6, hour, 0, 0, 0});
    }
    // Received hours ago: still in force whatever the day the test runs.
    void Recent(const std::string& name, const std::string& text, int hoursAgo) {
        const QDateTime t = QDateTime::currentDateTime().addSecs(-3600 * hoursAgo);
        At(name, text, {t.date().year(), t.date().month(), t.date().day(), t.time().hour(), 0, 0, 0});
    }
    void At(const std::string& name, const std::string& text, const platform::LocalDateTime& when) {
        const std::string relative = "data/ZEL2/INTERNAT/" + name;
        temp.WriteFile(relative, "ZCZC " + name + "\r\n" + text + "\r\nNNNN\r\n");
        platform::SetFileTimes(temp / relative, when, when, when);
    }
    // The window up, the archive in the history and the warnings read there.
    static void Show(TMainForm& form) {
        testing_support::ShowMainWindow(form, {.exposed = true, .historyRecorded = true});
        QTest::qWait(100);
    }
    static QTreeWidgetItem* Item(TMainForm& form, const char* name) {
        return form.Ui()->NavtexTreeView->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }
    // The alert notices shown: one at most, whatever came.
    static int Notices(TMainForm& form) {
        int shown = 0;
        for (const QWidget* box : form.findChildren<QDialog*>("AlertNotice"))
            shown += box->isVisible() ? 1 : 0;
        return shown;
    }
    static QString NoticeLines(TMainForm& form) {
        QStringList lines;
        for (int i = 0; i < form.Alerts()->List()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = form.Alerts()->List()->topLevelItem(i);
            lines << item->text(0) + " | " + item->text(1) + " | " + item->text(2);
        }
        return lines.join('\n');
    }
};

}  // namespace

TEST_F(WarningsViewTest, CancelledGreyPositionsShownAndTheFilesForThePlotter) {
    // After archive/2018/06/08/OA67 (shortened): a buoy warning and the one that cancels it.
    Message("EA83", "WZ 370\r\nDOVER STRAIT TSS. ZC1 BUOY 50-45.0N 001-27.2E UNLIT", 8);
    Message("OA67", "WZ 533\r\nSPECIAL LIGHT BUOY AT 54-46.3N 003-42.1W MISSING.\r\n2. CANCEL WZ 370 (EA83).",
            10);
    temp.WriteFile("data/ZEL2/NMEA.INI", "warnings-folder=" + temp / "plotter" + "\r\n");
    TMainForm form({});
    Show(form);
    QTreeWidgetItem* cancelled = Item(form, "EA83");
    ASSERT_NE(cancelled, nullptr);
    EXPECT_EQ(cancelled->foreground(0).color(), QColor(128, 128, 128));
    EXPECT_TRUE(cancelled->toolTip(0).contains("annulé par OA67 le 06/12/2026 à 10:00"))
        << cancelled->toolTip(0).toStdString();
    EXPECT_TRUE(cancelled->toolTip(0).startsWith("reçu le 06/12/2026 à 08:00\nWZ 370"));
    EXPECT_NE(Item(form, "OA67")->foreground(0).color(), QColor(128, 128, 128));

    form.Ui()->NavtexTreeView->setCurrentItem(Item(form, "OA67"));
    auto* label = form.findChild<QLabel*>("PositionsLabel");
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), "Positions : 54°46.3′N 003°42.1′W (point)");
    form.findChild<QPushButton*>("CopyPositions")->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "54°46.3′N 003°42.1′W");

    // The plotter's files: what is in force, as GeoJSON and read back by gpsbabel.
    const QJsonDocument json = QJsonDocument::fromJson(
        QByteArray::fromStdString(testing_support::ReadText(temp / "plotter/navtex-warnings.geojson")));
    const QJsonArray features = json.object()["features"].toArray();
    ASSERT_EQ(features.size(), 1);
    const QJsonObject feature = features[0].toObject();
    EXPECT_EQ(feature["properties"].toObject()["id"].toString(), "OA67");
    EXPECT_EQ(feature["properties"].toObject()["state"].toString(), "in force");
    EXPECT_EQ(feature["geometry"].toObject()["coordinates"].toArray()[1].toDouble(), 54.771667);
    QProcess babel;
    babel.start("gpsbabel", {"-i", "gpx", "-f", QString::fromStdString(temp / "plotter/navtex-warnings.gpx"),
                             "-o", "unicsv", "-F", "-"});
    if (!babel.waitForStarted(5000))
        GTEST_SKIP() << "gpsbabel cannot be started here (Debian's package; not under wine)";
    ASSERT_TRUE(babel.waitForFinished(20000));
    const QString csv = QString::fromUtf8(babel.readAllStandardOutput());
    EXPECT_TRUE(csv.contains("54.771667,-3.701667")) << csv.toStdString();
    EXPECT_FALSE(csv.contains("50.75")) << "the cancelled buoy is not exported";
}

TEST_F(WarningsViewTest, ASearchResultNoLongerInForceIsGreyWithItsReason) {
    Message("EA83", "WZ 370\r\nDOVER STRAIT TSS. ZC1 BUOY 50-45.0N 001-27.2E UNLIT", 8);
    Message("OA67", "WZ 533\r\nDOVER STRAIT BUOY MISSING.\r\n2. CANCEL WZ 370 (EA83).", 10);
    TMainForm form({});
    Show(form);
    QTest::keyClicks(form.History()->SearchField(), "DOVER");
    QTest::qWait(300);  // past the pause after which a search starts
    const auto found = [&form](const char* name) {
        return form.History()->Results()->findItems(name, Qt::MatchStartsWith | Qt::MatchRecursive).value(0);
    };
    // In force only, as it starts: the cancelled one is left out; the header says the state.
    EXPECT_EQ(found("EA83"), nullptr);
    ASSERT_NE(found("OA67"), nullptr);
    form.History()->Results()->setCurrentItem(found("OA67"));
    EXPECT_TRUE(form.MessageHeader()->text().endsWith(" · historique · en vigueur"))
        << form.MessageHeader()->text().toStdString();
    form.findChild<QCheckBox*>("HistoryInForce")->setChecked(false);
    ASSERT_NE(found("EA83"), nullptr);
    ASSERT_NE(found("OA67"), nullptr);
    EXPECT_EQ(found("EA83")->foreground(0).color(), QColor(128, 128, 128));
    EXPECT_TRUE(found("EA83")->toolTip(0).endsWith("\nannulé par OA67 le 06/12/2026 à 10:00"))
        << found("EA83")->toolTip(0).toStdString();
    EXPECT_NE(found("OA67")->foreground(0).color(), QColor(128, 128, 128));
    EXPECT_FALSE(found("OA67")->toolTip(0).contains("annulé"));
    form.History()->Results()->setCurrentItem(found("EA83"));
    EXPECT_TRUE(form.MessageHeader()->text().endsWith(" · annulé par OA67 le 06/12/2026 à 10:00"))
        << form.MessageHeader()->text().toStdString();
}

TEST_F(WarningsViewTest, UrgentMessagesKeepTheirMarkWhileInForceWithOneNotice) {
    // B2 is the subject: ED01 is search and rescue; FA00 is vital (B3B4 "00"); FB01 a gale.
    Recent("ED01", "MAYDAY RELAY. LIFERAFT SIGHTED 50-10N 005-20W", 4);
    Recent("FA00", "VITAL WARNING. NAVIGATION CLOSED", 3);
    Recent("FE01", "WIND SW 5", 2);
    Recent("FB01", "GALE WARNING. SW 8", 1);
    const QColor distress = urgency::Colour(warnings::TUrgency::Distress);
    const auto marked = [](QTreeWidgetItem* item, const QColor& colour) {
        return item->foreground(0).color() == colour && !item->icon(0).isNull();
    };
    // Never the selected message's red, so that neither passes for the other.
    EXPECT_NE(distress, QColor(255, 0, 0));
    {
        TMainForm form({});
        Show(form);
        EXPECT_TRUE(marked(Item(form, "ED01"), distress));
        EXPECT_TRUE(marked(Item(form, "FA00"), distress));
        EXPECT_TRUE(marked(Item(form, "FB01"), urgency::Colour(warnings::TUrgency::Gale)));
        EXPECT_FALSE(marked(Item(form, "FE01"), distress));
        EXPECT_TRUE(Item(form, "FE01")->icon(0).isNull());
        // One notice for the three, each with its subject and first line, never again.
        ASSERT_EQ(Notices(form), 1);
        EXPECT_EQ(form.Alerts()->List()->topLevelItemCount(), 3) << NoticeLines(form).toStdString();
        EXPECT_TRUE(NoticeLines(form).contains("Renseignements recherche/sauvetage | MAYDAY RELAY. LIFERAFT"))
            << NoticeLines(form).toStdString();
        EXPECT_TRUE(NoticeLines(form).contains("Avis météorologiques | GALE WARNING. SW 8"));
        EXPECT_FALSE(NoticeLines(form).contains("WIND SW 5"));
        form.RebuildTree();
        EXPECT_EQ(Notices(form), 1);
        EXPECT_EQ(form.Alerts()->List()->topLevelItemCount(), 3);
        // Its button opens the line chosen (the first when none is) on the NAVTEX page.
        form.Ui()->PageControl1->setCurrentWidget(form.Ui()->BaroTabSheet);
        form.Alerts()->List()->setCurrentItem(form.Alerts()->List()->topLevelItem(2));
        form.Alerts()->OpenButton()->click();
        EXPECT_EQ(form.Ui()->PageControl1->currentWidget(), form.Ui()->NavtexTabSheet);
        EXPECT_EQ(form.Ui()->NavtexTreeView->currentItem(), Item(form, "FB01"));
        // A message that comes while it is open joins it.
        Recent("GB02", "GALE WARNING. W 9", 0);
        form.RebuildTree();
        QTest::qWait(200);
        EXPECT_EQ(Notices(form), 1);
        EXPECT_EQ(form.Alerts()->List()->topLevelItemCount(), 4) << NoticeLines(form).toStdString();
        form.Alerts()->AcknowledgeButton()->click();
        EXPECT_EQ(Notices(form), 0);
        EXPECT_NE(testing_support::ReadText(temp / "data/ZEL2/ALARMS.INI").find(" ack\r\n"),
                  std::string::npos);
        form.Ui()->NavtexTreeView->setCurrentItem(Item(form, "ED01"));
        form.RebuildTree();
        EXPECT_TRUE(marked(Item(form, "ED01"), distress)) << "read, and still in force";
        EXPECT_FALSE(Item(form, "ED01")->font(0).bold());
        // The same mark among the search's results.
        QTest::keyClicks(form.History()->SearchField(), "MAYDAY");
        QTest::qWait(300);  // past the pause after which a search starts
        const auto hits =
            form.History()->Results()->findItems("ED01", Qt::MatchStartsWith | Qt::MatchRecursive);
        ASSERT_EQ(hits.size(), 1);
        EXPECT_TRUE(marked(hits[0], distress));
    }
    // A line that cannot be read, first in the file, costs no other alarm.
    temp.WriteFile("data/ZEL2/ALARMS.INI", "518 garbage-without-a-time\r\n\x01\x02\r\n" +
                                               testing_support::ReadText(temp / "data/ZEL2/ALARMS.INI"));
    TMainForm again({});
    Show(again);
    EXPECT_EQ(Notices(again), 0);
    EXPECT_TRUE(marked(Item(again, "ED01"), distress));
}

// A plotter folder that cannot take the files is said, once, and in the network dialog's
// words: never written elsewhere (not into a folder of other letters, not beside the program).
TEST_F(WarningsViewTest, APlotterFolderThatCannotTakeTheFilesIsSaidOnce) {
    Message("OA67", "WZ 533\r\nSPECIAL LIGHT BUOY AT 54-46.3N 003-42.1W MISSING.", 10);
    temp.WriteFile("afile", "x");
#ifdef _WIN32
    const std::string missing = temp / "absent";  // "PLOTTER" is the plotter folder on Windows
#else
    const std::string missing = temp / "PLOTTER";
#endif
    const std::pair<std::string, const char*> cases[] = {{missing, "n’existe pas"},
                                                         {"plotter", "n’est pas un chemin complet"},
                                                         {temp / "afile", "est un fichier"}};
    for (const auto& [folder, said] : cases) {
        SCOPED_TRACE(folder);
        temp.WriteFile("data/ZEL2/NMEA.INI", "warnings-folder=" + folder + "\r\n");
        TMainForm form({});
        Show(form);
        QTest::qWait(50);
        EXPECT_TRUE(form.Warnings()->ExportStateText().contains(QString::fromUtf8(said)))
            << form.Warnings()->ExportStateText().toStdString();
        const auto notices = form.findChildren<QMessageBox*>("ExportNotice");
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_TRUE(notices[0]->text().contains(QString::fromUtf8(said)));
        form.RebuildTree();
        form.History()->Writer()->Add({});
        form.History()->Writer()->WaitIdle();
        QTest::qWait(50);
        EXPECT_EQ(form.findChildren<QMessageBox*>("ExportNotice").size(), 1u) << "said once";
        EXPECT_FALSE(platform::FileExists(temp / "plotter/navtex-warnings.geojson"));
    }
    // A whole path that exists: written, and the state says when.
    temp.WriteFile("data/ZEL2/NMEA.INI", "warnings-folder=" + temp / "plotter" + "\r\n");
    TMainForm form({});
    Show(form);
    EXPECT_TRUE(platform::FileExists(temp / "plotter/navtex-warnings.geojson"));
    EXPECT_TRUE(form.Warnings()->ExportStateText().startsWith("Écrits le "))
        << form.Warnings()->ExportStateText().toStdString();
}
