#include "commands.h"

#include "Agazatimuvadath.h"
#include "Legeltetesh.h"
#include "Munkautalvh.h"
#include "Munyomth.h"
#include "Muvmasoloh.h"
#include "Tervkezelesh.h"
#include "core/Folap.h"
#include "platform/report/layouts.h"

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
    db::Session* s = &session;
    mainWindow.SetFormOpener("TMunkautalvany", [s] { ui::ShowModalForm(Munkautalvany, *s); });
}

void RegisterOperationLayouts() {
    report::RegisterLayout("Munkautalvany.rav", WorkOrderLayout());
}
