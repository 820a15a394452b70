// Shared by the benchmark files: the measured time of every benchmark run and
// summary lines printed after all benchmarks have run.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace quorel::bench {

// Real time per iteration in nanoseconds, by benchmark run name.
const std::map<std::string, double>& results();

// A line printed after all benchmarks, lines sorted by `order`. `make` may
// read results(); it returns the full line.
struct SummaryLine {
    SummaryLine(int order, std::function<std::string()> make);
};

}  // namespace quorel::bench
