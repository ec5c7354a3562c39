// SPDX-License-Identifier: GPL-3.0-or-later
// A ZEL2D's four files, half-written or foreign: SYSTEM.BIN, BARO.BIN, NAV518.BIN and
// NAV490.BIN read without fault; a ring never yields more messages than its blocks, and
// every message's time and lines can be asked for.
#include "fuzz/FuzzSupport.h"
#include "receiver/TZel2d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = fuzz::Parts(data, size, 4);
    const std::string drive = fuzz::Fresh("zel2d");
    const char* names[] = {"SYSTEM.BIN", "BARO.BIN", "NAV518.BIN", "NAV490.BIN"};
    for (size_t i = 0; i < parts.size(); ++i) fuzz::Write(drive + names[i], parts[i]);
    TZel2d receiver(drive);
    receiver.ReadSystem();
    receiver.ReadBarograph();
    receiver.ReadNav518();
    receiver.ReadNav490();
    const auto blocks = [](const std::string& ring) { return static_cast<int>(ring.size() / 256 + 1); };
    FUZZ_CHECK(receiver.Nav518Count() <= blocks(parts[2]));
    FUZZ_CHECK(receiver.Nav490Count() <= blocks(parts[3]));
    for (int i = 0; i < receiver.Nav518Count(); ++i) {
        FUZZ_CHECK(receiver.Nav518Lines(i) != nullptr);
        receiver.Nav518Time(i);
    }
    for (int i = 0; i < receiver.Nav490Count(); ++i) FUZZ_CHECK(receiver.Nav490Lines(i) != nullptr);
    const int samples = receiver.BaroCount();
    for (int i = 0; i < samples && i < 20000; ++i) receiver.BaroValue(i);
    receiver.Pressure();
    receiver.Tendency();
    return 0;
}
