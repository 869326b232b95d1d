#include "commands.h"

#include "Csoportostablamodh.h"
#include "Dolvarenp.h"
#include "Fhaszntervh.h"
#include "Ketu.h"
#include "Parcaktivh.h"
#include "Parcbeftenyh.h"
#include "Parckeze.h"
#include "Parclistszukh.h"
#include "Parcmodh.h"
#include "Probavforgoh.h"
#include "Tablalistac.h"
#include "Talajmintabevh.h"
#include "Talajmintalisth.h"
#include "TalamintaKeth.h"
#include "Tapanyaggt.h"
#include "Tulajdh.h"
#include "Ujparcella.h"
#include "Ujtablak.h"
#include "core/Folap.h"

void InstallRegisterCommands(TFolap1& mainWindow, db::Session& session) {
    db::Session* s = &session;
    mainWindow.SetFormOpener("TUjtabla", [s] { ui::ShowModalForm(Ujtabla, *s); });
    mainWindow.SetFormOpener("TForm2", [s] { ui::ShowModalForm(Form2, *s); });
    mainWindow.SetFormOpener("TTablalista", [s] { ui::ShowModalForm(Tablalista, *s); });
    mainWindow.SetFormOpener("TTulajd", [s] { ui::ShowModalForm(Tulajd, *s); });
    mainWindow.SetFormOpener("TUjparcellaF", [s] { ui::ShowModalForm(UjparcellaF, *s); });
    mainWindow.SetFormOpener("TParcAktiv", [s] { ui::ShowModalForm(ParcAktiv, *s); });
    mainWindow.SetFormOpener("TCsoportosTablamod",
                             [s] { ui::ShowModalForm(CsoportosTablamod, *s); });
    mainWindow.SetFormOpener("TParckezeles", [s] { ui::ShowModalForm(Parckezeles, *s); });
    mainWindow.SetFormOpener("TParcmod", [s] { ui::ShowModalForm(Parcmod, *s); });
    mainWindow.SetFormOpener("Tket", [s] { ui::ShowModalForm(ket, *s); });
    mainWindow.SetFormOpener("TTapterv", [s] { ui::ShowModalForm(Tapterv, *s); });
    mainWindow.SetFormOpener("TParcBefTeny", [s] { ui::ShowModalForm(ParcBefTeny, *s); });
    mainWindow.SetFormOpener("TParcListSzuk:0", [s] { OpenFieldListFilter(*s, 0); });
    mainWindow.SetFormOpener("TParcListSzuk:1", [s] { OpenFieldListFilter(*s, 1); });
    mainWindow.SetFormOpener("TProbaVForgo", [s] { ui::ShowModalForm(ProbaVForgo, *s); });
    mainWindow.SetFormOpener("TTalajmintabev", [s] { ui::ShowModalForm(Talajmintabev, *s); });
    mainWindow.SetFormOpener("TTalajmintalist", [s] { ui::ShowModalForm(Talajmintalist, *s); });
    mainWindow.SetFormOpener("TTalamintaKet", [s] { ui::ShowModalForm(TalamintaKet, *s); });
    mainWindow.SetFormOpener("Tfoldhasznterv", [s] { ui::ShowModalForm(foldhasznterv, *s); });
}
