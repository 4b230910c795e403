#include "registry/wine_prefix_registry.h"

#include "registry/case_fold.h"
#include "registry/wine_escapes.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <new>

namespace {

constexpr registry_status status_not_found = 2;
constexpr registry_status status_bad_path = 161;  // ERROR_BAD_PATHNAME, as for "\Software"
constexpr int link_depth_limit = 16;
constexpr std::u16string_view wow_node = u"WOW6432NODE";

// Where a folded path is looked up: in the machine's file (0) or the user's (1).
struct location {
    int file;
    std::u16string path;
};

bool exists(const wine_registry_files& files, const location& at) {
    return files[at.file] != nullptr && files[at.file]->has_key(at.path);
}

std::vector<std::u16string> split_folded(std::u16string_view path) {
    std::vector<std::u16string> parts;
    const std::u16string folded = folded_path(path);
    for (std::size_t from = 0; from < folded.size();) {
        const std::size_t cut = std::min(folded.find(u'\\', from), folded.size());
        parts.push_back(folded.substr(from, cut - from));
        from = cut + 1;
    }
    return parts;
}

// Whether a folded path runs through a Wow6432Node key.
bool holds_wow_node(std::u16string_view path) {
    return (u"\\" + std::u16string(path) + u"\\").find(u"\\WOW6432NODE\\") != std::u16string::npos;
}

// The place a link's target names in the prefix's two files: "\REGISTRY\MACHINE\" and a path,
// or "\REGISTRY\USER\", the user's id and a path. False for a target elsewhere.
bool link_place(std::u16string target, location& at) {
    constexpr std::u16string_view machine = u"\\REGISTRY\\MACHINE\\", user = u"\\REGISTRY\\USER\\";
    fold_case(target);
    if (target.rfind(machine, 0) == 0) {
        at = {0, folded_path(std::u16string_view(target).substr(machine.size()))};
        return true;
    }
    if (target.rfind(user, 0) != 0) {
        return false;
    }
    const std::u16string below = folded_path(std::u16string_view(target).substr(user.size()));
    const std::size_t cut = below.find(u'\\');
    at = {1, cut == std::u16string::npos ? u"" : below.substr(cut + 1)};
    return !below.empty();
}

// Moves `at`, which stands on a key, on through the links it stands on; false when a target is
// missing, lies outside the prefix's two files, or links go round in circles.
bool follow_links(const wine_registry_files& files, location& at) {
    for (int depth = 0; depth < link_depth_limit; ++depth) {
        const std::u16string target = files[at.file]->link_target(at.path);
        if (target.empty()) {
            return true;
        }
        if (!link_place(target, at) || !exists(files, at)) {
            return false;
        }
    }
    return false;
}

// Walks `parts` down from `at`, which stands on a key, as Wine does for the 32-bit view of a
// 64-bit prefix: a key with a Wow6432Node child stands for that child, unless the path already
// runs through one or names it next. False when a key on the way is missing.
bool walk(const wine_registry_files& files, location& at, const std::vector<std::u16string>& parts,
          bool wow64) {
    bool in_wow = holds_wow_node(at.path);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        at.path = at.path.empty() ? parts[i] : at.path + u'\\' + parts[i];
        if (!exists(files, at) || !follow_links(files, at)) {
            return false;
        }
        in_wow = in_wow || parts[i] == wow_node || holds_wow_node(at.path);
        const bool names_wow_next = i + 1 < parts.size() && parts[i + 1] == wow_node;
        location redirected{at.file, at.path + u'\\' + std::u16string(wow_node)};
        if (wow64 && !in_wow && !names_wow_next && exists(files, redirected)) {
            at = std::move(redirected);
            in_wow = true;
        }
    }
    return true;
}

// The number the prefix's ACP value starts with, read through the 64-bit view; 1252 where there
// is none.
std::uint32_t ansi_code_page(const std::shared_ptr<const Cwine_registry>& machine) {
    location at{0, u""};
    wine_registry_value value;
    std::uint32_t number = 0;
    if (machine != nullptr &&
        walk({machine, nullptr}, at,
             split_folded(u"System\\CurrentControlSet\\Control\\Nls\\CodePage"), false) &&
        machine->find_value(at.path, u"ACP", value) &&
        (value.type == reg_sz || value.type == reg_expand_sz)) {
        for (const char16_t digit : utf16_units(value.data)) {
            if (digit < u'0' || digit > u'9' || number > 100000) {
                break;
            }
            number = number * 10 + (digit - u'0');
        }
    }
    return number == 0 ? 1252 : number;
}

}  // namespace

std::string Cwine_prefix_registry::prefix_directory() {
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix != nullptr && *prefix != '\0') {
        return prefix;
    }
    const char* home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? std::string(home) + "/.wine" : std::string();
}

Cwine_prefix_registry& Cwine_prefix_registry::instance() {
    static Cwine_prefix_registry registry;
    return registry;
}

std::optional<std::string> read_wine_registry_file(const std::string& file,
                                                   const struct stat& seen) {
    // Far larger than any prefix's registry: such a file would only cost memory and time.
    if (!S_ISREG(seen.st_mode) ||
        static_cast<unsigned long long>(seen.st_size) > wine_registry_file_limit) {
        return std::nullopt;
    }
    try {
        std::string bytes(static_cast<std::size_t>(seen.st_size), '\0');
        std::ifstream in(file, std::ios::binary);
        if (in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
            return bytes;
        }
    } catch (const std::bad_alloc&) {
        // What does not fit in memory counts as unreadable, like a file over the limit.
    }
    return std::nullopt;
}

std::shared_ptr<const Cwine_registry> Cwine_prefix_registry::cached_file::load(
    const std::string& file) {
    struct stat now {};
    if (file.empty() || stat(file.c_str(), &now) != 0) {
        *this = {};
        return nullptr;
    }
    if (registry != nullptr && file == path && now.st_dev == seen.st_dev &&
        now.st_ino == seen.st_ino && now.st_size == seen.st_size &&
        now.st_mtim.tv_sec == seen.st_mtim.tv_sec && now.st_mtim.tv_nsec == seen.st_mtim.tv_nsec) {
        return registry;
    }
    *this = {};
    if (std::optional<std::string> bytes = read_wine_registry_file(file, now)) {
        *this = {file, now, std::make_shared<const Cwine_registry>(std::move(*bytes))};
    }
    return registry;
}

std::array<std::string, 2> Cwine_prefix_registry::file_paths() const {
    const std::string prefix = directory_.empty() ? prefix_directory() : directory_;
    if (prefix.empty()) {
        return {};
    }
    return {prefix + "/system.reg", prefix + "/user.reg"};
}

wine_registry_files Cwine_prefix_registry::refresh() {
    const std::array<std::string, 2> paths = file_paths();
    const wine_registry_files files = {machine_.load(paths[0]), user_.load(paths[1])};
    if (files[0] != code_page_source_ || code_page_ == nullptr) {
        code_page_ = std::make_shared<const Cansi_code_page>(ansi_code_page(files[0]));
        code_page_source_ = files[0];
    }
    return files;
}

std::shared_ptr<const Cansi_code_page> Cwine_prefix_registry::code_page() {
    refresh();
    return code_page_;
}

registry_status Cwine_prefix_registry::open(registry_root root, const std::string& subkey,
                                            wine_open_key& key) {
    key = {};
    const wine_registry_files files = refresh();
    if (!subkey.empty() && subkey[0] == '\\') {
        return status_bad_path;
    }
    const std::vector<std::u16string> parts = split_folded(code_page_->to_utf16(subkey));
    // The machine's root; or the user's classes over the machine's, whose 32-bit ones live in
    // Classes\Wow6432Node, though naming no subkey opens Classes itself.
    std::vector<location> starts = {{0, u""}};
    if (root == registry_root::classes_root) {
        starts.clear();
        for (const int file : {1, 0}) {
            const bool wow64 = files[file] != nullptr && files[file]->is_win64();
            starts.push_back({file, wow64 && !parts.empty() ? u"SOFTWARE\\CLASSES\\WOW6432NODE"
                                                            : u"SOFTWARE\\CLASSES"});
        }
    }
    for (location& at : starts) {
        // The machine's root is no link; Classes may be one.
        if (exists(files, at) && (at.path.empty() || follow_links(files, at)) &&
            walk(files, at, parts, files[at.file]->is_win64())) {
            key.places.push_back({files[at.file], at.path});
        }
    }
    if (key.places.empty()) {
        return status_not_found;
    }
    key.code_page = code_page_;
    return 0;
}

registry_status Cwine_prefix_registry::query(const wine_open_key& key, const std::string& name,
                                             std::string& data) {
    if (key.code_page == nullptr) {
        return status_not_found;
    }
    std::u16string folded = key.code_page->to_utf16(name);
    fold_case(folded);
    wine_registry_value value;
    for (const auto& [file, path] : key.places) {
        if (file->find_value(path, folded, value)) {
            const bool is_string =
                value.type == reg_sz || value.type == reg_expand_sz || value.type == reg_multi_sz;
            data = is_string ? key.code_page->from_utf16(value.data) : std::move(value.data);
            return 0;
        }
    }
    return status_not_found;
}
