#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "acquisition/AcquisitionState.h"
#include "platform/Files.h"
#include "platform/SectorTarget.h"
#include "sim/DriveMapFile.h"
#include "sim/UpdateModeEmulator.h"
#include "sim/VolumeWriter.h"
#include "support/TempFolder.h"
#include "update/FirmwareTransfer.h"
#include "update/zel2b_fra_BootData.h"
#include "update/zel2bx_fra_BootData.h"
#include "update/zel2d_BootData.h"

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
    bool Saw(const std::string& e) const { return std::find(events.begin(), events.end(), e) != events.end(); }
};

class FirmwareUpdateTest : public ::testing::Test {
protected:
    FirmwareUpdateTest() : drives("ZEL2_DRIVES", temp / "drives.tsv") {}

    void Attach(const std::string& model, int version) {
        sim::MakeVolume(model, temp / "E");
        sim::AttachDrive(temp / "drives.tsv", 'E', "removable", model, temp / "E", "/dev/zel2raw");
        state.SystemData.SetFirmwareVersion(
            {uint8_t(version / 10000), uint8_t(version / 100 % 100), uint8_t(version % 100)});
    }

    update::TFirmwareUpdater Updater(std::vector<std::string> args = {}) {
        return update::TFirmwareUpdater(target, view, state, std::move(args));
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

TEST(FirmwareImages, SizesAndFamilies) {
    EXPECT_EQ(zel2b_fra_BootData::Firmware().size(), 65536u);
    EXPECT_EQ(zel2b_fra_BootData::Data().size(), 131072u);
    EXPECT_EQ(zel2bx_fra_BootData::Firmware().size(), 65536u);
    EXPECT_EQ(zel2bx_fra_BootData::Data().size(), 131072u);
    EXPECT_EQ(zel2d_BootData::Firmware().size(), 65536u);
    EXPECT_EQ(loader::NewMethod().size(), 1728u);
    EXPECT_EQ(loader::OldMethod().size(), 1736u);
    EXPECT_EQ(loader::ModelD().size(), 1596u);
    EXPECT_NE(std::memcmp(zel2b_fra_BootData::Firmware().data(), zel2bx_fra_BootData::Firmware().data(), 65536), 0);
    for (const auto& p : {loader::ModelDPreamble(), loader::NewMethodPreamble(), loader::OldMethodPreamble()}) {
        std::set<uint16_t> distinct(p.begin(), p.end());
        EXPECT_EQ(distinct.size(), 16u);
    }
    EXPECT_EQ(reinterpret_cast<uintptr_t>(update::Buffers().ReadBack) % platform::SectorBufferAlignment, 0u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(update::Buffers().Loader) % platform::SectorBufferAlignment, 0u);

    // Staging: family by model; a longer loader earlier in the run leaves its tail behind.
    update::StageFamily("ZEL2X", loader::OldMethod());
    EXPECT_EQ(std::memcmp(update::Buffers().Firmware, zel2bx_fra_BootData::Firmware().data(), 65536), 0);
    update::StageFamily("ZEL2", loader::NewMethod());
    EXPECT_EQ(std::memcmp(update::Buffers().Data, zel2b_fra_BootData::Data().data(), 131072), 0);
    EXPECT_EQ(std::memcmp(update::Buffers().Loader + 1728, loader::OldMethod().data() + 1728, 8), 0);
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

    using update::FirmwareOfferDue;
    EXPECT_TRUE(FirmwareOfferDue("ZEL2", 10009));
    EXPECT_FALSE(FirmwareOfferDue("ZEL2", 10010));
    EXPECT_TRUE(FirmwareOfferDue("ZEL2BX", 10008));
    EXPECT_TRUE(FirmwareOfferDue("ZEL2D", 10200));
    EXPECT_FALSE(FirmwareOfferDue("ZEL2D", 10201));
    EXPECT_FALSE(FirmwareOfferDue("ZEL2D", 10300));
    for (const char* model : {"ZEL2", "ZEL2B", "ZEL2X", "ZEL2BX", "ZEL2D"})
        EXPECT_FALSE(FirmwareOfferDue(model, 25755));  // 0.255.255
    EXPECT_FALSE(FirmwareOfferDue("", 0));
    EXPECT_TRUE(FirmwareOfferDue("ZEL2B", 0));  // unreadable SYSTEM.BIN
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
    EXPECT_EQ(std::memcmp(&file[112 * 512], loader::ModelD().data(), 1596), 0);
    EXPECT_EQ(std::memcmp(&file[240 * 512], zel2d_BootData::Firmware().data(), 65536), 0);
    EXPECT_EQ(view.maximum, 135);
    EXPECT_EQ(view.progress, (std::vector<int>{8, 40, 72, 104, 135, 0, 8, 40, 72, 104, 135, 135, 0}));
    EXPECT_EQ(view.events,
              (std::vector<std::string>{"status Transmettre les données firmware ...",
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
        EXPECT_EQ(std::memcmp(emulator.Chunk(4 + k).data(), zel2bx_fra_BootData::Firmware().data() + k * 16384, 16384), 0);
    // The last data chunk carries the loader in its last 4,096 bytes.
    EXPECT_EQ(std::memcmp(emulator.Chunk(19).data() + 12288, loader::NewMethod().data(), 1728), 0);
    EXPECT_EQ(std::memcmp(emulator.Chunk(18).data(), zel2bx_fra_BootData::Data().data() + 6 * 16384, 16384), 0);
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
    EXPECT_EQ(std::memcmp(&volume[1022 * 512], zel2b_fra_BootData::Data().data(), 131072), 0);
    EXPECT_EQ(std::memcmp(&volume[766 * 512], loader::OldMethod().data(), 1736), 0);
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

    view.events.clear();
    Attach("ZEL2D", 10000);
    target.Present[Target::ModelDFile] = false;
    Updater().StartButtonClick();
    EXPECT_TRUE(emulator.Writes.empty());
    EXPECT_TRUE(view.Saw("message Erreur! Mise à jour abandonner!"));
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

TEST_F(FirmwareUpdateTest, NotFoundStagesAndKeepsTheDialogThenStartAgain) {
    state.Detection.ReceiverModel = "ZEL2B";
    std::memset(update::Buffers().Firmware, 0, 65536);
    std::memset(update::Buffers().Loader, 0, 4096);
    auto updater = Updater();
    updater.UpdateNew();  // no receiver attached
    EXPECT_EQ(view.events, (std::vector<std::string>{"message " + std::string(update::NotFoundText)}));
    EXPECT_TRUE(target.Opens.empty());
    // The loader is staged anyway; the detection left no model, so the images stay as they were.
    EXPECT_EQ(std::memcmp(update::Buffers().Loader, loader::NewMethod().data(), 1728), 0);
    EXPECT_EQ(update::Buffers().Firmware[100], 0);

    Attach("ZEL2B", 10009);
    std::memset(update::Buffers().Data + 126976, 0, 4096);
    view.events.clear();
    updater.StartButtonClick();
    EXPECT_TRUE(emulator.Started);
    EXPECT_TRUE(view.Saw("close"));
}

TEST_F(FirmwareUpdateTest, SendCommandStopsAtTheFirstShortRead) {
    Attach("ZEL2", 10000);
    auto updater = Updater();
    ASSERT_EQ(target.Open("/dev/zel2raw", false), platform::TargetOpen::Ok);
    loader::TPreamble far = loader::OldMethodPreamble();
    far[3] = 60000;  // past the end of the volume: the sequence ends there
    updater.SendCommand(far, 856);
    EXPECT_TRUE(emulator.Commands.empty());
    EXPECT_EQ(target.Flushes, 4);
    updater.SendCommand(loader::OldMethodPreamble(), 856);
    EXPECT_EQ(CommandsOn(Target::Volume), std::vector<uint16_t>{856});
    EXPECT_FALSE(updater.WriteSectors(0, 1, update::Buffers().Loader));  // still locked
    target.Close();
    EXPECT_FALSE(updater.ReadSectors(0, 1, update::Buffers().ReadBack));
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
    EXPECT_EQ(target.WriteAt(0, out, 512), -1);       // opened read-only
    target.Close();
    EXPECT_EQ(target.Open(temp / "missing.bin", false), platform::TargetOpen::Failed);
}
