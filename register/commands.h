#pragma once
// The main window's commands that open the register's land parcel and owner forms.

#include <functional>
#include <map>
#include <string>

namespace db {
class Session;
}
class TFolap1;

namespace reg {

// The openers by command (the opened form's class name): each creates its form, shows it
// modally and frees it. "TForm2" opens an instance of its own beside the start-up one,
// and the global pointer refers to the start-up instance again afterwards.
std::map<std::string, std::function<void()>> RegisterOpeners(db::Session& session);

} // namespace reg

// Sets the openers of "TUjtabla", "TForm2", "TTablalista" and "TTulajd" on the main window.
void InstallRegisterCommands(TFolap1& mainWindow, db::Session& session);
