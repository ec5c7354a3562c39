// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "acquisition/AcquisitionState.h"

// Mirrors the receiver's messages into the archive: each transfer empties the archive's
// INTERNAT and NATIONAL folders and fills them again.
namespace acquisition {

// Creates the two band folders when missing and deletes every file in them (read-only ones too).
void EmptyArchive(const std::string& archiveRoot);

// File models: copies the receiver's message files, keeping their names and times. The
// archive changes only when the whole copy succeeded; false (archive as it was) otherwise.
bool CopyMessageFiles(const std::string& driveRoot, const std::string& archiveRoot, TAcquisitionState& state);
// At start, before the archive is read: completes a whole copy a kill interrupted while it
// replaced the archive, and removes an unfinished one.
void RecoverTransfer(const std::string& archiveRoot);

// ZEL2D: brings the archive to both rings (see TModelDMirror), fills the recent identifiers
// and asks for a tree rebuild when the newest message of a band changed.
void WriteModelDMessages(const std::string& driveRoot, const std::string& archiveRoot,
                         TAcquisitionState& state);

// All three file times := the receiver time (seconds since 2008-01-01 00:00 local).
bool SetMessageFileTime(const std::string& path, uint32_t seconds);

// The 4-character identifier of a ZEL2D message from its first line (characters 6 to 9),
// made safe for a file name: anything but a letter or digit becomes '_', and a short line
// is padded with '_', so the file always lands in its band folder.
std::string ModelDIdentifier(const std::vector<std::string>& lines);

}  // namespace acquisition
