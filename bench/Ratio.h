// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

// Each figure is a ratio of a step of the program to a baseline measured in the same run,
// so the figures hold on a slow or a busy machine alike.
namespace bench {

// The best of five timed runs after a warm-up, in seconds; prepare runs untimed first.
template <class Step, class Prepare>
double BestOf(Step&& step, Prepare&& prepare, int repeats = 5) {
    prepare();
    step();  // warm-up: caches, first allocations
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < repeats; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        step();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

template <class Step>
double BestOf(Step&& step, int repeats = 5) {
    return BestOf(step, [] {}, repeats);
}

struct Figure {
    std::string name;
    double value;
    double goal;
    std::string detail;
};

// Prints one line per figure and tells whether every figure met its goal.
inline int Report(const std::vector<Figure>& figures) {
    int missed = 0;
    for (const Figure& f : figures) {
        std::printf("RATIO %s %.3f goal <= %g\n", f.name.c_str(), f.value, f.goal);
        if (!f.detail.empty()) std::fprintf(stderr, "  %s: %s\n", f.name.c_str(), f.detail.c_str());
        if (!(f.value <= f.goal)) ++missed;
    }
    std::fflush(stdout);
    return missed == 0 ? 0 : 1;
}

inline std::string Millis(double seconds) { return std::to_string(seconds * 1000.0) + " ms"; }

}  // namespace bench
