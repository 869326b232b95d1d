#include "commands.h"

#include "Gazolajszlaosszh.h"
#include "J05u.h"
#include "core/Folap.h"
#include "diesel_layouts.h"

void InstallResourceCommands(TFolap1& mainWindow, db::Session& session) {
    db::Session* s = &session;
    mainWindow.SetFormOpener("TGazolajszlaossz", [s] { ui::ShowModalForm(Gazolajszlaossz, *s); });
    mainWindow.SetFormOpener("TJ05", [s] { ui::ShowModalForm(J05, *s); });
}

void RegisterResourceLayouts() {
    res::RegisterDieselLayouts();
}
