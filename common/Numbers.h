// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace text {

// printf's "%<width>.1f" with the given decimal separator, whatever the C locale is.
std::string FormatOneDecimal(double value, int width, char decimalSeparator);

}  // namespace text
