// What opening the login dialog costs in registry reads on Linux: the 6 game keys and the 25 nick
// and 25 password keys, first parse included, looked up in a prefix whose system.reg is the size
// of a fresh prefix's (1.75 MB) and in one of 50 MB. Baseline: reading system.reg into memory
// once. Each benchmark's argument is the number of keys written besides the login dialog's.
//
// KETRIN_BENCH_WINEPREFIX names a real prefix to use instead of the synthesised ones.
//   registry_lookup_bench [--repetitions=N] [benchmark flags]
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

// A fresh prefix's system.reg holds about this many keys (1.75 MB); the other size is 50 MB.
constexpr int fresh_prefix_keys = 8600, fifty_megabyte_keys = 245000;

const char* const game_keys[] = {
    "Software\\Westwood\\Renegade", "Software\\Westwood\\Tiberian Sun",
    "Software\\Westwood\\Emperor",  "Software\\Westwood\\Red Alert 2",
    "Software\\Westwood\\Nox",      "Software\\Westwood\\Yuri's Revenge"};

// Where Wine puts a key: children sorted without case, each key before its subkeys.
std::string sort_key(const std::string& path) {
    std::string key;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path.compare(i, 2, "\\\\") == 0) {
            key += '\1';
            ++i;
        } else {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(path[i])));
        }
    }
    return key;
}

// A system.reg in Wine's format, about 200 bytes per other key, with the login dialog's keys
// among the others, every key written in the order Wine saves them.
std::string synthetic_system_reg(int other_keys) {
    std::map<std::string, std::pair<std::string, std::string>> keys;  // by sort_key: path, body
    const auto add = [&keys](const std::string& path, const std::string& body) {
        keys[sort_key(path)] = {path, body};
    };
    char guid[64];
    for (int i = 0; i < other_keys; ++i) {
        std::snprintf(guid, sizeof guid, "{%08x-1234-5678-9abc-%012x}", i * 2654435761u, i);
        const char* area = i % 3 == 0   ? "Classes\\\\CLSID"
                           : i % 3 == 1 ? "Classes\\\\Wow6432Node\\\\CLSID"
                                        : "Microsoft\\\\Things";
        std::string body = "#time=1dd87a0e8b2d596\n@=\"Component number " + std::to_string(i) +
                           " with a description\"\n\"ThreadingModel\"=\"Both\"\n";
        if (i % 4 == 0) {
            body +=
                "\"Data\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,"
                "15,16,17,18,\\\n  19,1a,1b,1c,1d,1e,1f\n";
        }
        add(std::string("Software\\\\") + area + "\\\\" + guid, body);
    }
    for (const char* key : game_keys) {
        const std::string name = std::string(key).substr(std::strlen("Software\\Westwood\\"));
        add("Software\\\\Wow6432Node\\\\Westwood\\\\" + name,
            "\"InstallPath\"=\"C:\\\\Westwood\"\n");
    }
    for (int n = 1; n <= 25; ++n) {
        for (const char* leaf : {"Nick", "Pass"}) {
            add("Software\\\\Classes\\\\Wow6432Node\\\\Wchat\\\\Nick" + std::to_string(n) + "\\\\" +
                    leaf,
                "@=\"" + std::string(leaf) + std::to_string(n) + "value\"\n");
        }
    }
    std::ostringstream out;
    out << "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
    for (const auto& [order, key] : keys) {
        out << "[" << key.first << "] 1796795305\n" << key.second << "\n";
    }
    return out.str();
}

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

// Keeps the medians so that the ratio can be printed after the table, and whether a run failed.
class median_reporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            failed = failed || run.error_occurred;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians[{run.run_name.function_name, run.run_name.args}] =
                    run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::pair<std::string, std::string>, double> medians;  // by name, argument
    bool failed = false;
};

// Takes this program's own flag out of argv before the benchmark library sees it.
int take_repetitions(int& argc, char** argv) {
    int repetitions = 15;
    int kept = 1;
    for (int at = 1; at < argc; ++at) {
        constexpr std::string_view flag = "--repetitions=";
        if (std::string_view(argv[at]).substr(0, flag.size()) == flag) {
            repetitions = std::atoi(argv[at] + flag.size());
        } else {
            argv[kept++] = argv[at];
        }
    }
    argc = kept;
    return repetitions;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = take_repetitions(argc, argv);
    // The repetitions of the read and of the lookups take turns, so that a slow spell of the
    // machine falls on both and leaves their ratio alone. A flag given on the command line wins.
    static char take_turns[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> arguments(argv, argv + argc);
    arguments.insert(arguments.begin() + 1, take_turns);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()) || repetitions < 2) {
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
    median_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const int keys : {fresh_prefix_keys, fifty_megabyte_keys}) {
        const std::string size = std::to_string(keys);
        const double baseline = reporter.medians[{"read_system_reg", size}];
        const double lookups = reporter.medians[{"login_dialog_lookups", size}];
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
    return reporter.failed ? 1 : 0;
}
