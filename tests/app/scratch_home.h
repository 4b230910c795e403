#pragma once
// A scratch home folder for the tests that look for Wine prefixes, with prefixes whose registry
// files are real Wine's (tests/fixtures/wine_game_registries, in KETRIN_GAME_REGISTRIES).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

// The prefix registries the fixture made with Wine: red_alert_2, tiberian_sun, api, none.
inline std::filesystem::path seeded_registry(const std::string& name) {
    const char* folder = std::getenv("KETRIN_GAME_REGISTRIES");
    if (folder == nullptr) {
        throw std::runtime_error("KETRIN_GAME_REGISTRIES is not set: run the test through CTest");
    }
    return std::filesystem::path(folder) / name;
}

class Cscratch_home {
  public:
    Cscratch_home() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ketrin-home.XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~Cscratch_home() {
        // Folders made unreadable are given back first, so that all of it goes.
        std::error_code error;
        for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
             !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
            if (!it->is_symlink()) {
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, error);
            }
        }
        std::filesystem::remove_all(path_, error);
    }
    Cscratch_home(const Cscratch_home&) = delete;
    Cscratch_home& operator=(const Cscratch_home&) = delete;

    std::string operator/(const std::string& below) const { return (path_ / below).string(); }
    std::string path() const { return path_.string(); }

    void put(const std::string& below, const std::string& bytes) const {
        const std::filesystem::path file = path_ / below;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }

    // A prefix holding the registry files of `registry`, last changed `age_s` seconds ago.
    std::string prefix(const std::string& below, const std::string& registry, int age_s = 0) const {
        const std::filesystem::path folder = path_ / below;
        std::filesystem::create_directories(folder / "drive_c");
        const timespec now{time(nullptr) - age_s, 0};
        const timespec times[2] = {now, now};
        for (const char* file : {"system.reg", "user.reg"}) {
            std::filesystem::copy_file(seeded_registry(registry) / file, folder / file,
                                       std::filesystem::copy_options::overwrite_existing);
            utimensat(AT_FDCWD, (folder / file).c_str(), times, 0);
        }
        return folder.string();
    }

    void link(const std::string& below, const std::string& target) const {
        std::filesystem::create_directories((path_ / below).parent_path());
        std::filesystem::create_directory_symlink(target, path_ / below);
    }

  private:
    std::filesystem::path path_;
};
