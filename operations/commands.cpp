#include "commands.h"

#include "Agazatimuvadath.h"
#include "Legeltetesh.h"
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

// Operations recorded for a whole sector, and the grazing log.
void InstallSectorAndGrazingCommands(TFolap1& mainWindow, db::Session& session) {
    db::Session* s = &session;
    mainWindow.SetFormOpener("TAgazatimuvadat", [s] { ui::ShowModalForm(Agazatimuvadat, *s); });
    mainWindow.SetFormOpener("TLegeltetes", [s] { ui::ShowModalForm(Legeltetes, *s); });
}

} // namespace

void InstallOperationCommands(TFolap1& mainWindow, db::Session& session) {
    InstallCopyCommands(mainWindow, session);
    InstallSectorAndGrazingCommands(mainWindow, session);
}

void RegisterOperationLayouts() {}
