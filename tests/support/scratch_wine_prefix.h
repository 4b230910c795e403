#pragma once
// A throwaway Wine prefix directory with hand-written registry files; WINEPREFIX points at it
// while the object lives.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class Cscratch_wine_prefix {
  public:
    Cscratch_wine_prefix() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ketrin-prefix.XXXXXX").string();
        directory_ = mkdtemp(pattern.data());
        const char* old = std::getenv("WINEPREFIX");
        had_old_ = old != nullptr;
        old_ = had_old_ ? old : "";
        setenv("WINEPREFIX", directory_.c_str(), 1);
    }
    ~Cscratch_wine_prefix() {
        std::filesystem::remove_all(directory_);
        if (had_old_) {
            setenv("WINEPREFIX", old_.c_str(), 1);
        } else {
            unsetenv("WINEPREFIX");
        }
    }
    Cscratch_wine_prefix(const Cscratch_wine_prefix&) = delete;
    Cscratch_wine_prefix& operator=(const Cscratch_wine_prefix&) = delete;

    // Writes a registry file of the prefix: the header, then `body`.
    void write(const std::string& file, const std::string& body, bool win64 = true) const {
        std::ofstream out(directory_ + "/" + file, std::ios::binary | std::ios::trunc);
        out << "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
            << (win64 ? "#arch=win64\n\n" : "") << body;
    }

    const std::string& directory() const { return directory_; }

  private:
    std::string directory_;
    std::string old_;
    bool had_old_ = false;
};
