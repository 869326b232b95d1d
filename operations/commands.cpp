#include "commands.h"

#include "Muvmasoloh.h"
#include "Tervkezelesh.h"
#include "core/Folap.h"

namespace {

// Copying operations and realising planned ones.
void InstallCopyCommands(TFolap1& mainWindow, db::Session& session) {
    db::Session* s = &session;
    mainWindow.SetFormOpener("Tmuvmasolo", [s] { ui::ShowModalForm(muvmasolo, *s); });
    mainWindow.SetFormOpener("TTervkezeles", [s] { ui::ShowModalForm(Tervkezeles, *s); });
}

} // namespace

void InstallOperationCommands(TFolap1& mainWindow, db::Session& session) {
    InstallCopyCommands(mainWindow, session);
}

void RegisterOperationLayouts() {}
