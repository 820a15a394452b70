// Shared by the benchmark files: the measured time of every benchmark run and
// summary lines printed after all benchmarks have run.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace quorel::bench {

// Real time per iteration in nanoseconds, by benchmark run name (aggregates
// of repeated benchmarks as "name_median" and so on).
const std::map<std::string, double>& results();
// The same in CPU time of the benchmark's thread, which time spent by other
// processes on the same core does not inflate.
const std::map<std::string, double>& cpuResults();

// The real time (ns) of the first benchmark run whose name starts with
// `prefix`; -1 when none ran.
double resultStartingWith(const std::string& prefix);
// "label: t" with t that time in milliseconds.
std::string millisecondsLine(const char* label, const char* prefix);

// A line printed after all benchmarks, lines sorted by `order`. `make` may
// read results(); it returns the full line.
struct SummaryLine {
    SummaryLine(int order, std::function<std::string()> make);
};

}  // namespace quorel::bench
