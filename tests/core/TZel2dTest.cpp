// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "receiver/TZel2d.h"
#include "support/TempFolder.h"

using testing_support::TempFolder;

namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, size_t at, int v) {
    b[at] = static_cast<unsigned char>(v & 0xFF);
    b[at + 1] = static_cast<unsigned char>((v >> 8) & 0xFF);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// A ZEL2D volume written from the layouts, one field at a time.
class Zel2dVolume {
public:
    Zel2dVolume() : system(776, 0), baro(65536, 0xFF), nav518(262144, 0xFF), nav490(262144, 0xFF) {
        Put32(system, 0, 500000000);  // receiver clock
        Put32(system, 4, 3650);
        system[8] = 2;
        system[9] = 1, system[10] = 2, system[11] = 1;
        for (int i = 0; i < 12; ++i) system[12 + i] = static_cast<unsigned char>("D20190600211"[i]);
        Put16(system, 24, 1325);
        Put16(system, 26, -15);
        Put16(system, 28, 0);
        Put16(system, 30, 0);
        Put16(system, 32, 172);
    }
    std::string Root() const { return temp.Path() + "/"; }
    void Write(bool withBaro = true) {
        temp.WriteFile("SYSTEM.BIN", system);
        if (withBaro) temp.WriteFile("BARO.BIN", baro);
        temp.WriteFile("NAV518.BIN", nav518);
        temp.WriteFile("NAV490.BIN", nav490);
    }
    void SetCount(int count, int oldest) {
        Put16(system, 768, count);
        system[770] = static_cast<unsigned char>(oldest);
    }
    // Writes a message at block `first`, header plus continuations; returns the next block.
    int Message(Bytes& ring, int first, const std::string& text, uint32_t timestamp, uint32_t length = 0) {
        if (length == 0) length = static_cast<uint32_t>(text.size());
        size_t at = static_cast<size_t>(first) * 256;
        Put32(ring, at, 0x18F96C3B);
        Put32(ring, at + 4, length);
        Put32(ring, at + 8, timestamp);
        size_t done = std::min<size_t>(239, text.size());
        std::copy(text.begin(), text.begin() + static_cast<long>(done),
                  ring.begin() + static_cast<long>(at + 17));
        int block = (first + 1) % 1024;
        while (done < text.size()) {
            at = static_cast<size_t>(block) * 256;
            Put32(ring, at, 0x18F96C3C);
            const size_t n = std::min<size_t>(252, text.size() - done);
            std::copy(text.begin() + static_cast<long>(done), text.begin() + static_cast<long>(done + n),
                      ring.begin() + static_cast<long>(at + 4));
            done += n;
            block = (block + 1) % 1024;
        }
        return block;
    }
    void SetNext518(int next) { Put16(system, 42, next); }

    TempFolder temp;
    Bytes system, baro, nav518, nav490;
};

TEST(TZel2d, ReadSystemFillsTheHeadAndFailsOnShortOrMissingFiles) {
    Zel2dVolume v;
    v.Write();
    TZel2d d(v.Root());
    ASSERT_TRUE(d.ReadSystem());
    EXPECT_EQ(d.ReceiverTime, 500000000u);
    EXPECT_EQ(d.Battery, 3650u);
    EXPECT_EQ(d.State, 2);
    EXPECT_EQ(d.FirmwareVersion(), (std::array<uint8_t, 3>{1, 2, 1}));
    const auto serial = d.SerialNumber();
    EXPECT_EQ(std::string(serial.begin(), serial.end()), "D20190600211");
    EXPECT_DOUBLE_EQ(d.Pressure(), 1013.2);
    EXPECT_DOUBLE_EQ(d.Tendency(), -1.5);
    EXPECT_DOUBLE_EQ(d.Temperature(), 17.2);

    v.temp.WriteFile("SYSTEM.BIN", Bytes(v.system.begin(), v.system.begin() + 45));
    TZel2d shortHead(v.Root());
    EXPECT_FALSE(shortHead.ReadSystem());
    EXPECT_FALSE(shortHead.ReadNav518());

    TempFolder empty;
    TZel2d none(empty.Path() + "/");
    EXPECT_FALSE(none.ReadSystem());
    EXPECT_FALSE(none.ReadBarograph());
    EXPECT_EQ(none.Battery, 0u);
}

TEST(TZel2d, TendencyWithoutValueAndTheAltitudeTable) {
    Zel2dVolume v;
    Put16(v.system, 26, -32768);
    v.Write();
    TZel2d d(v.Root());
    ASSERT_TRUE(d.ReadSystem());
    EXPECT_EQ(d.Tendency(), -32768.0);

    EXPECT_EQ(TZel2d::AltitudeFactor[0], 10000);
    EXPECT_EQ(TZel2d::AltitudeFactor[1], 10006);
    EXPECT_EQ(TZel2d::AltitudeFactor[51], 10304);
    EXPECT_EQ(TZel2d::AltitudeFactor[52], 10311);
    EXPECT_EQ(TZel2d::AltitudeFactor[150], 10917);
    EXPECT_EQ(TZel2d::AltitudeFactor[199], 11231);
    EXPECT_EQ(TZel2d::AltitudeFactor[200], 11237);
    for (size_t k = 1; k < TZel2d::AltitudeFactor.size(); ++k)
        EXPECT_GT(TZel2d::AltitudeFactor[k], TZel2d::AltitudeFactor[k - 1]) << k;

    // 101325 Pa reduced with entry 0, 0, 1 and 200.
    const struct {
        int altitude;
        double expected;
    } cases[] = {{4, 1013.2}, {0, 1013.2}, {5, 1013.8}, {1500, 1138.5}, {1000, 1138.5}};
    for (const auto& c : cases) {
        d.Altitude = static_cast<uint16_t>(c.altitude);
        EXPECT_DOUBLE_EQ(d.SeaLevel(1325), c.expected) << c.altitude;
    }
    d.Altitude = 0;
    d.PressureOffset = -25;  // -250 Pa
    EXPECT_DOUBLE_EQ(d.SeaLevel(1325), 1010.7);
}

TEST(TZel2d, BarographSampleCountsFromTheCurrentBlockAndTheRing) {
    const struct {
        int count, oldest;
        bool baroFile;
    } cases[] = {{0, 0, false}, {1, 0, false}, {128, 9, false}, {129, 9, true}, {12000, 255, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        Zel2dVolume v;
        v.SetCount(c.count, c.oldest);
        for (int i = 0; i < 128; ++i) Put16(v.system, 512 + 2 * i, 20000 + i);
        for (int block = 0; block < 256; ++block)
            for (int i = 0; i < 128; ++i) Put16(v.baro, block * 256 + 2 * i, block * 100 + (i % 100) - 20000);
        v.Write(c.baroFile);
        TZel2d d(v.Root());
        EXPECT_TRUE(d.ReadBarograph());
        EXPECT_EQ(d.BaroCount(), std::min(c.count, 10239));
        if (c.count == 0) {
            EXPECT_EQ(d.BaroValue(0), 0.0);
            continue;
        }
        const int full = (c.count - 1) / 128;
        // The last sample is CurrentBlock[tail]; before it the full blocks from OldestBlock on.
        EXPECT_EQ(d.Samples[static_cast<size_t>(c.count - 1)], 20000 + (c.count - 1) % 128);
        if (full > 0) {
            EXPECT_EQ(d.Samples[0], c.oldest * 100 - 20000);
        }
        if (full > 1) {
            EXPECT_EQ(d.Samples[128], ((c.oldest + 1) % 256) * 100 - 20000) << "the ring wraps after 255";
        }
    }
}

TEST(TZel2d, BaroValueOffersOnlyTheNewest10239) {
    Zel2dVolume v;
    v.SetCount(12000, 3);
    v.Write();
    TZel2d d(v.Root());
    ASSERT_TRUE(d.ReadBarograph());
    d.Samples[1760] = -500;
    d.Samples[1761] = 1325;
    d.Samples[11999] = 1000;
    EXPECT_DOUBLE_EQ(d.BaroValue(0), 1013.2);
    EXPECT_DOUBLE_EQ(d.BaroValue(10238), 1010.0);
    EXPECT_EQ(d.BaroValue(10239), 0.0);
    EXPECT_EQ(d.BaroValue(-1), 0.0);
}

TEST(TZel2d, OversizedSampleCountStaysInsideTheRingAndTheBuffer) {
    Zel2dVolume v;
    v.SetCount(65535, 17);  // would need 511 full blocks: the ring has 256
    for (int i = 0; i < 128; ++i) Put16(v.system, 512 + 2 * i, 1000 + i);
    for (int i = 0; i < 128; ++i) Put16(v.baro, 16 * 256 + 2 * i, 500);  // block 16 is read last
    v.Write();
    TZel2d d(v.Root());
    EXPECT_TRUE(d.ReadBarograph());
    EXPECT_EQ(d.BaroCount(), 10239);
    // All 256 ring blocks, then the whole current block: 32,896 samples, newest last.
    EXPECT_EQ(d.Samples[255 * 128], 500);
    EXPECT_EQ(d.Samples[256 * 128 + 127], 1127);
    EXPECT_EQ(d.Samples[256 * 128 + 128], 0) << "nothing written past the samples the receiver has";
    EXPECT_DOUBLE_EQ(d.BaroValue(10238), d.SeaLevel(1127));
    EXPECT_DOUBLE_EQ(d.BaroValue(10238 - 128), d.SeaLevel(500));
}

TEST(TZel2d, ShortBarographAreaOrMissingRingFails) {
    Zel2dVolume v;
    v.SetCount(300, 0);
    v.Write(false);
    TZel2d noRing(v.Root());
    EXPECT_FALSE(noRing.ReadBarograph()) << "BARO.BIN is needed for 300 samples";

    v.temp.WriteFile("BARO.BIN", v.baro);
    v.temp.WriteFile("SYSTEM.BIN", Bytes(v.system.begin(), v.system.begin() + 700));
    TZel2d shortArea(v.Root());
    EXPECT_FALSE(shortArea.ReadBarograph());
    EXPECT_EQ(shortArea.Battery, 3650u) << "the head was still read";
}

TEST(TZel2d, MessageRingIsReadNewestFirstWithLinesSplitOnLineFeed) {
    Zel2dVolume v;
    const uint32_t now = 500000000;
    int next = v.Message(v.nav518, 10, "ZCZC FA12\nA\n\nB\n", now - 100);
    next = v.Message(v.nav518, next, "ZCZC GB05\r\nC\r\nNNNN", now - 50);
    v.SetNext518(next);
    v.Write();
    TZel2d d(v.Root());
    ASSERT_TRUE(d.ReadNav518());
    ASSERT_EQ(d.Nav518Count(), 2);
    EXPECT_EQ(d.Nav518Time(0), now - 50);
    EXPECT_EQ(*d.Nav518Lines(0), (TZel2d::Lines{"ZCZC GB05\r", "C\r", "NNNN"}));
    EXPECT_EQ(*d.Nav518Lines(1), (TZel2d::Lines{"ZCZC FA12", "A", "", "B"}));
    EXPECT_EQ(d.Nav518Lines(2), nullptr);
    EXPECT_EQ(d.Nav518Time(-1), 0u);

    ASSERT_TRUE(d.ReadNav518());
    EXPECT_EQ(d.Nav518Count(), 2) << "a second read starts from scratch";
    EXPECT_TRUE(d.ReadNav490());
    EXPECT_EQ(d.Nav490Count(), 0) << "Nav490Next 0 on an erased ring";
}

TEST(TZel2d, LengthBoundsAndContinuationBlocks) {
    const struct {
        uint32_t length;
        int blocks;  // header + continuations
    } cases[] = {{239, 1}, {240, 2}, {8192, 33}};
    for (const auto& c : cases) {
        Zel2dVolume v;
        std::string text(c.length, 'x');
        text[c.length - 1] = 'E';
        const int next = v.Message(v.nav518, 100, text, 500000000);
        EXPECT_EQ(next, 100 + c.blocks) << c.length;
        v.SetNext518(next);
        v.Write();
        TZel2d d(v.Root());
        ASSERT_TRUE(d.ReadNav518());
        ASSERT_EQ(d.Nav518Count(), 1) << c.length;
        EXPECT_EQ(d.Nav518Lines(0)->at(0).size(), c.length);
    }
    for (uint32_t bad : {3u, 8193u}) {
        Zel2dVolume v;
        int next = v.Message(v.nav518, 0, "ZCZC OLD1\nX\n", 500000000 - 10);
        next = v.Message(v.nav518, next, "ZCZC BAD1\nY\n", 500000000 - 5, bad);
        next = v.Message(v.nav518, next, "ZCZC NEW1\nZ\n", 500000000);
        v.SetNext518(next);
        v.Write();
        TZel2d d(v.Root());
        EXPECT_TRUE(d.ReadNav518()) << "a bad record ends the scan, not the read";
        ASSERT_EQ(d.Nav518Count(), 1) << bad;
        EXPECT_EQ(d.Nav518Lines(0)->at(0), "ZCZC NEW1");
    }
}

TEST(TZel2d, TwoDayAgeLimitRingPositionsAndWrapAround) {
    Zel2dVolume v;
    const uint32_t now = 500000000;
    int next = v.Message(v.nav518, 1021, "ZCZC TOO1\n", now - 172801);
    next = v.Message(v.nav518, next, "ZCZC EDGE\n", now - 172800);
    next = v.Message(v.nav518, next, std::string("ZCZC WRAP\n") + std::string(300, 'w'), now);
    EXPECT_EQ(next, 1);
    v.SetNext518(next);
    v.Write();
    TZel2d d(v.Root());
    ASSERT_TRUE(d.ReadNav518());
    ASSERT_EQ(d.Nav518Count(), 2);
    EXPECT_EQ(d.Nav518Lines(0)->at(0), "ZCZC WRAP");
    EXPECT_EQ(d.Nav518Lines(0)->at(1).size(), 300u) << "continued across block 1023 to 0";
    EXPECT_EQ(d.Nav518Lines(1)->at(0), "ZCZC EDGE");

    for (int bad : {1024, -1}) {
        v.SetNext518(bad);
        v.Write();
        TZel2d out(v.Root());
        EXPECT_FALSE(out.ReadNav518()) << bad;
        EXPECT_EQ(out.Nav518Count(), 0);
    }
}

TEST(TZel2d, FullRingWithoutErasedBlockAndADamagedContinuation) {
    Zel2dVolume v;
    const uint32_t now = 500000000;
    // Fill every block with one-block messages: the scan visits all but Nav518Next.
    for (int b = 0; b < 1024; ++b) v.Message(v.nav518, b, "ZCZC FULL\n", now);
    v.SetNext518(0);
    v.Write();
    TZel2d full(v.Root());
    ASSERT_TRUE(full.ReadNav518());
    EXPECT_EQ(full.Nav518Count(), 1023);

    Zel2dVolume w;
    int next = w.Message(w.nav518, 0, "ZCZC GOOD\n", now);
    next = w.Message(w.nav518, next, std::string("ZCZC HALF\nfirst line\n") + std::string(300, 'h'), now);
    Put32(w.nav518, static_cast<size_t>(next - 1) * 256, 0x12345678);  // continuation damaged
    next = w.Message(w.nav518, next, "ZCZC NEWS\n", now);
    w.SetNext518(next);
    w.Write();
    TZel2d d(w.Root());
    ASSERT_TRUE(d.ReadNav518());
    ASSERT_EQ(d.Nav518Count(), 2) << "the scan ends at the damaged message, which stays";
    EXPECT_EQ(*d.Nav518Lines(1), (TZel2d::Lines{"ZCZC HALF", "first line"}))
        << "its unfinished line is dropped";
}

TEST(TZel2d, TruncatedRingFileFailsTheProbe) {
    Zel2dVolume v;
    v.SetNext518(500);
    v.Write();
    v.temp.WriteFile("NAV518.BIN", Bytes(1000, 0xFF));
    TZel2d d(v.Root());
    EXPECT_FALSE(d.ReadNav518());
}

}  // namespace
