// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "acquisition/StatusTexts.h"
#include "acquisition/UnitDataThread.h"
#include "baro/UnitBaro.h"
#include "platform/Files.h"
#include "sim/DriveMapFile.h"
#include "sim/VolumeWriter.h"
#include "support/TempFolder.h"

using testing_support::ScopedEnv;
using testing_support::TempFolder;

namespace {

// Records what the cycle asks of the window.
class FakeWindow : public IAcquisitionWindow {
public:
    void SetStatusPanel(int index, const std::string& text) override { panels[index] = text; }
    void SetBusyProgress(int position) override { busy = position; }
    void SetBatteryProgress(int percent) override { battery = percent; }
    void SetParameterLabel(const std::string& text) override { parameter = text; }
    void SetBaroTabVisible(bool visible) override { baroTab = visible; }
    void SetConfigurationEnabled(bool enabled) override { configuration = enabled; }
    void SetSeriesBlue(bool b) override { blue = b; }
    bool NavtexPageActive() const override { return navtexActive; }
    void SetStatusPanel0(const std::string& text) override { panels[0] = text; }
    void RepaintStatusBar() override {}
    void RebuildTree() override {
        ++rebuilds;
        if (failRebuild) throw std::runtime_error("tree failed");
    }
    void RedrawChart() override { ++redraws; }
    void SetPagesEnabled(bool enabled) override { pagesToggled += enabled ? 1 : 0; }

    std::map<int, std::string> panels;
    int busy = -1, battery = -1, rebuilds = 0, redraws = 0, pagesToggled = 0;
    std::string parameter = "unset";
    bool baroTab = false, configuration = false, blue = false, navtexActive = true, failRebuild = false;
};

class CycleTest : public ::testing::Test {
protected:
    CycleTest() : env("ZEL2_DRIVES", temp / "drives.tsv") {
        temp.MakeFolder("archive");
        sim::DetachDrive(temp / "drives.tsv", 'E');
    }
    void Attach(const std::string& model, char letter = 'E') {
        if (!platform::FolderExists(temp / model)) sim::MakeVolume(model, temp / model);
        sim::AttachDrive(temp / "drives.tsv", letter, "removable", model, temp / model);
    }
    TGetDataThread MakeThread() {
        TGetDataThread::Options o;
        o.archiveRoot = temp / "archive/";
        o.sleep = [](int) {};
        o.now = [] { return 46000.0; };
        return TGetDataThread(state, window, o);
    }
    TempFolder temp;
    ScopedEnv env;
    TAcquisitionState state;
    FakeWindow window;
};

TEST_F(CycleTest, AttachedAtStartTheConstructorReadsTheFirmwareAndTheFirstCycleRefreshesFully) {
    Attach("ZEL2B");
    TGetDataThread thread = MakeThread();
    EXPECT_EQ(state.SystemData.FirmwareVersionNumber(), 10012) << "read before the window shows";
    EXPECT_EQ(state.CurrentDrive, -1);
    EXPECT_EQ(state.Detection.PreviousDrive, -1);

    thread.RunCycle();
    EXPECT_EQ(state.ReceiverModel(), "ZEL2B");
    EXPECT_EQ(window.panels[5], "E´tat: Stand-by exempt USB");
    EXPECT_EQ(window.battery, 87);
    EXPECT_EQ(window.panels[3], "Capacité:");
    EXPECT_EQ(window.panels[2], "Actuel messages: EE33  GB05  FA12  ");
    EXPECT_NE(window.parameter.find("Tendance: "), std::string::npos)
        << "the second ShowStatus has the tendency";
    EXPECT_TRUE(window.baroTab);
    EXPECT_TRUE(window.configuration);
    EXPECT_TRUE(window.blue);
    EXPECT_EQ(window.redraws, 1) << "the whole barograph file was loaded";
    EXPECT_EQ(window.rebuilds, 1);
    EXPECT_EQ(window.pagesToggled, 1);
    EXPECT_TRUE(platform::FileExists(temp / "archive/INTERNAT/FA12.TXT"));
    EXPECT_EQ(state.Detection.DriveFound, 0);
    EXPECT_EQ(state.FirmwareVersionText, "1.0.12");
    EXPECT_EQ(state.SerialNumberText, "B20140300158");
}

TEST_F(CycleTest, RefreshOnlyEverySixtiethCycleOrWhenForced) {
    Attach("ZEL2B");
    TGetDataThread thread = MakeThread();
    thread.RunCycle();
    const int shown = window.pagesToggled;
    for (int i = 2; i < 60; ++i) thread.RunCycle();
    EXPECT_EQ(window.pagesToggled, shown) << "cycles 2..59 only look at the drive";
    thread.RunCycle();
    EXPECT_EQ(window.pagesToggled, shown + 1) << "cycle 60 refreshes";
    EXPECT_EQ(window.rebuilds, 1) << "same identifiers: no message transfer";

    thread.ForceRefresh();
    thread.RunCycle();
    EXPECT_EQ(state.CycleCounter, 60);
    EXPECT_EQ(window.pagesToggled, shown + 2);
}

TEST_F(CycleTest, MovedReceiverRefreshesAtOnceAndUnpluggedShowsNoReceiver) {
    Attach("ZEL2B");
    TGetDataThread thread = MakeThread();
    thread.RunCycle();
    thread.RunCycle();
    sim::MoveDrive(temp / "drives.tsv", 'E', 'F');
    thread.RunCycle();
    EXPECT_EQ(state.CurrentDrive, 5);
    EXPECT_EQ(window.rebuilds, 2) << "found by a full scan: messages transferred again";

    sim::DetachDrive(temp / "drives.tsv", 'F');
    thread.RunCycle();
    EXPECT_EQ(window.panels[5], acquisition::NoReceiverText);
    EXPECT_EQ(state.LastLoadedIndex, 65535);
    EXPECT_FALSE(window.blue);
    EXPECT_EQ(window.parameter, "");
    EXPECT_EQ(state.FirmwareVersionText, "No receiver");
    EXPECT_EQ(window.battery, 0);
    EXPECT_TRUE(window.baroTab) << "the tab keeps its state";
}

TEST_F(CycleTest, ZEL2WithoutBarographAndZEL2XWithoutBattery) {
    Attach("ZEL2");
    TGetDataThread thread = MakeThread();
    thread.RunCycle();
    EXPECT_EQ(window.redraws, 0);
    EXPECT_FALSE(window.baroTab);
    EXPECT_EQ(window.parameter, "");
    EXPECT_EQ(window.battery, 87);

    sim::DetachDrive(temp / "drives.tsv", 'E');
    Attach("ZEL2X", 'G');
    thread.RunCycle();
    EXPECT_EQ(window.panels[5], "");
    EXPECT_EQ(window.battery, 0);
    EXPECT_FALSE(window.baroTab);
}

TEST_F(CycleTest, ModelDWritesMessagesOnEveryRefreshAndRebuildsOnlyOnChange) {
    Attach("ZEL2D");
    TGetDataThread thread = MakeThread();
    EXPECT_EQ(state.SystemData.FirmwareVersionNumber(), 10203);
    thread.RunCycle();
    EXPECT_FALSE(window.configuration);
    EXPECT_EQ(window.rebuilds, 1);
    EXPECT_TRUE(platform::FileExists(temp / "archive/INTERNAT/FA12.TXT"));
    EXPECT_EQ(state.SystemData.RecentMessageId(2), "FA12") << "slot 3 is the newest";
    EXPECT_EQ(state.BaroHeight, 12) << "the receiver's altitude";
    EXPECT_NE(window.parameter.find(" / 12 m  "), std::string::npos) << window.parameter;

    platform::RemoveFile(temp / "archive/INTERNAT/FA12.TXT");
    thread.ForceRefresh();
    thread.RunCycle();
    EXPECT_TRUE(platform::FileExists(temp / "archive/INTERNAT/FA12.TXT")) << "written again";
    EXPECT_EQ(window.rebuilds, 1) << "newest messages unchanged: no rebuild";
}

TEST_F(CycleTest, AFailingStepDoesNotStopThePolling) {
    Attach("ZEL2B");
    TGetDataThread thread = MakeThread();
    window.failRebuild = true;
    thread.RunCycle();
    EXPECT_EQ(thread.FailedSteps(), 1);
    EXPECT_EQ(window.pagesToggled, 1) << "the rest of the cycle ran";
    sim::DetachDrive(temp / "drives.tsv", 'E');
    thread.RunCycle();
    EXPECT_EQ(window.panels[5], acquisition::NoReceiverText) << "still polling";
}

TEST_F(CycleTest, TheRealThreadEndsPromptlyWhenAskedWhileServingItsSteps) {
    Attach("ZEL2B");
    platform::SetMainThread();
    TGetDataThread::Options o;
    o.archiveRoot = temp / "archive/";
    TGetDataThread thread(state, window, o);
    thread.Resume();
    for (int i = 0; i < 400 && window.pagesToggled == 0; ++i) {
        platform::CheckSynchronize();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(window.pagesToggled, 1);
    thread.Terminate();
    thread.WaitFor();
    EXPECT_TRUE(thread.Control()->Finished());
}

TEST(StatusDisplay, StateBatteryAndIdentifierRules) {
    TAcquisitionState state;
    FakeWindow window;
    acquisition::StatusContext context;
    state.Detection.ReceiverModel = "ZEL2B";
    state.SystemData.SetState(5);
    state.SystemData.SetBattery(250);
    acquisition::ShowStatus(state, window, context);
    EXPECT_EQ(window.panels[5], "E´tat: charger");
    EXPECT_EQ(window.battery, 100);

    window.panels[5] = "before";
    window.battery = 33;
    state.SystemData.SetState(9);
    acquisition::ShowStatus(state, window, context);
    EXPECT_EQ(window.panels[5], "before") << "state 9 leaves panel 5 and the bar";
    EXPECT_EQ(window.battery, 33);

    state.Detection.ReceiverModel = "ZEL2D";
    state.SystemData.SetState(1);
    state.SystemData.SetBattery(2880000);
    window.navtexActive = false;
    window.panels.erase(2);
    acquisition::ShowStatus(state, window, context);
    EXPECT_EQ(window.battery, 100);
    EXPECT_EQ(window.panels.count(2), 0u) << "panel 2 only on the NAVTEX page";

    state.Detection.ReceiverModel = "ZEL2B";
    state.SystemData.SetTemperatureTenths(-53);
    state.SystemData.SetPressureRaw(1325);
    state.BaroHeight = 120;
    context.decimalSeparator = ',';
    context.correction = [](double hPa, int32_t altitude, double) { return hPa + altitude / 8.0; };
    acquisition::ShowStatus(state, window, context);
    EXPECT_EQ(window.parameter, "Température: -5,3°C   Pression atmosphérique: 1028,2hPa / 120 m  ");

    // The program's own reduction: 1013.25 hPa at 750 m and 9.0 °C.
    state.SystemData.SetTemperatureTenths(90);
    state.BaroHeight = 750;
    context.decimalSeparator = '.';
    context.correction = baro::AltitudeCorrection;
    acquisition::ShowStatus(state, window, context);
    EXPECT_EQ(window.parameter, "Température: 9.0°C   Pression atmosphérique: 1108.3hPa / 750 m  ");
}

}  // namespace
