// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/Process.h"

namespace app {

// The name of the running Windows version by its numbers, "Unbekannt" outside the table.
// Systems that are not Windows at all (platform id 0) show their own name.
std::string OsName(const platform::OsVersion& version);

}  // namespace app
