// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// What tests need of the system beyond the platform layer: environment variables, faults
// that only some systems can inject, and special files. Where a system cannot do a thing,
// the helper says so and the test skips with that reason; a skip never counts as a pass.
namespace testing_support {

// Sets an environment variable for the life of the object and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();

private:
    std::string name;
    std::string old;
    bool hadOld;
};

// Limits the size of files this process writes, as a full disk would, until destroyed.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    // Empty where the limit works; otherwise why it cannot be set here.
    static std::string Unsupported();

private:
    unsigned long oldSoft = 0, oldHard = 0;
    void (*oldHandler)(int) = nullptr;
};

// A named pipe at path, and a link at path to a device that never ends; false when the
// system has none in its folders.
bool MakeNamedPipe(const std::string& path);
bool MakeLinkToEndlessDevice(const std::string& path, bool zero = true);
// A link to a path that does not exist.
bool MakeDanglingLink(const std::string& path, const std::string& target);
std::string NoSpecialFilesReason();

// Whether this process reads any file whatever its rights say.
bool ReadsEverything();
// Takes read rights away; false where the system cannot.
bool MakeUnreadable(const std::string& path);

// A file system of the given size mounted at folder (a tmpfs); false where it cannot be.
bool MountSmallFileSystem(const std::string& folder, unsigned long bytes);
void Unmount(const std::string& folder);

// The program that limits a child's file sizes ("prlimit"), or empty where there is none.
std::string FileSizeLimiter();

}  // namespace testing_support
