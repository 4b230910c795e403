// What the prefix search costs at its worst and at its most common, each against reading the
// same bytes plainly in the same run:
//  - a registry file of 80,000 repetitions of one key line (2.9 MB), indexed (target: under
//    0.2 s);
//  - a home with 1,024 Lutris game files of 1 MiB each and a Steam library list of 21,007
//    libraries, searched (target: under a second);
//  - a home with 200 Proton prefixes, each with a system.reg of a fresh prefix's size (1.75 MB),
//    the games in two of them, searched (target: at most twice the plain read of the files).
//   prefix_search_bench [--small] [--repetitions=N] [benchmark flags]
// --small makes every case a tenth of its size or less, for the test run's quick check.
#include "bench_runs.h"
#include "prefixes/wine_prefix_discovery.h"
#include "registry/wine_registry_file.h"
#include "synthetic_registry.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct sizes {
    int repeated_key_lines, lutris_files, lutris_file_bytes, steam_libraries, proton_prefixes;
};
constexpr sizes full_size{80000, 1024, 1 << 20, 21007, 200};
constexpr sizes small_size{8000, 64, 64 << 10, 2000, 8};

void write_file(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string read_file(const fs::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// The scratch folders of the three cases and the files the plain read of each takes.
struct scenario {
    fs::path folder;
    std::vector<fs::path> files;
};

class Cscenarios {
  public:
    explicit Cscenarios(const sizes& size) {
        std::string root = (fs::temp_directory_path() / "ketrin-prefix-bench.XXXXXX").string();
        if (::mkdtemp(root.data()) == nullptr) {
            std::perror("prefix_search_bench: scratch directory");
            std::exit(1);
        }
        root_ = root;
        make_repeated_key_lines(size);
        make_launcher_files(size);
        make_proton_prefixes(size);
    }
    ~Cscenarios() { fs::remove_all(root_); }
    Cscenarios(const Cscenarios&) = delete;
    Cscenarios& operator=(const Cscenarios&) = delete;

    scenario repeated, launchers, proton;
    std::size_t proton_with_games = 0;

  private:
    void make_repeated_key_lines(const sizes& size) {
        std::string text = "WINE REGISTRY Version 2\n\n#arch=win64\n\n";
        for (int i = 0; i < size.repeated_key_lines; ++i) {
            text += "[Software\\\\Westwood\\\\Red Alert 2] 1\n";
        }
        repeated.folder = root_ / "repeated";
        repeated.files = {repeated.folder / "system.reg"};
        write_file(repeated.files[0], text);
    }

    void make_launcher_files(const sizes& size) {
        launchers.folder = root_ / "launchers";
        // A game file as Lutris writes it, grown with settings to the size asked for.
        std::string game =
            "game:\n  exe: /g/x.exe\n  prefix: /g/x\nrunner: wine\nsystem:\n  env:\n";
        const std::string setting = ": some value of a setting\n";
        for (int i = 0;; ++i) {
            const std::string line = "    SETTING_" + std::to_string(i) + setting;
            if (game.size() + line.size() > static_cast<std::size_t>(size.lutris_file_bytes)) {
                break;
            }
            game += line;
        }
        game.resize(static_cast<std::size_t>(size.lutris_file_bytes) - 1, '#');
        game += '\n';
        for (int i = 0; i < size.lutris_files; ++i) {
            const fs::path file =
                launchers.folder / ".config/lutris/games" / ("game-" + std::to_string(i) + ".yml");
            write_file(file, game);
            launchers.files.push_back(file);
        }
        std::string list = "\"libraryfolders\"\n{\n";
        for (int i = 0; i < size.steam_libraries; ++i) {
            list += "\"" + std::to_string(i) + "\" { \"path\" \"/l/" + std::to_string(i) + "\" }\n";
        }
        const fs::path vdf = launchers.folder / ".local/share/Steam/steamapps/libraryfolders.vdf";
        write_file(vdf, list + "}\n");
        launchers.files.push_back(vdf);
    }

    void make_proton_prefixes(const sizes& size) {
        proton.folder = root_ / "proton";
        const std::string plain = synthetic_system_reg(fresh_prefix_keys, false);
        const std::string with_games = synthetic_system_reg(fresh_prefix_keys, true);
        // With a key a fresh prefix's user.reg holds, whose name Wine writes with escapes.
        const std::string user =
            "WINE REGISTRY Version 2\n\n#arch=win64\n\n[Software\\\\Wine] 1\n\"V\"=\"1\"\n\n"
            "[Control Panel\\\\International\\\\\\xd83c\\xdf0e\\xd83c\\xdf0f\\xd83c\\xdf0d] 1\n"
            "@=\"\\xd83c\\xdf0e\"\n";
        for (int i = 0; i < size.proton_prefixes; ++i) {
            const fs::path prefix = proton.folder / ".local/share/Steam/steamapps/compatdata" /
                                    std::to_string(2000000 + i) / "pfx";
            // Two of 200 hold the games, one of a smaller number.
            const bool games = i % 100 == 7;
            proton_with_games += games;
            write_file(prefix / "system.reg", games ? with_games : plain);
            write_file(prefix / "user.reg", user);
            proton.files.push_back(prefix / "system.reg");
        }
    }

    fs::path root_;
};

Cscenarios* scenarios = nullptr;

void read_plainly(benchmark::State& state, const scenario& files) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const fs::path& file : files.files) {
            const std::string text = read_file(file);
            bytes += text.size();
            benchmark::DoNotOptimize(text.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void read_repeated_key_lines(benchmark::State& state) {
    read_plainly(state, scenarios->repeated);
}
void read_launcher_files(benchmark::State& state) {
    read_plainly(state, scenarios->launchers);
}
void read_proton_registries(benchmark::State& state) {
    read_plainly(state, scenarios->proton);
}

void index_repeated_key_lines(benchmark::State& state) {
    for (auto _ : state) {
        const Cwine_registry registry(read_file(scenarios->repeated.files[0]));
        if (!registry.has_key(u"SOFTWARE\\WESTWOOD\\RED ALERT 2")) {
            state.SkipWithError("the repeated key was not found");
        }
    }
}

void search_launcher_files(benchmark::State& state) {
    for (auto _ : state) {
        const wine_prefix_search search = find_wine_prefixes(scenarios->launchers.folder, "");
        benchmark::DoNotOptimize(search.prefixes.data());
    }
}

void search_proton_prefixes(benchmark::State& state) {
    for (auto _ : state) {
        const wine_prefix_search search = find_wine_prefixes(scenarios->proton.folder, "");
        std::size_t with_games = 0;
        for (const wine_prefix& prefix : search.prefixes) {
            with_games += !prefix.games.empty();
        }
        if (search.prefixes.size() != scenarios->proton.files.size() ||
            with_games != scenarios->proton_with_games) {
            state.SkipWithError("the search did not list every prefix and the games in two");
        }
    }
}

// Takes this program's own flag out of argv before the benchmark library sees it.
bool take_small(int& argc, char** argv) {
    bool small = false;
    int kept = 1;
    for (int at = 1; at < argc; ++at) {
        if (std::string_view(argv[at]) == "--small") {
            small = true;
        } else {
            argv[kept++] = argv[at];
        }
    }
    argc = kept;
    return small;
}

}  // namespace

int main(int argc, char** argv) {
    const bool small = take_small(argc, argv);
    int repetitions = 0;
    if (!start_benchmarks(argc, argv, repetitions)) {
        return 2;
    }
    Cscenarios made(small ? small_size : full_size);
    scenarios = &made;
    const struct {
        const char* baseline_name;
        void (*baseline)(benchmark::State&);
        const char* measured_name;
        void (*measured)(benchmark::State&);
        const char* target;
    } cases[] = {
        {"read_repeated_key_lines", &read_repeated_key_lines, "index_repeated_key_lines",
         &index_repeated_key_lines, "under 0.2 s"},
        {"read_launcher_files", &read_launcher_files, "search_launcher_files",
         &search_launcher_files, "under 1 s"},
        {"read_proton_registries", &read_proton_registries, "search_proton_prefixes",
         &search_proton_prefixes, "ratio at most 2"},
    };
    for (const auto& c : cases) {
        for (const auto& [name, run] :
             {std::pair{c.baseline_name, c.baseline}, std::pair{c.measured_name, c.measured}}) {
            benchmark::RegisterBenchmark(name, run)
                ->Repetitions(repetitions)
                ->ReportAggregatesOnly(true)
                ->Unit(benchmark::kMillisecond);
        }
    }
    Cmedian_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& c : cases) {
        const double baseline = reporter.median(c.baseline_name);
        const double measured = reporter.median(c.measured_name);
        if (baseline > 0 && measured > 0) {
            std::cout << c.measured_name << ": median " << measured << " ms, plain read "
                      << baseline << " ms, ratio: " << measured / baseline
                      << " (target: " << c.target << ")\n";
        }
    }
    benchmark::Shutdown();
    return reporter.failed() ? 1 : 0;
}
