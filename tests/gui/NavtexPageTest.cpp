// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTest>
#include <QTreeWidget>

#include "acquisition/AcquisitionState.h"
#include "app/ui/UnitMain.h"
#include "platform/Files.h"
#include "support/MainWindow.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitMain.h"

using testing_support::TempFolder;

namespace {

class NavtexPageTest : public testing_support::WindowTest {
protected:
    NavtexPageTest() {
        Acquisition.ShowLastMessage = 0;
        temp.MakeFolder("data");
        temp.MakeFolder("data/ZEL2");
        temp.MakeFolder("data/ZEL2/INTERNAT");
        temp.MakeFolder("data/ZEL2/NATIONAL");
    }
    ~NavtexPageTest() override { Acquisition.ShowLastMessage = 0; }

    void Message(const std::string& band, const std::string& name, const std::string& text, int hour = 12) {
        const std::string relative = "data/ZEL2/" + band + "/" + name;
        temp.WriteFile(relative, text);
        const platform::LocalDateTime when{2026, 12, 6, hour, 0, 0, 0};
        platform::SetFileTimes(temp / relative, when, when, when);
    }

    // The window at its design size, past the start-up picture.
    static void ShowWindow(TMainForm& form) { testing_support::ShowMainWindow(form); }

    static QTreeWidgetItem* Find(QTreeWidget* tree, int root, const QString& text) {
        const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        for (QTreeWidgetItem* item : found)
            if (item->parent() && item->parent()->parent() == tree->topLevelItem(root)) return item;
        return nullptr;
    }

    // Pure red pixels inside the item's row of the painted tree.
    static int RedPixels(QTreeWidget* tree, QTreeWidgetItem* item) {
        const QImage image = tree->viewport()->grab().toImage();
        const QRect row = tree->visualItemRect(item);
        int red = 0;
        for (int y = row.top(); y <= row.bottom(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == QColor(255, 0, 0)) ++red;
        return red;
    }
};

}  // namespace

TEST_F(NavtexPageTest, TreeShowsTheArchiveAtStartAndOpensMessages) {
    Message("INTERNAT", "FA12.TXT", "ZCZC FA12\r\nCAP FR\xC9HEL\r\nNNNN\r\n");
    Message("INTERNAT", "GB05.TXT", "GALE\r\n", 11);
    Message("NATIONAL", "AE07.TXT", "NATIONAL\r\n");
    TMainForm form({});
    ShowWindow(form);
    QTreeWidget* tree = form.Ui()->NavtexTreeView;

    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "International (518 kHz)");
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "National (490 kHz)");
    EXPECT_EQ(tree->topLevelItem(1)->child(4)->text(0), "Prévisions météorologiques");
    for (int r = 0; r < 2; ++r) {
        EXPECT_TRUE(tree->topLevelItem(r)->isExpanded());
        for (int c = 0; c < 10; ++c) EXPECT_TRUE(tree->topLevelItem(r)->child(c)->isExpanded());
    }
    QTreeWidgetItem* fa12 = Find(tree, 0, "FA12");
    ASSERT_NE(fa12, nullptr);
    EXPECT_EQ(fa12->parent(), tree->topLevelItem(0)->child(0));
    EXPECT_TRUE(fa12->font(0).bold());
    EXPECT_FALSE(tree->topLevelItem(0)->font(0).bold());
    ASSERT_NE(Find(tree, 1, "AE07"), nullptr);
    EXPECT_TRUE(Find(tree, 1, "AE07")->font(0).bold());
    EXPECT_EQ(RedPixels(tree, fa12), 0);

    tree->setCurrentItem(fa12);
    EXPECT_FALSE(fa12->font(0).bold());
    EXPECT_EQ(form.Ui()->NavtexMemo->toPlainText(), "ZCZC FA12\nCAP FRÉHEL\nNNNN");
    EXPECT_EQ(form.Navtex().ShownMessageName(), "FA12");
    EXPECT_GT(RedPixels(tree, fa12), 5);

    // A category selected: the message stays, the red goes with the selection.
    tree->setCurrentItem(tree->topLevelItem(0)->child(1));
    EXPECT_EQ(form.Ui()->NavtexMemo->toPlainText(), "ZCZC FA12\nCAP FRÉHEL\nNNNN");
    EXPECT_EQ(RedPixels(tree, fa12), 0);
    EXPECT_EQ(RedPixels(tree, tree->topLevelItem(0)->child(1)), 0);

    // The acquisition's rebuild request keeps what was read.
    Message("INTERNAT", "EE33.TXT", "NEW\r\n", 9);
    form.RebuildTree();
    EXPECT_FALSE(Find(tree, 0, "FA12")->font(0).bold());
    ASSERT_NE(Find(tree, 0, "EE33"), nullptr);
    EXPECT_TRUE(Find(tree, 0, "EE33")->font(0).bold());
    form.close();
}

TEST_F(NavtexPageTest, ReadStateSurvivesARestartAndCollapseAllKeepsTheRoots) {
    Message("INTERNAT", "FA12.TXT", "ONE\r\n");
    Message("INTERNAT", "GB05.TXT", "TWO\r\n", 10);
    {
        TMainForm form({});
        form.Ui()->NavtexTreeView->setCurrentItem(Find(form.Ui()->NavtexTreeView, 0, "FA12"));
        form.FormDestroy();
    }
    TMainForm form({});
    QTreeWidget* tree = form.Ui()->NavtexTreeView;
    EXPECT_FALSE(Find(tree, 0, "FA12")->font(0).bold());
    EXPECT_TRUE(Find(tree, 0, "GB05")->font(0).bold());

    form.Navtex().CollapseAll();
    form.RebuildTree();
    for (int r = 0; r < 2; ++r) {
        EXPECT_TRUE(tree->topLevelItem(r)->isExpanded());
        for (int c = 0; c < 10; ++c) EXPECT_FALSE(tree->topLevelItem(r)->child(c)->isExpanded());
    }
}

TEST_F(NavtexPageTest, LastMessageAndFilterArgumentSelectAtStart) {
    Message("INTERNAT", "GB05.TXT", "INTERNATIONAL\r\n");
    Message("NATIONAL", "GB05.TXT", "NATIONAL\r\n");
    temp.WriteFile("data/ZEL2/CONFIG.BIN", std::string("\0\0\0\0\1", 5));
    std::string system(556, '\0');
    system.replace(548, 4, "GB05");
    temp.WriteFile("data/ZEL2/SYSTEM.BIN", system);
    {
        TMainForm form({});
        QTreeWidget* tree = form.Ui()->NavtexTreeView;
        EXPECT_EQ(tree->currentItem(), Find(tree, 1, "GB05"));
        EXPECT_EQ(form.Ui()->NavtexMemo->toPlainText(), "NATIONAL");
        EXPECT_FALSE(Find(tree, 0, "GB05")->font(0).bold());
    }
    temp.WriteFile("data/ZEL2/CONFIG.BIN", std::string(5, '\0'));
    temp.WriteFile("data/ZEL2/SYSTEM.BIN", system);  // the exit saved the no-receiver defaults
    Acquisition.ShowLastMessage = 0;
    TMainForm form({"518GB"});
    QTreeWidget* tree = form.Ui()->NavtexTreeView;
    EXPECT_EQ(tree->currentItem(), Find(tree, 0, "GB05"));
    EXPECT_EQ(form.Ui()->NavtexMemo->toPlainText(), "INTERNATIONAL");
}

// After a rebuild the shown message is selected again without marking any other message
// read; a message gone from the receiver stays shown and its header says so. The header
// names the band, the station, the subject and the reception time; the memo is the file.
TEST_F(NavtexPageTest, TheShownMessageSurvivesARebuildAndItsHeaderSaysWhatItIs) {
    Message("INTERNAT", "FA12.TXT", "ZCZC FA12\r\nNNNN\r\n");
    Message("INTERNAT", "GB05.TXT", "GALE\r\n", 11);
    TMainForm form({});
    ShowWindow(form);
    QTreeWidget* tree = form.Ui()->NavtexTreeView;
    tree->setCurrentItem(Find(tree, 0, "FA12"));
    // The letter F alone does not say which station (nothing in the message, no boat's
    // position); 6 December 2026, 12:00 in Paris is 11:00 UTC; then the state, once the
    // history has it.
    EXPECT_TRUE(form.MessageHeader()->text().startsWith(
        "518 kHz · station F : Tallinn, Horta, Antalya… ? · Avertissements "
        "de navigation · reçu le 06/12/2026 à 12:00 (11:00 UTC)"))
        << form.MessageHeader()->text().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return form.MessageHeader()->text().endsWith("(11:00 UTC) · en vigueur");
    })) << form.MessageHeader()->text().toStdString();
    EXPECT_EQ(form.Ui()->NavtexMemo->toPlainText().toStdString(), "ZCZC FA12\nNNNN");

    Message("INTERNAT", "HA01.TXT", "NEW\r\n", 13);
    form.RebuildTree();
    ASSERT_NE(tree->currentItem(), nullptr);
    EXPECT_EQ(tree->currentItem()->text(0), "FA12") << "selected again";
    EXPECT_TRUE(Find(tree, 0, "GB05")->font(0).bold()) << "nothing else marked read";
    EXPECT_TRUE(Find(tree, 0, "HA01")->font(0).bold());

    platform::RemoveFile(temp / "data/ZEL2/INTERNAT/FA12.TXT");
    form.RebuildTree();
    EXPECT_EQ(form.Ui()->NavtexMemo->toPlainText().toStdString(), "ZCZC FA12\nNNNN") << "the memo keeps it";
    EXPECT_TRUE(form.MessageHeader()->text().contains("n’est plus sur le récepteur"))
        << form.MessageHeader()->text().toStdString();
    EXPECT_TRUE(Find(tree, 0, "GB05")->font(0).bold());
}

// The tree can be widened with the mouse, and keeps its width for the next run.
TEST_F(NavtexPageTest, TheTreeIsWidenedByDraggingAndKeepsItsWidth) {
    int first = 0;
    {
        TMainForm form({});
        ShowWindow(form);
        QApplication::processEvents();
        // 233 at first, unless the search panel above the tree needs more (Windows' fonts).
        const QWidget* panel = form.NavtexSplitter()->widget(0);
        first = std::max({233, panel->minimumWidth(), panel->minimumSizeHint().width()});
        ASSERT_EQ(form.TreeWidth(), first);
        QSplitterHandle* handle = form.NavtexSplitter()->handle(1);
        const QPoint middle = handle->rect().center();
        const auto send = [handle](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, handle->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(handle, &event);
        };
        send(QEvent::MouseButtonPress, middle, Qt::LeftButton);
        send(QEvent::MouseMove, middle + QPoint(60, 0), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, middle + QPoint(60, 0), Qt::NoButton);
        EXPECT_NEAR(form.TreeWidth(), first + 60, 2);
        form.FormDestroy();
    }
    TMainForm again({});
    again.resize(980, 700);
    again.show();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_NEAR(again.TreeWidth(), first + 60, 2);
}
