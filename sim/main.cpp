// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "acquisition/AcquisitionState.h"
#include "acquisition/MessageTransfer.h"
#include "common/DateTime.h"
#include "platform/Files.h"
#include "receiver/ReceiverDetection.h"

#include "position/Geodesy.h"
#include "sim/DriveMapFile.h"
#include "sim/History.h"
#ifdef ZEL2_SIM_FUSE
#include "sim/FuseVolume.h"
#endif
#include "sim/Inspect.h"
#include "sim/LiveVolume.h"
#include "sim/SimulatorFirmware.h"
#include "sim/VolumeWriter.h"

namespace {

int Usage() {
    std::fputs(
        "zel2sim: simulated receivers for the program and its tests\n"
        "\n"
        "  zel2sim make MODEL FOLDER [WEATHER]   write a receiver volume of MODEL into FOLDER; WEATHER\n"
        "                                        is passing (a low going by), steady or storm (a fall\n"
        "                                        of 4 hPa in the last three hours)\n"
        "  zel2sim attach MAP LETTER LABEL FOLDER [TYPE [RAW]]\n"
        "                                        attach FOLDER as drive LETTER in the drive map MAP\n"
        "                                        (TYPE: removable, fixed, remote, cdrom, ramdisk)\n"
        "  zel2sim detach MAP LETTER             remove drive LETTER from MAP\n"
        "  zel2sim move MAP FROM TO              move a drive to another letter\n"
        "  zel2sim run FOLDER [SPEED [SECONDS]]  keep the volume alive: a sample a minute (SPEED times\n"
        "                                        faster), new messages, battery and state changing\n"
        "  zel2sim inspect FOLDER                print what the program reads from a volume\n"
        "  zel2sim demo MODEL FOLDER MAP [LETTER]\n"
        "                                        make a volume and attach it (default letter E)\n"
        "  zel2sim detect                        print the receiver the program would find now\n"
        "  zel2sim mirror FOLDER ARCHIVE         write into ARCHIVE what a transfer from the receiver\n"
        "                                        volume FOLDER puts in the message archive\n"
        "  zel2sim make-firmware FOLDER MODEL    write a firmware package for MODEL's family into\n"
        "                                        FOLDER: simulator data for the emulated update mode\n"
        "                                        only, marked so in its manifest; install it as a\n"
        "                                        folder of <data folder>/ZEL2/FIRMWARE/\n"
        "  zel2sim history ARCHIVE import FOLDER add every message file under FOLDER (its sub-folders\n"
        "                                        too) to the message history of the data folder ARCHIVE\n"
        "  zel2sim history ARCHIVE search QUERY  the messages of the history that hold every word of\n"
        "                                        QUERY, newest first: band, identifier, reception time\n"
        "                                        (UTC), first line\n"
        "  zel2sim export-warnings ARCHIVE FOLDER [--all] [--at TIME] [--position LAT,LON]\n"
        "                                        write navtex-warnings.gpx and .geojson into FOLDER:\n"
        "                                        every message of the history with positions, in\n"
        "                                        force (with --all, cancelled and expired ones too),\n"
        "                                        as it stood at TIME (default now), with its station\n"
        "                                        and, from a boat at LAT,LON (decimal degrees), its\n"
        "                                        distance and bearing\n"
        "  zel2sim in-force ARCHIVE [--at TIME]  every message of the history, one a line, tab-separated:\n"
        "                                        band, identifier, received, subject, state, reason,\n"
        "                                        station;\n"
        "                                        as it stood at TIME (ISO 8601 UTC, default now)\n"
        "  zel2sim update-mode FOLDER MOUNT LOG  serve FOLDER at MOUNT (FUSE) as a receiver in update\n"
        "                                        mode; attach MOUNT with raw path MOUNT/.volume; what\n"
        "                                        the receiver saw is written to LOG\n"
        "\n"
        "MODEL is one of ZEL2, ZEL2B, ZEL2X, ZEL2BX, ZEL2D. The program reads the drive map\n"
        "named by the environment variable ZEL2_DRIVES.\n",
        stderr);
    return 2;
}

bool Letter(const char* arg, char& letter) {
    if (std::strlen(arg) == 0 || std::strlen(arg) > 2) return false;
    letter = arg[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    return letter >= 'A' && letter <= 'Z';
}

bool WeatherOf(const std::string& word, sim::Weather& weather) {
    if (word == "passing")
        weather = sim::Weather::Passing;
    else if (word == "steady")
        weather = sim::Weather::Steady;
    else if (word == "storm")
        weather = sim::Weather::Storm;
    else
        return false;
    return true;
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "zel2sim: %s\n", what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    char letter = 0, other = 0;
    if (command == "make" && (argc == 4 || argc == 5)) {
        if (!sim::IsKnownModel(argv[2])) return Fail(std::string("unknown model ") + argv[2]);
        sim::VolumeOptions options;
        if (argc == 5 && !WeatherOf(argv[4], options.weather)) return Usage();
        return sim::MakeVolume(argv[2], argv[3], options) ? 0 : Fail(std::string("cannot write ") + argv[3]);
    }
    if (command == "attach" && (argc >= 6 && argc <= 8) && Letter(argv[3], letter)) {
        const std::string type = argc >= 7 ? argv[6] : "removable";
        const std::string raw = argc >= 8 ? argv[7] : "";
        return sim::AttachDrive(argv[2], letter, type, argv[4], argv[5], raw)
                   ? 0
                   : Fail("cannot write the drive map");
    }
    if (command == "detach" && argc == 4 && Letter(argv[3], letter))
        return sim::DetachDrive(argv[2], letter) ? 0 : Fail("no such drive in the map");
    if (command == "move" && argc == 5 && Letter(argv[3], letter) && Letter(argv[4], other))
        return sim::MoveDrive(argv[2], letter, other) ? 0 : Fail("no such drive in the map");
    if (command == "run" && argc >= 3 && argc <= 5)
        return sim::RunLive(argv[2], argc >= 4 ? std::atof(argv[3]) : 1.0,
                            argc >= 5 ? std::atof(argv[4]) : 0.0);
    if (command == "inspect" && argc == 3)
        return sim::InspectVolume(argv[2], stdout) ? 0 : Fail(std::string("no receiver files in ") + argv[2]);
    if (command == "demo" && (argc == 5 || argc == 6)) {
        if (!sim::IsKnownModel(argv[2])) return Fail(std::string("unknown model ") + argv[2]);
        letter = 'E';
        if (argc == 6 && !Letter(argv[5], letter)) return Usage();
        if (!sim::MakeVolume(argv[2], argv[3])) return Fail(std::string("cannot write ") + argv[3]);
        if (!sim::AttachDrive(argv[4], letter, "removable", argv[2], argv[3]))
            return Fail("cannot write the drive map");
        std::printf("%s attached as %c: from %s\n", argv[2], letter, argv[3]);
        return 0;
    }
    if (command == "detect" && argc == 2) {
        receiver::DetectionState detection;
        const int drive = receiver::DetectReceiver(detection);
        if (drive == receiver::NoDrive) return Fail("no receiver found");
        std::printf("%s: %s\n", receiver::DriveLetter(drive).c_str(), detection.ReceiverModel.c_str());
        return 0;
    }
    if (command == "mirror" && argc == 4) {
        TAcquisitionState state;
        std::error_code ignored;
        std::filesystem::create_directories(argv[3], ignored);
        const std::string drive = platform::JoinPath(argv[2], ""), archive = platform::JoinPath(argv[3], "");
        if (platform::FileExists(platform::JoinPath(drive, "NAV518.BIN")))
            acquisition::WriteModelDMessages(drive, archive, state);
        else if (!acquisition::CopyMessageFiles(drive, archive, state))
            return Fail(std::string("the copy from ") + argv[2] +
                        " did not complete; the archive is as it was");
        return 0;
    }
    if (command == "make-firmware" && argc == 4) {
        if (!sim::IsKnownModel(argv[3])) return Fail(std::string("unknown model ") + argv[3]);
        return sim::MakeFirmwarePackage(argv[2], argv[3]) ? 0 : Fail(std::string("cannot write ") + argv[2]);
    }
    if (command == "history" && argc == 5 &&
        (std::strcmp(argv[3], "import") == 0 || std::strcmp(argv[3], "search") == 0))
        return sim::HistoryCommand(argv[2], argv[3], argv[4], stdout);
    if (command == "export-warnings" && argc >= 4) {
        bool all = false;
        std::optional<int64_t> at;
        std::optional<position::TLatLon> boat;
        for (int i = 4; i < argc; ++i) {
            if (std::strcmp(argv[i], "--all") == 0) {
                all = true;
            } else if (std::strcmp(argv[i], "--at") == 0 && i + 1 < argc) {
                at = datetime::ParseIso8601Utc(argv[++i]);
                if (!at) return Fail(std::string("not a time in ISO 8601 UTC: ") + argv[i]);
            } else if (std::strcmp(argv[i], "--position") == 0 && i + 1 < argc) {
                double latitude = 0, longitude = 0;
                int used = 0;
                const char* text = argv[++i];
                if (std::sscanf(text, "%lf,%lf%n", &latitude, &longitude, &used) != 2 || text[used] != '\0' ||
                    std::fabs(latitude) > 90 || std::fabs(longitude) > 180)
                    return Fail(std::string("not a position LAT,LON in decimal degrees: ") + text);
                boat = position::TLatLon{latitude, longitude};
            } else {
                return Usage();
            }
        }
        return sim::ExportWarningsCommand(argv[2], argv[3], all, at, boat, stdout);
    }
    if (command == "in-force" && (argc == 3 || (argc == 5 && std::strcmp(argv[3], "--at") == 0))) {
        const std::optional<int64_t> at = argc == 5 ? datetime::ParseIso8601Utc(argv[4]) : std::nullopt;
        if (argc == 5 && !at) return Fail(std::string("not a time in ISO 8601 UTC: ") + argv[4]);
        return sim::InForceCommand(argv[2], at, stdout);
    }
#ifdef ZEL2_SIM_FUSE
    if (command == "update-mode" && argc == 5) return sim::ServeUpdateMode(argv[2], argv[3], argv[4]);
#else
    if (command == "update-mode") return Fail("built without FUSE (libfuse3-dev)");
#endif
    return Usage();
}
