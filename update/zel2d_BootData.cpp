#include "update/zel2d_BootData.h"

#include "update/IncBin.h"

ZEL2_INCBIN(zel2d_firmware, "zel2d_firmware.bin")

namespace zel2d_BootData {
std::span<const uint8_t> Firmware() { return ZEL2_INCBIN_SPAN(zel2d_firmware); }
}  // namespace zel2d_BootData
