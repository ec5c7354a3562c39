#pragma once

#include <array>
#include <cstdint>
#include <span>

// The loader blocks of the three transfer methods and the access codes of the receiver's
// update mode: 16 sector indices read before each command.
namespace loader {

std::span<const uint8_t> NewMethod();  // 1,728 bytes
std::span<const uint8_t> OldMethod();  // 1,736 bytes
std::span<const uint8_t> ModelD();     // 1,596 bytes

using TPreamble = std::array<uint16_t, 16>;
TPreamble ModelDPreamble();
TPreamble NewMethodPreamble();
TPreamble OldMethodPreamble();

}  // namespace loader
