#include "update/LoaderBlocks.h"

#include "receiver/LittleEndian.h"
#include "update/IncBin.h"

ZEL2_INCBIN(zel2_loader_new, "loader_new.bin")
ZEL2_INCBIN(zel2_loader_old, "loader_old.bin")
ZEL2_INCBIN(zel2_loader_d, "loader_d.bin")
ZEL2_INCBIN(zel2_preambles, "preambles.bin")

namespace loader {
namespace {

TPreamble Preamble(int which) {
    TPreamble p{};
    const std::span<const uint8_t> all = ZEL2_INCBIN_SPAN(zel2_preambles);
    for (size_t i = 0; i < p.size(); ++i) p[i] = le::U16(&all[static_cast<size_t>(which) * 32 + 2 * i]);
    return p;
}

}  // namespace

std::span<const uint8_t> NewMethod() { return ZEL2_INCBIN_SPAN(zel2_loader_new); }
std::span<const uint8_t> OldMethod() { return ZEL2_INCBIN_SPAN(zel2_loader_old); }
std::span<const uint8_t> ModelD() { return ZEL2_INCBIN_SPAN(zel2_loader_d); }

TPreamble ModelDPreamble() { return Preamble(0); }
TPreamble NewMethodPreamble() { return Preamble(1); }
TPreamble OldMethodPreamble() { return Preamble(2); }

}  // namespace loader
