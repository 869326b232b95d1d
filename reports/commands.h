#pragma once
// The main window's commands that open this subsystem's forms, and its report layouts.

namespace db {
class Session;
}
class TFolap1;

// Sets the openers of this subsystem's main-window commands: each creates its form,
// shows it modally and frees it (long-lived forms are shown instead).
void InstallReportCommands(TFolap1& mainWindow, db::Session& session);

// Registers this subsystem's report layouts as built-in layouts (start-up calls it once,
// before the built-in layouts are written into the working directory).
void RegisterReportLayouts();
