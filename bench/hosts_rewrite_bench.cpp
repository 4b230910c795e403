// Rewrites a large block-list hosts file and, as a baseline, copies the same file with the same
// flush to disk. Prints both medians, their ratio and the rewrite's peak extra memory.
//   hosts_rewrite_bench [--hosts_lines=N] [--repetitions=N] [--bench_dir=DIR] [benchmark flags]
#include "hosts/hosts_file.h"
#include "support/fixed_texts.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <map>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bytes held through operator new, and the most held since the last reset.
std::atomic<long long> live_bytes{0};
std::atomic<long long> peak_bytes{0};

void* counted_allocation(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    const long long now = live_bytes += static_cast<long long>(malloc_usable_size(block));
    long long peak = peak_bytes.load();
    while (now > peak && !peak_bytes.compare_exchange_weak(peak, now)) {
    }
    return block;
}

void counted_release(void* block) noexcept {
    if (block != nullptr) {
        live_bytes -= static_cast<long long>(malloc_usable_size(block));
        std::free(block);
    }
}

}  // namespace

void* operator new(std::size_t size) {
    return counted_allocation(size);
}
void* operator new[](std::size_t size) {
    return counted_allocation(size);
}
void operator delete(void* block) noexcept {
    counted_release(block);
}
void operator delete[](void* block) noexcept {
    counted_release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    counted_release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    counted_release(block);
}

namespace {

struct settings {
    long lines = 250000;
    int repetitions = 9;
    std::string directory = ".";
};

// Takes this program's own flags out of argv before the benchmark library sees them.
settings take_settings(int& argc, char** argv) {
    settings taken;
    int kept = 1;
    for (int at = 1; at < argc; ++at) {
        const std::string argument = argv[at];
        const auto value = [&](const char* flag) -> const char* {
            const std::size_t length = std::strlen(flag);
            return argument.compare(0, length, flag) == 0 ? argv[at] + length : nullptr;
        };
        if (const char* lines = value("--hosts_lines=")) {
            taken.lines = std::atol(lines);
        } else if (const char* repetitions = value("--repetitions=")) {
            taken.repetitions = std::atoi(repetitions);
        } else if (const char* directory = value("--bench_dir=")) {
            taken.directory = directory;
        } else {
            argv[kept++] = argv[at];
        }
    }
    argc = kept;
    return taken;
}

// A block list: address 0.0.0.0 for every name, a comment now and then, and a few service
// lines spread through the file. Returns the number of lines a rewrite keeps.
long write_block_list(const std::string& path, long lines) {
    std::ofstream out(path, std::ios::binary);
    long service_lines = 0;
    for (long line = 0; line < lines; ++line) {
        if (line % 100 == 0) {
            out << "# section " << line / 100 << " of the block list\n";
        } else if (line % 60000 == 7) {
            out << "198.51.100.4 " << (line % 120000 == 7 ? chat_host : server_list_host) << "\n";
            ++service_lines;
        } else {
            out << "0.0.0.0 ads-" << line << ".tracker" << line % 97 << ".example.com\n";
        }
    }
    return lines - service_lines;
}

long lines_in(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    long count = 0;
    while (std::getline(in, line)) {
        ++count;
    }
    return count;
}

void rewrite(benchmark::State& state, const std::string& hosts) {
    for (auto _ : state) {
        if (update_hosts_file(hosts, "192.0.2.10") != 0) {
            state.SkipWithError("the rewrite failed");
            break;
        }
    }
}

// What any rewrite must at least do: read the file whole into memory of its own, write it
// whole to a new file and flush that to disk.
void copy(benchmark::State& state, const std::string& hosts, const std::string& copy_path) {
    for (auto _ : state) {
        std::string bytes;
        const int in = ::open(hosts.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat status {};
        ::fstat(in, &status);
        bytes.resize(static_cast<std::size_t>(status.st_size));
        const bool read_whole = ::read(in, bytes.data(), bytes.size()) == status.st_size;
        ::close(in);
        ::unlink(copy_path.c_str());
        const int out = ::open(copy_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        const bool written = ::write(out, bytes.data(), bytes.size()) == status.st_size;
        const bool flushed = ::fsync(out) == 0;
        ::close(out);
        if (!read_whole || !written || !flushed) {
            state.SkipWithError("the copy failed");
            break;
        }
    }
}

class Cmedian_reporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

}  // namespace

int main(int argc, char** argv) {
    const settings chosen = take_settings(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv) || chosen.lines < 1 ||
        chosen.repetitions < 2) {
        return 2;
    }
    std::string directory_template = chosen.directory + "/hosts-bench.XXXXXX";
    if (::mkdtemp(directory_template.data()) == nullptr) {
        std::perror("hosts_rewrite_bench: scratch directory");
        return 1;
    }
    const std::filesystem::path directory = directory_template;
    const std::string hosts = (directory / "hosts").string();
    const long kept_lines = write_block_list(hosts, chosen.lines);
    const auto file_size = static_cast<long long>(std::filesystem::file_size(hosts));

    // One rewrite outside the timing: it must do its job, and it shows the memory it takes.
    peak_bytes = live_bytes.load();
    const long long before = live_bytes;
    const int result = update_hosts_file(hosts, "192.0.2.10");
    const long long extra = peak_bytes - before;
    if (result != 0 || lines_in(hosts) != kept_lines + 2) {
        std::fprintf(stderr, "hosts_rewrite_bench: the rewrite gave a wrong file\n");
        std::filesystem::remove_all(directory);
        return 1;
    }

    benchmark::RegisterBenchmark("hosts_rewrite", rewrite, hosts)
        ->Repetitions(chosen.repetitions)
        ->ReportAggregatesOnly(true)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("copy_baseline", copy, hosts, (directory / "copy").string())
        ->Repetitions(chosen.repetitions)
        ->ReportAggregatesOnly(true)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    Cmedian_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(directory);

    const double rewrite_time = reporter.medians["hosts_rewrite"];
    const double copy_time = reporter.medians["copy_baseline"];
    const double memory_ratio = static_cast<double>(extra) / static_cast<double>(file_size);
    std::printf("file: %ld lines, %lld bytes\n", chosen.lines, file_size);
    std::printf("median rewrite %.2f ms, median copy %.2f ms, ratio %.2f (target 2.00 or less)\n",
                rewrite_time, copy_time, copy_time > 0 ? rewrite_time / copy_time : 0.0);
    std::printf("peak extra memory of a rewrite %lld bytes, %.2f x the file (target below 3)\n",
                extra, memory_ratio);
    return 0;
}
