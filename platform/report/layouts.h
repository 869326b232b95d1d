#pragma once
// The layouts the program ships. Each subsystem keeps the report files (FORMAT.md) it
// prints in its layouts/ folder, embedded in the program as the resources
// ":/layouts/<subsystem>/<file>" (the build's farm_layouts). It registers them once,
// before the working directory is prepared, with the checksums of every earlier version
// of a layout the program ever shipped; start-up then brings the working directory up to
// date: a layout missing there is written, a file that is an earlier shipped version (its
// checksum is one of them) is replaced by the current one, and any other file is kept,
// whatever it holds (a layout the user changed, or a file of the original program, which
// then reports itself as a foreign file when run).
//
//     // register/layouts.cpp, called by the program's start-up:
//     void reg::RegisterLayouts() {
//         report::RegisterShippedLayouts("register", {{"Tablak.rav", {"9f2c...", "41d0..."}}});
//     }
//     // start-up, after the database is ready:
//     report::UpdateBuiltInLayouts(std::filesystem::current_path());
//
// A shipped layout carries its version on its first line ("farmreport 1 version=3").
// When a layout is changed, its version goes up and the checksum of the version it
// replaces (LayoutChecksum of the old text, as the tests print it) joins its list.
//
// Register from code that runs (a function start-up calls), not from a static object:
// a static library's unit that nothing else references is left out of the program.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace report {

struct BuiltInLayout {
    std::string fileName;             // "Tablak.rav"
    std::string text;                 // UTF-8
    std::vector<std::string> earlier; // checksums of the versions shipped before
};

// Adds a layout, or replaces the one registered earlier under the same file name
// (names compare ignoring letter case).
void RegisterLayout(const std::string& fileName, const std::string& text,
                    std::vector<std::string> earlierChecksums = {});

// Registers every layout of a subsystem's folder (":/layouts/<folder>/*.rav"), in name
// order; `earlier` gives, by file name, the checksums of the versions shipped before (a
// name the folder does not hold raises std::logic_error).
void RegisterShippedLayouts(std::string_view folder,
                            const std::map<std::string, std::vector<std::string>>& earlier = {});
// The text of a shipped layout by its folder and name ("register/Tablak.rav"); empty when
// the program carries none of that name.
std::string ShippedLayout(std::string_view path);

// The checksum of a layout file's bytes: SHA-256, 64 lower-case hexadecimal digits.
std::string LayoutChecksum(std::string_view text);
// The version on a layout's first line (version=N); 0 when it has none.
int LayoutVersion(std::string_view text);

// What start-up did to the layouts of a working directory (file names as registered).
struct LayoutUpdates {
    std::vector<std::string> written;  // were missing
    std::vector<std::string> replaced; // were an earlier shipped version
    std::vector<std::string> kept;     // changed by the user (or not ours): left alone
};
// Brings every registered layout of the directory up to date (see above). A file that
// cannot be written raises ReportError naming it.
LayoutUpdates UpdateBuiltInLayouts(const std::filesystem::path& directory);
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
