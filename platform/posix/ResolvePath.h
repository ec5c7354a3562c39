// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace platform {

// The path as it exists on disk, each missing component looked up ignoring case.
std::string ResolveCaseInsensitive(const std::string& path);

}  // namespace platform
