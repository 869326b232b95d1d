// The program's entry point: the database of the working directory, the forms, the
// message loop.

#include "app/first_paint.h"
#include "app/startup.h"
#include "core/Folap.h"
#include "platform/db/session.h"
#include "platform/ui/application.h"

#include <filesystem>
#include <memory>
#include <optional>

int main(int argc, char** argv) {
    // Every save is on the disk when it returns: a power cut loses none and leaves every
    // table whole (the journal reaches the disk before the tables it protects).
    db::Session session(std::filesystem::current_path(), db::Durability::Fsync);
    std::optional<sys::FileLock> directoryLock; // held until the program ends
    int stopCode = 0;
    std::unique_ptr<app::FirstPaintProbe> probe; // the start-up benchmark's, see its header
    int code = ui::RunProgram(argc, argv, [&](ui::TApplication& app) {
        if (app::FirstPaintProbe::Wanted())
            probe = std::make_unique<app::FirstPaintProbe>([] { return Folap1; });
        stopCode = app::ClaimWorkingDirectory(session.directory(), directoryLock);
        if (stopCode == 0)
            stopCode = app::PrepareWorkingDatabase(session);
        if (stopCode != 0) {
            app.Terminate();
            return;
        }
        app::CreateForms(app, session);
    });
    return stopCode != 0 ? stopCode : code;
}
