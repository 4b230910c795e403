#pragma once
#include <cstddef>
#include <cstring>

// Rewrites `path`, a buffer of `size` bytes holding the launcher's own full path of `length`
// bytes as GetModuleFileNameA returned it, into the path of game.exe in the same directory.
// Returns false, having written nothing, when there is no path, when it was cut (the result
// filled the whole buffer), when it holds no backslash, or when the game's path would not fit.
inline bool make_game_path(char* path, std::size_t size, std::size_t length) {
    if (length == 0 || length >= size) {
        return false;
    }
    std::size_t directory_length = length;
    while (directory_length > 0 && path[directory_length - 1] != '\\') {
        --directory_length;
    }
    static const char game_name[] = "game.exe";
    // A launcher whose own name is shorter than "game.exe" leaves less room than the game needs.
    if (directory_length == 0 || directory_length + sizeof game_name > size) {
        return false;
    }
    std::memcpy(path + directory_length, game_name, sizeof game_name);
    return true;
}
