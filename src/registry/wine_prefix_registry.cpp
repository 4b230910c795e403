#include "registry/wine_prefix_registry.h"

#include "registry/case_fold.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

constexpr registry_status status_not_found = 2;
constexpr registry_status status_bad_path = 161;  // ERROR_BAD_PATHNAME, as for "\Software"
constexpr int link_depth_limit = 16;
constexpr std::u16string_view wow_node = u"WOW6432NODE";
constexpr std::u16string_view machine_link_prefix = u"\\REGISTRY\\MACHINE\\";
constexpr std::u16string_view user_link_prefix = u"\\REGISTRY\\USER\\";

// Where a path is being looked up: the machine's file (0) or the user's (1).
struct location {
    const std::shared_ptr<const Cwine_registry>* files;
    int file;
    std::u16string path;

    const Cwine_registry* registry() const { return files[file].get(); }
};

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

std::u16string join(const std::vector<std::u16string>& parts, std::size_t from = 0) {
    std::u16string path;
    for (std::size_t i = from; i < parts.size(); ++i) {
        path += (path.empty() ? u"" : u"\\") + parts[i];
    }
    return path;
}

// Whether a folded path runs through a Wow6432Node key.
bool holds_wow_node(std::u16string_view path) {
    return (u"\\" + std::u16string(path) + u"\\").find(u"\\WOW6432NODE\\") != std::u16string::npos;
}

std::uint32_t key_at(const location& at, std::u16string_view path) {
    return at.registry() != nullptr ? at.registry()->find_key(path) : Cwine_registry::no_key;
}

// Moves `at`, which stands on `key`, to the target of the link it stands on, if any, and gives
// the key found there; no_key when a target is missing, lies outside the prefix's two files, or
// links go round in circles.
std::uint32_t follow_links(location& at, std::uint32_t key) {
    for (int depth = 0; depth < link_depth_limit; ++depth) {
        std::u16string target = at.registry()->link_target(key);
        if (target.empty()) {
            return key;
        }
        fold_case(target);
        std::vector<std::u16string> parts = split_folded(target);
        if (target.rfind(machine_link_prefix, 0) == 0) {
            at = {at.files, 0, join(parts, 2)};
        } else if (target.rfind(user_link_prefix, 0) == 0 && parts.size() >= 3) {
            at = {at.files, 1, join(parts, 3)};
        } else {
            return Cwine_registry::no_key;
        }
        key = key_at(at, at.path);
        if (key == Cwine_registry::no_key) {
            return key;
        }
    }
    return Cwine_registry::no_key;
}

// Walks `parts` down from `at`, which stands on `key`, as Wine does for the 32-bit view of a
// 64-bit prefix: a key with a Wow6432Node child stands for that child, unless the path already
// runs through one or names it next. Gives the key reached, or no_key.
std::uint32_t walk(location& at, std::uint32_t key, const std::vector<std::u16string>& parts,
                   bool wow64) {
    bool in_wow = holds_wow_node(at.path);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::u16string next = at.path.empty() ? parts[i] : at.path + u'\\' + parts[i];
        key = key_at(at, next);
        if (key == Cwine_registry::no_key) {
            return key;
        }
        at.path = std::move(next);
        key = follow_links(at, key);
        if (key == Cwine_registry::no_key) {
            return key;
        }
        in_wow = in_wow || parts[i] == wow_node || holds_wow_node(at.path);
        const bool names_wow_next = i + 1 < parts.size() && parts[i + 1] == wow_node;
        if (wow64 && !in_wow && !names_wow_next) {
            std::u16string redirected = at.path + u'\\' + std::u16string(wow_node);
            const std::uint32_t child = key_at(at, redirected);
            if (child != Cwine_registry::no_key) {
                at.path = std::move(redirected);
                key = child;
                in_wow = true;
            }
        }
    }
    return key;
}

std::string read_file(const std::string& path, bool& ok) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in.tellg();
    std::string bytes(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ok = static_cast<bool>(in) && size >= 0;
    // A file that shrank while being read keeps only what was read.
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::uint32_t ansi_code_page(const std::shared_ptr<const Cwine_registry>& machine) {
    const std::shared_ptr<const Cwine_registry> files[2] = {machine, nullptr};
    location at{files, 0, u""};
    wine_registry_value value;
    if (machine == nullptr ||
        !machine->find_value(
            walk(at, key_at(at, at.path),
                 split_folded(u"System\\CurrentControlSet\\Control\\Nls\\CodePage"), false),
            u"ACP", value) ||
        (value.type != reg_sz && value.type != reg_expand_sz)) {
        return 1252;
    }
    std::uint32_t number = 0;
    for (std::size_t i = 0; i + 1 < value.data.size() && value.data[i + 1] == 0; i += 2) {
        const char digit = value.data[i];
        if (digit < '0' || digit > '9' || number > 100000) {
            break;
        }
        number = number * 10 + (digit - '0');
    }
    return number == 0 ? 1252 : number;
}

bool is_string_type(std::uint32_t type) {
    return type == reg_sz || type == reg_expand_sz || type == reg_multi_sz;
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

std::shared_ptr<const Cwine_registry> Cwine_prefix_registry::load(cached_file& cache,
                                                                  const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        cache = {};
        return nullptr;
    }
    const auto modified_ns = static_cast<unsigned long long>(info.st_mtim.tv_sec) * 1000000000ULL +
                             static_cast<unsigned long long>(info.st_mtim.tv_nsec);
    if (cache.registry != nullptr && cache.path == path && cache.device == info.st_dev &&
        cache.inode == info.st_ino && cache.size == static_cast<unsigned long long>(info.st_size) &&
        cache.modified_ns == modified_ns) {
        return cache.registry;
    }
    bool ok = false;
    std::string bytes = read_file(path, ok);
    if (!ok) {
        cache = {};
        return nullptr;
    }
    cache = {path,        info.st_dev,
             info.st_ino, static_cast<unsigned long long>(info.st_size),
             modified_ns, std::make_shared<const Cwine_registry>(std::move(bytes))};
    return cache.registry;
}

std::array<std::shared_ptr<const Cwine_registry>, 2> Cwine_prefix_registry::refresh() {
    const std::string prefix = directory_.empty() ? prefix_directory() : directory_;
    std::array<std::shared_ptr<const Cwine_registry>, 2> files = {
        load(machine_, prefix.empty() ? prefix : prefix + "/system.reg"),
        load(user_, prefix.empty() ? prefix : prefix + "/user.reg")};
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
    const std::array<std::shared_ptr<const Cwine_registry>, 2> files = refresh();
    if (!subkey.empty() && subkey[0] == '\\') {
        return status_bad_path;
    }
    const std::vector<std::u16string> parts = split_folded(code_page_->to_utf16(subkey));

    struct start {
        location at;
        std::uint32_t key;
    };
    std::vector<start> starts;
    if (root == registry_root::local_machine) {
        const location machine{files.data(), 0, u""};
        starts.push_back({machine, key_at(machine, machine.path)});
    } else {
        // The 32-bit classes live in Classes\Wow6432Node; naming no subkey opens Classes itself.
        for (const int file : {1, 0}) {
            location classes{files.data(), file, u"SOFTWARE\\CLASSES"};
            const bool wow64 = classes.registry() != nullptr && classes.registry()->is_win64();
            if (wow64 && !parts.empty()) {
                classes.path += u'\\' + std::u16string(wow_node);
            }
            std::uint32_t found = key_at(classes, classes.path);
            if (found != Cwine_registry::no_key) {
                found = follow_links(classes, found);
            }
            starts.push_back({classes, found});
        }
    }
    for (auto& [at, found] : starts) {
        if (found != Cwine_registry::no_key) {
            found = walk(at, found, parts, at.registry()->is_win64());
        }
        if (found != Cwine_registry::no_key) {
            key.places.push_back({files[at.file], found});
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
    for (const wine_open_key::place& place : key.places) {
        if (place.file->find_value(place.key, folded, value)) {
            data = is_string_type(value.type) ? key.code_page->from_utf16(value.data)
                                              : std::move(value.data);
            return 0;
        }
    }
    return status_not_found;
}
