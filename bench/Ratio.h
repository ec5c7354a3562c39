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

// A step against its baseline, run in turn pairs times after a warm-up of each, so that
// both see the machine in the same moods; the figure is the median of the pairs' ratios,
// which a run or two disturbed by the machine does not move.
struct Paired {
    double ratio = 0, low = 0, high = 0;  // the median ratio, the lowest and the highest
    double step = 0, baseline = 0;        // their medians, in seconds
    std::string Spread() const {
        char text[96];
        std::snprintf(text, sizeof text, "ratios %.3f..%.3f over the pairs", low, high);
        return text;
    }
};

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The figure of paired runs: the step's time and the baseline's of each pair.
inline Paired FromPairs(const std::vector<double>& steps, const std::vector<double>& baselines) {
    std::vector<double> ratios;
    for (size_t i = 0; i < steps.size() && i < baselines.size(); ++i)
        ratios.push_back(steps[i] / baselines[i]);
    Paired p;
    if (ratios.empty()) return p;
    p.ratio = Median(ratios);
    p.low = *std::min_element(ratios.begin(), ratios.end());
    p.high = *std::max_element(ratios.begin(), ratios.end());
    p.step = Median(steps);
    p.baseline = Median(baselines);
    return p;
}

// prepareStep and prepareBaseline run untimed before each run of their own.
template <class Step, class PrepareStep, class Baseline, class PrepareBaseline>
Paired Interleaved(Step&& step, PrepareStep&& prepareStep, Baseline&& baseline,
                   PrepareBaseline&& prepareBaseline, int pairs = 9) {
    const auto timed = [](auto&& prepare, auto&& work) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    timed(prepareStep, step);
    timed(prepareBaseline, baseline);
    std::vector<double> steps, baselines;
    for (int i = 0; i < pairs; ++i) {
        // Which goes first alternates too: neither always finds the caches the other left.
        double s = 0, b = 0;
        if (i % 2) {
            b = timed(prepareBaseline, baseline);
            s = timed(prepareStep, step);
        } else {
            s = timed(prepareStep, step);
            b = timed(prepareBaseline, baseline);
        }
        steps.push_back(s);
        baselines.push_back(b);
    }
    return FromPairs(steps, baselines);
}

template <class Step, class Baseline>
Paired Interleaved(Step&& step, Baseline&& baseline, int pairs = 9) {
    const auto nothing = [] {};
    return Interleaved(step, nothing, baseline, nothing, pairs);
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
        std::fflush(stdout);
        if (!f.detail.empty()) std::fprintf(stderr, "  %s: %s\n", f.name.c_str(), f.detail.c_str());
        if (!(f.value <= f.goal)) ++missed;
    }
    std::fflush(stdout);
    return missed == 0 ? 0 : 1;
}

inline std::string Millis(double seconds) {
    return std::to_string(seconds * 1000.0) + " ms";
}

}  // namespace bench
