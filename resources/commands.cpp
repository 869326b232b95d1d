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
    // The checksums of the versions shipped before the current one (each first shipped
    // without a version number): such a file is replaced at start-up.
    report::RegisterShippedLayouts(
        "resources",
        {{"Erogepek.rav", {"7feecccdc223b0586fcbaf34daf9850914155eb277deccc3091bf20ebbffb00a"}},
         {"GN17Szakt.rav", {"8e227f302899fb9e1180abf5953ab0cd228ceac71d27ea4d38dd23a1e043cedb"}},
         {"Gazolajsz.rav", {"05fd9b6c46019aa699ab2d77d7de497e47deba66312aa7973881df626f6897aa"}},
         {"Keszlet.rav", {"3b08820994f5a0b76b98bdefc999745ac9cf2694ca4302cd7f25b7b32d8492a8"}},
         {"Munkagepek.rav", {"9b7b532684a95a88ecfa197290bb3d32c7fb38559987401b123093979bdb82ab"}},
         {"RaktarFNövv.rav", {"cd99d57be58180e45aeb7a53d15472dccf58f81150f3d17988ae18b3fd55ad17"}},
         {"RaktarFTerm.rav", {"498206206e4e15c335bd7f9ac7f12aea1c7fd0090a2b628cd6a2c2fc94f159f2"}},
         {"RaktarFVeto.rav",
          {"eedf4c754fb7d1d77438fa5bc74902e2024de4424500971176bbbada496dd1c8"}}});
}
