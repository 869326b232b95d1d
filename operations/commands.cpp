#include "commands.h"

#include "Agazatimuvadath.h"
#include "Legeltetesh.h"
#include "Munkautalvh.h"
#include "Munyomth.h"
#include "Muvadatf.h"
#include "Muvmasoloh.h"
#include "Muvmodvalh.h"
#include "Tervkezelesh.h"
#include "Ujmuvh.h"
#include "core/Folap.h"
#include "platform/report/layouts.h"

namespace {

void OpenOperationEntry(db::Session& session, const std::string& planMode) {
    ui::OwnedForm<TMuvadat> form(Muvadat, session);
    form->PlanMode = planMode;
    form->ShowModal();
}

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
    mainWindow.SetFormOpener("TMuvadat", [s] { OpenOperationEntry(*s, ""); });
    mainWindow.SetFormOpener("TMuvadat:terv", [s] { OpenOperationEntry(*s, "terv"); });
    mainWindow.SetFormOpener("TMuvModVal", [s] { ui::ShowModalForm(MuvModVal, *s); });
    mainWindow.SetFormOpener("TNormalhek", [s] { ui::ShowModalForm(Normalhek, *s); });
}

void RegisterOperationLayouts() {
    report::RegisterShippedLayouts("operations");
}
