#include "support/wine_prefix_registry.h"

#include <sys/stat.h>

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

std::vector<std::u16string> split_folded(const std::u16string& path) {
    std::vector<std::u16string> parts;
    std::u16string part;
    for (const char16_t c : path) {
        if (c != u'\\') {
            part += fold_case(c);
        } else if (!part.empty()) {
            parts.push_back(std::move(part));
            part.clear();
        }
    }
    if (!part.empty()) {
        parts.push_back(std::move(part));
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

bool holds_wow_node(const std::u16string& path) {
    for (const std::u16string& part : split_folded(path)) {
        if (part == wow_node) {
            return true;
        }
    }
    return false;
}

bool exists(const location& at, std::u16string_view path) {
    return at.registry() != nullptr && at.registry()->find_key(path) != Cwine_registry::no_key;
}

// Moves `at` to the target of the link it stands on, if any; false when a target is missing,
// lies outside the prefix's two files, or links go round in circles.
bool follow_links(location& at) {
    for (int depth = 0; depth < link_depth_limit; ++depth) {
        std::u16string target = at.registry()->link_target(at.registry()->find_key(at.path));
        if (target.empty()) {
            return true;
        }
        fold_case(target);
        std::vector<std::u16string> parts = split_folded(target);
        if (target.rfind(machine_link_prefix, 0) == 0) {
            at = {at.files, 0, join(parts, 2)};
        } else if (target.rfind(user_link_prefix, 0) == 0 && parts.size() >= 3) {
            at = {at.files, 1, join(parts, 3)};
        } else {
            return false;
        }
        if (!exists(at, at.path)) {
            return false;
        }
    }
    return false;
}

// Walks `parts` down from `at` as Wine does for the 32-bit view of a 64-bit prefix: a key with a
// Wow6432Node child stands for that child, unless the path already runs through one or names
// it next.
bool walk(location& at, const std::vector<std::u16string>& parts, bool wow64) {
    bool in_wow = holds_wow_node(at.path);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::u16string next = at.path.empty() ? parts[i] : at.path + u'\\' + parts[i];
        if (!exists(at, next)) {
            return false;
        }
        at.path = std::move(next);
        if (!follow_links(at)) {
            return false;
        }
        in_wow = in_wow || parts[i] == wow_node || holds_wow_node(at.path);
        const bool names_wow_next = i + 1 < parts.size() && parts[i + 1] == wow_node;
        std::u16string redirected = at.path + u'\\' + std::u16string(wow_node);
        if (wow64 && !in_wow && !names_wow_next && exists(at, redirected)) {
            at.path = std::move(redirected);
            in_wow = true;
        }
    }
    return true;
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
        !walk(at, split_folded(u"System\\CurrentControlSet\\Control\\Nls\\CodePage"), false) ||
        !machine->find_value(machine->find_key(at.path), u"ACP", value) ||
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

registry_status Cwine_prefix_registry::open(registry_root root, const std::string& subkey,
                                            wine_open_key& key) {
    key = {};
    const std::string prefix = prefix_directory();
    const std::shared_ptr<const Cwine_registry> files[2] = {
        load(machine_, prefix.empty() ? prefix : prefix + "/system.reg"),
        load(user_, prefix.empty() ? prefix : prefix + "/user.reg")};
    if (files[0] != code_page_source_ || code_page_ == nullptr) {
        code_page_ = std::make_shared<const Cansi_code_page>(ansi_code_page(files[0]));
        code_page_source_ = files[0];
    }
    if (!subkey.empty() && subkey[0] == '\\') {
        return status_bad_path;
    }
    const std::vector<std::u16string> parts = split_folded(code_page_->to_utf16(subkey));

    std::vector<location> starts;
    if (root == registry_root::local_machine) {
        starts.push_back({files, 0, u""});
    } else {
        // The 32-bit classes live in Classes\Wow6432Node; naming no subkey opens Classes itself.
        for (const int file : {1, 0}) {
            location classes{files, file, u"SOFTWARE\\CLASSES"};
            const bool wow64 = classes.registry() != nullptr && classes.registry()->is_win64();
            if (wow64 && !parts.empty()) {
                classes.path += u'\\' + std::u16string(wow_node);
            }
            if (exists(classes, classes.path) && follow_links(classes)) {
                starts.push_back(classes);
            }
        }
    }
    for (location& at : starts) {
        if (at.registry() != nullptr && walk(at, parts, at.registry()->is_win64())) {
            key.places.push_back({files[at.file], at.registry()->find_key(at.path)});
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
