// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "acquisition/AcquisitionState.h"
#include "platform/Files.h"
#include "platform/SectorTarget.h"
#include "sim/DriveMapFile.h"
#include "sim/UpdateModeEmulator.h"
#include "sim/VolumeWriter.h"
#include "support/FirmwarePackages.h"
#include "support/TempFolder.h"
#include "update/FirmwarePackage.h"
#include "update/FirmwareTransfer.h"

using sim::TUpdateModeEmulator;
using testing_support::ScopedEnv;
using testing_support::TempFolder;
using Target = TUpdateModeEmulator::Target;

namespace {

class RecordingView : public update::IUpdateView {
public:
    std::vector<std::string> events;
    std::vector<int> progress;
    int maximum = 100;
    void SetStatus(const std::string& t) override { events.push_back("status " + t); }
    void SetProgressMaximum(int m) override { maximum = m; }
    void SetProgress(int p) override { progress.push_back(p); }
    void Repaint() override {}
    void ShowMessage(const std::string& t) override { events.push_back("message " + t); }
    void ShowUpdateInfo() override { events.push_back("info"); }
    void ShowNoAdmin() override { events.push_back("noadmin"); }
    void CloseDialog() override { events.push_back("close"); }
    bool Saw(const std::string& e) const {
        return std::find(events.begin(), events.end(), e) != events.end();
    }
};

class FirmwareUpdateTest : public ::testing::Test {
protected:
    FirmwareUpdateTest() : drives("ZEL2_DRIVES", temp / "drives.tsv") {}

    // A receiver of real file sizes on E:, with its family's simulator package installed.
    void Attach(const std::string& model, int version, bool withPackage = true) {
        sim::MakeVolume(model, temp / "E");
        sim::AttachDrive(temp / "drives.tsv", 'E', "removable", model, temp / "E", "/dev/zel2raw");
        state.SystemData.SetFirmwareVersion(
            {uint8_t(version / 10000), uint8_t(version / 100 % 100), uint8_t(version % 100)});
        emulator.LoadVolume(temp / "E");
        if (withPackage) testing_support::InstallPackage(Packages(), model, false, "sim-" + model);
    }

    std::string Packages() const { return temp / "packages"; }

    update::TFirmwareUpdater Updater(std::vector<std::string> args = {}) {
        return update::TFirmwareUpdater(target, view, state, std::move(args), {Packages()});
    }

    bool OpenedForWriting() const {
        return std::any_of(target.Opens.begin(), target.Opens.end(), [](const auto& o) { return o.second; });
    }

    static std::vector<uint8_t> Image(const std::string& family, const std::string& role) {
        return sim::SimulatorImage(family, role);
    }

    std::vector<uint16_t> CommandsOn(Target t) const {
        std::vector<uint16_t> list;
        for (const auto& c : emulator.Commands)
            if (c.target == t) list.push_back(c.command);
        return list;
    }

    TempFolder temp;
    ScopedEnv drives;
    TAcquisitionState state;
    TUpdateModeEmulator emulator;
    sim::TEmulatedUpdateTarget target{emulator, "/dev/zel2raw"};
    RecordingView view;
};

using W = TUpdateModeEmulator::SectorWrite;

}  // namespace

TEST(FirmwarePackage, SimulatorPackagesLoadWithTheirMark) {
    TempFolder temp;
    for (const char* model : {"ZEL2", "ZEL2BX", "ZEL2D"}) {
        const std::string folder = testing_support::InstallPackage(temp.Path(), model, false, model);
        std::string problem;
        const auto package = update::LoadFirmwarePackage(folder, problem);
        ASSERT_TRUE(package) << model << ": " << problem;
        EXPECT_TRUE(package->simulator);
        EXPECT_NE(testing_support::ReadText(folder + "/MANIFEST.TXT").find("SIMULATOR DATA"),
                  std::string::npos);
        EXPECT_EQ(package->family, update::FamilyOfModel(model));
        EXPECT_EQ(package->firmware.size(), 65536u);
        EXPECT_EQ(package->firmware, sim::SimulatorImage(package->family, "firmware"));
        if (package->family == "D") {
            EXPECT_EQ(package->versionText, "1.2.1");
            EXPECT_EQ(package->version, 10201);
            EXPECT_EQ(package->loaderD.size(), 1596u);
            EXPECT_TRUE(package->data.empty());
            EXPECT_TRUE(update::PreambleFits(package->preambleD, update::ModelDTargetSectors));
        } else {
            EXPECT_EQ(package->version, 10010);
            EXPECT_EQ(package->data.size(), 131072u);
            EXPECT_EQ(package->loaderNew.size(), 1728u);
            EXPECT_EQ(package->loaderOld.size(), 1736u);
            EXPECT_TRUE(update::PreambleFits(package->preambleNew, update::NewTargetSectors));
        }
        EXPECT_EQ(update::DescribePackage(*package, model),
                  std::string(model) + " " + package->versionText + " (simulator firmware)");
    }
    // The two families carry different images.
    EXPECT_NE(sim::SimulatorImage("B", "firmware"), sim::SimulatorImage("BX", "firmware"));
}

TEST(FirmwarePackage, DamagedOrForeignPackagesAreRefused) {
    TempFolder temp;
    struct Case {
        const char* what;
        std::function<void(const std::string&)> damage;
        const char* problem;
    };
    const std::vector<Case> cases{
        {"wrong hash",
         [](const std::string& f) {
             std::string bytes = testing_support::ReadText(f + "/zel2b_fra_data.bin");
             bytes[70000] ^= 1;
             TempFolder::WriteFileAt(f + "/zel2b_fra_data.bin", bytes);
         },
         "SHA-256 de zel2b_fra_data.bin ne correspond pas"},
        {"file cut short",
         [](const std::string& f) {
             TempFolder::WriteFileAt(f + "/loader_new.bin",
                                     testing_support::ReadText(f + "/loader_new.bin").substr(0, 1000));
         },
         "loader_new.bin n'a pas la taille"},
        {"wrong stated size",
         [](const std::string& f) { testing_support::EditManifest(f, " 1736 ", " 2048 "); },
         "taille de loader_old.bin"},
        {"missing file", [](const std::string& f) { std::filesystem::remove(f + "/zel2b_fra_firmware.bin"); },
         "zel2b_fra_firmware.bin manque"},
        {"missing line",
         [](const std::string& f) { testing_support::EditManifest(f, "loader-old", "# loader-old"); },
         "incomplet (loader-old)"},
        {"image of another family",
         [](const std::string& f) {
             testing_support::EditManifest(f, "zel2b_fra_data.bin", "zel2bx_fra_data.bin");
         },
         "n'est pas zel2b_fra_data.bin"},
        {"preamble past the window",
         [](const std::string& f) {
             std::string text = testing_support::ReadText(f + "/MANIFEST.TXT");
             const size_t at = text.find("preamble-new ") + 13;
             text.replace(at, text.find(' ', at) - at, "32");
             TempFolder::WriteFileAt(f + "/MANIFEST.TXT", text);
         },
         "préambule preamble-new dépasse la fin du fichier HTML\\NAVAREA.HTM"},
        {"unknown origin",
         [](const std::string& f) { testing_support::EditManifest(f, "origin simulator", "origin shop"); },
         "origine inconnue"},
        {"bad version",
         [](const std::string& f) { testing_support::EditManifest(f, "version 1.0.10", "version 1.0.256"); },
         "version invalide"},
        {"twice",
         [](const std::string& f) { testing_support::EditManifest(f, "family B\n", "family B\nfamily B\n"); },
         "deux fois"},
        {"no manifest", [](const std::string& f) { std::filesystem::remove(f + "/MANIFEST.TXT"); },
         "MANIFEST.TXT manque"},
    };
    for (const Case& c : cases) {
        const std::string folder = testing_support::InstallPackage(temp.Path(), "ZEL2B", false, c.what);
        c.damage(folder);
        std::string problem;
        EXPECT_FALSE(update::LoadFirmwarePackage(folder, problem)) << c.what;
        EXPECT_NE(problem.find(c.problem), std::string::npos) << c.what << ": " << problem;
        std::filesystem::remove_all(folder);
    }

    // A model D package with an access code past the end of NAV518.BIN.
    const std::string d = testing_support::InstallPackage(temp.Path(), "ZEL2D", false, "d");
    std::string text = testing_support::ReadText(d + "/MANIFEST.TXT");
    const size_t at = text.find("preamble-d ") + 11;
    text.replace(at, text.find(' ', at) - at, "512");
    TempFolder::WriteFileAt(d + "/MANIFEST.TXT", text);
    std::string problem;
    EXPECT_FALSE(update::LoadFirmwarePackage(d, problem));
    EXPECT_NE(problem.find("dépasse la fin du fichier NAV518.BIN"), std::string::npos) << problem;
}

TEST(FirmwarePackage, TheNewestSoundPackageOfTheFamilyIsChosen) {
    TempFolder temp;
    using update::FindFirmwarePackage;
    EXPECT_NE(FindFirmwarePackage({temp / "none"}, "ZEL2B")
                  .problem.find("Aucun firmware n'est installé pour le ZEL2B"),
              std::string::npos);
    testing_support::InstallPackage(temp / "a", "ZEL2D");
    const auto foreign = FindFirmwarePackage({temp / "a"}, "ZEL2B");
    EXPECT_FALSE(foreign.package);
    EXPECT_NE(foreign.problem.find("destiné au ZEL2D"), std::string::npos) << foreign.problem;

    const std::string older = testing_support::InstallPackage(temp / "a", "ZEL2", false, "older");
    const std::string newer = testing_support::InstallPackage(temp / "b", "ZEL2B", false, "newer");
    testing_support::EditManifest(newer, "version 1.0.10", "version 1.0.11");
    const std::string broken = testing_support::InstallPackage(temp / "b", "ZEL2B", false, "zz-broken");
    testing_support::EditManifest(broken, "version 1.0.10", "version 1.0.12");
    std::filesystem::remove(broken + "/zel2b_fra_data.bin");
    const auto chosen = FindFirmwarePackage({temp / "a", temp / "b"}, "ZEL2B");
    ASSERT_TRUE(chosen.package);
    EXPECT_EQ(chosen.package->folder, newer);
    EXPECT_EQ(chosen.package->version, 10011);

    // Only broken packages for the family: the refusal says why.
    const auto refused = FindFirmwarePackage({temp / "b"}, "ZEL2X");
    EXPECT_FALSE(refused.package);
    EXPECT_NE(refused.problem.find("destiné au ZEL2/ZEL2B"), std::string::npos) << refused.problem;
    std::filesystem::remove_all(newer);
    const auto onlyBroken = FindFirmwarePackage({temp / "b"}, "ZEL2B");
    EXPECT_NE(onlyBroken.problem.find("Paquet firmware refusé"), std::string::npos) << onlyBroken.problem;
    EXPECT_NE(onlyBroken.problem.find("zel2b_fra_data.bin manque"), std::string::npos) << onlyBroken.problem;
}

TEST(FirmwareMethods, ChoiceAndOffer) {
    using update::ChooseMethod;
    using M = update::TUpdateMethod;
    EXPECT_EQ(ChooseMethod("ZEL2D", 10000, {"FORCE", "OLD_UPDATE"}), M::ModelD);
    EXPECT_EQ(ChooseMethod("ZEL2X", 10007, {}), M::Old);
    EXPECT_EQ(ChooseMethod("ZEL2X", 10008, {}), M::New);
    EXPECT_EQ(ChooseMethod("ZEL2", 10009, {"FORCE", "OLD_UPDATE"}), M::Old);
    EXPECT_EQ(ChooseMethod("ZEL2B", 10002, {"force", "new_update"}), M::New);
    EXPECT_EQ(ChooseMethod("ZEL2BX", 10002, {"FORCE", "UPDATE"}), M::Old);
    EXPECT_EQ(ChooseMethod("ZEL2BX", 10100, {"FORCE", "UPDATE"}), M::New);
    EXPECT_EQ(ChooseMethod("ZEL2B", 10002, {"FORCE", "NEW_UPDATE", "X"}), M::Old);
    EXPECT_EQ(ChooseMethod("", 0, {"FORCE", "NEW_UPDATE"}), M::None);
    EXPECT_EQ(ChooseMethod("zel2b", 0, {}), M::None);

    // The offer compares with the installed package, and never offers simulator data.
    TempFolder temp;
    using update::FindFirmwarePackage;
    using update::FirmwareOfferDue;
    const auto none = FindFirmwarePackage({temp / "none"}, "ZEL2");
    EXPECT_FALSE(FirmwareOfferDue("ZEL2", 0, none));
    testing_support::InstallPackage(temp / "sim", "ZEL2B");
    EXPECT_FALSE(FirmwareOfferDue("ZEL2", 10009, FindFirmwarePackage({temp / "sim"}, "ZEL2")));
    testing_support::InstallPackage(temp / "real", "ZEL2B", true);
    testing_support::InstallPackage(temp / "real", "ZEL2D", true, "d");
    const auto b = FindFirmwarePackage({temp / "real"}, "ZEL2");
    const auto d = FindFirmwarePackage({temp / "real"}, "ZEL2D");
    EXPECT_TRUE(FirmwareOfferDue("ZEL2", 10009, b));
    EXPECT_FALSE(FirmwareOfferDue("ZEL2", 10010, b));
    EXPECT_TRUE(FirmwareOfferDue("ZEL2B", 0, b));  // unreadable SYSTEM.BIN
    EXPECT_TRUE(FirmwareOfferDue("ZEL2D", 10200, d));
    EXPECT_FALSE(FirmwareOfferDue("ZEL2D", 10201, d));
    EXPECT_FALSE(FirmwareOfferDue("ZEL2D", 10300, d));
    EXPECT_FALSE(FirmwareOfferDue("ZEL2D", 25755, d));  // 0.255.255
    EXPECT_FALSE(FirmwareOfferDue("ZEL2X", 0, FindFirmwarePackage({temp / "real"}, "ZEL2X")));
    EXPECT_FALSE(FirmwareOfferDue("", 0, b));
    EXPECT_FALSE(FirmwareOfferDue("ZEL2D", 0, b));  // another family's package
}

TEST_F(FirmwareUpdateTest, ModelDWritesLoaderAndFirmwareThenStarts) {
    Attach("ZEL2D", 10200);
    auto updater = Updater({"FORCE", "OLD_UPDATE"});
    updater.StartButtonClick();

    EXPECT_EQ(CommandsOn(Target::ModelDFile), (std::vector<uint16_t>{202, 195, 193, 197}));
    EXPECT_EQ(emulator.Writes, (std::vector<W>{{Target::ModelDFile, 112, 8, -1},
                                               {Target::ModelDFile, 240, 32, -1},
                                               {Target::ModelDFile, 272, 32, -1},
                                               {Target::ModelDFile, 304, 32, -1},
                                               {Target::ModelDFile, 336, 32, -1}}));
    EXPECT_TRUE(emulator.Started);
    const auto& file = emulator.Contents(Target::ModelDFile);
    ASSERT_GE(file.size(), 368u * 512);
    EXPECT_EQ(std::memcmp(&file[112 * 512], Image("D", "loader-d").data(), 1596), 0);
    EXPECT_EQ(std::memcmp(&file[240 * 512], Image("D", "firmware").data(), 65536), 0);
    // NAV518.BIN keeps its size; the messages behind the firmware are untouched.
    EXPECT_EQ(file.size(), 262144u);
    EXPECT_EQ(view.maximum, 135);
    EXPECT_EQ(view.progress, (std::vector<int>{8, 40, 72, 104, 135, 0, 8, 40, 72, 104, 135, 135, 0}));
    EXPECT_EQ(view.events,
              (std::vector<std::string>{
                  "status Transmettre les données firmware ...",
                  "status Vérification des données firmware ...", "status Demarrage programmer ...",
                  "status La mise à jour a été réalisée avec succès!", "info", "close"}));
    // The file loses its read-only flag for the writes and gets it back after them.
    ASSERT_EQ(target.Attributes.size(), 2u);
    EXPECT_EQ(target.Attributes[0].second, platform::AttrNormal);
    EXPECT_EQ(target.Attributes[1].second, platform::AttrReadOnly);
    ASSERT_EQ(target.Opens.size(), 3u);
    EXPECT_EQ(target.Opens[0], std::make_pair(temp / "E/NAV518.BIN", false));
    EXPECT_TRUE(target.Opens[1].second);
    EXPECT_FALSE(target.Opens[2].second);
    EXPECT_FALSE(target.IsOpen());
}

TEST_F(FirmwareUpdateTest, NewMethodMovesChunksThroughTheWindow) {
    Attach("ZEL2BX", 10008);
    auto updater = Updater();
    updater.StartButtonClick();

    std::vector<uint16_t> expected{1, 2, 4, 5, 6, 7};
    for (uint16_t c = 12; c <= 19; ++c) expected.push_back(c);
    expected.push_back(3);
    for (uint16_t c : {4, 5, 6, 7}) expected.push_back(c);
    for (uint16_t c = 12; c <= 19; ++c) expected.push_back(c);
    expected.push_back(20);
    EXPECT_EQ(CommandsOn(Target::NewFile), expected);
    ASSERT_EQ(emulator.Writes.size(), 12u);
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(emulator.Writes[i].firstSector, 0u);
        EXPECT_EQ(emulator.Writes[i].sectors, 32u);
        EXPECT_EQ(emulator.Writes[i].window, i < 4 ? int(4 + i) : int(12 + i - 4));
    }
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(
            std::memcmp(emulator.Chunk(4 + k).data(), Image("BX", "firmware").data() + k * 16384, 16384), 0);
    // The last data chunk carries the loader in its last 4,096 bytes.
    EXPECT_EQ(std::memcmp(emulator.Chunk(19).data() + 12288, Image("BX", "loader-new").data(), 1728), 0);
    EXPECT_EQ(std::memcmp(emulator.Chunk(18).data(), Image("BX", "data").data() + 6 * 16384, 16384), 0);
    EXPECT_TRUE(emulator.Started);
    EXPECT_EQ(view.maximum, 383);
    EXPECT_TRUE(view.Saw("info"));
    EXPECT_EQ(target.Opens.size(), 3u);
    EXPECT_EQ(target.Opens[0].first, temp / "E/HTML/NAVAREA.HTM");
}

TEST_F(FirmwareUpdateTest, OldMethodWritesThe392SectorsOfTheVolume) {
    Attach("ZEL2", 10007);
    auto updater = Updater();
    updater.StartButtonClick();

    EXPECT_EQ(CommandsOn(Target::Volume), (std::vector<uint16_t>{856, 849, 847, 851}));
    ASSERT_EQ(emulator.Writes.size(), 13u);
    uint32_t sectors = 0;
    for (const auto& w : emulator.Writes) sectors += w.sectors;
    EXPECT_EQ(sectors, 392u);
    EXPECT_EQ(emulator.Writes.front(), (W{Target::Volume, 766, 8, -1}));
    EXPECT_EQ(emulator.Writes[1], (W{Target::Volume, 774, 32, -1}));
    EXPECT_EQ(emulator.Writes[5], (W{Target::Volume, 1022, 32, -1}));
    EXPECT_EQ(emulator.Writes.back().firstSector + emulator.Writes.back().sectors - 1, 1277u);
    const auto& volume = emulator.Contents(Target::Volume);
    EXPECT_EQ(std::memcmp(&volume[1022 * 512], Image("B", "data").data(), 131072), 0);
    EXPECT_EQ(std::memcmp(&volume[766 * 512], Image("B", "loader-old").data(), 1736), 0);
    EXPECT_TRUE(target.Attributes.empty());
    EXPECT_EQ(view.maximum, 391);
    EXPECT_TRUE(view.Saw("info"));
}

TEST_F(FirmwareUpdateTest, MissingTargetWritesNothingAndFails) {
    Attach("ZEL2B", 10009);
    target.Present[Target::NewFile] = false;
    auto updater = Updater();
    updater.StartButtonClick();
    EXPECT_TRUE(emulator.Writes.empty());
    EXPECT_FALSE(emulator.Started);
    EXPECT_TRUE(view.Saw("message Erreur! Mise à jour abandonner!"));
    EXPECT_TRUE(view.Saw("close"));
    EXPECT_FALSE(view.Saw("noadmin"));
    EXPECT_FALSE(OpenedForWriting());

    view.events.clear();
    Attach("ZEL2D", 10000);
    target.Present[Target::ModelDFile] = false;
    Updater().StartButtonClick();
    EXPECT_TRUE(emulator.Writes.empty());
    EXPECT_TRUE(view.Saw("message Erreur! Mise à jour abandonner!"));
    EXPECT_FALSE(OpenedForWriting());
}

TEST_F(FirmwareUpdateTest, WithoutAPackageNothingIsOpenedAndTheDialogStays) {
    for (const char* model : {"ZEL2D", "ZEL2B"}) {
        Attach(model, 10000, false);
        view.events.clear();
        Updater().StartButtonClick();
        EXPECT_TRUE(target.Opens.empty()) << model;
        ASSERT_EQ(view.events.size(), 1u) << model;
        EXPECT_NE(view.events[0].find(std::string("Aucun firmware n'est installé pour le ") + model),
                  std::string::npos)
            << view.events[0];
        EXPECT_NE(view.events[0].find(Packages()), std::string::npos) << "names where to install it";
    }
}

// Every file of a volume folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[e.path().string()] = testing_support::ReadText(e.path().string());
    return files;
}

TEST_F(FirmwareUpdateTest, RealVolumesWithoutAPackageStayByteIdentical) {
    for (const char* model : {"ZEL2D", "ZEL2B"}) {
        Attach(model, 10000, false);
        const auto before = Snapshot(temp / "E");
        ASSERT_EQ(
            before.at(temp / (std::string(model) == "ZEL2D" ? "E/NAV518.BIN" : "E/HTML/NAVAREA.HTM")).size(),
            std::string(model) == "ZEL2D" ? 262144u : 16384u);
        update::TPlatformUpdateTarget real;
        view.events.clear();
        update::TFirmwareUpdater(real, view, state, {"FORCE", "NEW_UPDATE"}, {Packages()}).StartButtonClick();
        EXPECT_EQ(Snapshot(temp / "E"), before) << model;
        EXPECT_FALSE(view.Saw("close")) << model;
        EXPECT_FALSE(real.IsOpen());
    }
}

TEST_F(FirmwareUpdateTest, ARefusedPackageOpensNothingForWriting) {
    Attach("ZEL2B", 10009, false);
    const std::string package = testing_support::InstallPackage(Packages(), "ZEL2B");
    std::string bytes = testing_support::ReadText(package + "/zel2b_fra_firmware.bin");
    bytes[1234] ^= 0x40;
    TempFolder::WriteFileAt(package + "/zel2b_fra_firmware.bin", bytes);
    Updater().StartButtonClick();
    EXPECT_TRUE(target.Opens.empty());
    EXPECT_TRUE(emulator.Writes.empty());
    ASSERT_EQ(view.events.size(), 1u);
    EXPECT_NE(view.events[0].find("Paquet firmware refusé"), std::string::npos) << view.events[0];
    EXPECT_NE(view.events[0].find("SHA-256 de zel2b_fra_firmware.bin"), std::string::npos) << view.events[0];

    // A package of another family is no package for this receiver.
    std::filesystem::remove_all(package);
    testing_support::InstallPackage(Packages(), "ZEL2D");
    view.events.clear();
    Updater().StartButtonClick();
    EXPECT_TRUE(target.Opens.empty());
    ASSERT_EQ(view.events.size(), 1u);
    EXPECT_NE(view.events[0].find("destiné au ZEL2D"), std::string::npos) << view.events[0];
}

TEST_F(FirmwareUpdateTest, ATargetSmallerThanTheProcedureIsNeverWritten) {
    // A NAV518.BIN cut short ends before the firmware's sectors and the access code.
    Attach("ZEL2D", 10000);
    emulator.Load(Target::ModelDFile, std::vector<uint8_t>(300 * 512, 0));
    Updater().StartButtonClick();
    EXPECT_TRUE(emulator.Writes.empty());
    EXPECT_TRUE(emulator.Commands.empty());
    EXPECT_FALSE(OpenedForWriting());
    EXPECT_TRUE(view.Saw("message " + std::string(update::TargetTooSmallText)));
    EXPECT_TRUE(view.Saw("close"));
    EXPECT_FALSE(target.IsOpen());
}

TEST_F(FirmwareUpdateTest, AReceiverPulledBeforeTheStartCommandIsAFailure) {
    Attach("ZEL2D", 10000);
    Updater().StartButtonClick();
    ASSERT_TRUE(emulator.Started);
    const int reads = target.Reads;

    // The same update again, the receiver gone five reads before the end of the start command.
    sim::TUpdateModeEmulator fresh;
    fresh.LoadVolume(temp / "E");
    sim::TEmulatedUpdateTarget pulled(fresh, "/dev/zel2raw");
    pulled.ReadsBeforeRemoval = reads - 5;
    RecordingView seen;
    update::TFirmwareUpdater(pulled, seen, state, {}, {Packages()}).StartButtonClick();
    EXPECT_FALSE(fresh.Started);
    EXPECT_EQ(fresh.Writes.size(), 5u);  // written and verified
    EXPECT_TRUE(seen.Saw("message " + std::string(update::StartNotSentText)));
    EXPECT_FALSE(seen.Saw("status " + std::string(update::SuccessText)));
    EXPECT_FALSE(seen.Saw("info"));
    EXPECT_TRUE(seen.Saw("close"));
}

TEST_F(FirmwareUpdateTest, AnAccessCodeTheReceiverIgnoresEndsInTheError) {
    // The access code of another receiver: the update mode never unlocks, refuses the
    // writes, and the verification fails.
    Attach("ZEL2B", 10009);
    const std::string package = temp / "packages/sim-ZEL2B";
    std::string text = testing_support::ReadText(package + "/MANIFEST.TXT");
    const size_t at = text.find("preamble-new ") + 13;
    text.replace(at, text.find(' ', at) - at, "31");
    if (sim::SimulatorPreamble(sim::TUpdateProcedure::New)[0] == 31) text.replace(at, 2, "30");
    TempFolder::WriteFileAt(package + "/MANIFEST.TXT", text);
    Updater().StartButtonClick();
    EXPECT_TRUE(emulator.Commands.empty());
    EXPECT_TRUE(emulator.Writes.empty());
    EXPECT_FALSE(emulator.Started);
    EXPECT_TRUE(view.Saw("message Erreur! Mise à jour abandonner!"));
    EXPECT_FALSE(view.Saw("info"));
}

TEST_F(FirmwareUpdateTest, CorruptedReadBackFailsWithoutStart) {
    Attach("ZEL2X", 10001);
    emulator.CorruptReadBack = true;
    Updater().StartButtonClick();
    EXPECT_EQ(emulator.Writes.size(), 13u);
    EXPECT_FALSE(emulator.Started);
    EXPECT_EQ(CommandsOn(Target::Volume), (std::vector<uint16_t>{856, 849, 847}));
    EXPECT_TRUE(view.Saw("message Erreur! Mise à jour abandonner!"));
    EXPECT_FALSE(view.Saw("info"));
}

// A sector write that fails (EIO) or is cut short ends the transfer at once: no write and
// no command after it, no start, the error shown, whatever the method.
TEST_F(FirmwareUpdateTest, AFailedWriteIsTheLastThingTheReceiverSees) {
    for (const auto& [model, version] :
         {std::pair<const char*, int>{"ZEL2D", 10200}, {"ZEL2BX", 10008}, {"ZEL2X", 10001}}) {
        Attach(model, version);
        for (const int failing : {0, 2}) {
            for (const bool cutShort : {false, true}) {
                SCOPED_TRACE(std::string(model) + " write " + std::to_string(failing) +
                             (cutShort ? " cut short" : " EIO"));
                sim::TUpdateModeEmulator receiver;
                receiver.LoadVolume(temp / "E");
                sim::TEmulatedUpdateTarget failing_target(receiver, "/dev/zel2raw");
                failing_target.FailingWrite = failing;
                failing_target.CutShort = cutShort;
                RecordingView seen;
                update::TFirmwareUpdater(failing_target, seen, state, {}, {Packages()}).StartButtonClick();
                ASSERT_GT(failing_target.WritesTried, failing);
                EXPECT_EQ(failing_target.WritesTried, failing + 1) << "a write after the failed one";
                EXPECT_EQ(receiver.Commands.size(), failing_target.CommandsAtFailure)
                    << "a command after the failed write";
                EXPECT_EQ(receiver.Writes.size(), failing_target.WritesAtFailure);
                EXPECT_FALSE(receiver.Started);
                EXPECT_TRUE(seen.Saw("message " + std::string(update::ErrorText)));
                EXPECT_FALSE(seen.Saw("info"));
                EXPECT_TRUE(seen.Saw("close"));
                EXPECT_FALSE(failing_target.IsOpen());
            }
        }
    }
}

TEST_F(FirmwareUpdateTest, NoRightsForTheVolumeShowsTheNoticeFirst) {
    Attach("ZEL2", 10001);
    target.VolumeNeedsRights = true;
    Updater().StartButtonClick();
    ASSERT_GE(view.events.size(), 2u);
    EXPECT_EQ(view.events.front(), "noadmin");
    EXPECT_EQ(std::count(view.events.begin(), view.events.end(), "noadmin"), 1);
    EXPECT_TRUE(view.Saw("message Erreur! Mise à jour abandonner!"));
    EXPECT_TRUE(emulator.Writes.empty());
}

TEST_F(FirmwareUpdateTest, NotFoundKeepsTheDialogThenStartAgainStagesAnew) {
    state.Detection.ReceiverModel = "ZEL2B";
    auto updater = Updater();
    updater.UpdateNew();  // no receiver attached
    EXPECT_EQ(view.events, (std::vector<std::string>{"message " + std::string(update::NotFoundText)}));
    EXPECT_TRUE(target.Opens.empty());

    // A longer loader staged earlier in the run leaves its tail behind the shorter one.
    std::memset(update::Buffers().Loader, 0xEE, 4096);
    std::memset(update::Buffers().Data + 126976, 0, 4096);
    Attach("ZEL2B", 10009);
    view.events.clear();
    updater.StartButtonClick();
    EXPECT_TRUE(emulator.Started);
    EXPECT_TRUE(view.Saw("close"));
    EXPECT_EQ(std::memcmp(update::Buffers().Loader, Image("B", "loader-new").data(), 1728), 0);
    EXPECT_EQ(update::Buffers().Loader[1728], 0xEE);
    // The last data chunk carried the whole loader buffer, tail included.
    EXPECT_EQ(emulator.Chunk(19)[12288 + 1728], 0xEE);
}

TEST_F(FirmwareUpdateTest, SendCommandStopsAtTheFirstShortRead) {
    Attach("ZEL2", 10000);
    auto updater = Updater();
    ASSERT_EQ(target.Open("/dev/zel2raw", false), platform::TargetOpen::Ok);
    EXPECT_EQ(target.Size(), static_cast<long long>(TUpdateModeEmulator::VolumeSize));
    update::TPreamble far = sim::SimulatorPreamble(sim::TUpdateProcedure::Old);
    far[3] = 60000;  // past the end of the volume: the sequence ends there
    EXPECT_FALSE(updater.SendCommand(far, 856));
    EXPECT_TRUE(emulator.Commands.empty());
    EXPECT_EQ(target.Flushes, 4);
    EXPECT_TRUE(updater.SendCommand(sim::SimulatorPreamble(sim::TUpdateProcedure::Old), 856));
    EXPECT_EQ(CommandsOn(Target::Volume), std::vector<uint16_t>{856});
    EXPECT_FALSE(updater.WriteSectors(0, 1, update::Buffers().Loader));  // still locked
    target.Close();
    EXPECT_FALSE(updater.ReadSectors(0, 1, update::Buffers().ReadBack));
}

TEST(UpdateModeEmulator, ServesRealSizesAndShortReads) {
    TempFolder temp;
    sim::MakeVolume("ZEL2D", temp / "D");
    sim::MakeVolume("ZEL2B", temp / "B");
    TUpdateModeEmulator d, b;
    d.LoadVolume(temp / "D");
    b.LoadVolume(temp / "B");
    EXPECT_EQ(d.Size(Target::ModelDFile), 262144u);
    EXPECT_EQ(b.Size(Target::NewFile), 16384u);
    EXPECT_EQ(b.Size(Target::ModelDFile), 0u);  // a ZEL2B has no NAV518.BIN
    std::vector<uint8_t> buffer(4096);
    EXPECT_EQ(d.Read(Target::ModelDFile, 262144 - 1024, buffer.data(), buffer.size()), 1024);
    EXPECT_EQ(d.Read(Target::ModelDFile, 262144, buffer.data(), 512), 0);
    EXPECT_EQ(b.Read(Target::NewFile, 827 * 512, buffer.data(), 512), 0);
    // What a plain read returns is the file itself.
    EXPECT_EQ(d.Read(Target::ModelDFile, 0, buffer.data(), 256), 256);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 256),
              testing_support::ReadText(temp / "D/NAV518.BIN").substr(0, 256));
}

TEST(SectorTarget, UnbufferedReadsAndWritesOnARealFile) {
    TempFolder temp;
    const std::string path = temp / "NAV518.BIN";
    temp.WriteFile("NAV518.BIN", std::string(64 * 512, '\0'));
    platform::SectorTarget target;
    ASSERT_EQ(target.Open(path, true), platform::TargetOpen::Ok);
    EXPECT_TRUE(target.Unbuffered()) << "this file system has no O_DIRECT";
    alignas(4096) static uint8_t out[8192], in[8192];
    for (size_t i = 0; i < sizeof out; ++i) out[i] = static_cast<uint8_t>(i * 7);
    EXPECT_EQ(target.WriteAt(16 * 512, out, sizeof out), 8192);
    EXPECT_TRUE(target.Flush());
    // Exclusive: a second opener is turned away while we hold it.
    platform::SectorTarget second;
    EXPECT_EQ(second.Open(path, false), platform::TargetOpen::Failed);
    EXPECT_FALSE(second.IsOpen());
    target.Close();
    EXPECT_FALSE(target.IsOpen());
    EXPECT_EQ(target.ReadAt(0, in, 512), -1);

    ASSERT_EQ(target.Open(temp / "nav518.bin", false), platform::TargetOpen::Ok);  // any case
    EXPECT_EQ(target.ReadAt(16 * 512, in, sizeof in), 8192);
    EXPECT_EQ(std::memcmp(in, out, sizeof in), 0);
    EXPECT_EQ(target.ReadAt(64 * 512, in, 512), 0);  // at the end
    EXPECT_EQ(target.WriteAt(0, out, 512), -1);      // opened read-only
    target.Close();
    EXPECT_EQ(target.Open(temp / "missing.bin", false), platform::TargetOpen::Failed);
}
