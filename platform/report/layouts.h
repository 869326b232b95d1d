#pragma once
// The layouts the program ships. A subsystem registers the text of each of its report
// files (FORMAT.md) once, before the working directory is prepared; start-up then writes
// every registered layout that is missing from the working directory. An existing file
// is never overwritten, whatever it holds (the user's own layout, or a file of the
// original program, which then reports itself as a foreign file when run).
//
//     // register/layouts.cpp, called by the program's start-up:
//     void reg::RegisterLayouts() {
//         report::RegisterLayout("Tablak.rav", kTablakLayout);
//     }
//     // start-up, after the database is ready:
//     report::WriteBuiltInLayouts(std::filesystem::current_path());
//
// Register from code that runs (a function start-up calls), not from a static object:
// a static library's unit that nothing else references is left out of the program.

#include <filesystem>
#include <string>
#include <vector>

namespace report {

struct BuiltInLayout {
    std::string fileName; // "Tablak.rav"
    std::string text;     // UTF-8
};

// Adds a layout, or replaces the text registered earlier under the same file name
// (names compare ignoring letter case).
void RegisterLayout(const std::string& fileName, const std::string& text);
// Every registered layout, in the order of registration.
const std::vector<BuiltInLayout>& BuiltInLayouts();

// Writes the layout when no file of that name (any letter case) is in the directory;
// true when it was written. Written to a temporary name first, then renamed, so a
// layout file is never half written. A directory that cannot be written raises
// ReportError naming the file.
bool WriteLayoutIfMissing(const std::filesystem::path& directory, const std::string& fileName,
                          const std::string& text);
// Writes every registered layout missing from the directory; the names written.
std::vector<std::string> WriteBuiltInLayouts(const std::filesystem::path& directory);

} // namespace report
