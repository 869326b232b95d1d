#include "TalamintaKeth.h"

#include "core/Isnuminth.h"
#include "platform/sys/datetime.h"
#include "platform/ui/form_helpers.h"
#include "register/soil_tests.h"

TTalamintaKet* TalamintaKet = nullptr;

namespace {

ui::TDBEdit* BoundEdit(QWidget* parent, int top, const std::string& caption,
                       db::TDataSource* source, const char* field) {
    (new ui::TLabel(parent, caption))->SetBounds(12, top + 3, 230, 16);
    auto* edit = new ui::TDBEdit(parent);
    edit->SetBounds(246, top, 160, 22);
    edit->SetDataSource(source);
    edit->SetDataField(field);
    return edit;
}

} // namespace

TTalamintaKet::TTalamintaKet(db::Session& session) : session_(session) {
    SetCaption("Talajmintavételi helyek és laboratóriumi jegyzőkönyvek nyilvántartása");
    SetClientSize(780, 520);
    SetPosition(ui::poScreenCenter);

    Query1.SQL().Add("SELECT *");
    Query1.SQL().Add("FROM kotegyter");
    Query1.SQL().Add("INNER JOIN celprogramok");
    Query1.SQL().Add("   ON (kotegyter.Akgkod = celprogramok.Id)");
    Query1.SQL().Add("WHERE kotegyter.Deleted = false");
    Query1.SQL().Add("ORDER BY  Kotegyter.Sorsz");
    reg::SetSamplingPlaceQuery(Query2);
    Table1.SetTableName("TalajmintaKet.db");
    Table1.SetIndexFieldNames("Id");
    LinkTable(true);

    Label1 = new ui::TLabel(this, "Talajmintavételi helyek nyilvántartása ");
    Label1->SetBounds(8, 8, 400, 20);
    Label1->SetBold(true);

    GroupBox1 = new ui::TGroupBox(this, "KET kiválsztása");
    GroupBox1->SetBounds(8, 40, 764, 472);
    DBGrid1 = new ui::TDBGrid(GroupBox1);
    DBGrid1->SetBounds(12, 24, 740, 400);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Sorsz", "Sorsz.", 50);
    DBGrid1->Columns().Add("Hazimen", "Hazimegnevezés", 200);
    DBGrid1->Columns().Add("Ter", "Terület", 70);
    DBGrid1->Columns().Add("Kod", "AKG", 60);
    DBGrid1->Columns().Add("Megnev", "Célprogram", 320);
    Button1 = new ui::TButton(GroupBox1, "kiválaszt");
    Button1->SetBounds(662, 434, 90, 27);

    GroupBox2 = new ui::TGroupBox(this, "");
    GroupBox2->SetBounds(8, 40, 764, 472);
    DBGrid2 = new ui::TDBGrid(GroupBox2);
    DBGrid2->SetBounds(12, 24, 740, 400);
    DBGrid2->SetDataSource(&DataSource2);
    DBGrid2->SetReadOnly(true);
    DBGrid2->SetRowSelect(true);
    DBGrid2->Columns().Add("Sorsz", "KET sorsz.", 60);
    DBGrid2->Columns().Add("Jele", "Terület jele", 90);
    DBGrid2->Columns().Add("Ter_1", "Nagysága", 70);
    DBGrid2->Columns().Add("Elsominatido", "1. mintavétel", 85);
    DBGrid2->Columns().Add("Elsojegyzsz", "1. jegyz. s.sz.", 90);
    DBGrid2->Columns().Add("Utolmintaido", "Utolsó mintavétel", 100);
    DBGrid2->Columns().Add("Utoljegyzsz", "Utolsó jegyz. s.sz.", 110);
    DBGrid2->Columns().Add("Megjegyzés", "Megjegyzés", 130);
    auto button = [this](const char* caption, int left) {
        auto* b = new ui::TButton(GroupBox2, caption);
        b->SetBounds(left, 434, 90, 27);
        return b;
    };
    Button2 = button("másik KET", 12);
    Button3 = button("új minta", 272);
    Button4 = button("módosítás", 368);
    Button5 = button("törlés", 464);
    Button6 = button("bezárás", 662);
    GroupBox2->SetVisible(false);

    GroupBox3 = new ui::TGroupBox(this, "Talajminta nyílvántartás KET-ekhez rendelve");
    GroupBox3->SetBounds(8, 40, 764, 472);
    Label2 = new ui::TLabel(GroupBox3, "KET sorszáma :");
    Label2->SetBounds(12, 24, 230, 16);
    Label3 = new ui::TLabel(GroupBox3, "KET nagysága :");
    Label3->SetBounds(250, 24, 230, 16);
    Label4 = new ui::TLabel(GroupBox3, "AKG célprogram kód :");
    Label4->SetBounds(500, 24, 250, 16);
    DBEdit1 = BoundEdit(GroupBox3, 50, "Mintavételi terület jelzése :", &DataSource3, "Jele");
    DBEdit2 = BoundEdit(GroupBox3, 78, "Mintavételi terület nagysága :", &DataSource3, "Ter");
    GroupBox4 = new ui::TGroupBox(GroupBox3, "Mintavétel mélysége :");
    GroupBox4->SetBounds(12, 108, 400, 80);
    const char* depths[] = {"0 - 25 cm", "0 - 20 cm", "20 - 40 cm", "0 - 30 cm ", "30 - 60 cm"};
    ui::TRadioButton** radios[] = {&RadioButton1, &RadioButton2, &RadioButton3, &RadioButton4,
                                   &RadioButton5};
    for (int i = 0; i < 5; ++i) {
        *radios[i] = new ui::TRadioButton(GroupBox4, depths[i]);
        (*radios[i])->SetBounds(12 + (i % 3) * 120, 22 + (i / 3) * 26, 110, 20);
    }
    RadioButton1->SetChecked(true);
    (new ui::TLabel(GroupBox3, "Első mintavétel időpontja :"))->SetBounds(12, 201, 230, 16);
    DateTimePicker1 = new ui::TDateTimePicker(GroupBox3);
    DateTimePicker1->SetBounds(246, 198, 130, 22);
    DBEdit3 = BoundEdit(GroupBox3, 226, "Első vizsgálati jegyzőkönyv száma :", &DataSource3,
                        "Elsojegyzsz");
    (new ui::TLabel(GroupBox3, "Utolsó mintavétel időpontja :"))->SetBounds(12, 257, 230, 16);
    DateTimePicker2 = new ui::TDateTimePicker(GroupBox3);
    DateTimePicker2->SetBounds(246, 254, 150, 22);
    DateTimePicker2->SetShowCheckbox(true);
    DBEdit4 = BoundEdit(GroupBox3, 282, "Utolsó vizsgálati jegyzőkönyv száma :", &DataSource3,
                        "Utoljegyzsz");
    GroupBox5 = new ui::TGroupBox(GroupBox3, "Többszörözés");
    GroupBox5->SetBounds(430, 50, 320, 150);
    auto* note = new ui::TLabel(
        GroupBox5, "Azonos KET-hez tartozó mintahelyek csoportos létrehozása lehetséges. A "
                   "mezőbe írja be a mintahelyek számát! Létrehozás után egyessével lehet "
                   "módosítani a mintajeleket.");
    note->SetWordWrap(true);
    note->SetBounds(12, 20, 296, 80);
    Edit1 = new ui::TEdit(GroupBox5);
    Edit1->SetBounds(12, 110, 60, 22);
    db::Domain count; // how many sampling places
    count.sign = db::Domain::Sign::Positive;
    count.whole = true;
    Edit1->SetDomain(count);
    (new ui::TLabel(GroupBox5, "db"))->SetBounds(78, 113, 20, 16);
    Button7 = new ui::TButton(GroupBox5, "létrehozás");
    Button7->SetBounds(200, 108, 108, 27);
    Button8 = new ui::TButton(GroupBox3, "rögzítés");
    Button8->SetBounds(562, 434, 90, 27);
    Button9 = new ui::TButton(GroupBox3, "mégsem");
    Button9->SetBounds(662, 434, 90, 27);
    GroupBox3->SetVisible(false);

    OnShow = Handler(&TTalamintaKet::FormShow);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(
        true, {Button1, Button2, Button3, Button4, Button5, Button6, Button7, Button8, Button9});
    DBGrid1->OnDblClick = Handler(&TTalamintaKet::Button1Click);
    DBGrid2->OnDblClick = Handler(&TTalamintaKet::Button4Click);
    Button1->OnClick = Handler(&TTalamintaKet::Button1Click);
    Button2->OnClick = Handler(&TTalamintaKet::Button2Click);
    Button3->OnClick = Handler(&TTalamintaKet::Button3Click);
    Button4->OnClick = Handler(&TTalamintaKet::Button4Click);
    Button5->OnClick = Handler(&TTalamintaKet::Button5Click);
    Button6->OnClick = Handler(&TTalamintaKet::Button6Click);
    Button7->OnClick = Handler(&TTalamintaKet::Button7Click);
    Button8->OnClick = Handler(&TTalamintaKet::Button8Click);
    Button9->OnClick = Handler(&TTalamintaKet::Button9Click);
}

void TTalamintaKet::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Query1, &Query2, &Table1});
    GroupBox1->Show();
    GroupBox1->BringToFront();
}

void TTalamintaKet::LinkTable(bool linked) {
    Table1.SetMasterSource(linked ? &DataSource2 : nullptr);
    Table1.SetMasterFields(linked ? "Id" : "");
}

void TTalamintaKet::ReopenPlaces() {
    Query2.Close();
    Query2.Open();
}

int TTalamintaKet::ChosenKet() {
    return Query1.FieldByName("Id").AsInteger();
}

void TTalamintaKet::Button1Click(TObject*) {
    if (Query1.IsEmpty())
        return;
    Query2.SetFilter("Id_1 = " + std::to_string(ChosenKet()));
    Query2.SetFiltered(true);
    GroupBox2->SetCaption("A " + Query1.FieldByName("Sorsz").AsString() +
                          ". sorszámú KET-hez tartozó talajmintavételi helyek rögzítése, "
                          "módosítása.");
    Label2->SetCaption("KET sorszáma : " + Query1.FieldByName("Sorsz").AsString());
    Label3->SetCaption("KET nagysága : " + Query1.FieldByName("Ter").AsString() + " ha");
    Label4->SetCaption("AKG célprogram kód : " + Query1.FieldByName("Kod").AsString());
    GroupBox1->Hide();
    GroupBox2->Show();
    GroupBox2->BringToFront();
}

void TTalamintaKet::Button2Click(TObject*) {
    GroupBox2->Hide();
    GroupBox1->Show();
    GroupBox1->BringToFront();
}

void TTalamintaKet::Button3Click(TObject*) {
    LinkTable(false);
    Table1.Insert();
    DateTimePicker1->SetDateTime(sys::now());
    DateTimePicker2->SetDateTime(sys::now());
    DateTimePicker2->SetChecked(false);
    Edit1->Clear();
    GroupBox5->SetEnabled(true);
    GroupBox3->Show();
    GroupBox3->BringToFront();
}

void TTalamintaKet::Button4Click(TObject*) {
    if (Query2.IsEmpty() || Table1.IsEmpty())
        return;
    Table1.Edit();
    DateTimePicker1->SetDate(Table1.FieldByName("Elsominatido").AsDateTime());
    if (!Table1.FieldByName("Utolmintaido").IsNull()) {
        DateTimePicker2->SetDate(Table1.FieldByName("Utolmintaido").AsDateTime());
        DateTimePicker2->SetChecked(true);
    } else {
        DateTimePicker2->SetDateTime(sys::now());
        DateTimePicker2->SetChecked(false);
    }
    const char* flags[] = {"025", "020", "2040", "030", "3060"};
    ui::TRadioButton* radios[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4,
                                  RadioButton5};
    for (int i = 0; i < 5; ++i)
        if (Table1.FieldByName(flags[i]).AsBoolean())
            radios[i]->SetChecked(true);
    GroupBox5->SetEnabled(false); // a batch is made of new places only
    GroupBox3->Show();
    GroupBox3->BringToFront();
}

void TTalamintaKet::SetDepthFlags(db::TDataSet& place) {
    place.FieldByName("025").SetAsBoolean(RadioButton1->Checked());
    place.FieldByName("020").SetAsBoolean(RadioButton2->Checked());
    place.FieldByName("2040").SetAsBoolean(RadioButton3->Checked());
    place.FieldByName("030").SetAsBoolean(RadioButton4->Checked());
    place.FieldByName("3060").SetAsBoolean(RadioButton5->Checked());
}

void TTalamintaKet::Button8Click(TObject*) {
    Table1.FieldByName("Elsominatido").SetAsDateTime(DateTimePicker1->Date());
    if (DateTimePicker2->Checked())
        Table1.FieldByName("Utolmintaido").SetAsDateTime(DateTimePicker2->Date());
    SetDepthFlags(Table1);
    Table1.FieldByName("Deleted").SetAsBoolean(false);
    Table1.FieldByName("Ketid").SetAsInteger(ChosenKet());
    Table1.Post();
    Table1.FlushBuffers();
    LinkTable(true);
    ReopenPlaces();
    GroupBox3->Hide();
}

void TTalamintaKet::Button9Click(TObject*) {
    Table1.Cancel();
    LinkTable(true);
    GroupBox3->Hide();
}

// A batch of like places: the new row the box showed is dropped and `count` rows are
// written with its texts, dates and depth, in one transaction.
void TTalamintaKet::Button7Click(TObject*) {
    const std::string countText = Edit1->Text();
    if (countText.empty() ||
        !NumericInt->IsValidInteger(countText, "darabszám", TNumericInt::Bound::Positive))
        return;
    const int count = std::stoi(countText);
    const std::string mark = DBEdit1->Text();
    const std::string size = DBEdit2->Text();
    const std::string firstReport = DBEdit3->Text();
    const std::string lastReport = DBEdit4->Text();
    const sys::DateTime first = DateTimePicker1->Date();
    const bool sampledLast = DateTimePicker2->Checked();
    const sys::DateTime last = sampledLast ? DateTimePicker2->Date() : 0;
    Table1.Cancel();
    {
        db::SessionTransaction transaction(session_);
        for (int i = 0; i < count; ++i) {
            Table1.Insert();
            Table1.FieldByName("Elsominatido").SetAsDateTime(first);
            if (sampledLast)
                Table1.FieldByName("Utolmintaido").SetAsDateTime(last);
            Table1.FieldByName("Jele").SetAsString(mark);
            Table1.FieldByName("Ter").SetAsString(size);
            Table1.FieldByName("Elsojegyzsz").SetAsString(firstReport);
            Table1.FieldByName("Utoljegyzsz").SetAsString(lastReport);
            SetDepthFlags(Table1);
            Table1.FieldByName("Deleted").SetAsBoolean(false);
            Table1.FieldByName("Ketid").SetAsInteger(ChosenKet());
            Table1.Post();
        }
        transaction.Commit();
    }
    Table1.FlushBuffers();
    LinkTable(true);
    ReopenPlaces();
    GroupBox3->Hide();
}

void TTalamintaKet::Button5Click(TObject*) {
    if (Query2.IsEmpty() || Table1.IsEmpty())
        return;
    Table1.Edit();
    Table1.FieldByName("Deleted").SetAsBoolean(true);
    Table1.Post();
    Table1.FlushBuffers();
    ReopenPlaces();
}

void TTalamintaKet::Button6Click(TObject*) {
    Close();
}
