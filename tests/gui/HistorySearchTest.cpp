// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include "app/ui/UnitMain.h"
#include "app/ui/UserTools.h"
#include "history/HistoryStore.h"
#include "platform/Files.h"
#include "support/MainWindow.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitMain.h"

namespace {

// A real message of 2020 that the receiver no longer holds (corpus: archive/2020/12/29/OA35,
// shortened), in the receiver's own line ends.
const std::string OldWarning =
    "ZCZC OA35\r\nIRISH SEA. ISLE OF MAN SOUTHWARDS.\r\n1. UNDERWATER CABLE OPERATIONS IN PROGRESS BY C/S "
    "ILE DE "
    "BATZ\r\nNNNN\r\n";

class SaveTo : public IToolDialogs {
public:
    QString path, proposed;
    bool OpenFile(QWidget*, const QString&, QString&) override { return false; }
    bool SaveFile(QWidget*, const QString&, const QString& p, QString& chosen) override {
        proposed = p;
        chosen = path;
        return true;
    }
    bool Print(QWidget*, QPrinter&, bool) override { return false; }
};

class HistorySearchTest : public testing_support::WindowTest {
protected:
    HistorySearchTest() {
        Acquisition.ShowLastMessage = 0;
        for (const char* f : {"data", "data/ZEL2", "data/ZEL2/INTERNAT", "data/ZEL2/NATIONAL"})
            temp.MakeFolder(f);
        Message("FA12", "ZCZC FA12\r\nCABLE SHIP WORKING NORTH OF SPLIT\r\nNNNN\r\n");
        Message("GB05", "ZCZC GB05\r\nGALE WARNING\r\nNNNN\r\n");
    }
    ~HistorySearchTest() override { Acquisition.ShowLastMessage = 0; }

    void Message(const std::string& name, const std::string& text) {
        const std::string relative = "data/ZEL2/INTERNAT/" + name;
        temp.WriteFile(relative, text);
        const platform::LocalDateTime when{2026, 12, 6, 12, 0, 0, 0};
        platform::SetFileTimes(temp / relative, when, when, when);
    }
    std::string Database() const { return temp / "data/ZEL2/HISTORY.DB"; }

    // The window past its start-up picture, with the start-up archive in the history; the
    // search over every message, in force or not (these are years old).
    static void Show(TMainForm& form) {
        testing_support::ShowMainWindow(form, {.active = true, .historyRecorded = true});
        form.findChild<QCheckBox*>("HistoryInForce")->setChecked(false);
    }
    static void Type(QWidget* target, const QString& text) {
        QTest::keyClicks(target, text);
        QTest::qWait(300);  // past the pause after which a search starts
    }
    static QStringList Messages(QTreeWidget* tree) {
        QStringList names;
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            if ((*it)->childCount() == 0 && (*it)->parent()) names << (*it)->text(0).section(' ', 0, 0);
        return names;
    }
};

}  // namespace

TEST_F(HistorySearchTest, TypingSearchesTheWholeHistoryAndEscapeBringsTheTreeBack) {
    {
        history::THistoryStore store;
        ASSERT_EQ(store.OpenForWriting(Database(), 1609243200), history::THistoryStore::Outcome::Created);
        const std::vector<history::TArchivedMessage> old = {{518, "OA35", OldWarning, 1609243200}};
        ASSERT_EQ(store.Record(old, 1609243200), 1);
    }
    SaveTo save;
    save.path = QString::fromStdString(temp / "saved.txt");
    {
        TMainForm form({});
        form.UserTools().SetDialogs(&save);
        Show(form);
        QTreeWidget* tree = form.Ui()->NavtexTreeView;
        QTreeWidget* found = form.History()->Results();
        QLineEdit* field = form.History()->SearchField();
        tree->setCurrentItem(tree->findItems("GB05", Qt::MatchExactly | Qt::MatchRecursive).value(0));
        const QString gale = form.Ui()->NavtexMemo->toPlainText();
        ASSERT_TRUE(gale.contains("GALE WARNING"));

        QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(QApplication::focusWidget(), field);
        Type(field, "cable");
        EXPECT_TRUE(found->isVisible());
        EXPECT_FALSE(tree->isVisible());
        EXPECT_EQ(Messages(found), (QStringList{"FA12", "OA35"}));  // newest first, old one kept
        EXPECT_EQ(form.History()->Hits()->text(), "2 messages trouvés");
        Type(field, " irish");
        EXPECT_EQ(Messages(found), QStringList{"OA35"});

        // Down goes to the message found: shown with its reception, saved byte for byte.
        QTest::keyClick(field, Qt::Key_Down);
        EXPECT_TRUE(form.Ui()->NavtexMemo->toPlainText().startsWith("ZCZC OA35\nIRISH SEA."));
        EXPECT_TRUE(form.MessageHeader()->text().contains("29/12/2020"))
            << form.MessageHeader()->text().toStdString();
        EXPECT_EQ(form.ShownMessageName(), "OA35");
        form.SaveCommand();
        EXPECT_EQ(save.proposed, "OA35.TXT");
        EXPECT_EQ(testing_support::ReadText(temp / "saved.txt"), OldWarning);

        // A filter that leaves nothing, then Escape: the receiver's tree and its message.
        form.findChild<QComboBox*>("HistoryBand")->setCurrentIndex(2);
        EXPECT_EQ(form.History()->Hits()->text(), "Aucun message trouvé");
        QTest::keyClick(found, Qt::Key_Escape);
        EXPECT_TRUE(tree->isVisible());
        EXPECT_TRUE(field->text().isEmpty());
        EXPECT_EQ(form.Ui()->NavtexMemo->toPlainText(), gale);
        EXPECT_EQ(form.ShownMessageName(), "GB05");

        // Syntax of the index typed as text matches nothing by accident.
        Type(field, "\"* NEAR;'");
        EXPECT_TRUE(Messages(found).isEmpty());
        field->clear();
        EXPECT_TRUE(tree->isVisible());
    }
    // The filters are kept for the next run.
    TMainForm again({});
    EXPECT_EQ(again.findChild<QComboBox*>("HistoryBand")->currentData().toInt(), 490);
}

TEST_F(HistorySearchTest, ADamagedHistoryIsSaidOnceAndRebuiltFromTheArchive) {
    temp.WriteFile("data/ZEL2/HISTORY.DB", std::string(4096, '\x5A'));
    for (int run = 0; run < 2; ++run) {
        TMainForm form({});
        Show(form);
        QTest::qWait(50);
        const auto notices = form.findChildren<QMessageBox*>("HistoryNotice");
        ASSERT_EQ(notices.size(), run == 0 ? 1 : 0);
        if (run == 0) {
            EXPECT_TRUE(notices[0]->text().contains("HISTORY.DB.damaged-"));
            EXPECT_FALSE(notices[0]->isModal());
        }
        Type(form.History()->SearchField(), "gale");
        EXPECT_EQ(Messages(form.History()->Results()), QStringList{"GB05"});
    }
}
