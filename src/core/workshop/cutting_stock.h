// The cutting-stock solver behind the cutting plan: lengths as integers, patterns as counts per length.
#pragma once

#include <atomic>
#include <chrono>
#include <vector>

#include "core/workshop/cut_list.h"

namespace tablix::cutting {

// One distinct piece length; `size` adds the kerf each cut takes.
struct Item {
    CutLength length = 0;
    CutLength size = 0;
    long long demand = 0;
};

using Pattern = std::vector<long long>; // pieces of each item in one bar

// First-fit and best-fit decreasing over items given longest first; every size fits the capacity.
std::vector<Pattern> FirstFitPatterns(const std::vector<Item> &items, const std::vector<long long> &demand, CutLength capacity);
std::vector<Pattern> BestFitPatterns(const std::vector<Item> &items, const std::vector<long long> &demand, CutLength capacity);

struct Limits {
    long long nodes = 3000;      // linear programs solved while searching for whole bars
    long long backtracks = 400;  // alternatives tried after the first dive
    std::chrono::milliseconds time{1500}; // safety only: the search is the same without it
    const std::atomic<bool> *cancel = nullptr;
};

struct Solution {
    std::vector<Pattern> bars;
    long long lowerBound = 0;
    bool boundConverged = false; // the bound is that of the converged linear program
    bool interrupted = false;    // cancelled or out of time before the search ended
};

// The linear relaxation solved by column generation to its optimum, then whole bars by diving
// with limited backtracking until a plan reaches the bound. `firstFit` is the yardstick: the
// result never has more bars.
Solution Solve(const std::vector<Item> &items, CutLength capacity, const std::vector<Pattern> &firstFit, const Limits &limits);

// The optimum of the linear relaxation, for tests: column generation run to convergence.
double LinearOptimum(const std::vector<Item> &items, CutLength capacity);

} // namespace tablix::cutting
