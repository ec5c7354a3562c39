#include "platform/Files.h"

namespace platform {

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& data) {
    ReadOnlyFile file;
    if (!file.Open(path)) return false;
    data.clear();
    uint8_t buffer[65536];
    for (;;) {
        long long n = file.Read(buffer, sizeof buffer);
        if (n < 0) return false;
        if (n == 0) break;
        data.insert(data.end(), buffer, buffer + n);
    }
    return true;
}

}  // namespace platform
