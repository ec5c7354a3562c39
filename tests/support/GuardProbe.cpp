// Takes the single-instance guard and reports: "acquired" (then holds it until its
// standard input closes) or "refused".
#include <cstdio>

#include "app/UnitDoubleStart.h"

int main() {
    if (!app::AcquireDoubleStartGuard()) {
        std::puts("refused");
        return 3;
    }
    std::puts("acquired");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    app::ReleaseDoubleStartGuard();
    return 0;
}
