#pragma once

#include <string>
#include <vector>

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path; }
    // Path of a name below the folder ("a/b.bin").
    std::string operator/(const std::string& name) const { return path + "/" + name; }
    std::string MakeFolder(const std::string& name) const;
    void WriteFile(const std::string& name, const std::string& content) const;
    void WriteFile(const std::string& name, const std::vector<unsigned char>& content) const;
    // Writes a file at a full path, its folders made as needed.
    static void WriteFileAt(const std::string& path, const std::string& content);

private:
    std::string path;
};

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

private:
    unsigned long oldSoft, oldHard;
    void (*oldHandler)(int);
};

// The whole file as bytes in a string, or "<missing>" when it cannot be read.
std::string ReadText(const std::string& path);

// Drive map lines for tests: letter, type, label, root, raw.
std::string DriveLine(char letter, const std::string& type, const std::string& label, const std::string& root,
                      const std::string& raw = {});

}  // namespace testing_support
