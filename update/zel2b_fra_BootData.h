#pragma once

#include <cstdint>
#include <span>

// Firmware and data image of family B (ZEL2, ZEL2B), French edition.
namespace zel2b_fra_BootData {
std::span<const uint8_t> Firmware();  // 65,536 bytes
std::span<const uint8_t> Data();      // 131,072 bytes
}  // namespace zel2b_fra_BootData
