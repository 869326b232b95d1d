#include "commands.h"

#include "Allatfajtah.h"
#include "Csapadekh.h"
#include "Elorejelforrh.h"
#include "Eszkozfelh.h"
#include "Fogalomh.h"
#include "Gazdeph.h"
#include "Gazolajszlaosszh.h"
#include "Gepjavitash.h"
#include "Geplisth.h"
#include "J05u.h"
#include "Keszletkezelesu.h"
#include "Keszlisth.h"
#include "Korcsoportszh.h"
#include "Novvedmegfh.h"
#include "Szemelyh.h"
#include "Vismajoru.h"
#include "core/Folap.h"
#include "platform/report/layouts.h"
#include "register/Egyebfajh.h"

namespace {

// The materials, the stock and the species.
void InstallStockCommands(TFolap1& mainWindow, db::Session& session) {
    db::Session* s = &session;
    mainWindow.SetFormOpener("Tkeszletkezeles", [s] { ui::ShowModalForm(keszletkezeles, *s); });
    mainWindow.SetFormOpener("TKeszlist", [s] { ui::ShowModalForm(Keszlist, *s); });
    mainWindow.SetFormOpener("TForgalom", [s] { ui::ShowModalForm(Forgalom, *s); });
    mainWindow.SetFormOpener("TEgyebFaj", [s] { ui::ShowModalForm(EgyebFaj, *s); });
}

// The machines, buildings, employees and records kept by the farm.
void InstallMachineAndRecordCommands(TFolap1& mainWindow, db::Session& session) {
    db::Session* s = &session;
    mainWindow.SetFormOpener("TEszkozfel", [s] { ui::ShowModalForm(Eszkozfel, *s); });
    mainWindow.SetFormOpener("TGeplist", [s] { ui::ShowModalForm(Geplist, *s); });
    mainWindow.SetFormOpener("TGazdep", [s] { ui::ShowModalForm(Gazdep, *s); });
    mainWindow.SetFormOpener("TSzemelyek", [s] { ui::ShowModalForm(Szemelyek, *s); });
    mainWindow.SetFormOpener("TElorejelforr", [s] { ui::ShowModalForm(Elorejelforr, *s); });
    mainWindow.SetFormOpener("TCsapadek", [s] { ui::ShowModalForm(Csapadek, *s); });
    mainWindow.SetFormOpener("TNovvedmegf", [s] { ui::ShowModalForm(Novvedmegf, *s); });
    mainWindow.SetFormOpener("Tvismajor", [s] { ui::ShowModalForm(vismajor, *s); });
    mainWindow.SetFormOpener("TAllatfajta", [s] { ui::ShowModalForm(Allatfajta, *s); });
    mainWindow.SetFormOpener("TKorcsoportok", [s] { ui::ShowModalForm(Korcsoportok, *s); });
    for (bool tractors : {true, false})
        mainWindow.SetFormOpener(tractors ? "TGepjavitas:true" : "TGepjavitas:false",
                                 [s, tractors] {
                                     ui::OwnedForm<TGepjavitas> form(Gepjavitas, *s);
                                     form->PowerMachineMode = tractors;
                                     form->ShowModal();
                                 });
}

// The diesel invoices and the tax-form import file.
void InstallDieselCommands(TFolap1& mainWindow, db::Session& session) {
    db::Session* s = &session;
    mainWindow.SetFormOpener("TGazolajszlaossz", [s] { ui::ShowModalForm(Gazolajszlaossz, *s); });
    mainWindow.SetFormOpener("TJ05", [s] { ui::ShowModalForm(J05, *s); });
}

} // namespace

void InstallResourceCommands(TFolap1& mainWindow, db::Session& session) {
    InstallStockCommands(mainWindow, session);
    InstallMachineAndRecordCommands(mainWindow, session);
    InstallDieselCommands(mainWindow, session);
}

void RegisterResourceLayouts() {
    report::RegisterShippedLayouts("resources");
}
