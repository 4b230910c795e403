#include "bench_runs.h"

#include <cstdlib>
#include <string_view>

void Cmedian_reporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        failed_ = failed_ || run.error_occurred;
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
            medians_[{run.run_name.function_name, run.run_name.args}] = run.GetAdjustedRealTime();
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

double Cmedian_reporter::median(const std::string& name, const std::string& argument) const {
    const auto found = medians_.find({name, argument});
    return found == medians_.end() ? 0 : found->second;
}

bool start_benchmarks(int argc, char** argv, int& repetitions) {
    repetitions = 15;
    static char take_turns[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> arguments{argv[0], take_turns};
    for (int at = 1; at < argc; ++at) {
        constexpr std::string_view flag = "--repetitions=";
        if (std::string_view(argv[at]).substr(0, flag.size()) == flag) {
            repetitions = std::atoi(argv[at] + flag.size());
        } else {
            arguments.push_back(argv[at]);  // a flag given on the command line wins
        }
    }
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    return !benchmark::ReportUnrecognizedArguments(count, arguments.data()) && repetitions >= 2;
}
