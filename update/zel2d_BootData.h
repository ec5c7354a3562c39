#pragma once

#include <cstdint>
#include <span>

// Firmware image of the ZEL2D; it has no data image and no language editions.
namespace zel2d_BootData {
std::span<const uint8_t> Firmware();  // 65,536 bytes
}  // namespace zel2d_BootData
