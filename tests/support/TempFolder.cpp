#include "support/TempFolder.h"

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testing_support {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zel2test.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path = pattern;
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

ScopedEnv::ScopedEnv(const char* n, const std::string& value) : name(n) {
    const char* current = std::getenv(n);
    hadOld = current != nullptr;
    if (hadOld) old = current;
    ::setenv(n, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (hadOld)
        ::setenv(name.c_str(), old.c_str(), 1);
    else
        ::unsetenv(name.c_str());
}

FileSizeLimit::FileSizeLimit(unsigned long bytes) {
    rlimit current{};
    ::getrlimit(RLIMIT_FSIZE, &current);
    oldSoft = current.rlim_cur;
    oldHard = current.rlim_max;
    oldHandler = std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
    current.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &current);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit restored{oldSoft, oldHard};
    ::setrlimit(RLIMIT_FSIZE, &restored);
    std::signal(SIGXFSZ, oldHandler);
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
