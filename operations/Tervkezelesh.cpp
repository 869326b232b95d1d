#include "Tervkezelesh.h"

#include "copy_operation.h"
#include "platform/ui/form_helpers.h"
#include "register/cascade_deletes.h"

TTervkezeles* Tervkezeles = nullptr;

TTervkezeles::TTervkezeles(db::Session& session) : session_(session) {
    SetCaption("Tervezett műveletek kezelése");
    SetClientSize(960, 480);
    SetPosition(ui::poScreenCenter);

    Query1.SQL().Add(
        "SELECT parcellak.Parckod, parcellak.Parc_id, parcellak.Parcsor, parcellak.Ter, "
        "parcellak.Agazat, parcellak.Evj, parcellak.Aktiv, parcellak.Hazmeg, parcellak.Masod, "
        "parcellak.N, parcellak.P, parcellak.K, parcellak.Agrkor, parcellak.Tertam, "
        "parcellak.Kiegtam, parcellak.Kat19, parcellak.Kat20, parcellak.Celp, "
        "parcellak.Hasznkod, parcellak.Saps, parcellak.Kat, parcellak.Akg, Tervelvmuv.Tablakod, "
        "Tervelvmuv.Muvkod, Tervelvmuv.Datum, Tervelvmuv.Muvnev, Tervelvmuv.Irany, "
        "Tervelvmuv.Evj, Tervelvmuv.Agazat, Tervelvmuv.Munkagepkod, Tervelvmuv.Erogepkod, "
        "Tervelvmuv.Gepora, Tervelvmuv.Keziora, Tervelvmuv.Szantm, Tervelvmuv.Hozam, "
        "Tervelvmuv.Mellek, Tervelvmuv.Masod, Tervelvmuv.Ter, Tervelvmuv.Nha, Tervelvmuv.Muvid, "
        "Tervelvmuv.Szolg");
    Query1.SQL().Add("FROM Tervelvmuv");
    Query1.SQL().Add("   INNER JOIN parcellak");
    Query1.SQL().Add("   ON  (Tervelvmuv.Tablakod = parcellak.Parckod)  ");
    Query1.SQL().Add("ORDER BY Evj, Parcsor, Datum, Muvnev");

    Label1 = ui::Make<ui::TLabel>(this, {8, 8, 400, 22}, "Megtervezett műveletek kezelése");
    Label1->SetBold(true);
    DBGrid1 = ui::ListGrid(this, {8, 36, 944, 392}, &DataSource1,
                           {{"Evj", "G.év.", 45},
                            {"Parcsor", "S.Sz.", 40},
                            {"Datum", "Dátum", 75},
                            {"Muvnev", "Művelet megnevezése", 150},
                            {"Ter_1", "Művelet területe", 90},
                            {"Irany", "Irány", 50},
                            {"Nha", "Nha", 50},
                            {"Gepora", "Gépóra", 55},
                            {"Keziora", "Kézióra", 55},
                            {"Agazat", "Ágazat", 90},
                            {"Hazmeg", "Házimegnevezés", 110},
                            {"Ter", "Parcella területe", 90}});
    DBGrid1->SetHint("CTRL segítségével több jelölhető.");
    Button1 = ui::Make<ui::TButton>(this, {8, 440, 100, 30}, "Bezárás");
    Button2 = ui::Make<ui::TButton>(this, {116, 440, 100, 30}, "Megvalósult");
    Button2->SetHint("Tervezett művelet megvalósultá nyivánítása.");
    Button3 = ui::Make<ui::TButton>(this, {224, 440, 100, 30}, "Módosítás");
    Button3->SetHint("Aktív kijelölt módosítása.");
    Button4 = ui::Make<ui::TButton>(this, {332, 440, 100, 30}, "Törlés");
    Button4->SetHint("Aktív kijelölt törlése.");

    OnShow = Handler(&TTervkezeles::FormShow);
    OnClose = Handler(&TTervkezeles::FormClose);
    Button1->OnClick = Handler(&TTervkezeles::Button1Click);
    Button2->OnClick = Handler(&TTervkezeles::Button2Click);
    Button4->OnClick = Handler(&TTervkezeles::Button4Click);
}

TTervkezeles::~TTervkezeles() = default;

void TTervkezeles::FormShow(TObject*) {
    Query1.Open();
    copier_ = std::make_unique<Tmuvmasolo>(session_);
}

void TTervkezeles::FormClose(TObject*, TCloseAction&) {
    Query1.Close();
    copier_.reset();
}

void TTervkezeles::Reopen() {
    Query1.Close();
    Query1.Open();
}

void TTervkezeles::Button1Click(TObject*) {
    Close();
}

// The copy and the removal of the plan are one transaction, so a failed copy leaves the
// plan as it was and a retry never makes a second performed operation.
void TTervkezeles::Button2Click(TObject*) {
    if (!Query1.Active() || Query1.IsEmpty() || !copier_)
        return;
    ops::RealisePlannedOperation(session_, Query1.FieldByName("Muvkod").AsString(),
                                 copier_->StockKeeping());
    Reopen();
}

void TTervkezeles::Button4Click(TObject*) {
    if (!Query1.Active() || Query1.IsEmpty())
        return;
    reg::DeleteOperation(session_, Query1.FieldByName("Muvkod").AsString(), true);
    Reopen();
}
