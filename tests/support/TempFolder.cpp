// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TempFolder.h"

#include "platform/Files.h"
#include "platform/Process.h"
#include "support/ChildProcess.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace testing_support {

TempFolder::TempFolder() {
    static std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            std::filesystem::temp_directory_path() / ("zel2test." + std::to_string(random() % 100000000));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path = Native(candidate.generic_string());
            return;
        }
    }
    throw std::runtime_error("no temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Read-only files and folders made by a test must not keep the folder alive.
    for (auto it = std::filesystem::recursive_directory_iterator(path, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path, ignored);
}

std::string TempFolder::MakeFolder(const std::string& name) const {
    std::filesystem::create_directories(*this / name);
    return *this / name;
}

void TempFolder::WriteFile(const std::string& name, const std::string& content) const {
    WriteFileAt(*this / name, content);
}

void TempFolder::WriteFileAt(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

void TempFolder::WriteFile(const std::string& name, const std::vector<unsigned char>& content) const {
    WriteFile(name, std::string(content.begin(), content.end()));
}

std::string Native(std::string path) {
    if (platform::PathSeparator() != '/')
        for (char& c : path)
            if (c == '/') c = platform::PathSeparator();
    return path;
}

std::string Helper(const char* fileName) {
    return platform::ExecutableFolder() + fileName;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string DriveLine(char letter, const std::string& type, const std::string& label, const std::string& root,
                      const std::string& raw) {
    return std::string(1, letter) + "\t" + type + "\t" + label + "\t" + root + "\t" + raw + "\n";
}

}  // namespace testing_support
