// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

// The program's log, zel2.log in the data folder: what went wrong and why, for a user who
// reports that something stopped. Lines are handed to a thread of its own, so no caller
// ever waits for the disk; the file keeps at most a few hundred KB, the older half dropped.
namespace platform {

inline constexpr const char* LogName = "zel2.log";
inline constexpr size_t LogLimitBytes = 256 * 1024;

// From now on lines go to folder/zel2.log (those logged before are written there too).
void StartLog(const std::string& folder, size_t limitBytes = LogLimitBytes);
// Writes what is still queued and ends the log's thread.
void StopLog();
// One line, the UTC time put in front. Thread-safe; never blocks on the disk. The same text
// again and again is written once with its count.
void Log(const std::string& line);
// Until every line logged so far is written (tests).
void FlushLog();
// The log's file; empty before StartLog.
std::string LogPath();

}  // namespace platform
