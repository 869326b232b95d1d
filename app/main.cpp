// The program's entry point: the database of the working directory, the forms, the
// message loop. The subsystems install their commands on the main window here.

#include "app/startup.h"
#include "core/Folap.h"
#include "platform/db/session.h"
#include "platform/ui/application.h"
#include "register/commands.h"
#include "register/layouts.h"

#include <filesystem>

int main(int argc, char** argv) {
    db::Session session(std::filesystem::current_path());
    int stopCode = 0;
    int code = ui::RunProgram(argc, argv, [&](ui::TApplication& app) {
        // The report layouts the subsystems ship, written into the working directory
        // where they are missing.
        reg::RegisterLayouts();
        stopCode = app::PrepareWorkingDatabase(session);
        if (stopCode != 0) {
            app.Terminate();
            return;
        }
        app::CreateForms(app, session);
        // The commands of the other subsystems' forms.
        InstallRegisterCommands(*Folap1, session);
    });
    return stopCode != 0 ? stopCode : code;
}
