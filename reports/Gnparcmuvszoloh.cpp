#include "Gnparcmuvszoloh.h"

#include "diary_conditions.h"
#include "platform/db/filter.h"
#include "platform/db/sql/sql.h"
#include "platform/sys/numbers.h"
#include "platform/ui/application.h"
#include "platform/ui/form_helpers.h"

TGNParcMuvSzolo* GNParcMuvSzolo = nullptr;

namespace {

const ParcelSideData kSideData[] = {
    {"Parckiegadat.db",
     "Parckod",
     {"Fajta", "Tokedb", "Sort", "Tot", "Teve", "Tereve", "Muvmod"},
     5,
     "GNUltetvenyMuv.rav"},
    {"gyumalap.db",
     "Parcid",
     {"Faj", "Fajta", "Db", "Sortav", "Totav", "Telepev", "Termford", "Muvmod"},
     5,
     "GNGyumolcsMuv.rav"},
    {"legnaplo.db",
     "Parcid",
     {"Legkezd", "Legveg", "Ter", "Faj", "Fajta", "Korcsop", "Darab", "Legmod"},
     8,
     "GNLegeltetesMuv.rav"},
};

const char* const kSelection =
    "WHERE (Elvmuv.Tablakod = parcellak.Parckod) AND (ElvMuv.Erogepkod = Erogepek.Gepkod)AND "
    "(Normalhektar.Kod = ElvMuv.Muvid) AND (ElvMuv.Munkagepkod = Munkagepek.Gepkod)";

} // namespace

const ParcelSideData& SideDataOfKind(int kind) {
    return kSideData[kind >= 0 && kind <= 2 ? kind : 0];
}

TGNParcMuvSzolo::TGNParcMuvSzolo(db::Session& session) : session_(session) {
    SetCaption("Listázandó táblák szűkítése");
    SetPosition(ui::poScreenCenter);
    SetClientSize(620, 360);

    Table1.SetTableName("parcellak.DB");
    Table1.SetIndexFieldNames("Evj;Parcsor");
    Table1.SetFilter("Aktiv = 'A'");
    Table1.SetFiltered(true);
    for (const char* line :
         {"SELECT *", "FROM parcellak", "   INNER JOIN ElvMuv",
          "   ON  (parcellak.Parckod = ElvMuv.Tablakod)", "   INNER JOIN Erogepek",
          "   ON  (ElvMuv.Erogepkod = Erogepek.Gepkod)", "   INNER JOIN Munkagepek",
          "   ON  (ElvMuv.Munkagepkod = Munkagepek.Gepkod)", "   INNER JOIN Normalhektar",
          "   ON  (ElvMuv.Muvid = Normalhektar.Kod)",
          "ORDER BY parcellak.Parcsor, parcellak.Evj, ElvMuv.Datum"})
        Query1.SQL().Add(line);
    // The depth and the yield as the sheet prints them: empty when none was recorded.
    Query1.AddCalcField("Melyseg", db::FieldType::Alpha, 10);
    Query1.AddCalcField("Termes", db::FieldType::Alpha, 20);
    Query1.OnCalcFields = [](db::TDataSet& rows) {
        const std::string depth = rows.FieldByName("Szantm").AsString();
        rows.FieldByName("Melyseg").SetAsString(depth == "0" ? "" : depth);
        const double yield = rows.FieldByName("Hozam").AsFloat();
        rows.FieldByName("Termes").SetAsString(yield == 0 ? "" : sys::floatToText(yield));
    };

    const DiaryFieldChoice fields = MakeDiaryFieldChoice(this, &DataSource1, 150, false);
    DBGrid1 = fields.grid;
    CheckBox1 = fields.active;
    Button3 = ui::Make<ui::TButton>(this, {282, 322, 100, 27}, "Mégsem");
    Button1 = ui::Make<ui::TButton>(this, {392, 322, 110, 27}, "Nyomtatási kép");
    Button4 = ui::Make<ui::TButton>(this, {512, 322, 100, 27}, "Nyomtatás");
    SetTabOrder({DBGrid1, CheckBox1, Button1, Button4, Button3});

    PopupMenu1 = new ui::TPopupMenu(this);
    Aktivparcellak1 = PopupMenu1->Add("Aktív parcellák      CTRL+A");
    Aktivparcellak1->SetChecked(true);
    Aktivparcellak1->OnClick = Handler(&TGNParcMuvSzolo::Aktivparcellak1Click);
    PopupMenu1->Add("Nyomtatás            CTRL+P");
    PopupMenu1->Add("Nyomtatási kép     CTRL+I");
    PopupMenu1->Add("Mégsem                CTRL+X");
    SetPopupMenu(PopupMenu1);

    // The side rows of the field printed, read when the report reads them.
    RvCustomGNParcKiegConnection1.OnOpen = [this](TRvCustomConnection* c) {
        Query1.First();
        side_ = SideRows(Query1.IsEmpty() ? "" : Query1.FieldByName("Parckod").AsString());
        c->DataRows = static_cast<int>(side_.size());
    };
    RvCustomGNParcKiegConnection1.OnGetCols = [this](TRvCustomConnection* c) {
        for (const char* name : SideDataOfKind(SheetKind).columns)
            c->DefineColumn(name, report::dtString, 50, "Cím", "Description 1");
    };
    RvCustomGNParcKiegConnection1.OnFirst = [](TRvCustomConnection* c) { c->DataIndex = 0; };
    RvCustomGNParcKiegConnection1.OnNext = [](TRvCustomConnection* c) { ++c->DataIndex; };
    RvCustomGNParcKiegConnection1.OnEOF = [this](TRvCustomConnection* c, bool& eof) {
        eof = c->DataIndex >= static_cast<int>(side_.size());
    };
    RvCustomGNParcKiegConnection1.OnGetRow = [this](TRvCustomConnection* c) {
        for (const std::string& value : side_.at(static_cast<std::size_t>(c->DataIndex)))
            c->PutStringColumn("", value);
    };

    OnShow = Handler(&TGNParcMuvSzolo::FormShow);
    OnClose = Handler(&TGNParcMuvSzolo::FormClose);
    OnKeyPress = Handler(&TGNParcMuvSzolo::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button3, Button4});
    Button1->OnClick = Handler(&TGNParcMuvSzolo::Button1Click);
    Button4->OnClick = Handler(&TGNParcMuvSzolo::Button1Click);
    Button3->OnClick = Handler(&TGNParcMuvSzolo::Button3Click);
    CheckBox1->OnClick = Handler(&TGNParcMuvSzolo::CheckBox1Click);
}

void TGNParcMuvSzolo::FormShow(TObject*) {
    RvProject1.SetProjectFile(SideDataOfKind(SheetKind).layoutFile);
    Table1.Open();
    Query1.Open();
}

void TGNParcMuvSzolo::FormClose(TObject*, TCloseAction&) {
    Table1.Close();
    Query1.Close();
    Table2.Close();
}

void TGNParcMuvSzolo::FormKeyPress(TObject*, TKey& Key) {
    if (Key == 1) { // Ctrl+A
        Aktivparcellak1->Click();
        Key = 0;
        return;
    }
    ui::Shortcuts(Key, {{'I', Button1}, {'P', Button3}, {'X', Button3}});
}

void TGNParcMuvSzolo::CheckBox1Click(TObject*) {
    ActiveFieldBoxClicked(*CheckBox1, *Aktivparcellak1, Table1);
}

void TGNParcMuvSzolo::Aktivparcellak1Click(TObject*) {
    ActiveFieldItemChosen(*Aktivparcellak1, *CheckBox1);
}

// Both output buttons: the grid's current row is the field, clicked or not.
void TGNParcMuvSzolo::Button1Click(TObject*) {
    const std::string code = Table1.IsEmpty() ? "" : Table1.FieldByName("Parckod").AsString();
    ConditionTail = "AND (Tablakod = " + db::sql::quoteSqlText(code) + ")";
    Query1.Close();
    Query1.SQL().Clear();
    Query1.SQL().Add("SELECT *");
    Query1.SQL().Add("FROM parcellak,ElvMuv,Erogepek,Munkagepek,Normalhektar");
    Query1.SQL().Add(kSelection + ConditionTail);
    Query1.SQL().Add("ORDER BY Parcsor,Evj,Datum,Muvkod");
    Query1.Open();
    if (Query1.IsEmpty()) {
        ui::Application->MessageBox("Nincs megjeleníthető művelet!", "A szűkítés eredménye üres!",
                                    ui::MB_OK);
        return;
    }
    RvProject1.ExecuteActiveReport();
}

void TGNParcMuvSzolo::Button3Click(TObject*) {
    Close();
}

std::vector<std::vector<std::string>> TGNParcMuvSzolo::SideRows(const std::string& parckod) {
    const ParcelSideData& kind = SideDataOfKind(SheetKind);
    std::vector<std::vector<std::string>> rows;
    Table2.Close();
    Table2.SetTableName(kind.table);
    Table2.SetFilter(db::filterEquals(kind.fieldColumn, parckod));
    Table2.SetFiltered(true);
    Table2.Open();
    for (Table2.First(); !Table2.Eof() && rows.size() < kind.maxRows; Table2.Next()) {
        std::vector<std::string>& row = rows.emplace_back();
        // A column this database's table lacks prints empty.
        for (const char* name : kind.columns) {
            db::TField* field = Table2.FindField(name);
            row.push_back(field ? field->AsString() : "");
        }
    }
    Table2.Close();
    return rows;
}

void OpenParcelOperationsConditions(db::Session& session, std::uint8_t kind) {
    ui::OwnedForm<TGNParcMuvSzolo> form(GNParcMuvSzolo, session);
    form->SheetKind = kind;
    form->ShowModal();
}
