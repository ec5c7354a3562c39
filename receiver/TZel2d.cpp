// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/TZel2d.h"

#include <algorithm>

#include "common/LittleEndian.h"
#include "platform/Files.h"

// Reduction factors scaled by 10000, one per 5 m from 0 to 1000 m.
const std::array<uint16_t, 201> TZel2d::AltitudeFactor = {
    10000, 10006, 10012, 10018, 10024, 10030, 10035, 10041, 10047, 10053, 10059, 10065, 10071, 10077, 10083,
    10089, 10095, 10101, 10107, 10113, 10119, 10124, 10130, 10136, 10142, 10148, 10154, 10160, 10166, 10172,
    10178, 10184, 10190, 10196, 10202, 10208, 10214, 10220, 10226, 10232, 10238, 10244, 10250, 10256, 10262,
    10268, 10274, 10280, 10286, 10292, 10298, 10304, 10311, 10317, 10323, 10329, 10335, 10341, 10347, 10353,
    10359, 10365, 10371, 10377, 10383, 10389, 10395, 10402, 10408, 10414, 10420, 10426, 10432, 10438, 10444,
    10450, 10456, 10463, 10469, 10475, 10481, 10487, 10493, 10499, 10505, 10512, 10518, 10524, 10530, 10536,
    10542, 10548, 10555, 10561, 10567, 10573, 10579, 10585, 10592, 10598, 10604, 10610, 10616, 10623, 10629,
    10635, 10641, 10647, 10654, 10660, 10666, 10672, 10678, 10685, 10691, 10697, 10703, 10710, 10716, 10722,
    10728, 10735, 10741, 10747, 10753, 10760, 10766, 10772, 10778, 10785, 10791, 10797, 10803, 10810, 10816,
    10822, 10829, 10835, 10841, 10847, 10854, 10860, 10866, 10873, 10879, 10885, 10892, 10898, 10904, 10911,
    10917, 10923, 10930, 10936, 10942, 10949, 10955, 10961, 10968, 10974, 10980, 10987, 10993, 10999, 11006,
    11012, 11019, 11025, 11031, 11038, 11044, 11051, 11057, 11063, 11070, 11076, 11083, 11089, 11095, 11102,
    11108, 11115, 11121, 11127, 11134, 11140, 11147, 11153, 11160, 11166, 11173, 11179, 11185, 11192, 11198,
    11205, 11211, 11218, 11224, 11231, 11237,
};

namespace {

constexpr size_t HeadSize = 46;
constexpr size_t BaroAreaOffset = 512;
constexpr size_t BaroAreaSize = 264;
constexpr size_t BlockSize = 256;

// Splits text on line feed only; every other byte, carriage return included, stays.
void AppendText(const uint8_t* text, size_t count, TZel2d::Lines& lines, std::string& current) {
    for (size_t i = 0; i < count; ++i) {
        if (text[i] == 0x0A) {
            lines.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(text[i]);
        }
    }
}

}  // namespace

TZel2d::TZel2d(std::string path) : drivePath(std::move(path)) {}

bool TZel2d::ReadHead(platform::ReadOnlyFile& file) {
    uint8_t head[HeadSize] = {};
    const long long n = file.ReadAt(0, head, HeadSize);
    if (n <= 0) return false;
    ReceiverTime = le::U32(head + 0);
    Battery = le::U32(head + 4);
    State = head[8];
    Major = head[9];
    Minor = head[10];
    Patch = head[11];
    std::copy(head + 12, head + 24, Serial.begin());
    PressureRaw = le::I16(head + 24);
    TendencyRaw = le::I16(head + 26);
    Altitude = le::U16(head + 28);
    PressureOffset = le::I16(head + 30);
    TemperatureTenths = le::I16(head + 32);
    Nav518Next = le::I16(head + 42);
    Nav490Next = le::I16(head + 44);
    return n == static_cast<long long>(HeadSize);
}

bool TZel2d::ReadSystem() {
    platform::ReadOnlyFile file;
    if (!file.Open(platform::JoinPath(drivePath, "SYSTEM.BIN"))) return false;
    return ReadHead(file);
}

bool TZel2d::ReadBarograph() {
    Samples.assign(SampleCapacity, 0);
    const std::string path = platform::JoinPath(drivePath, "SYSTEM.BIN");
    platform::ReadOnlyFile file;
    bool ok = file.Open(path);
    if (ok) {
        if (!ReadHead(file)) ok = false;
        uint8_t area[BaroAreaSize] = {};
        const long long n = file.ReadAt(BaroAreaOffset, area, BaroAreaSize);
        if (n > 0) {
            for (size_t i = 0; i < CurrentBlock.size(); ++i) CurrentBlock[i] = le::I16(area + 2 * i);
            SampleCount = le::U16(area + 256);
            OldestBlock = area[258];
        }
        if (n != static_cast<long long>(BaroAreaSize)) ok = false;
        file.Close();
    } else {
        ok = false;
    }

    const int n = StoredCount();
    if (n == 0) return ok;
    const int full = (n - 1) / 128;
    if (full > 0) {
        const std::string baroPath = platform::JoinPath(drivePath, "BARO.BIN");
        if (!platform::FileExists(baroPath)) ok = false;
        platform::ReadOnlyFile baro;
        if (baro.Open(baroPath)) {
            int b = OldestBlock;
            uint8_t block[BlockSize];
            for (int j = 0; j < full; ++j) {
                const long long got = baro.ReadAt(static_cast<uint64_t>(b) * BlockSize, block, BlockSize);
                if (got > 0) {
                    for (long long i = 0; i < got / 2; ++i)
                        Samples[static_cast<size_t>(j * 128 + i)] = le::I16(block + 2 * i);
                }
                if (got != static_cast<long long>(BlockSize)) ok = false;
                b = (b + 1) % 256;
            }
        } else {
            ok = false;
        }
    }
    const int tail = (n - 1) % 128;
    for (int i = 0; i <= tail; ++i)
        Samples[static_cast<size_t>(full * 128 + i)] = CurrentBlock[static_cast<size_t>(i)];
    return ok;
}

double TZel2d::SeaLevel(int16_t raw) const {
    const int32_t p = raw + 100000 + 10 * PressureOffset;
    const int k = std::min(Altitude / 5, 200);
    const uint32_t product = static_cast<uint32_t>(p) * AltitudeFactor[static_cast<size_t>(k)];
    const uint32_t q = product / 100000u;
    return q / 10.0;
}

double TZel2d::Tendency() const {
    if (TendencyRaw == -32768) return -32768.0;
    return TendencyRaw / 10.0;
}

// The count is 16 bits wide, but the ring holds 256 full blocks and the current block
// adds one more: a larger count would read and index past both.
int TZel2d::StoredCount() const {
    return std::min<int>(SampleCount, (MaxFullBlocks + 1) * 128);
}

uint16_t TZel2d::BaroCount() const {
    return static_cast<uint16_t>(std::min(StoredCount(), OfferedSamples));
}

double TZel2d::BaroValue(int index) const {
    const int n = StoredCount();
    if (index < 0 || index >= OfferedSamples || index >= n || n == 0) return 0.0;
    if (n > OfferedSamples) index += n - OfferedSamples;
    if (static_cast<size_t>(index) >= Samples.size()) return 0.0;
    return SeaLevel(Samples[static_cast<size_t>(index)]);
}

const TZel2d::Lines* TZel2d::Nav518Lines(int index) const {
    return index >= 0 && index < Nav518Count() ? &nav518[static_cast<size_t>(index)] : nullptr;
}
const TZel2d::Lines* TZel2d::Nav490Lines(int index) const {
    return index >= 0 && index < Nav490Count() ? &nav490[static_cast<size_t>(index)] : nullptr;
}
uint32_t TZel2d::Nav518Time(int index) const {
    return index >= 0 && index < Nav518Count() ? nav518Times[static_cast<size_t>(index)] : 0;
}
uint32_t TZel2d::Nav490Time(int index) const {
    return index >= 0 && index < Nav490Count() ? nav490Times[static_cast<size_t>(index)] : 0;
}

bool TZel2d::ReadNav518() {
    return ReadNav("NAV518.BIN", true);
}
bool TZel2d::ReadNav490() {
    return ReadNav("NAV490.BIN", false);
}

bool TZel2d::ReadNav(const char* fileName, bool international) {
    if (!ReadSystem()) return false;
    const int s = international ? Nav518Next : Nav490Next;
    if (s < 0 || s > RingBlocks - 1) return false;
    (international ? nav518 : nav490).clear();
    (international ? nav518Times : nav490Times).clear();
    const std::string path = platform::JoinPath(drivePath, fileName);
    std::vector<uint8_t> ring;
    // The whole ring in one read; the scan then works on memory.
    if (!platform::ReadWholeFile(path, ring, RingBytes)) return false;
    return ParseNav(international, ring);
}

bool TZel2d::ParseNav(bool international, const std::vector<uint8_t>& ring) {
    const int s = international ? Nav518Next : Nav490Next;
    std::vector<Lines>& messages = international ? nav518 : nav490;
    std::vector<uint32_t>& times = international ? nav518Times : nav490Times;
    messages.clear();
    times.clear();
    if (s < 0 || s > RingBlocks - 1) return false;

    bool ok = true;
    int i = s == 0 ? RingBlocks - 1 : s - 1;
    while (i != s) {
        // A probe past the end of a short file comes back short.
        if (static_cast<size_t>(i) * BlockSize + 4 > ring.size()) {
            ok = false;
            break;
        }
        const uint32_t word = le::U32(&ring[static_cast<size_t>(i) * BlockSize]);
        if (word == ErasedWord) break;
        if (word == HeaderSignature && !ReadMessage(ring, i, messages, times)) break;
        i = i == 0 ? RingBlocks - 1 : i - 1;
    }
    return ok;
}

bool TZel2d::ReadMessage(const std::vector<uint8_t>& ring, int block, std::vector<Lines>& messages,
                         std::vector<uint32_t>& times) {
    const auto whole = [&ring](int b) {
        return static_cast<size_t>(b + 1) * BlockSize <= ring.size()
                   ? &ring[static_cast<size_t>(b) * BlockSize]
                   : nullptr;
    };
    const uint8_t* data = whole(block);
    if (!data) return false;
    const uint32_t length = le::U32(data + 4);
    const uint32_t timestamp = le::U32(data + 8);
    if (timestamp + MaxMessageAge < ReceiverTime) return false;
    if (length > 8192 || length < 4) return false;

    messages.emplace_back();
    times.push_back(timestamp);
    Lines& lines = messages.back();
    std::string current;
    uint32_t c = std::min<uint32_t>(length, 239);
    AppendText(data + 17, c, lines, current);
    uint32_t rest = length - c;
    while (rest > 0) {
        block = (block + 1) % RingBlocks;
        data = whole(block);
        if (!data) return false;
        if (le::U32(data) != ContinuationSignature) return false;
        c = std::min<uint32_t>(rest, 252);
        AppendText(data + 4, c, lines, current);
        rest -= c;
    }
    if (!current.empty()) lines.push_back(current);
    return true;
}
