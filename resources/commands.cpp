#include "commands.h"

#include "Fogalomh.h"
#include "Keszletkezelesu.h"
#include "Keszlisth.h"
#include "core/Folap.h"
#include "register/Egyebfajh.h"
#include "stock_layouts.h"

void InstallResourceCommands(TFolap1& mainWindow, db::Session& session) {
    db::Session* s = &session;
    mainWindow.SetFormOpener("Tkeszletkezeles", [s] { ui::ShowModalForm(keszletkezeles, *s); });
    mainWindow.SetFormOpener("TKeszlist", [s] { ui::ShowModalForm(Keszlist, *s); });
    mainWindow.SetFormOpener("TForgalom", [s] { ui::ShowModalForm(Forgalom, *s); });
    mainWindow.SetFormOpener("TEgyebFaj", [s] { ui::ShowModalForm(EgyebFaj, *s); });
}

void RegisterResourceLayouts() {
    res::RegisterStockLayouts();
}
