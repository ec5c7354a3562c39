#include "update/zel2b_fra_BootData.h"

#include "update/IncBin.h"

ZEL2_INCBIN(zel2b_fra_firmware, "zel2b_fra_firmware.bin")
ZEL2_INCBIN(zel2b_fra_data, "zel2b_fra_data.bin")

namespace zel2b_fra_BootData {
std::span<const uint8_t> Firmware() { return ZEL2_INCBIN_SPAN(zel2b_fra_firmware); }
std::span<const uint8_t> Data() { return ZEL2_INCBIN_SPAN(zel2b_fra_data); }
}  // namespace zel2b_fra_BootData
