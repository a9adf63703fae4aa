#pragma once

// Where the program's files are. Start-up reads "data/...", the language
// folder "vellix/<lang>.lproj/..." and "User.cfg" relative to one base folder:
// the current folder unless set otherwise (tests point it at a fixture folder).
// Paths may be written Windows-style ("vellix\de.lproj"); they are resolved
// with '/' separators and file names keep their case.

#include <filesystem>
#include <string>
#include <string_view>

void setBaseFolder(const std::filesystem::path& folder);
const std::filesystem::path& baseFolder();

// The file system path of a program path: backslashes become '/', and a
// relative path is taken from the base folder.
std::filesystem::path resolvePath(std::string_view path);

// Composes "data/" + name + "." + extension into outPath, or name + "." +
// extension when noDataPrefix is set. Always true.
bool dataFilePath(std::string_view name, std::string& outPath, std::string_view extension,
                  bool noDataPrefix = false);
