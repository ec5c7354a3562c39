// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace settings {

// The altitude typed into the configuration dialog: a whole number limited to 0..750;
// anything else counts as 0.
int32_t ParseBaroHeight(const std::string& text);

}  // namespace settings
