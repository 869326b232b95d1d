#include "commands.h"

#include "Keszletkezelesu.h"
#include "core/Folap.h"
#include "register/Egyebfajh.h"

void InstallResourceCommands(TFolap1& mainWindow, db::Session& session) {
    db::Session* s = &session;
    mainWindow.SetFormOpener("Tkeszletkezeles", [s] { ui::ShowModalForm(keszletkezeles, *s); });
    mainWindow.SetFormOpener("TEgyebFaj", [s] { ui::ShowModalForm(EgyebFaj, *s); });
}

void RegisterResourceLayouts() {}
