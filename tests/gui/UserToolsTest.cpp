// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextCursor>
#include <QTreeWidget>
#include <QtTest/QTest>

#include "acquisition/AcquisitionState.h"
#include "app/ui/Application.h"
#include "app/ui/MessageBox.h"
#include "app/ui/UnitMain.h"
#include "app/ui/UnitSystemInfo.h"
#include "app/ui/UserTools.h"
#include "platform/Files.h"
#include "settings/ui/UnitConfig.h"
#include "support/MainWindow.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitConfig.h"
#include "ui_UnitMain.h"
#include "ui_UnitSystemInfo.h"

using testing_support::ReadText;
using testing_support::TempFolder;

namespace {

class FakeDialogs : public IToolDialogs {
public:
    QString openPath, savePath, pdf;
    bool accept = true;
    QPrinter::PrintRange range = QPrinter::AllPages;
    QString filter, proposed;
    bool offeredSelection = false;
    int printDialogs = 0;

    bool OpenFile(QWidget*, const QString& f, QString& path) override {
        filter = f;
        path = openPath;
        return accept;
    }
    bool SaveFile(QWidget*, const QString& f, const QString& p, QString& path) override {
        filter = f;
        proposed = p;
        path = savePath;
        return accept;
    }
    bool Print(QWidget*, QPrinter& printer, bool offerSelection) override {
        ++printDialogs;
        offeredSelection = offerSelection;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPrintRange(range);
        return accept;
    }
};

QString RunTool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class UserToolsTest : public testing_support::WindowTest {
protected:
    UserToolsTest() {
        temp.MakeFolder("data");
        temp.MakeFolder("data/ZEL2");
        temp.MakeFolder("data/ZEL2/INTERNAT");
        const std::string message = "data/ZEL2/INTERNAT/FA12.TXT";
        temp.WriteFile(message,
                       "ZCZC FA12\r\nGALE WARNING F\xC9"
                       "CAMP\r\nNNNN\r\n");
        const platform::LocalDateTime when{2026, 12, 6, 12, 0, 0, 0};
        platform::SetFileTimes(temp / message, when, when, when);
        form = std::make_unique<TMainForm>(std::vector<std::string>{});
        form->UserTools().SetDialogs(&dialogs);
        dialogs.pdf = QString::fromStdString(temp / "out.pdf");
        SetMessageBoxAnswerer([this](QMessageBox& box) {
            boxes.push_back((box.windowTitle() + ": " + box.text()).toStdString());
            return answer;
        });
    }
    ~UserToolsTest() override {
        SetMessageBoxAnswerer({});
        Forms = TApplicationForms{};
        Acquisition.BaroHeight = 0;
        Acquisition.ShowLastMessage = 0;
    }

    void ShowFA12() {
        auto items = form->Ui()->NavtexTreeView->findItems("FA12", Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(items.size(), 1);
        form->Ui()->NavtexTreeView->setCurrentItem(items[0]);
    }
    QString PdfText() { return RunTool("pdftotext", {"-layout", dialogs.pdf, "-"}); }

    std::unique_ptr<TMainForm> form;
    FakeDialogs dialogs;
    std::vector<std::string> boxes;
    int answer = QMessageBox::Yes;
};

}  // namespace

TEST_F(UserToolsTest, SaveAndPrintWaitForAShownMessageAlsoAfterOpen) {
    form->SaveCommand();
    form->PrintCommand();
    EXPECT_EQ(boxes, (std::vector<std::string>{"Information: Bitte zuerst eine Meldung auswählen!",
                                               "Information: Please select message first!"}));
    temp.WriteFile("opened.txt", "ONE\r\nTWO\nTHREE\r\n");
    dialogs.openPath = QString::fromStdString(temp / "opened.txt");
    form->OpenCommand();
    EXPECT_EQ(dialogs.filter, "Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*");
    EXPECT_EQ(form->Ui()->NavtexMemo->toPlainText(), "ONE\nTWO\nTHREE");
    boxes.clear();
    form->SaveCommand();
    form->PrintCommand();
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(dialogs.printDialogs, 0);
    EXPECT_FALSE(QFile::exists(dialogs.pdf));
}

TEST_F(UserToolsTest, SaveWritesTheViewsLinesUnderTheShownName) {
    ShowFA12();
    temp.WriteFile("opened.txt", "OPENED \xE9T\xC9\r\nSECOND");
    dialogs.openPath = QString::fromStdString(temp / "opened.txt");
    form->OpenCommand();
    EXPECT_EQ(form->Navtex().ShownMessageName(), "FA12");  // the shown name stays
    EXPECT_NE(form->Ui()->NavtexTreeView->currentItem(), nullptr);

    dialogs.savePath = QString::fromStdString(temp / "typed");  // no extension is added
    form->SaveCommand();
    EXPECT_EQ(dialogs.proposed, "FA12.TXT");
    EXPECT_EQ(dialogs.filter, "Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*");
    EXPECT_EQ(ReadText(temp / "typed"), "OPENED \xE9T\xC9\r\nSECOND\r\n");  // the same bytes back
    EXPECT_TRUE(boxes.empty());

    // An existing file: No keeps it untouched, Yes replaces it.
    answer = QMessageBox::No;
    ShowFA12();
    form->Ui()->NavtexTreeView->setCurrentItem(nullptr);
    form->Ui()->NavtexMemo->setPlainText("OTHER");
    form->SaveCommand();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0],
              "Warnung: Files " +
                  QFileInfo(QString::fromStdString(temp / "typed")).absoluteFilePath().toStdString() +
                  " exists! Overwrite?");
    EXPECT_EQ(ReadText(temp / "typed"), "OPENED \xE9T\xC9\r\nSECOND\r\n");
    answer = QMessageBox::Yes;
    form->SaveCommand();
    EXPECT_EQ(ReadText(temp / "typed"), "OTHER\r\n");

    // A folder that cannot be written: one error box, the view keeps its text.
    boxes.clear();
    dialogs.savePath = QString::fromStdString(temp / "missing/dir/x.txt");
    form->SaveCommand();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind(QApplication::applicationName().toStdString() + ": ", 0), 0u);
    EXPECT_EQ(form->Ui()->NavtexMemo->toPlainText(), "OTHER");

    dialogs.accept = false;  // cancelled: nothing written
    dialogs.savePath = QString::fromStdString(temp / "cancelled.txt");
    form->SaveCommand();
    EXPECT_FALSE(QFile::exists(dialogs.savePath));
}

TEST_F(UserToolsTest, ChartSavedAsABitmap) {
    testing_support::ShowMainWindow(*form, {.page = form->Ui()->BaroTabSheet});
    dialogs.savePath = QString::fromStdString(temp / "Barographdaten.bmp");
    form->SaveCommand();
    EXPECT_EQ(dialogs.proposed, "Barographdaten.bmp");
    EXPECT_EQ(dialogs.filter, "Bilddateien (*.bmp)|*.bmp|Alle Dateien (*.*)|*.*");
    const QImage image(dialogs.savePath, "BMP");
    EXPECT_EQ(image.size(), form->Ui()->Chart1->size());
    EXPECT_EQ(ReadText(temp / "Barographdaten.bmp").substr(0, 2), "BM");
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));

    form->Ui()->PageControl1->setCurrentWidget(form->Ui()->HelpTabSheet);
    dialogs.savePath = QString::fromStdString(temp / "help.bmp");
    form->SaveCommand();
    form->OpenCommand();
    EXPECT_FALSE(QFile::exists(dialogs.savePath));
    form->close();
}

TEST_F(UserToolsTest, MessagePrintsAllLinesOrTheSelection) {
    if (!testing_support::NoPdfToolsReason().isEmpty())
        GTEST_SKIP() << testing_support::NoPdfToolsReason().toStdString();
    ShowFA12();
    QString longLine;
    for (int i = 0; i < 40; ++i) longLine += QString("WORD%1 ").arg(i);
    form->Ui()->NavtexMemo->setPlainText("ZCZC FA12\nGALE WARNING\n" + longLine + "\nNNNN");
    form->PrintCommand();
    EXPECT_TRUE(dialogs.offeredSelection);
    EXPECT_EQ(form->UserTools().Printer().pageLayout().orientation(), QPageLayout::Portrait);
    QString text = PdfText();
    EXPECT_TRUE(text.contains("ZCZC FA12"));
    EXPECT_TRUE(text.contains("GALE WARNING"));
    // The heading of the message and the page number, and 15 mm of margin (42.5 points).
    EXPECT_TRUE(text.contains(QRegularExpression("518 kHz · station F.* Page 1"))) << text.toStdString();
    const QString boxes = RunTool("pdftotext", {"-bbox", dialogs.pdf, "-"});
    const auto zczc = QRegularExpression("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>ZCZC<").match(boxes);
    ASSERT_TRUE(zczc.hasMatch()) << boxes.left(400).toStdString();
    EXPECT_GE(zczc.captured(1).toDouble(), 42.0);
    EXPECT_GE(zczc.captured(2).toDouble(), 42.0);
    EXPECT_TRUE(text.contains("WORD0"));
    EXPECT_TRUE(text.contains("WORD39"));  // wrapped, not cut
    EXPECT_TRUE(text.contains("NNNN"));

    QTextCursor cursor = form->Ui()->NavtexMemo->textCursor();
    cursor.setPosition(5);
    cursor.setPosition(22, QTextCursor::KeepAnchor);  // "FA12\nGALE WARNING"
    form->Ui()->NavtexMemo->setTextCursor(cursor);
    dialogs.range = QPrinter::Selection;
    form->PrintCommand();
    text = PdfText();
    EXPECT_TRUE(text.contains("FA12"));
    EXPECT_TRUE(text.contains("GALE WARNING"));
    EXPECT_FALSE(text.contains("ZCZC"));
    EXPECT_FALSE(text.contains("NNNN"));

    cursor.clearSelection();
    form->Ui()->NavtexMemo->setTextCursor(cursor);
    QFile::remove(dialogs.pdf);
    form->PrintCommand();  // an empty job
    EXPECT_TRUE(QFile::exists(dialogs.pdf));
    EXPECT_EQ(PdfText().trimmed(), "");

    // Many lines break into pages.
    QStringList many;
    for (int i = 0; i < 150; ++i) many << QString("LINE %1").arg(i);
    form->Ui()->NavtexMemo->setPlainText(many.join('\n'));
    dialogs.range = QPrinter::AllPages;
    form->PrintCommand();
    EXPECT_TRUE(RunTool("pdfinfo", {dialogs.pdf}).contains(QRegularExpression("Pages:\\s+[2-9]")));
    EXPECT_TRUE(PdfText().contains("LINE 149"));
}

TEST_F(UserToolsTest, ChartPrintsFillTheLandscapePage) {
    if (!testing_support::NoPdfToolsReason().isEmpty())
        GTEST_SKIP() << testing_support::NoPdfToolsReason().toStdString();
    testing_support::ShowMainWindow(*form, {.page = form->Ui()->BaroTabSheet});
    ShowFA12();  // a message print first leaves portrait behind
    form->Ui()->PageControl1->setCurrentWidget(form->Ui()->BaroTabSheet);
    for (int round = 0; round < 2; ++round) {
        form->PrintCommand();
        EXPECT_FALSE(dialogs.offeredSelection);
        const QString info = RunTool("pdfinfo", {dialogs.pdf});
        QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(info);
        ASSERT_TRUE(size.hasMatch()) << info.toStdString();
        EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble());  // landscape
        EXPECT_TRUE(PdfText().contains(QRegularExpression("Barographe \\(\\d+ jours?\\), jusqu’au \\S+")))
            << PdfText().toStdString();
        // Drawn from edge to edge: ink near the right and the bottom of the page.
        RunTool("pdftoppm",
                {"-r", "30", "-png", "-singlefile", dialogs.pdf, QString::fromStdString(temp / "page")});
        const QImage page(QString::fromStdString(temp / "page.png"));
        ASSERT_FALSE(page.isNull());
        int rightInk = 0, bottomInk = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = page.width() * 9 / 10; x < page.width(); ++x)
                rightInk += page.pixelColor(x, y).lightness() < 200;
        for (int x = 0; x < page.width(); ++x)
            for (int y = page.height() * 9 / 10; y < page.height(); ++y)
                bottomInk += page.pixelColor(x, y).lightness() < 200;
        EXPECT_GT(rightInk, 10);
        EXPECT_GT(bottomInk, 10);
    }
    form->close();
}

TEST_F(UserToolsTest, TheMapPrintsAndSavesAsVectorsWithItsTitle) {
    if (const QString why = testing_support::NoPdfToolsReason(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    auto* tabs = form->Ui()->PageControl1;
    ASSERT_EQ(tabs->tabText(2), "CARTE");
    EXPECT_EQ(tabs->indexOf(form->Ui()->HelpTabSheet), 3) << "after the map";
    tabs->setCurrentIndex(2);
    ASSERT_TRUE(form->Ui()->Drucken->isEnabled());
    form->PrintCommand();
    ASSERT_TRUE(QFile::exists(dialogs.pdf));
    EXPECT_TRUE(PdfText().contains("Avertissements NAVTEX en vigueur")) << PdfText().toStdString();
    EXPECT_TRUE(PdfText().contains("Recherche et sauvetage")) << "the legend is text";
    // Land as paths, not a picture of them.
    EXPECT_EQ(RunTool("pdfimages", {"-list", dialogs.pdf}).count('\n'), 2);
    dialogs.savePath = QString::fromStdString(temp / "carte.pdf");
    form->SaveCommand();
    EXPECT_EQ(QtFilter(dialogs.filter), "Image PNG (*.png);;Document PDF (*.pdf)") << "both kinds offered";
    EXPECT_TRUE(RunTool("pdfinfo", {dialogs.savePath}).contains("Avertissements NAVTEX en vigueur"));
    // At 600 dots to the inch its words keep the size they have on the screen (8 points).
    const QString boxes = RunTool("pdftotext", {"-bbox", dialogs.savePath, "-"});
    const auto word =
        QRegularExpression("yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">Recherche<").match(boxes);
    ASSERT_TRUE(word.hasMatch()) << boxes.left(600).toStdString();
    EXPECT_LT(word.captured(2).toDouble() - word.captured(1).toDouble(), 20);
    dialogs.savePath = QString::fromStdString(temp / "carte.png");
    form->SaveCommand();
    EXPECT_FALSE(QImage(dialogs.savePath).isNull());
}

TEST_F(UserToolsTest, HelpPrintsPortraitThroughItsOwnDialog) {
    if (!testing_support::NoPdfToolsReason().isEmpty())
        GTEST_SKIP() << testing_support::NoPdfToolsReason().toStdString();
    form->Ui()->WebBrowser1->setHtml("<h1>Manuel</h1><p>Brancher le recepteur</p>");
    form->Ui()->PageControl1->setCurrentWidget(form->Ui()->HelpTabSheet);
    form->PrintCommand();
    EXPECT_EQ(dialogs.printDialogs, 1);
    EXPECT_EQ(form->UserTools().Printer().pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_TRUE(PdfText().contains("Brancher le recepteur"));
}

TEST_F(UserToolsTest, ConfigurationDialogStoresOnlyOnOK) {
    Forms.MainForm = form.get();
    TConfigurationDlg dialog;
    dialog.SetTarget(form.get());
    Acquisition.BaroHeight = 0;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Configuration");
    EXPECT_EQ(dialog.Ui()->GroupBox1->title(), "Correction barométre altitude");
    EXPECT_EQ(dialog.Ui()->Label1->text(), "Barométre altitude [m]");
    EXPECT_EQ(dialog.Ui()->LastMessageCheckBox->text(), "Dernier message afficher automatiquement");
    EXPECT_EQ(dialog.Ui()->OKBtn->text(), "Sauvegarder");
    EXPECT_EQ(dialog.Ui()->CancelBtn->text(), "Fermer");
    EXPECT_EQ(dialog.Ui()->BaroheightSpinEdit->value(), 0);
    EXPECT_FALSE(dialog.Ui()->LastMessageCheckBox->isChecked());

    dialog.Ui()->BaroheightSpinEdit->setValue(300);
    dialog.Ui()->LastMessageCheckBox->setChecked(true);
    dialog.Ui()->CancelBtn->click();
    dialog.show();  // cancelled typing is gone
    EXPECT_EQ(dialog.Ui()->BaroheightSpinEdit->value(), 0);
    EXPECT_FALSE(dialog.Ui()->LastMessageCheckBox->isChecked());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Acquisition.BaroHeight, 0);

    // Typed with real key presses, through the field's own input checks.
    const auto typed = [&](const QString& text) {
        dialog.show();
        QLineEdit* edit = dialog.Ui()->BaroheightSpinEdit->findChild<QLineEdit*>();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        const QString shown = edit->text();
        QTest::mouseClick(dialog.Ui()->OKBtn, Qt::LeftButton);
        return std::make_pair(shown, Acquisition.BaroHeight);
    };
    EXPECT_EQ(typed("1000"), std::make_pair(QString("1000"), 750))
        << "every key is taken, the limit applies on OK";
    EXPECT_EQ(typed("-20"), std::make_pair(QString("-20"), 0));
    EXPECT_EQ(typed("abc"), std::make_pair(QString("abc"), 0));
    EXPECT_EQ(typed("123"), std::make_pair(QString("123"), 123));
    dialog.show();
    EXPECT_EQ(dialog.Ui()->BaroheightSpinEdit->value(), 123);
    dialog.reject();

    // OK with unchanged values still redraws and asks for a full refresh.
    Acquisition.CycleCounter = 3;
    for (size_t i = 0; i < Acquisition.BaroSamples.size(); ++i) Acquisition.BaroSamples[i] = 1300;
    Acquisition.SystemData.SetWriteIndex(100);
    Acquisition.SystemData.SetValidCount(100);
    Acquisition.Detection.ReceiverModel = "ZEL2B";
    Acquisition.SystemData.SetTemperatureTenths(150);
    dialog.show();
    dialog.Ui()->BaroheightSpinEdit->setValue(100);
    dialog.Ui()->LastMessageCheckBox->setChecked(true);
    dialog.Ui()->OKBtn->click();
    EXPECT_EQ(Acquisition.BaroHeight, 100);
    EXPECT_EQ(Acquisition.ShowLastMessage, 1);
    EXPECT_EQ(Acquisition.CycleCounter, 59);
    ASSERT_EQ(form->Ui()->Chart1->Points().size(), 100);
    EXPECT_GT(form->Ui()->Chart1->Points().at(99).y(), 1024.0);  // 1013.0 reduced from 100 m
    EXPECT_FALSE(dialog.isVisible());
    Acquisition.Detection.ReceiverModel.clear();

    // Kept through a restart.
    form->FormDestroy();
    Acquisition.BaroHeight = 0;
    Acquisition.ShowLastMessage = 0;
    TMainForm again({});
    dialog.show();
    EXPECT_EQ(dialog.Ui()->BaroheightSpinEdit->value(), 100);
    EXPECT_TRUE(dialog.Ui()->LastMessageCheckBox->isChecked());
    dialog.reject();
}

TEST_F(UserToolsTest, SystemInformationShowsTheLastStatus) {
    TSysteminfoForm info;
    Acquisition.Detection.ReceiverModel.clear();
    Acquisition.FirmwareVersionText = "No receiver";
    Acquisition.SerialNumberText = "No receiver";
    info.show();
    EXPECT_EQ(info.windowTitle(), "Systeminformation");
    EXPECT_EQ(info.Ui()->ProduktLabel->text(), "");
    EXPECT_EQ(info.Ui()->FirmwareLabel->text(), "No receiver");
    EXPECT_EQ(info.Ui()->SeriennummerLabel->text(), "No receiver");
    EXPECT_EQ(info.Ui()->SoftwareVersionLabel->text(), "1.0.22");
    EXPECT_EQ(info.Ui()->ProduktnameLabel->text(), "Product:");
    EXPECT_EQ(info.Ui()->SoftwareLabel->text(), "Software version:");
    EXPECT_EQ(info.Ui()->FirmLabel->text(), "Firmware version:");
    EXPECT_EQ(info.Ui()->SeriLabel->text(), "Serial number:");
    EXPECT_EQ(info.Ui()->Label1->text(), "System:");
    EXPECT_EQ(info.Ui()->CloseButton->text(), "Close");
    EXPECT_FALSE(info.Ui()->OSLabel->text().isEmpty());
    EXPECT_FALSE(info.windowFlags().testFlag(Qt::WindowCloseButtonHint));

    Acquisition.Detection.ReceiverModel = "ZEL2BX";
    Acquisition.FirmwareVersionText = "1.0.10";
    EXPECT_EQ(info.Ui()->ProduktLabel->text(), "");  // no update while open
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&info, &escape);
    EXPECT_TRUE(info.isVisible());
    info.Ui()->CloseButton->click();
    EXPECT_FALSE(info.isVisible());
    info.show();
    EXPECT_EQ(info.Ui()->ProduktLabel->text(), "ZEL2BX");
    EXPECT_EQ(info.Ui()->FirmwareLabel->text(), "1.0.10");
    info.close();
    Acquisition.Detection.ReceiverModel.clear();
}

TEST_F(UserToolsTest, SaveGivesBackEveryByteShown) {
    // Every byte but the line ends and 0x1A, opened and saved again.
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n' && b != 0x1A) bytes += static_cast<char>(b);
    ASSERT_EQ(bytes.size(), 253u);
    temp.WriteFile("all.txt", bytes + "\r\n" + bytes.substr(100) + "\r\n");
    ShowFA12();  // Save and Print need a message shown
    dialogs.openPath = QString::fromStdString(temp / "all.txt");
    form->OpenCommand();
    dialogs.savePath = QString::fromStdString(temp / "saved.txt");
    form->SaveCommand();
    EXPECT_EQ(ReadText(temp / "saved.txt"), ReadText(temp / "all.txt"));
}

TEST_F(UserToolsTest, ALongLineIsPrintedWholeAcrossLinesAndPages) {
    if (!testing_support::NoPdfToolsReason().isEmpty())
        GTEST_SKIP() << testing_support::NoPdfToolsReason().toStdString();
    // An LF-only message arrives as one line; 16,000 characters of it.
    std::string line;
    for (int i = 0; line.size() < 16000; ++i) line += "W" + std::to_string(i) + " ";
    temp.WriteFile("long.txt", line + "\nNNNN\n");
    ShowFA12();
    dialogs.openPath = QString::fromStdString(temp / "long.txt");
    form->OpenCommand();
    form->PrintCommand();
    // Every page begins with the file's name and its number.
    QString printed = PdfText();
    EXPECT_TRUE(printed.contains(QRegularExpression("Fichier : long\\.txt +Page 1")))
        << printed.left(200).toStdString();
    printed.remove(QRegularExpression("Fichier : long\\.txt +Page \\d+"));
    const QString text = printed.simplified().remove(' ');
    const QString expected = QString::fromStdString(line + "NNNN").remove(' ');
    EXPECT_EQ(text, expected);
    const QString pages = RunTool("pdfinfo", {dialogs.pdf});
    EXPECT_TRUE(QRegularExpression("Pages:\\s+([2-9]|\\d\\d)").match(pages).hasMatch())
        << pages.toStdString();
}
