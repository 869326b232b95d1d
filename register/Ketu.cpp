#include "Ketu.h"

#include "core/Isnuminth.h"
#include "platform/ui/form_helpers.h"

Tket* ket = nullptr;

namespace reg {

int NextKetSerial(db::Session& session) {
    db::TQuery query(session, "Query2");
    query.SQL().Add("SELECT MAX(Sorsz) msorsz FROM kotegyter");
    query.Open();
    int next = 1;
    if (!query.IsEmpty() && !query.FieldByName("msorsz").IsNull())
        next = query.FieldByName("msorsz").AsInteger() + 1;
    query.Close();
    return next;
}

} // namespace reg

namespace {

ui::TLabel* EditorLabel(QWidget* parent, const std::string& caption, int top) {
    auto* label = new ui::TLabel(parent, caption);
    label->SetBounds(12, top + 4, 150, 16);
    return label;
}

ui::TEdit* EditorEdit(QWidget* parent, int top, int width = 120) {
    auto* edit = new ui::TEdit(parent);
    edit->SetBounds(170, top, width, 22);
    return edit;
}

db::Value IdOf(int id) {
    return db::Value(static_cast<std::int32_t>(id));
}

} // namespace

Tket::Tket(db::Session& session) : session_(session) {
    SetCaption("KET (kötelezettségvállalással érintett egybefüggő területek) kezelése");
    SetClientSize(780, 470);
    SetPosition(ui::poScreenCenter);

    Query1.SQL().Add("SELECT *");
    Query1.SQL().Add("FROM kotegyter");
    Query1.SQL().Add("INNER JOIN celprogramok");
    Query1.SQL().Add("ON  (kotegyter.Akgkod = celprogramok.Id)");
    Query1.SQL().Add("WHERE kotegyter.Deleted = false");
    Table1.SetTableName("kotegyter.db");
    Table2.SetTableName("celprogramok.db");
    Table3.SetTableName("Akgmuvag.db");

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 8, 764, 410);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Sorsz", "KET sorsz.", 70);
    DBGrid1->Columns().Add("Hazimen", "Hazi megn.", 160);
    DBGrid1->Columns().Add("Ter", "Terület", 70);
    DBGrid1->Columns().Add("Kod", "AKG Kód", 70);
    DBGrid1->Columns().Add("Megnev", "AKG Célprogram", 220);
    DBGrid1->Columns().Add("Meresij", "Mérési jegyzőkönyv sorsz.", 150);
    Button1 = new ui::TButton(this, "új KET");
    Button1->SetBounds(8, 430, 100, 27);
    Button2 = new ui::TButton(this, "módosítás");
    Button2->SetBounds(118, 430, 100, 27);
    Button3 = new ui::TButton(this, "törlés");
    Button3->SetBounds(228, 430, 100, 27);
    Button4 = new ui::TButton(this, "bezárás");
    Button4->SetBounds(672, 430, 100, 27);

    GroupBox1 = new ui::TGroupBox(this, "Új KET létrehozása");
    GroupBox1->setAutoFillBackground(true);
    GroupBox1->SetBounds(8, 48, 560, 400);
    GroupBox1->hide();
    ui::EditBoxOverList(GroupBox1);
    EditorLabel(GroupBox1, "AKG célprogram :", 24);
    DBLookupComboBox1 = new ui::TDBLookupComboBox(GroupBox1);
    DBLookupComboBox1->SetBounds(170, 24, 380, 22);
    DBLookupComboBox1->SetListSource(&DataSource2);
    DBLookupComboBox1->SetKeyField("Id");
    DBLookupComboBox1->SetListField("Megnev");
    EditorLabel(GroupBox1, "KET házi megnevezése :", 54);
    Edit1 = EditorEdit(GroupBox1, 54, 300);
    Edit1->SetMaxLength(100);
    EditorLabel(GroupBox1, "KET sorsz. :", 84);
    Edit2 = EditorEdit(GroupBox1, 84, 60);
    EditorLabel(GroupBox1, "Mérési jegyzőkönyv :", 114);
    Edit3 = EditorEdit(GroupBox1, 114, 200);
    Edit3->SetMaxLength(50);
    EditorLabel(GroupBox1, "Terület (ha) :", 144);
    Edit4 = EditorEdit(GroupBox1, 144, 80);
    CheckBox1 = new ui::TCheckBox(GroupBox1, "natúra2000 (igen/nem)");
    CheckBox1->SetBounds(12, 174, 250, 20);
    CheckBox2 = new ui::TCheckBox(GroupBox1, "nitrátérzékeny terület (igen/nem)");
    CheckBox2->SetBounds(280, 174, 270, 20);
    CheckBox3 = new ui::TCheckBox(GroupBox1, "12%-os lejtő (igen/nem)");
    CheckBox3->SetBounds(12, 198, 250, 20);
    CheckBox4 = new ui::TCheckBox(GroupBox1, "KAT (igen/nem)");
    CheckBox4->SetBounds(280, 198, 270, 20);
    EditorLabel(GroupBox1, "AKG művelési ág :", 226);
    DBLookupComboBox2 = new ui::TDBLookupComboBox(GroupBox1);
    DBLookupComboBox2->SetBounds(170, 226, 200, 22);
    DBLookupComboBox2->SetListSource(&DataSource3);
    DBLookupComboBox2->SetKeyField("Id");
    DBLookupComboBox2->SetListField("Megnev");
    EditorLabel(GroupBox1, "terület (változás1) (ha) :", 256);
    Edit5 = EditorEdit(GroupBox1, 256, 80);
    EditorLabel(GroupBox1, "terület (változás2) (ha) :", 286);
    Edit6 = EditorEdit(GroupBox1, 286, 80);
    ui::FitToFields(session, "kotegyter",
                    {{Edit2, "Sorsz"}, {Edit4, "Ter"}, {Edit5, "Ter2"}, {Edit6, "Ter3"}});
    EditorLabel(GroupBox1, "blokk (változás1) :", 316);
    MaskEdit1 = new ui::TMaskEdit(GroupBox1);
    MaskEdit1->SetBounds(170, 316, 110, 22);
    MaskEdit1->SetEditMask("aaaaa\\-a\\-aa;1;_");
    EditorLabel(GroupBox1, "blokk (változás2) :", 346);
    MaskEdit2 = new ui::TMaskEdit(GroupBox1);
    MaskEdit2->SetBounds(170, 346, 110, 22);
    MaskEdit2->SetEditMask("aaaaa\\-a\\-aa;1;_");
    Button5 = new ui::TButton(GroupBox1, "rögzítés");
    Button5->SetBounds(340, 362, 100, 27);
    Button6 = new ui::TButton(GroupBox1, "mégsem");
    Button6->SetBounds(450, 362, 100, 27);

    OnActivate = Handler(&Tket::FormActivate);
    OnKeyPress = Handler(&Tket::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&Tket::Button1Click);
    Button2->OnClick = Handler(&Tket::Button2Click);
    Button3->OnClick = Handler(&Tket::Button3Click);
    Button4->OnClick = Handler(&Tket::Button4Click);
    Button5->OnClick = Handler(&Tket::Button5Click);
    Button6->OnClick = Handler(&Tket::Button6Click);
}

void Tket::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Query1, &Table2, &Table3});
}

void Tket::FormKeyPress(TObject*, TKey& Key) {
    if (GroupBox1->isVisible())
        ui::Shortcuts(Key, {{'R', Button5}, {'X', Button6}});
    else
        ui::Shortcuts(Key, {{'T', Button3}, {'X', Button4}});
}

std::optional<int> Tket::CurrentId() {
    if (!Query1.Active() || Query1.IsEmpty())
        return std::nullopt;
    return Query1.FieldByName("Id").AsInteger();
}

void Tket::ReloadList(std::optional<int> keep) {
    Query1.Close();
    Query1.Open();
    if (keep)
        Query1.Locate("Id", {IdOf(*keep)});
}

void Tket::ShowEditor(const std::string& caption) {
    GroupBox1->SetCaption(caption);
    GroupBox1->show();
    GroupBox1->raise();
    DBGrid1->SetEnabled(false);
}

// A new KET: the serial proposed is one above every serial ever given.
void Tket::Button1Click(TObject*) {
    edited_.reset();
    for (ui::TEdit* edit : {Edit1, Edit3, Edit4, Edit5, Edit6})
        edit->Clear();
    for (ui::TCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4})
        box->SetChecked(false);
    MaskEdit1->Clear();
    MaskEdit2->Clear();
    DBLookupComboBox1->SetKeyValue(db::Null{});
    DBLookupComboBox2->SetKeyValue(db::Null{});
    Edit2->SetText(std::to_string(reg::NextKetSerial(session_)));
    ShowEditor("Új KET létrehozása");
}

void Tket::Button2Click(TObject*) {
    std::optional<int> id = CurrentId();
    if (!id || !Table1.Locate("Id", {IdOf(*id)}))
        return;
    edited_ = id;
    auto text = [&](const char* field) { return Table1.FieldByName(field).AsString(); };
    DBLookupComboBox1->SetKeyValue(Table1.FieldByName("Akgkod").AsValue());
    Edit1->SetText(text("Hazimen"));
    Edit2->SetText(text("Sorsz"));
    Edit3->SetText(text("Meresij"));
    Edit4->SetText(text("Ter"));
    CheckBox1->SetChecked(Table1.FieldByName("Nat2000").AsBoolean());
    CheckBox2->SetChecked(Table1.FieldByName("Nit").AsBoolean());
    CheckBox3->SetChecked(Table1.FieldByName("12szaz").AsBoolean());
    CheckBox4->SetChecked(Table1.FieldByName("Kat").AsBoolean());
    DBLookupComboBox2->SetKeyValue(Table1.FieldByName("Akgmuvag").AsValue());
    Edit5->SetText(text("Ter2"));
    Edit6->SetText(text("Ter3"));
    MaskEdit1->SetText(text("Blokk1"));
    MaskEdit2->SetText(text("Blokk2"));
    ShowEditor("KET módosítása");
}

// The KET stays in the table for the fields, plan lines and sampling places naming it.
void Tket::Button3Click(TObject*) {
    std::optional<int> id = CurrentId();
    if (!id || !Table1.Locate("Id", {IdOf(*id)}))
        return;
    Table1.Edit();
    Table1.FieldByName("Deleted").SetAsBoolean(true);
    Table1.Post();
    Table1.FlushBuffers();
    ReloadList(std::nullopt);
}

void Tket::Button4Click(TObject*) {
    Close();
}

// Every number is checked before the row is written.
void Tket::Button5Click(TObject*) {
    if (!NumericInt->IsValidFor(Edit2->Text(), "KET sorsz.", "kotegyter", "Sorsz") ||
        !NumericInt->IsValidFor(Edit4->Text(), "Terület", "kotegyter", "Ter") ||
        !NumericInt->IsValidFor(Edit5->Text(), "terület (változás1)", "kotegyter", "Ter2") ||
        !NumericInt->IsValidFor(Edit6->Text(), "terület (változás2)", "kotegyter", "Ter3"))
        return;
    // The list shows a KET with its programme: one without it could not be found again.
    if (db::isNull(DBLookupComboBox1->KeyValue())) {
        ui::MessageDlg("Kérem, válassza ki az AKG célprogramot! Célprogram nélkül a KET nem "
                       "rögzíthető.",
                       ui::mtWarning, ui::mbOK);
        return;
    }
    if (edited_) {
        if (!Table1.Locate("Id", {IdOf(*edited_)}))
            return;
        Table1.Edit();
    } else {
        Table1.Insert();
    }
    auto set = [&](const char* field, const std::string& text) {
        Table1.FieldByName(field).SetAsString(text);
    };
    Table1.FieldByName("Akgkod").SetAsValue(DBLookupComboBox1->KeyValue());
    set("Hazimen", Edit1->Text());
    set("Sorsz", Edit2->Text());
    set("Meresij", Edit3->Text());
    set("Ter", Edit4->Text());
    Table1.FieldByName("Nat2000").SetAsBoolean(CheckBox1->Checked());
    Table1.FieldByName("Nit").SetAsBoolean(CheckBox2->Checked());
    Table1.FieldByName("12szaz").SetAsBoolean(CheckBox3->Checked());
    Table1.FieldByName("Kat").SetAsBoolean(CheckBox4->Checked());
    Table1.FieldByName("Akgmuvag").SetAsValue(DBLookupComboBox2->KeyValue());
    set("Ter2", Edit5->Text());
    set("Ter3", Edit6->Text());
    set("Blokk1", MaskEdit1->Text());
    set("Blokk2", MaskEdit2->Text());
    Table1.FieldByName("Deleted").SetAsBoolean(false);
    Table1.Post();
    Table1.FlushBuffers();
    int id = Table1.FieldByName("Id").AsInteger();
    GroupBox1->hide();
    DBGrid1->SetEnabled(true);
    ReloadList(id);
}

void Tket::Button6Click(TObject*) {
    GroupBox1->hide();
    DBGrid1->SetEnabled(true);
    ReloadList(edited_);
}
