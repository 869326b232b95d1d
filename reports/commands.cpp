#include "commands.h"

#include "core/Folap.h"
#include "diary_layouts.h"

void InstallReportCommands(TFolap1& mainWindow, db::Session& session) {
    (void)mainWindow;
    (void)session;
}

void RegisterReportLayouts() {
    RegisterDiaryParcelLayouts();
}
