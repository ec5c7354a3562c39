// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace platform {

// The first address the system's resolver gives for host, as text ("192.0.2.7", "fe80::1"),
// or empty when it has none. Blocks for as long as the resolver takes (a DNS server that
// never answers: many seconds), so never call it on the window's thread.
std::string ResolveHostAddress(const std::string& host);

}  // namespace platform
