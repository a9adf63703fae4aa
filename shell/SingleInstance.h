#pragma once

// One running program per user: an exclusive lock (flock) on "tarnwick.lock"
// in $XDG_RUNTIME_DIR, else in the data folder, held for the process's life.

#include <filesystem>

// The lock file's folder: $XDG_RUNTIME_DIR when set and absolute, else the
// data folder.
std::filesystem::path instanceLockFolder(const std::filesystem::path& dataFolder);

// Takes the lock in that folder, keeping it until the process ends (or asks
// for another folder's); false when another holder has it. A lock file that
// cannot be opened counts as the only instance (as a process list that
// cannot be read does).
bool isOnlyInstance(const std::filesystem::path& lockFolder);
