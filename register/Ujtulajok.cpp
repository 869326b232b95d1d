#include "Ujtulajok.h"

#include "codes.h"

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

    Label1 = new ui::TLabel(this, "Név:");
    Label1->SetBounds(16, 18, 60, 16);
    Edit3 = new ui::TEdit(this);
    Edit3->SetBounds(80, 14, 276, 22);
    Label2 = new ui::TLabel(this, "Cím :");
    Label2->SetBounds(16, 48, 60, 16);
    Edit2 = new ui::TEdit(this);
    Edit2->SetBounds(80, 44, 276, 22);
    Label3 = new ui::TLabel(this, "Tel :");
    Label3->SetBounds(16, 78, 60, 16);
    Edit1 = new ui::TEdit(this);
    Edit1->SetBounds(80, 74, 160, 22);
    Button1 = new ui::TButton(this, "Bevitel");
    Button1->SetBounds(80, 112, 85, 27);
    Button2 = new ui::TButton(this, "Mégsem");
    Button2->SetBounds(175, 112, 85, 27);
    Button3 = new ui::TButton(this, "Lista");
    Button3->SetBounds(271, 112, 85, 27);
    SetTabOrder({Edit3, Edit2, Edit1, Button1, Button2, Button3});

    OnActivate = Handler(&Tujtulaj::FormActivate);
    OnClose = Handler(&Tujtulaj::FormClose);
    OnKeyPress = Handler(&Tujtulaj::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&Tujtulaj::Button1Click);
    Button2->OnClick = Handler(&Tujtulaj::Button2Click);
    Button3->OnClick = Handler(&Tujtulaj::Button3Click);
}

void Tujtulaj::FormActivate(TObject*) {
    if (!Table1.Active())
        Table1.Open();
    if (!Query1.Active())
        Query1.Open();
}

void Tujtulaj::FormClose(TObject*, TCloseAction&) {
    Table1.Close();
    Query1.Close();
}

// Ctrl+R stores, Ctrl+X closes, as in every editing form.
void Tujtulaj::FormKeyPress(TObject*, TKey& Key) {
    if (Key == ui::ctrlKey('R'))
        Button1->Click();
    else if (Key == ui::ctrlKey('X'))
        Button2->Click();
    else
        return;
    Key = ui::keyNone;
}

void Tujtulaj::Button1Click(TObject*) {
    if (Edit3->Text().empty() || Edit2->Text().empty()) {
        ui::Application->MessageBox("Kérem a következöket megadni: Név, Cím!", "", ui::MB_OK);
        return;
    }
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
    if (Query1.IsEmpty())
        return;
    RvProject1.ExecuteActiveReport();
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
