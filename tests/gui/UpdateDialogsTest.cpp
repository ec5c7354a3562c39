// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>

#include <filesystem>

#include "acquisition/AcquisitionState.h"
#include "app/ui/Application.h"
#include "app/ui/MessageBox.h"
#include "app/ui/UnitMain.h"
#include "sim/DriveMapFile.h"
#include "sim/UpdateModeEmulator.h"
#include "sim/VolumeWriter.h"
#include "support/FirmwarePackages.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitAdmin.h"
#include "ui_UnitUpdate.h"
#include "ui_UnitUpdateInfo.h"
#include "update/ui/UnitAdmin.h"
#include "update/ui/UnitUpdate.h"
#include "update/ui/UnitUpdateInfo.h"

using testing_support::TempFolder;

namespace {

class UpdateDialogsTest : public testing_support::WindowTest {
protected:
    UpdateDialogsTest() : WindowTest("drives.tsv") { temp.WriteFile("drives.tsv", ""); }
    ~UpdateDialogsTest() override {
        SetMessageBoxAnswerer({});
        Forms = TApplicationForms{};
        Acquisition.Detection = {};
        Acquisition.SystemData.SetFirmwareVersion({0, 0, 0});
    }

    void Attach(const std::string& model, std::array<uint8_t, 3> version) {
        sim::MakeVolume(model, temp / "E");
        sim::AttachDrive(temp / "drives.tsv", 'E', "removable", model, temp / "E", "/dev/zel2raw");
        Acquisition.Detection.ReceiverModel = model;
        Acquisition.SystemData.SetFirmwareVersion(version);
    }

    // Answers every box and remembers its caption and text.
    void AnswerBoxes(int answer) {
        SetMessageBoxAnswerer([this, answer](QMessageBox& box) {
            boxes.push_back((box.windowTitle() + ": " + box.text()).toStdString());
            return answer;
        });
    }

    // Closes the next modal dialog as soon as it runs and says whether it came.
    static std::shared_ptr<bool> CloseWhenShown(QDialog* dialog) {
        auto shown = std::make_shared<bool>(false);
        QTimer::singleShot(0, dialog, [dialog, shown] {
            *shown = dialog->isVisible();
            dialog->close();
        });
        return shown;
    }

    // The archive's package folder, as the program finds it through XDG_DATA_HOME.
    std::string Packages() const { return temp / "data/ZEL2/FIRMWARE"; }

    std::vector<std::string> boxes;
};

}  // namespace

TEST_F(UpdateDialogsTest, DialogsWriteTheirTextsWhenShown) {
    TUpdateForm update;
    update.show();
    EXPECT_EQ(update.windowTitle(), "Mise à jour");
    EXPECT_EQ(update.Ui()->StartButton->text(), "Mise à jour");
    EXPECT_EQ(update.Ui()->CancelUpdateButton->text(), "Fermer");
    update.Ui()->CancelUpdateButton->click();
    EXPECT_FALSE(update.isVisible());

    TNoAdminForm admin;
    admin.show();
    EXPECT_EQ(admin.Ui()->CloseButton->text(), "Close");
    EXPECT_EQ(admin.Ui()->Memo1->toPlainText(),
              "There is an new firmware available.\n\nThe update is only possible if the pc\nis running in "
              "priviledge "
              "mode.\n\nPlease log in as administrator or use\nanother pc for this update.");

    TUpdateInfoForm info;
    Acquisition.Detection.ReceiverModel = "ZEL2D";
    info.show();
    EXPECT_EQ(info.windowTitle(), "Mise à jour");
    EXPECT_EQ(info.Ui()->CloseButton->text(), "Fermer");
    EXPECT_EQ(info.Ui()->Memo1->document()->blockCount(), 5);
    EXPECT_EQ(info.Ui()->Memo1->document()->findBlockByNumber(4).text(),
              "Après cela, le récepteur va se déconnecter du PC.");
    info.hide();
    Acquisition.Detection.ReceiverModel = "ZEL2B";
    info.show();
    EXPECT_EQ(info.Ui()->Memo1->document()->blockCount(), 7);
    EXPECT_EQ(info.Ui()->Memo1->document()->findBlockByNumber(5).text(),
              "Attendre 30 secondes jusqu'à l'éclairage de la LED.");
}

TEST_F(UpdateDialogsTest, StartRunsTheTransferToTheSuccessDialog) {
    Attach("ZEL2B", {1, 0, 9});
    testing_support::InstallPackage(Packages(), "ZEL2B");
    TUpdateForm update;
    TUpdateInfoForm info;
    Forms.UpdateInfoForm = &info;
    sim::TUpdateModeEmulator emulator;
    emulator.LoadVolume(temp / "E");
    sim::TEmulatedUpdateTarget target(emulator, "/dev/zel2raw");
    update.SetTarget(&target);
    AnswerBoxes(QMessageBox::Ok);
    update.show();
    // The dialog says what it will write, and that it is simulator data.
    EXPECT_EQ(update.Ui()->StatusLabel->text(), "ZEL2B 1.0.10 (simulator firmware)");
    if (testing_support::NoFontsReason().isEmpty()) {
        EXPECT_LE(update.Ui()->StatusLabel->fontMetrics().horizontalAdvance(update.Ui()->StatusLabel->text()),
                  update.Ui()->StatusLabel->width());
    }
    const auto infoShown = CloseWhenShown(&info);
    update.Ui()->StartButton->click();

    EXPECT_TRUE(*infoShown);
    EXPECT_TRUE(emulator.Started);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(update.Ui()->StatusLabel->text(), "La mise à jour a été réalisée avec succès!");
    EXPECT_EQ(update.Ui()->ProgressBar1->maximum(), 383);
    EXPECT_EQ(update.Ui()->ProgressBar1->value(), 0);
    EXPECT_FALSE(update.isVisible());
}

TEST_F(UpdateDialogsTest, NoReceiverKeepsTheDialogOpen) {
    TUpdateForm update;
    AnswerBoxes(QMessageBox::Ok);
    update.show();
    update.Ui()->StartButton->click();  // nothing attached: no model, nothing runs
    EXPECT_TRUE(boxes.empty());
    Attach("ZEL2X", {1, 0, 7});
    sim::DetachDrive(temp / "drives.tsv", 'E');
    Acquisition.Detection.ReceiverModel = "ZEL2X";
    update::TPlatformUpdateTarget platform;
    update::TFirmwareUpdater updater(platform, update, Acquisition, {}, update::InstalledPackageRoots());
    updater.UpdateOld();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], QApplication::applicationName().toStdString() + ": " + update::NotFoundText);
    EXPECT_TRUE(update.isVisible());
}

TEST_F(UpdateDialogsTest, WithoutAPackageTheDialogSaysWhatIsMissing) {
    Attach("ZEL2D", {1, 2, 0});
    TUpdateForm update;
    sim::TUpdateModeEmulator emulator;
    emulator.LoadVolume(temp / "E");
    sim::TEmulatedUpdateTarget target(emulator, "/dev/zel2raw");
    update.SetTarget(&target);
    AnswerBoxes(QMessageBox::Ok);
    update.show();
    EXPECT_EQ(update.Ui()->StatusLabel->text(), "Aucun firmware installé");
    EXPECT_NE(update.Ui()->StatusLabel->toolTip().toStdString().find(Packages()), std::string::npos);
    update.Ui()->StartButton->click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Aucun firmware n'est installé pour le ZEL2D"), std::string::npos) << boxes[0];
    EXPECT_TRUE(target.Opens.empty());
    EXPECT_TRUE(update.isVisible());
    EXPECT_TRUE(update.Ui()->StartButton->isEnabled());
}

TEST_F(UpdateDialogsTest, FirmwareOfferAsksAndOpensTheUpdateDialogOnYes) {
    TMainForm form({});
    TUpdateForm update;
    Forms.UpdateForm = &update;

    // No package, no offer; a simulator package is never offered either.
    AnswerBoxes(QMessageBox::No);
    Attach("ZEL2", {1, 0, 9});
    form.CheckFirmwareOffer();
    EXPECT_TRUE(boxes.empty());
    const std::string simulator = testing_support::InstallPackage(Packages(), "ZEL2", false, "sim");
    form.CheckFirmwareOffer();
    EXPECT_TRUE(boxes.empty());
    std::filesystem::remove_all(simulator);

    testing_support::InstallPackage(Packages(), "ZEL2", true);
    Acquisition.SystemData.SetFirmwareVersion({1, 0, 10});
    form.CheckFirmwareOffer();
    EXPECT_TRUE(boxes.empty());
    Acquisition.SystemData.SetFirmwareVersion({1, 0, 9});
    form.CheckFirmwareOffer();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0],
              "Information: There is an new firmware available. Update receiver with newest firmware?");

    AnswerBoxes(QMessageBox::Yes);
    const auto shown = CloseWhenShown(&update);
    form.CheckFirmwareOffer();
    EXPECT_TRUE(*shown);

    boxes.clear();
    Acquisition.Detection.ReceiverModel.clear();
    Acquisition.SystemData.SetFirmwareVersion({0, 0, 0});
    form.CheckFirmwareOffer();
    EXPECT_TRUE(boxes.empty());
}
