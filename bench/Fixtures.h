// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/LittleEndian.h"
#include "navtex/UnitNavtex.h"
#include "platform/Files.h"
#include "sim/VolumeWriter.h"

// What the benchmarks share: plain file access for the baselines and a message archive.
namespace bench {

inline std::string TempFolder(const char* tag) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(tag) + ".XXXXXX")).string();
    return std::string(::mkdtemp(pattern.data())) + "/";
}

inline void WriteRaw(const std::string& path, const void* data, size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return;
    [[maybe_unused]] const ssize_t n = ::write(fd, data, size);
    ::close(fd);
}

inline size_t ReadRaw(const std::string& path) {
    static std::vector<char> buffer(1 << 20);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    size_t total = 0;
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) total += static_cast<size_t>(n);
    ::close(fd);
    return total;
}

class NullTree : public navtex::INavtexTreeView {
public:
    void ClearTree() override {}
    void AddNode(int, int, const std::string&) override {}
    void SetNodeBold(int, bool) override {}
    bool NodeExpanded(int) const override { return true; }
    void SetNodeExpanded(int, bool) override {}
    void SetSubtreeExpanded(int, bool) override {}
    void ScrollTreeToTop() override {}
    void SelectNode(int) override {}
    void SetMemoText(const std::string&) override {}
};

// files messages over both bands; one in five repeats an earlier identifier.
struct Archive {
    std::string root = TempFolder("zel2bench-a");
    explicit Archive(int files) {
        const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        for (const char* band : {"INTERNAT", "NATIONAL"}) std::filesystem::create_directory(root + band);
        for (int i = 0; i < files; ++i) {
            const int id = i % 5 == 4 ? i - 2 : i;
            std::string name;
            for (int k = 0, v = id; k < 4; ++k, v /= 36) name += letters[v % 36];
            const std::string path =
                root + (i % 2 ? "NATIONAL/" : "INTERNAT/") + name + "_" + std::to_string(i);
            const std::string text = "ZCZC " + name + "\r\nWIND SW 5 TO 6. SEA MODERATE.\r\nNNNN\r\n";
            WriteRaw(path, text.data(), text.size());
            const platform::LocalDateTime when{2026, 12, 6, 6 + i % 12, i % 60, (i / 60) % 60, 0};
            platform::SetFileTimes(path, when, when, when);
        }
    }
    ~Archive() { std::filesystem::remove_all(root); }
    // What any reader of the archive must do: list both folders, read every file.
    size_t ListAndRead() const {
        size_t n = 0;
        for (const char* band : {"INTERNAT/", "NATIONAL/"}) {
            DIR* dir = ::opendir((root + band).c_str());
            while (dirent* e = ::readdir(dir))
                if (e->d_name[0] != '.') n += ReadRaw(root + band + e->d_name);
            ::closedir(dir);
        }
        return n;
    }
};

// A ZEL2D whose two rings are full: 350 one-block messages each, all younger than two days.
struct FullRing {
    std::string drive = TempFolder("zel2bench-d");
    FullRing() {
        const int64_t now = 1796000000;  // December 2026
        std::vector<uint8_t> system(776, 0);
        le::PutU32(&system[0], sim::ReceiverSeconds(now));
        const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        for (int band = 0; band < 2; ++band) {
            std::vector<uint8_t> ring(1024 * 256, 0xFF);
            for (int m = 0; m < 350; ++m) {
                const int block = m * 2;  // every other block a message, the rest erased
                char id[5] = {letters[m % 26], letters[(m / 26) % 26], char('0' + m % 10),
                              char('0' + (m / 10) % 10), 0};
                const std::string text = std::string("ZCZC ") + id + "\nNAVAREA WARNING " +
                                         std::to_string(m) +
                                         "\nPOSITION 47-30N 003-10W. DERELICT VESSEL.\nNNNN\n";
                uint8_t* head = &ring[static_cast<size_t>(block) * 256];
                le::PutU32(head, 0x18F96C3B);
                le::PutU32(head + 4, static_cast<uint32_t>(text.size()));
                le::PutU32(head + 8, sim::ReceiverSeconds(now - (350 - m) * 300));
                std::copy(text.begin(), text.end(), head + 17);
                le::PutU32(&ring[static_cast<size_t>(block + 1) * 256], 0x12345678);  // skipped by the scan
            }
            le::PutI16(&system[band == 0 ? 42 : 44], 700);
            WriteRaw(drive + (band == 0 ? "NAV518.BIN" : "NAV490.BIN"), ring.data(), ring.size());
        }
        WriteRaw(drive + "SYSTEM.BIN", system.data(), system.size());
        std::vector<uint8_t> baro(65536, 0xFF);
        WriteRaw(drive + "BARO.BIN", baro.data(), baro.size());
    }
    ~FullRing() { std::filesystem::remove_all(drive); }
    size_t ReadAll() const {
        size_t n = 0;
        for (const char* f : {"SYSTEM.BIN", "BARO.BIN", "NAV518.BIN", "NAV490.BIN"}) n += ReadRaw(drive + f);
        return n;
    }
};

}  // namespace bench
