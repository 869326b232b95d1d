#include "commands.h"

#include "core/Folap.h"

void InstallOperationCommands(TFolap1& mainWindow, db::Session& session) {
    (void)mainWindow;
    (void)session;
}

void RegisterOperationLayouts() {}
