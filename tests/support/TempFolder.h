// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "support/System.h"

namespace testing_support {

// The path with the system's own separators ("/" written in a test becomes "\\" on Windows).
std::string Native(std::string path);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path; }
    // Path of a name below the folder ("a/b.bin"), with the system's separators.
    std::string operator/(const std::string& name) const { return Native(path + "/" + name); }
    std::string MakeFolder(const std::string& name) const;
    void WriteFile(const std::string& name, const std::string& content) const;
    void WriteFile(const std::string& name, const std::vector<unsigned char>& content) const;
    // Writes a file at a full path, its folders made as needed.
    static void WriteFileAt(const std::string& path, const std::string& content);

private:
    std::string path;
};

// The whole file as bytes in a string, or "<missing>" when it cannot be read.
std::string ReadText(const std::string& path);

// Drive map lines for tests: letter, type, label, root, raw.
std::string DriveLine(char letter, const std::string& type, const std::string& label, const std::string& root,
                      const std::string& raw = {});

}  // namespace testing_support
