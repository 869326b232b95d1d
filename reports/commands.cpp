#include "commands.h"

#include "core/Folap.h"

void InstallReportCommands(TFolap1& mainWindow, db::Session& session) {
    (void)mainWindow;
    (void)session;
}

void RegisterReportLayouts() {}
