#include "Ujtulajok.h"

#include "codes.h"
#include "owner_fields.h"
#include "platform/ui/form_helpers.h"

Tujtulaj* ujtulaj = nullptr;

Tujtulaj::Tujtulaj(db::Session& session) : session_(session) {
    SetCaption("Új tulajdonos");
    SetClientSize(372, 150);
    SetPosition(ui::poScreenCenter);
    SetBorderStyle(ui::bsDialog);

    Table1.SetTableName("tulaj.db");
    Table1.SetIndexFieldNames("Tulkod");
    Query1.SQL().Add("SELECT tulaj.Tulnev, tulaj.Cim, tulaj.Tel, Tablak.Helysz, Tablak.Blok, "
                     "Tablak.Ter");
    Query1.SQL().Add("FROM tulaj");
    Query1.SQL().Add("   INNER JOIN Tablak");
    Query1.SQL().Add("   ON  (tulaj.Tulkod = Tablak.Tulkod)  ");
    Query1.SQL().Add("WHERE  Tablak.Aktiv = 1 ");
    Query1.SQL().Add("ORDER BY tulaj.Tulnev, tulaj.Cim");
    Query1.AddCalcField("Tulajdonos", db::FieldType::Alpha, 200);
    Query1.AddCalcField("Hektar", db::FieldType::Number);
    Query1.OnCalcFields = [this](db::TDataSet& rows) { Query1CalcFields(rows); };

    Label1 = ui::Make<ui::TLabel>(this, {16, 18, 60, 16}, "Név:");
    Edit3 = ui::Make<ui::TEdit>(this, {80, 14, 276, 22});
    Label2 = ui::Make<ui::TLabel>(this, {16, 48, 60, 16}, "Cím :");
    Edit2 = ui::Make<ui::TEdit>(this, {80, 44, 276, 22});
    Label3 = ui::Make<ui::TLabel>(this, {16, 78, 60, 16}, "Tel :");
    Edit1 = ui::Make<ui::TEdit>(this, {80, 74, 160, 22});
    Button1 = ui::Make<ui::TButton>(this, {80, 112, 85, 27}, "Bevitel");
    Button2 = ui::Make<ui::TButton>(this, {175, 112, 85, 27}, "Mégsem");
    Button3 = ui::Make<ui::TButton>(this, {271, 112, 85, 27}, "Lista");
    SetTabOrder({Edit3, Edit2, Edit1, Button1, Button2, Button3});

    OnActivate = Handler(&Tujtulaj::FormActivate);
    OnKeyPress = Handler(&Tujtulaj::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&Tujtulaj::Button1Click);
    Button2->OnClick = Handler(&Tujtulaj::Button2Click);
    Button3->OnClick = Handler(&Tujtulaj::Button3Click);
}

void Tujtulaj::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Query1});
    reg::LimitOwnerEdits(session_, Edit3, Edit2, Edit1);
}

void Tujtulaj::FormKeyPress(TObject*, TKey& Key) {
    ui::Shortcuts(Key, {{'R', Button1}, {'X', Button2}});
}

void Tujtulaj::Button1Click(TObject*) {
    if (!reg::OwnerNameAndAddressGiven(Edit3->Text(), Edit2->Text())) {
        ui::Application->MessageBox("Kérem a következöket megadni: Név, Cím!", "", ui::MB_OK);
        return;
    }
    if (reg::OwnerNameTaken(session_, Edit3->Text()))
        return;
    if (!Table1.Active())
        Table1.Open();
    std::string code = reg::NextOwnerCode(session_);
    Table1.Insert();
    Table1.FieldByName("Tulkod").SetAsString(code);
    Table1.FieldByName("Tulnev").SetAsString(Edit3->Text());
    Table1.FieldByName("Cim").SetAsString(Edit2->Text());
    Table1.FieldByName("Tel").SetAsString(Edit1->Text());
    Table1.Post();
    Table1.FlushBuffers();
    CreatedOwnerCode = code;
    CreatedOwnerName = Edit3->Text();
    Close();
}

void Tujtulaj::Button2Click(TObject*) {
    Close();
}

// Prints the active land parcels with their owners; nothing when there is none.
void Tujtulaj::Button3Click(TObject*) {
    Query1.Close();
    Query1.Open();
    report::ExecuteUnlessEmpty(RvProject1, Query1);
}

void Tujtulaj::Query1CalcFields(db::TDataSet& DataSet) {
    std::string owner =
        DataSet.FieldByName("Tulnev").AsString() + ", " + DataSet.FieldByName("Cim").AsString();
    std::string phone = DataSet.FieldByName("Tel").AsString();
    if (!phone.empty())
        owner += ", tel.: " + phone;
    DataSet.FieldByName("Tulajdonos").SetAsString(owner);
    DataSet.FieldByName("Hektar").SetAsFloat(DataSet.FieldByName("Ter").AsInteger() * 0.0001);
}
