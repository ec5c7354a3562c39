// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// SHA-256 of the bytes as 64 lower-case hex digits, from the system's crypto library;
// empty when the library fails.
std::string Sha256Hex(const void* data, size_t size);

}  // namespace platform
