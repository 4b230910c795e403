// What opening the login dialog costs in registry reads on Linux: the 6 game keys and the 25 nick
// and 25 password keys, first parse included, looked up in a prefix whose system.reg is the size
// of a fresh prefix's (1.75 MB) and in one of 50 MB. Baseline: reading system.reg into memory
// once. Each benchmark's argument is the number of keys written besides the login dialog's.
//
// KETRIN_BENCH_WINEPREFIX names a real prefix to use instead of the synthesised ones.
//   registry_lookup_bench [--repetitions=N] [benchmark flags]
#include "bench_runs.h"
#include "synthetic_registry.h"
#include "registry/wine_prefix_registry.h"

#include <benchmark/benchmark.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The larger size, 50 MB.
constexpr int fifty_megabyte_keys = 245000;

// Synthesised prefixes by their number of other keys.
std::map<int, std::string> synthesised_prefixes;

// A synthesised prefix lives in a scratch directory of its own, so that runs side by side do not
// write over each other's files.
std::string prefix_directory(int other_keys) {
    if (const char* given = std::getenv("KETRIN_BENCH_WINEPREFIX")) {
        return given;
    }
    std::string& made = synthesised_prefixes[other_keys];
    if (made.empty()) {
        std::string directory =
            (std::filesystem::temp_directory_path() / "ketrin-registry-bench.XXXXXX").string();
        if (::mkdtemp(directory.data()) == nullptr) {
            std::perror("registry_lookup_bench: scratch directory");
            std::exit(1);
        }
        std::ofstream(directory + "/system.reg", std::ios::binary)
            << synthetic_system_reg(other_keys);
        std::ofstream(directory + "/user.reg", std::ios::binary)
            << "WINE REGISTRY Version 2\n\n#arch=win64\n\n[Software\\\\Wine] 1\n\"V\"=\"1\"\n";
        made = directory;
    }
    return made;
}

void read_system_reg(benchmark::State& state) {
    const std::string path = prefix_directory(static_cast<int>(state.range(0))) + "/system.reg";
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
        in.seekg(0);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void login_dialog_lookups(benchmark::State& state) {
    setenv("WINEPREFIX", prefix_directory(static_cast<int>(state.range(0))).c_str(), 1);
    int found = 0;
    for (auto _ : state) {
        Cwine_prefix_registry registry;  // a fresh one: every round parses the files again
        wine_open_key key;
        std::string value;
        for (const char* game : game_keys) {
            found += registry.open(registry_root::local_machine, game, key) == 0;
        }
        for (int n = 1; n <= 25; ++n) {
            for (const char* leaf : {"\\Nick", "\\Pass"}) {
                const std::string path = "Wchat\\Nick" + std::to_string(n) + leaf;
                if (registry.open(registry_root::classes_root, path, key) == 0) {
                    found += Cwine_prefix_registry::query(key, "", value) == 0;
                }
            }
        }
    }
    state.counters["found_per_round"] =
        benchmark::Counter(found, benchmark::Counter::kAvgIterations);
    // The synthesised prefix holds every key asked for; a real one need not.
    if (std::getenv("KETRIN_BENCH_WINEPREFIX") == nullptr &&
        found != 56 * static_cast<int>(state.iterations())) {
        state.SkipWithError("the login dialog's keys were not all found");
    }
}

}  // namespace

int main(int argc, char** argv) {
    int repetitions = 0;
    if (!start_benchmarks(argc, argv, repetitions)) {
        return 2;
    }
    for (const auto& [name, run] : {std::pair{"read_system_reg", &read_system_reg},
                                    std::pair{"login_dialog_lookups", &login_dialog_lookups}}) {
        benchmark::RegisterBenchmark(name, run)
            ->Arg(fresh_prefix_keys)
            ->Arg(fifty_megabyte_keys)
            ->Repetitions(repetitions)
            ->ReportAggregatesOnly(true)
            ->Unit(benchmark::kMicrosecond);
    }
    Cmedian_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const int keys : {fresh_prefix_keys, fifty_megabyte_keys}) {
        const std::string size = std::to_string(keys);
        const double baseline = reporter.median("read_system_reg", size);
        const double lookups = reporter.median("login_dialog_lookups", size);
        if (baseline > 0 && lookups > 0) {
            std::cout << "system.reg with " << keys << " other keys: median read " << baseline
                      << " us, median 56 lookups with the first parse " << lookups
                      << " us, ratio: " << lookups / baseline << " (target: at most 30)\n";
        }
    }
    benchmark::Shutdown();
    for (const auto& [keys, directory] : synthesised_prefixes) {
        std::filesystem::remove_all(directory);
    }
    return reporter.failed() ? 1 : 0;
}
