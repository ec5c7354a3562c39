// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/StateFiles.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "common/LittleEndian.h"
#include "platform/Files.h"

namespace receiver {
namespace {

// Reads up to size bytes into target; bytes the file does not have stay as they were.
// -1 on an input/output error.
long long ReadInto(platform::ReadOnlyFile& file, uint64_t offset, uint8_t* target, size_t size) {
    std::vector<uint8_t> buffer(size);
    const long long n = file.ReadAt(offset, buffer.data(), size);
    if (n > 0) std::copy(buffer.begin(), buffer.begin() + n, target);
    return n;
}

std::vector<uint8_t> ConfigBytes(const TSavedState& s) {
    std::vector<uint8_t> bytes(ConfigFileSize);
    le::PutI32(bytes.data(), s.BaroHeight);
    bytes[4] = s.ShowLastMessage;
    return bytes;
}

// Earlier versions named their temporaries "CONFIG.BIN.3MaQ5J": six random letters or
// digits after a state file's name. A plain word ("backup") is the user's and stays.
void RemoveOldTemporaries(const std::string& archiveRoot) {
    for (const platform::FolderEntry& e : platform::ListFolder(archiveRoot)) {
        if (e.isFolder) continue;
        for (const char* state : {"CONFIG.BIN.", "MISC.BIN.", "SYSTEM.BIN.", "BARODATA.BIN."}) {
            const std::string prefix = state;
            if (e.name.size() != prefix.size() + 6 || e.name.compare(0, prefix.size(), prefix) != 0) continue;
            const std::string tail = e.name.substr(prefix.size());
            const bool random =
                std::all_of(tail.begin(), tail.end(), [](unsigned char c) { return std::isalnum(c); }) &&
                std::any_of(tail.begin(), tail.end(), [](unsigned char c) { return !std::islower(c); });
            if (random) platform::RemoveFile(platform::JoinPath(archiveRoot, e.name));
        }
    }
}

}  // namespace

void LoadLocalCopies(const std::string& archiveRoot, TSavedState& state, TReadMarkList& readMarks,
                     ILocalCopiesView& view) {
    const auto path = [&](const char* name) { return platform::JoinPath(archiveRoot, name); };
    // A save cut short by a kill is completed or undone before anything is read.
    platform::RecoverFileSet(archiveRoot, {"CONFIG.BIN", "MISC.BIN", "SYSTEM.BIN", "BARODATA.BIN"});
    RemoveOldTemporaries(archiveRoot);
    for (const char* band : {"INTERNAT\\", "NATIONAL\\"}) platform::RemoveTemporaries(path(band));

    platform::ReadOnlyFile file;
    if (file.Open(path("CONFIG.BIN"))) {
        std::vector<uint8_t> config = ConfigBytes(state);
        if (ReadInto(file, 0, config.data(), config.size()) < 0) {
            state.BaroHeight = 0;
            state.ShowLastMessage = 0;
        } else {
            // The altitude is 0..750 m wherever it is set; a damaged file must not send the
            // correction, and with it every pressure, off to infinity.
            state.BaroHeight = std::clamp<int32_t>(le::I32(config.data()), MinBaroHeight, MaxBaroHeight);
            state.ShowLastMessage = config[4];
        }
        file.Close();
    }

    readMarks.clear();
    // Whole records only: a torn last record is dropped and the other files still load,
    // or the save at exit would replace a good pressure history with an empty one.
    std::vector<uint8_t> misc;
    if (platform::ReadWholeFile(path("MISC.BIN"), misc)) {
        for (size_t at = 0; at + ReadMarkSize <= misc.size(); at += ReadMarkSize)
            readMarks.push_back({le::I32(&misc[at]), misc[at + 4]});
    }

    if (file.Open(path("SYSTEM.BIN"))) {
        ReadInto(file, 0, state.SystemData.Data(), TSystemData::Size);
        file.Close();
    }
    state.SystemData.ClampIndices();

    if (file.Open(path("BARODATA.BIN"))) {
        std::vector<uint8_t> baro(BaroFileSize);
        const long long n = file.ReadAt(0, baro.data(), baro.size());
        file.Close();
        const size_t samples =
            n > 0 ? std::min<size_t>(static_cast<size_t>(n) / 2, state.BaroSamples.size()) : 0;
        for (size_t i = 0; i < samples; ++i) state.BaroSamples[i] = le::I16(&baro[2 * i]);
        if (n >= static_cast<long long>(BaroFileSize)) {
            const uint64_t bits = le::U64(&baro[20480]);
            std::memcpy(&state.BaroTime, &bits, sizeof bits);
        }
        view.FillChart(state.SystemData.WriteIndex(), state.SystemData.ValidCount());
    }

    view.RebuildTree();
}

bool SaveLocalCopies(const std::string& archiveRoot, const TSavedState& state,
                     const TReadMarkList& readMarks) {
    const auto path = [&](const char* name) { return platform::JoinPath(archiveRoot, name); };
    for (const char* name : {"SYSTEM.BIN", "BARODATA.BIN", "MISC.BIN", "CONFIG.BIN"})
        platform::SetAttributes(path(name), platform::AttrNormal);

    std::vector<platform::FileWrite> files;
    files.push_back({"CONFIG.BIN", ConfigBytes(state)});

    std::vector<uint8_t> misc(readMarks.size() * ReadMarkSize);
    for (size_t i = 0; i < readMarks.size(); ++i) {
        le::PutI32(&misc[i * ReadMarkSize], readMarks[i].Age);
        misc[i * ReadMarkSize + 4] = readMarks[i].Unread;
    }
    files.push_back({"MISC.BIN", std::move(misc)});
    files.push_back({"SYSTEM.BIN", std::vector<uint8_t>(state.SystemData.Data(),
                                                        state.SystemData.Data() + TSystemData::Size)});

    std::vector<uint8_t> baro(BaroFileSize);
    for (size_t i = 0; i < state.BaroSamples.size(); ++i) le::PutI16(&baro[2 * i], state.BaroSamples[i]);
    uint64_t bits = 0;
    std::memcpy(&bits, &state.BaroTime, sizeof bits);
    le::PutU64(&baro[20480], bits);
    files.push_back({"BARODATA.BIN", std::move(baro)});
    // The write position in SYSTEM.BIN belongs to the ring in BARODATA.BIN: the four files
    // are saved as one set.
    return platform::WriteFileSet(archiveRoot, files);
}

}  // namespace receiver
