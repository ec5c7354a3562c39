// SPDX-License-Identifier: GPL-3.0-or-later
// A firmware package's MANIFEST.TXT beside the files of a simulator package (made by the
// seed script): any manifest reads without fault, and one that is accepted names files of
// the sizes it states and preambles that fit their targets.
#include <filesystem>

#include "fuzz/FuzzSupport.h"
#include "update/FirmwarePackage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The images the manifests may name: ZEL2_FUZZ_PACKAGE, copied once.
    static const std::string folder = [] {
        const std::string f = fuzz::Fresh("package");
        if (const char* source = std::getenv("ZEL2_FUZZ_PACKAGE"))
            for (const auto& e : std::filesystem::directory_iterator(source))
                if (e.path().filename() != update::ManifestName)
                    std::filesystem::copy(e.path(), f + e.path().filename().string());
        return f;
    }();
    fuzz::Write(folder + update::ManifestName, std::string(reinterpret_cast<const char*>(data), size));
    std::string problem;
    const auto package = update::LoadFirmwarePackage(folder, problem);
    if (!package) {
        FUZZ_CHECK(!problem.empty());
        return 0;
    }
    FUZZ_CHECK(package->family == "B" || package->family == "BX" || package->family == "D");
    for (const auto* image :
         {&package->firmware, &package->data, &package->loaderNew, &package->loaderOld, &package->loaderD})
        FUZZ_CHECK(image->size() <= (size_t{64} << 20));
    FUZZ_CHECK(update::PreambleFits(package->preambleD, update::ModelDTargetSectors));
    FUZZ_CHECK(update::PreambleFits(package->preambleNew, update::NewTargetSectors));
    return 0;
}
