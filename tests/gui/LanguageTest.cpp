// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include "app/ui/AlertNotice.h"
#include "app/ui/Language.h"
#include "app/ui/UnitMain.h"
#include "app/ui/UnitSystemInfo.h"
#include "nmea/ui/NetworkDialog.h"
#include "platform/Files.h"
#include "settings/ui/UnitConfig.h"
#include "support/MainWindow.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitMain.h"
#include "update/ui/UnitAdmin.h"
#include "update/ui/UnitUpdate.h"
#include "update/ui/UnitUpdateInfo.h"

namespace {

struct TEntry {
    QString context, source, translation;
    bool finished = true;
};

std::vector<TEntry> ReadTs(const QString& language) {
    QFile file(QStringLiteral(ZEL2_SOURCE_DIR "/translations/zel2_%1.ts").arg(language));
    std::vector<TEntry> entries;
    if (!file.open(QIODevice::ReadOnly)) return entries;
    QXmlStreamReader xml(&file);
    QString context;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("name")) context = xml.readElementText();
        if (xml.name() == QLatin1String("source"))
            entries.push_back({context, xml.readElementText(), {}, true});
        if (xml.name() == QLatin1String("translation") && !entries.empty()) {
            entries.back().finished = xml.attributes().value("type").isEmpty();
            entries.back().translation = xml.readElementText();
        }
    }
    return entries;
}

QStringList Placeholders(const QString& text) {
    QStringList found;
    for (const QRegularExpressionMatch& m : QRegularExpression("%\\d").globalMatch(text))
        found << m.captured();
    found.sort();
    return found;
}

// Every text a user sees on a widget and the widgets under it that are shown.
QStringList VisibleTexts(QWidget* top) {
    QStringList texts;
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets << top;
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(top) && w != top) continue;
        if (auto* label = qobject_cast<QLabel*>(w)) texts << label->text();
        // A tool bar's button shows its icon, not its text.
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            const auto* tool = qobject_cast<QToolButton*>(w);
            if (!tool || tool->toolButtonStyle() != Qt::ToolButtonIconOnly) texts << button->text();
            texts << button->toolTip();
        }
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
        if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
            for (int i = 0; i < tree->headerItem()->columnCount(); ++i) texts << tree->headerItem()->text(i);
            for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                texts << tree->topLevelItem(i)->text(0);
                for (int j = 0; j < tree->topLevelItem(i)->childCount(); ++j)
                    texts << tree->topLevelItem(i)->child(j)->text(0);
            }
        }
        if (auto* menu = qobject_cast<QMenu*>(w)) {
            texts << menu->title();
            for (QAction* a : menu->actions()) texts << a->text() << a->toolTip();
        }
        texts << w->toolTip() << w->windowTitle();
    }
    texts.removeAll(QString());
    return texts;
}

class LanguageTest : public testing_support::WindowTest {
protected:
    LanguageTest() {
        for (const char* f : {"data", "data/ZEL2", "data/ZEL2/INTERNAT", "data/ZEL2/NATIONAL"})
            temp.MakeFolder(f);
        temp.WriteFile("data/ZEL2/INTERNAT/ED01", "ZCZC ED01\r\nMAYDAY RELAY 50-10N 005-20W\r\nNNNN\r\n");
        // The newest is shown at start (and so read): the distress message stays unread.
        temp.WriteFile("data/ZEL2/INTERNAT/FE01", "ZCZC FE01\r\nWIND SW 5\r\nNNNN\r\n");
    }
    ~LanguageTest() override { language::Install(language::TLanguage::French); }
};

}  // namespace

TEST(Translations, EveryEntryFinishedWithItsPlaceholdersInBothLanguages) {
    for (const QString language : {"en", "de"}) {
        const std::vector<TEntry> entries = ReadTs(language);
        ASSERT_GT(entries.size(), 250u) << language.toStdString();
        for (const TEntry& e : entries) {
            SCOPED_TRACE((language + " " + e.context + ": " + e.source).toStdString());
            EXPECT_TRUE(e.finished);
            EXPECT_FALSE(e.translation.isEmpty());
            EXPECT_EQ(Placeholders(e.translation), Placeholders(e.source));
            EXPECT_EQ(e.translation.endsWith(' '), e.source.endsWith(' '));
            EXPECT_EQ(e.translation.count('\n'), e.source.count('\n'));
        }
    }
}

TEST(Translations, TheSystemsLanguageWhereItIsOneOfTheThree) {
    EXPECT_EQ(language::FromSystem(QLocale(QLocale::German, QLocale::Austria)), language::TLanguage::German);
    EXPECT_EQ(language::FromSystem(QLocale(QLocale::English, QLocale::UnitedStates)),
              language::TLanguage::English);
    EXPECT_EQ(language::FromSystem(QLocale(QLocale::French, QLocale::Canada)), language::TLanguage::French);
    EXPECT_EQ(language::FromSystem(QLocale(QLocale::Spanish, QLocale::Spain)), language::TLanguage::French);
}

TEST_F(LanguageTest, TheMainWindowItsMenusAndItsDialogsInEachLanguage) {
    for (const auto& [chosen, code, file] : {std::tuple{language::TLanguage::English, "en", "&File"},
                                             std::tuple{language::TLanguage::German, "de", "&Datei"}}) {
        SCOPED_TRACE(code);
        // Every French text of the program that this language says otherwise.
        QSet<QString> french;
        for (const TEntry& e : ReadTs(code))
            if (e.translation != e.source) french.insert(e.source);
        language::Install(chosen);
        platform::RemoveFile(temp / "data/ZEL2/ALARMS.INI");  // the alert raised anew in this language
        TMainForm form({});
        testing_support::ShowMainWindow(form, {.exposed = true, .historyRecorded = true});
        QStringList texts = VisibleTexts(&form);
        for (QMenu* menu : form.menuBar()->findChildren<QMenu*>()) texts << VisibleTexts(menu);
        for (int page = 0; page < form.Ui()->PageControl1->count(); ++page) {
            form.Ui()->PageControl1->setCurrentIndex(page);
            texts << VisibleTexts(&form);
        }
        EXPECT_TRUE(texts.contains(file));
        ASSERT_TRUE(form.Alerts()->isVisible()) << form.Alerts()->Keys().join(",").toStdString();
        texts << VisibleTexts(form.Alerts());
        // Every dialog, as it shows itself (the fixed English and German texts are in
        // no catalogue, so they are never taken for French).
        TNetworkDlg network(form.Network());
        TConfigurationDlg configuration;
        TUpdateForm update;
        TUpdateInfoForm updateInfo;
        TSysteminfoForm systemInfo;
        TNoAdminForm noAdmin;
        for (QDialog* dialog : std::initializer_list<QDialog*>{&network, &configuration, &update, &updateInfo,
                                                               &systemInfo, &noAdmin}) {
            dialog->show();
            texts << VisibleTexts(dialog);
            dialog->hide();
        }
        QStringList left;
        for (const QString& text : texts)
            if (french.contains(text)) left << text;
        // And nothing that reads as French, from wherever it came.
        const QRegularExpression frenchWords(
            chosen == language::TLanguage::English
                ? "[éèêàçùœ]|\\b(le|la|les|des|du|et|au|aux|un|une|reçu|aucun|nouvel)\\b"
                : "[éèêàçùœ]|\\b(le|la|les|du|et|au|aux|une|reçu|aucun|nouvel)\\b",
            QRegularExpression::CaseInsensitiveOption);
        for (const QString& text : texts)
            if (text.contains(frenchWords)) left << text;
        left.removeDuplicates();
        EXPECT_TRUE(left.isEmpty()) << left.join(" | ").toStdString();
    }
}

TEST_F(LanguageTest, TheLanguageChosenInTheMenuIsKeptForTheNextStart) {
    {
        TMainForm form({});
        testing_support::ShowMainWindow(form);
        QAction* german = form.findChild<QAction*>("Language_de");
        ASSERT_NE(german, nullptr);
        QTimer::singleShot(0, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    EXPECT_EQ(box->text(), "Die gewählte Sprache gilt ab dem nächsten Start des Programms.");
                    box->accept();
                }
        });
        german->trigger();
        ASSERT_TRUE(form.FormDestroy());
    }
    EXPECT_NE(testing_support::ReadText(temp / "data/ZEL2/WINDOW.INI").find("language=de\r\n"),
              std::string::npos);
    EXPECT_EQ(language::Chosen(temp / "data/ZEL2"), language::TLanguage::German);
}
