#include "commands.h"

#include "Munkautalvh.h"
#include "Munyomth.h"
#include "core/Folap.h"
#include "platform/report/layouts.h"

void InstallOperationCommands(TFolap1& mainWindow, db::Session& session) {
    db::Session* s = &session;
    mainWindow.SetFormOpener("TMunkautalvany", [s] { ui::ShowModalForm(Munkautalvany, *s); });
}

void RegisterOperationLayouts() {
    report::RegisterLayout("Munkautalvany.rav", WorkOrderLayout());
}
