#pragma once
// The main window's commands that open the register's land parcel and owner forms.

namespace db {
class Session;
}
class TFolap1;

// Sets the openers of "TUjtabla", "TForm2", "TTablalista" and "TTulajd" on the main
// window: each creates its form, shows it modally and frees it. "TForm2" opens an
// instance of its own beside the start-up one; the global pointer refers to the start-up
// instance again afterwards.
void InstallRegisterCommands(TFolap1& mainWindow, db::Session& session);
