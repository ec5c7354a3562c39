// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/DriveMapFile.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/Files.h"

namespace sim {
namespace {

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

char LetterOf(const std::string& line) {
    if (line.empty() || line[0] == '#') return 0;
    char c = line[0];
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    return platform::WriteFileAtomic(path, text.data(), text.size());
}

}  // namespace

bool AttachDrive(const std::string& mapPath, char letter, const std::string& type, const std::string& label,
                 const std::string& root, const std::string& raw) {
    letter = Upper(letter);
    std::vector<std::string> lines;
    for (const std::string& l : ReadLines(mapPath))
        if (LetterOf(l) != letter) lines.push_back(l);
    lines.push_back(std::string(1, letter) + "\t" + type + "\t" + label + "\t" + root + "\t" + raw);
    return WriteLines(mapPath, lines);
}

bool DetachDrive(const std::string& mapPath, char letter) {
    letter = Upper(letter);
    std::vector<std::string> lines;
    bool found = false;
    for (const std::string& l : ReadLines(mapPath)) {
        if (LetterOf(l) == letter)
            found = true;
        else
            lines.push_back(l);
    }
    return WriteLines(mapPath, lines) && found;
}

bool MoveDrive(const std::string& mapPath, char from, char to) {
    from = Upper(from);
    to = Upper(to);
    std::vector<std::string> lines;
    bool found = false;
    for (std::string l : ReadLines(mapPath)) {
        if (LetterOf(l) == to) continue;
        if (LetterOf(l) == from) {
            l[0] = to;
            found = true;
        }
        lines.push_back(l);
    }
    return found && WriteLines(mapPath, lines);
}

}  // namespace sim
