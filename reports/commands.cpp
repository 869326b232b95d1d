#include "commands.h"

#include "Elvmuvlista.h"
#include "Gazdnapvalasztoh.h"
#include "Gepmuvlekerh.h"
#include "Gn0914ket.h"
#include "Gn0914valasztou.h"
#include "Grafikonh.h"
#include "Hozah.h"
#include "Mezeih.h"
#include "Parcinputh.h"
#include "Parckiosztgraphh.h"
#include "Permnaploszukh.h"
#include "core/Folap.h"
#include "platform/report/layouts.h"

void InstallReportCommands(TFolap1& mainWindow, db::Session& session) {
    db::Session* s = &session;
    mainWindow.SetFormOpener("Telvmuvlist", [s] { ui::ShowModalForm(elvmuvlist, *s); });
    mainWindow.SetFormOpener("TMezei", [s] { ui::ShowModalForm(Mezei, *s); });
    mainWindow.SetFormOpener("TGepmuvleker", [s] { ui::ShowModalForm(Gepmuvleker, *s); });
    mainWindow.SetFormOpener("THozam", [s] { ui::ShowModalForm(Hozam, *s); });
    mainWindow.SetFormOpener("TParcInput", [s] { ui::ShowModalForm(ParcInput, *s); });
    mainWindow.SetFormOpener("TParcKiosztGraph", [s] { ui::ShowModalForm(ParcKiosztGraph, *s); });
    mainWindow.SetFormOpener("TGN200914", [s] { ui::ShowModalForm(GN200914, *s); });
    mainWindow.SetFormOpener("grafikon:1", [s] { ShowAreaChart(*s, AreaChart::Owners); });
    mainWindow.SetFormOpener("grafikon:2", [s] { ShowAreaChart(*s, AreaChart::LandUses); });
    mainWindow.SetFormOpener("grafikon:3", [s] { ShowAreaChart(*s, AreaChart::Settlements); });
    mainWindow.SetFormOpener("TGazdNaploValaszto",
                             [s] { ui::ShowModalForm(GazdNaploValaszto, *s); });
    mainWindow.SetFormOpener("Tpermnaploszuk", [s] { OpenSprayLogConditions(*s); });
}

// The checksums of the versions of a layout shipped before the current one: a file that
// is one of them is replaced at start-up; any other file is the user's and is kept.
void RegisterReportLayouts() {
    report::RegisterShippedLayouts(
        "reports",
        {{"GN06MuvAdatok.rav",
          {"0962a8ddd746eb47b346e34b5721c2144b20f2d95b0c25de458c88651c2a5aed"}}, // version 1
         {"09GN07MuvAdatok.rav",
          {"09e4c68576e8a35bd1954c0550faa221461bc739a3e0ea285955050665b0df68"}}, // version 1
         {"Permetnaplo.rav",
          {"9b1c7629aab78195b878c24718d6cfd3f5a84f2860ca70124bab323a6d7c740b"}}}); // version 1
}
