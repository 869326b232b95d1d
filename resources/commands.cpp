#include "commands.h"

#include "core/Folap.h"

void InstallResourceCommands(TFolap1& mainWindow, db::Session& session) {
    (void)mainWindow;
    (void)session;
}

void RegisterResourceLayouts() {}
