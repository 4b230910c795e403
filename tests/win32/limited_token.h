#pragma once
// A process as a normal user runs it. Under Wine a program started from Unix holds the full
// administrator token; the token linked to it is the limited one that Windows gives a user's
// programs by default.
#include <windows.h>

#include <optional>
#include <string>

// The elevation of this process's token: TokenElevation and TokenElevationType.
bool token_is_elevated();
TOKEN_ELEVATION_TYPE token_elevation_type();

// Runs this test program once more with the limited token, on the tests that `filter` names,
// its output where this program's goes; returns its exit code, none when it did not start or end
// within the patience. The tests it runs see `running_with_limited_token()`.
std::optional<DWORD> run_with_limited_token(const std::string& filter);

// True in the program `run_with_limited_token` started.
bool running_with_limited_token();
