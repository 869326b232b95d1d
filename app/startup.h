#pragma once
// The program's start-up, apart from the message loop: the database of the working
// directory, then the main window (whose first show checks and upgrades the database),
// then the forms that live until the program ends.

#include "platform/sys/file_lock.h"

#include <filesystem>
#include <optional>
#include <string>

namespace db {
class Session;
}
namespace ui {
class TApplication;
}

namespace app {

inline constexpr int kExitMissingTables = 2;
inline constexpr int kExitAnotherCopy = 3;

// One program per database: takes the lock on the working directory into `lock`, to be
// held while the program runs (the system drops it when the process ends). When another
// copy holds it, says so and returns kExitAnotherCopy, having created or changed no
// file; 0 to go on.
int ClaimWorkingDirectory(const std::filesystem::path& dir, std::optional<sys::FileLock>& lock);

// Rolls back a save that a crash interrupted, naming its tables to the user. Makes a
// fresh database when the working directory has none and says so; refuses a
// partial one, naming the missing files. Writes the program's report layouts missing
// from the directory. Returns the exit code to stop with, 0 to go on.
int PrepareWorkingDatabase(db::Session& session);

// Title and help file, the main window (shown at once: its first show runs the start-up
// checks), then the long-lived forms in their fixed order; then the other subsystems'
// commands on the main window.
void CreateForms(ui::TApplication& app, db::Session& session);

} // namespace app
