#include "commands.h"

#include "Munkautalvh.h"
#include "Munyomth.h"
#include "Muvadatf.h"
#include "Ujmuvh.h"
#include "core/Folap.h"
#include "platform/report/layouts.h"

namespace {

void OpenOperationEntry(db::Session& session, const std::string& planMode) {
    ui::OwnedForm<TMuvadat> form(Muvadat, session);
    form->PlanMode = planMode;
    form->ShowModal();
}

} // namespace

void InstallOperationCommands(TFolap1& mainWindow, db::Session& session) {
    db::Session* s = &session;
    mainWindow.SetFormOpener("TMunkautalvany", [s] { ui::ShowModalForm(Munkautalvany, *s); });
    mainWindow.SetFormOpener("TMuvadat", [s] { OpenOperationEntry(*s, ""); });
    mainWindow.SetFormOpener("TMuvadat:terv", [s] { OpenOperationEntry(*s, "terv"); });
    mainWindow.SetFormOpener("TNormalhek", [s] { ui::ShowModalForm(Normalhek, *s); });
}

void RegisterOperationLayouts() {
    report::RegisterLayout("Munkautalvany.rav", WorkOrderLayout());
}
