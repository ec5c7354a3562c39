// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: an input cut into files, and a scratch folder in memory.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "receiver/StateFiles.h"

namespace fuzz {

// The files of a multi-file input are separated by this mark (the seeds are made so).
inline constexpr const char* PartMark = "ZEL|";

inline std::vector<std::string> Parts(const uint8_t* data, size_t size, size_t count) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    size_t at = 0;
    while (parts.size() + 1 < count) {
        const size_t mark = input.find(PartMark, at);
        if (mark == std::string::npos) break;
        parts.push_back(input.substr(at, mark - at));
        at = mark + 4;
    }
    parts.push_back(input.substr(at));
    parts.resize(count);
    return parts;
}

// A folder of this process, in memory where the system has it: the readers under test
// sync what they write, which a disk would make the slowest part of every run.
inline const std::string& Scratch() {
    struct Folder {
        std::string path;
        Folder() {
            const std::string base = std::filesystem::exists("/dev/shm")
                                         ? std::string("/dev/shm")
                                         : std::filesystem::temp_directory_path().string();
            std::string pattern = base + "/zel2fuzz.XXXXXX";
            if (!::mkdtemp(pattern.data())) std::abort();
            path = pattern + "/";
        }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    return folder.path;
}

// An empty sub-folder of the scratch folder.
inline std::string Fresh(const char* name) {
    const std::string folder = Scratch() + name + "/";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder;
}

inline void Write(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// The window's part of loading the saved state: nothing to draw here.
class NoView : public receiver::ILocalCopiesView {
public:
    void FillChart(uint16_t, uint16_t) override {}
    void RebuildTree() override {}
};

// An invariant that does not hold is a finding like a crash.
#define FUZZ_CHECK(condition)                                                                       \
    do {                                                                                            \
        if (!(condition)) {                                                                         \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                           \
        }                                                                                           \
    } while (0)

}  // namespace fuzz
