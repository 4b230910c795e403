#pragma once
// What the benchmarks share: repetitions that take turns, and the medians kept for the ratios
// each prints after its table.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

// Keeps the medians so that the ratio can be printed after the table, and whether a run failed.
class Cmedian_reporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // The median real time of a benchmark by name and argument ("" for none), 0 when it did not
    // run.
    double median(const std::string& name, const std::string& argument = "") const;
    bool failed() const { return failed_; }

  private:
    std::map<std::pair<std::string, std::string>, double> medians_;
    bool failed_ = false;
};

// Sets the benchmark library up from the command line: --repetitions=N (15 by default, at least
// 2) is this program's own; the repetitions of all benchmarks take turns, so that a slow spell of
// the machine falls on the baseline and the measured alike. False on a flag it does not know.
bool start_benchmarks(int argc, char** argv, int& repetitions);
