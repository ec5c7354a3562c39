// Detection runs once a second for the whole life of the program: the steady state
// (receiver attached, previous-drive check) and the full scan over 23 drives.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "receiver/ReceiverDetection.h"
#include "sim/DriveMapFile.h"
#include "sim/VolumeWriter.h"

namespace {

struct Fixture {
    std::string folder;
    Fixture() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zel2bench.XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        const std::string map = folder + "/drives.tsv";
        ::setenv("ZEL2_DRIVES", map.c_str(), 1);
        for (char letter = 'D'; letter < 'Z'; ++letter) {
            const std::string root = folder + "/" + letter;
            std::filesystem::create_directories(root);
            sim::AttachDrive(map, letter, "removable", "USBSTICK", root);
        }
        sim::MakeVolume("ZEL2B", folder + "/Z");
        sim::AttachDrive(map, 'Z', "removable", "ZEL2B", folder + "/Z");
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
};

void BM_PreviousDriveCheck(benchmark::State& state) {
    Fixture f;
    receiver::DetectionState detection;
    detection.PreviousDrive = receiver::DetectReceiver(detection);
    for (auto _ : state) benchmark::DoNotOptimize(receiver::DetectReceiver(detection));
}
BENCHMARK(BM_PreviousDriveCheck);

void BM_FullScanOfTwentyThreeDrives(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        receiver::DetectionState detection;
        benchmark::DoNotOptimize(receiver::DetectReceiver(detection));
    }
}
BENCHMARK(BM_FullScanOfTwentyThreeDrives);

}  // namespace
