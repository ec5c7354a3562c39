#pragma once

#include <cstdint>
#include <span>

// Firmware and data image of family BX (ZEL2X, ZEL2BX), French edition.
namespace zel2bx_fra_BootData {
std::span<const uint8_t> Firmware();  // 65,536 bytes
std::span<const uint8_t> Data();      // 131,072 bytes
}  // namespace zel2bx_fra_BootData
