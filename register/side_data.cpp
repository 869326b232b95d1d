#include "side_data.h"

#include "cascade_deletes.h"
#include "core/Isnuminth.h"
#include "form_layout.h"
#include "platform/db/filter.h"
#include "platform/sys/text.h"
#include "platform/ui/dialogs.h"

#include <utility>
#include <vector>

namespace reg {

namespace {

const std::vector<std::string> kUses{"kaszáló", "legelő", "vegyes"};

const std::vector<std::string>& GrassTypes() {
    static const std::vector<std::string> types{"szikes", "dombvidéki száraz", "üde",
                                                "homoki", "fás legelő",        "ártéri"};
    return types;
}

// The tables whose rows a field form writes before its field has a code.
const std::vector<std::pair<const char*, const char*>>& ProvisionalColumns() {
    static const std::vector<std::pair<const char*, const char*>> columns{
        {"Parckiegadat", "Parckod"}, {"Ultkieg02", "Parckod"}, {"gyumalap", "Parcid"},
        {"legnaplo", "Parcid"},      {"Tapterv", "Parckod"},   {"Parcteny", "Parckod"},
    };
    return columns;
}

std::string ProvisionalFilter(const std::string& field) {
    return field + " = '' OR " + field + " = 'TEMP'";
}

ui::TButton* Command(QWidget* parent, const std::string& caption, int left, int top) {
    auto* button = new ui::TButton(parent, caption);
    button->SetBounds(left, top, 90, 25);
    return button;
}

} // namespace

Grassland ReadGrassland(ui::TComboBox& useBox, ui::TComboBox& typeBox) {
    Grassland grass;
    grass.use = useBox.ItemIndex();
    grass.type = typeBox.ItemIndex();
    std::string typed(sys::trim(typeBox.Text()));
    if (grass.type < 0 && !typed.empty()) {
        grass.type = 111;
        grass.typed = typed;
    }
    return grass;
}

void WriteGrassland(db::Session& session, const std::string& parckod, const Grassland& grass) {
    db::SessionTransaction transaction(session);
    DeleteRows(session, "gyepalap", db::filterEquals("Parcid", parckod));
    if (!grass.Empty()) {
        db::TTable table(session, "Table10");
        table.SetTableName("gyepalap.db");
        table.Open();
        table.Insert();
        table.FieldByName("Parcid").SetAsString(parckod);
        if (grass.use >= 0)
            table.FieldByName("Hasznmod").SetAsInteger(grass.use);
        if (grass.type >= 0)
            table.FieldByName("Gyeptip").SetAsInteger(grass.type);
        if (grass.type == 111)
            table.FieldByName("Egyebtip").SetAsString(grass.typed);
        table.Post();
        table.FlushBuffers();
    }
    transaction.Commit();
}

void LoadGrassland(db::Session& session, const std::string& parckod, ui::TComboBox& useBox,
                   ui::TComboBox& typeBox) {
    useBox.SetItemIndex(-1);
    useBox.SetText("");
    typeBox.SetItemIndex(-1);
    typeBox.SetText("");
    db::TTable table(session, "Table10");
    table.SetTableName("gyepalap.db");
    table.SetFilter(db::filterEquals("Parcid", parckod));
    table.SetFiltered(true);
    table.Open();
    if (table.IsEmpty())
        return;
    table.First();
    if (!table.FieldByName("Hasznmod").IsNull())
        useBox.SetItemIndex(table.FieldByName("Hasznmod").AsInteger());
    db::TField& type = table.FieldByName("Gyeptip");
    if (!type.IsNull()) {
        if (type.AsInteger() == 111)
            typeBox.SetText(table.FieldByName("Egyebtip").AsString());
        else
            typeBox.SetItemIndex(type.AsInteger());
    }
}

void AdoptProvisionalRows(db::Session& session, const std::string& parckod) {
    db::SessionTransaction transaction(session);
    for (const auto& [table, field] : ProvisionalColumns()) {
        db::TTable rows(session, "Provisional");
        rows.SetTableName(table);
        rows.SetFilter(ProvisionalFilter(field));
        rows.SetFiltered(true);
        rows.Open();
        for (rows.First(); !rows.IsEmpty(); rows.First()) {
            rows.Edit();
            rows.FieldByName(field).SetAsString(parckod);
            rows.Post();
        }
        rows.FlushBuffers();
    }
    transaction.Commit();
}

void DiscardProvisionalRows(db::Session& session) {
    db::SessionTransaction transaction(session);
    for (const auto& [table, field] : ProvisionalColumns())
        DeleteRows(session, table, ProvisionalFilter(field));
    transaction.Commit();
}

SideData::SideData(QWidget* form, db::Session& session, int left, int top)
    : Query3(session, "Query3"), Table9(session, "Table9"), Table12(session, "Table12"),
      Table8(session, "Table8"), session_(session) {
    Query3.SQL().Add("SELECT *");
    Query3.SQL().Add("FROM Parckiegadat");
    Query3.SQL().Add("   LEFT OUTER JOIN Ultkieg02");
    Query3.SQL().Add("   ON  (Parckiegadat.Kiegid = Ultkieg02.Ultkod)  ");
    Table9.SetTableName("Parckiegadat.db");
    Table12.SetTableName("Ultkieg02.DB");
    Table8.SetTableName("legnaplo.db");

    GroupBox5 = new ui::TGroupBox(form, "Kiegészítő adatok");
    GroupBox5->SetBounds(left, top, 700, 400);
    GroupBox5->hide();
    GroupBox5->setAutoFillBackground(true);
    PageControl1 = new ui::TPageControl(GroupBox5);
    PageControl1->SetBounds(8, 20, 684, 372);
    TabSheet1 = new ui::TTabSheet(PageControl1, "Ültetvény");
    TabSheet2 = new ui::TTabSheet(PageControl1, "Gyep");

    DBGrid4 = new ui::TDBGrid(TabSheet1);
    DBGrid4->SetBounds(8, 8, 664, 280);
    DBGrid4->SetDataSource(&DataSource3);
    DBGrid4->SetReadOnly(true);
    DBGrid4->SetRowSelect(true);
    DBGrid4->Columns().Add("Faj", "Faj", 90);
    DBGrid4->Columns().Add("Fajta", "Fajta", 100);
    DBGrid4->Columns().Add("Alanynev", "Alanynév", 90);
    DBGrid4->Columns().Add("Muvmod", "Művelési mód", 90);
    DBGrid4->Columns().Add("Sort", "Sortávolság", 70);
    DBGrid4->Columns().Add("Tot", "Tőtávolság", 70);
    DBGrid4->Columns().Add("Teve", "Tel.éve", 50);
    DBGrid4->Columns().Add("Reszarany", "Részarány", 60);
    DBGrid4->Columns().Add("Hozam", "Hozam", 50);
    Button15 = Command(TabSheet1, "Új sor", 8, 300);
    Button16 = Command(TabSheet1, "Módosítás", 104, 300);
    Button18 = Command(TabSheet1, "Törlés", 200, 300);
    Button19 = Command(TabSheet1, "Bezárás", 582, 300);

    GroupBox6 = new ui::TGroupBox(TabSheet1, "Kiegészítő adat");
    GroupBox6->SetBounds(8, 0, 664, 330);
    GroupBox6->hide();
    GroupBox6->setAutoFillBackground(true);
    ui::AddLabel(GroupBox6, "Faj :", 12, 24);
    Edit5 = ui::AddEdit(GroupBox6, 150, 24, 160, 60);
    ui::AddLabel(GroupBox6, "Fajta :", 12, 54);
    Edit10 = ui::AddEdit(GroupBox6, 150, 54, 160, 60);
    ui::AddLabel(GroupBox6, "Alany :", 12, 84);
    Edit6 = ui::AddEdit(GroupBox6, 150, 84, 160, 60);
    ui::AddLabel(GroupBox6, "Művelési mód :", 12, 114);
    Edit14 = ui::AddEdit(GroupBox6, 150, 114, 160, 40);
    ui::AddLabel(GroupBox6, "Odúk száma :", 12, 144);
    Edit19 = ui::AddEdit(GroupBox6, 150, 144, 80);
    ui::AddLabel(GroupBox6, "Rovarcspdák száma :", 12, 174);
    Edit21 = ui::AddEdit(GroupBox6, 150, 174, 80);
    ui::AddLabel(GroupBox6, "Részarány (%) :", 340, 24);
    Edit11 = ui::AddEdit(GroupBox6, 480, 24, 80);
    ui::AddLabel(GroupBox6, "Sortáv (m) :", 340, 54);
    Edit12 = ui::AddEdit(GroupBox6, 480, 54, 80);
    ui::AddLabel(GroupBox6, "Tőtáv (m) :", 340, 84);
    Edit13 = ui::AddEdit(GroupBox6, 480, 84, 80);
    ui::AddLabel(GroupBox6, "Telepítés éve :", 340, 114);
    Edit15 = ui::AddEdit(GroupBox6, 480, 114, 80);
    ui::AddLabel(GroupBox6, "Hozam (t/ha) :", 340, 144);
    Edit7 = ui::AddEdit(GroupBox6, 480, 144, 80);
    Button17 = Command(GroupBox6, "Mégsem", 466, 290);
    Button14 = Command(GroupBox6, "Rögzítés", 562, 290);

    ui::AddLabel(TabSheet2, "Hasznosítási mód :", 8, 8);
    ComboBox1 = new ui::TComboBox(TabSheet2, ui::csDropDownList);
    ComboBox1->SetBounds(140, 8, 160, 22);
    ComboBox1->Items().AddStrings(kUses);
    ui::AddLabel(TabSheet2, "Gyeptípus :", 320, 8);
    ComboBox3 = new ui::TComboBox(TabSheet2);
    ComboBox3->SetBounds(420, 8, 200, 22);
    ComboBox3->Items().AddStrings(GrassTypes());
    DBGrid6 = new ui::TDBGrid(TabSheet2);
    DBGrid6->SetBounds(8, 40, 664, 248);
    DBGrid6->SetDataSource(&DataSource8);
    DBGrid6->SetReadOnly(true);
    DBGrid6->SetRowSelect(true);
    DBGrid6->Columns().Add("Legkezd", "Leg.kezd", 80);
    DBGrid6->Columns().Add("Legveg", "Leg.vége", 80);
    DBGrid6->Columns().Add("Ter", "Terület", 70);
    DBGrid6->Columns().Add("Faj", "Állatfaj", 90);
    DBGrid6->Columns().Add("Fajta", "Fajta", 90);
    DBGrid6->Columns().Add("Korcsop", "Korcsoport", 90);
    DBGrid6->Columns().Add("Darab", "Darab", 50);
    DBGrid6->Columns().Add("Legmod", "Legelt.mód", 100);
    Button28 = Command(TabSheet2, "Új sor", 8, 300);
    Button27 = Command(TabSheet2, "Módosítás", 104, 300);
    Button26 = Command(TabSheet2, "Törlés", 200, 300);
    Button25 = Command(TabSheet2, "Bezárás", 582, 300);

    GroupBox8 = new ui::TGroupBox(TabSheet2, "Legeltetés");
    GroupBox8->SetBounds(8, 0, 664, 330);
    GroupBox8->hide();
    GroupBox8->setAutoFillBackground(true);
    ui::AddLabel(GroupBox8, "Kezdete :", 12, 24);
    DateTimePicker1 = new ui::TDateTimePicker(GroupBox8);
    DateTimePicker1->SetBounds(150, 24, 130, 22);
    ui::AddLabel(GroupBox8, "Vége :", 12, 54);
    DateTimePicker2 = new ui::TDateTimePicker(GroupBox8);
    DateTimePicker2->SetBounds(150, 54, 130, 22);
    ui::AddLabel(GroupBox8, "Terület (m²) :", 12, 84);
    Edit28 = ui::AddEdit(GroupBox8, 150, 84, 100);
    ui::AddLabel(GroupBox8, "Állatfaj :", 12, 114);
    Edit30 = ui::AddEdit(GroupBox8, 150, 114, 200, 30);
    ui::AddLabel(GroupBox8, "Fajta :", 12, 144);
    Edit31 = ui::AddEdit(GroupBox8, 150, 144, 200, 30);
    ui::AddLabel(GroupBox8, "Korcsoport :", 12, 174);
    Edit32 = ui::AddEdit(GroupBox8, 150, 174, 200, 30);
    ui::AddLabel(GroupBox8, "Darab :", 12, 204);
    Edit33 = ui::AddEdit(GroupBox8, 150, 204, 100, 10);
    ui::AddLabel(GroupBox8, "Legeltetés módja :", 12, 234);
    Edit29 = ui::AddEdit(GroupBox8, 150, 234, 200, 20);
    ui::FitToFields(session, "Parckiegadat",
                    {{Edit12, "Sort"},
                     {Edit13, "Tot"},
                     {Edit15, "Teve"},
                     {Edit19, "odukszama"},
                     {Edit21, "rovarcsszama"}});
    ui::FitToFields(session, "Ultkieg02", {{Edit11, "Reszarany"}, {Edit7, "Hozam"}});
    ui::FitToFields(session, "legnaplo", {{Edit28, "Ter"}, {Edit33, "Darab"}});
    ui::FitToFields(session, "gyepalap", {{ComboBox3, "Egyebtip"}});
    Button30 = Command(GroupBox8, "Mégsem", 466, 290);
    Button29 = Command(GroupBox8, "Rögzítés", 562, 290);

    Button15->OnClick = [this](ui::TObject*) { PlantationNew(); };
    Button16->OnClick = [this](ui::TObject*) { PlantationModify(); };
    Button18->OnClick = [this](ui::TObject*) { PlantationDelete(); };
    Button14->OnClick = [this](ui::TObject*) { PlantationSave(); };
    Button17->OnClick = [this](ui::TObject*) { GroupBox6->hide(); };
    Button28->OnClick = [this](ui::TObject*) { GrazingNew(); };
    Button27->OnClick = [this](ui::TObject*) { GrazingModify(); };
    Button26->OnClick = [this](ui::TObject*) { GrazingDelete(); };
    Button29->OnClick = [this](ui::TObject*) { GrazingSave(); };
    Button30->OnClick = [this](ui::TObject*) { GroupBox8->hide(); };
    Button19->OnClick = [this](ui::TObject*) { HideWindow(); };
    Button25->OnClick = [this](ui::TObject*) { HideWindow(); };
}

void SideData::SetField(const std::string& parckod) {
    field_ = parckod;
    Query3.Close();
    Query3.SetFilter(db::filterEquals("Parckod", parckod));
    Query3.SetFiltered(true);
    Table8.Close();
    Table8.SetFilter(db::filterEquals("Parcid", parckod));
    Table8.SetFiltered(true);
    Open();
}

void SideData::Open() {
    for (db::TDataSet* set :
         std::initializer_list<db::TDataSet*>{&Query3, &Table9, &Table12, &Table8})
        if (!set->Active())
            set->Open();
}

void SideData::Close() {
    for (db::TDataSet* set :
         std::initializer_list<db::TDataSet*>{&Query3, &Table9, &Table12, &Table8})
        set->Close();
}

void SideData::ShowWindow() {
    Open();
    ReopenPlantations();
    GroupBox5->show();
    GroupBox5->raise();
    Button19->setFocus();
}

void SideData::HideWindow() {
    GroupBox6->hide();
    GroupBox8->hide();
    GroupBox5->hide();
}

void SideData::ReopenPlantations() {
    Query3.Close();
    Query3.Open();
}

int SideData::CurrentKiegid() {
    if (!Query3.Active() || Query3.IsEmpty())
        return 0;
    return Query3.FieldByName("Kiegid").AsInteger();
}

void SideData::PlantationNew() {
    modify_ = false;
    for (ui::TEdit* edit :
         {Edit5, Edit6, Edit7, Edit10, Edit11, Edit12, Edit13, Edit14, Edit15, Edit19, Edit21})
        edit->Clear();
    GroupBox6->show();
    GroupBox6->raise();
}

void SideData::PlantationModify() {
    kiegid_ = CurrentKiegid();
    if (kiegid_ == 0 || !Table9.Locate("Kiegid", {db::Value(kiegid_)}))
        return;
    modify_ = true;
    bool variety = Table12.Locate("Ultkod", {db::Value(static_cast<double>(kiegid_))});
    auto varietyText = [&](const char* field) {
        return variety ? Table12.FieldByName(field).AsString() : std::string();
    };
    Edit5->SetText(varietyText("Faj"));
    Edit6->SetText(varietyText("Alanynev"));
    Edit11->SetText(varietyText("Reszarany"));
    Edit7->SetText(varietyText("Hozam"));
    auto text = [&](const char* field) { return Table9.FieldByName(field).AsString(); };
    Edit10->SetText(text("Fajta"));
    Edit12->SetText(text("Sort"));
    Edit13->SetText(text("Tot"));
    Edit15->SetText(text("Teve"));
    Edit14->SetText(text("Muvmod"));
    Edit19->SetText(text("odukszama"));
    Edit21->SetText(text("rovarcsszama"));
    GroupBox6->show();
    GroupBox6->raise();
}

bool SideData::PlantationNumbersValid() {
    return NumericInt->IsValidFor(Edit11->Text(), "Részarány", "Ultkieg02", "Reszarany") &&
           NumericInt->IsValidFor(Edit12->Text(), "Sortáv", "Parckiegadat", "Sort") &&
           NumericInt->IsValidFor(Edit13->Text(), "Tőtáv", "Parckiegadat", "Tot") &&
           NumericInt->IsValidFor(Edit15->Text(), "Telepítés éve", "Parckiegadat", "Teve") &&
           NumericInt->IsValidFor(Edit7->Text(), "Hozam", "Ultkieg02", "Hozam") &&
           NumericInt->IsValidFor(Edit19->Text(), "Odúk száma", "Parckiegadat", "odukszama") &&
           NumericInt->IsValidFor(Edit21->Text(), "Rovarcspdák száma", "Parckiegadat",
                                  "rovarcsszama");
}

// The plantation row and its variety row are written together.
void SideData::PlantationSave() {
    if (!PlantationNumbersValid())
        return;
    Open();
    db::SessionTransaction transaction(session_);
    if (modify_) {
        if (!Table9.Locate("Kiegid", {db::Value(kiegid_)}))
            return;
        Table9.Edit();
    } else {
        Table9.Insert();
        Table9.FieldByName("Parckod").SetAsString(field_);
    }
    Table9.FieldByName("Fajta").SetAsString(Edit10->Text());
    Table9.FieldByName("Sort").SetAsString(Edit12->Text());
    Table9.FieldByName("Tot").SetAsString(Edit13->Text());
    Table9.FieldByName("Teve").SetAsString(Edit15->Text());
    Table9.FieldByName("Muvmod").SetAsString(Edit14->Text());
    Table9.FieldByName("odukszama").SetAsString(Edit19->Text());
    Table9.FieldByName("rovarcsszama").SetAsString(Edit21->Text());
    Table9.Post();
    Table9.FlushBuffers();
    int kiegid = Table9.FieldByName("Kiegid").AsInteger();
    if (modify_ && Table12.Locate("Ultkod", {db::Value(static_cast<double>(kiegid))})) {
        Table12.Edit();
    } else {
        Table12.Insert();
        Table12.FieldByName("Parckod").SetAsString(field_);
    }
    Table12.FieldByName("Faj").SetAsString(Edit5->Text());
    Table12.FieldByName("Alanynev").SetAsString(Edit6->Text());
    Table12.FieldByName("Reszarany").SetAsString(Edit11->Text());
    Table12.FieldByName("Ultkod").SetAsInteger(kiegid);
    Table12.FieldByName("Hozam").SetAsString(Edit7->Text());
    Table12.Post();
    Table12.FlushBuffers();
    transaction.Commit();
    GroupBox6->hide();
    ReopenPlantations();
}

void SideData::PlantationDelete() {
    int kiegid = CurrentKiegid();
    if (kiegid == 0)
        return;
    db::SessionTransaction transaction(session_);
    DeleteRows(session_, "Ultkieg02", "Ultkod = " + std::to_string(kiegid));
    DeleteRows(session_, "Parckiegadat", "Kiegid = " + std::to_string(kiegid));
    transaction.Commit();
    ReopenPlantations();
}

void SideData::GrazingNew() {
    modify_ = false;
    DateTimePicker1->SetDate(sys::today());
    DateTimePicker2->SetDate(sys::today());
    for (ui::TEdit* edit : {Edit28, Edit29, Edit30, Edit31, Edit32, Edit33})
        edit->Clear();
    GroupBox8->show();
    GroupBox8->raise();
}

void SideData::GrazingModify() {
    Open();
    if (Table8.IsEmpty())
        return;
    modify_ = true;
    DateTimePicker1->SetDate(Table8.FieldByName("Legkezd").AsDateTime());
    DateTimePicker2->SetDate(Table8.FieldByName("Legveg").AsDateTime());
    Edit28->SetText(Table8.FieldByName("Ter").AsString());
    Edit29->SetText(Table8.FieldByName("Legmod").AsString());
    Edit30->SetText(Table8.FieldByName("Faj").AsString());
    Edit31->SetText(Table8.FieldByName("Fajta").AsString());
    Edit32->SetText(Table8.FieldByName("Korcsop").AsString());
    Edit33->SetText(Table8.FieldByName("Darab").AsString());
    GroupBox8->show();
    GroupBox8->raise();
}

void SideData::GrazingSave() {
    if (!NumericInt->IsValidFor(Edit28->Text(), "Terület", "legnaplo", "Ter") ||
        !NumericInt->IsValidFor(Edit33->Text(), "Darab", "legnaplo", "Darab"))
        return;
    const sys::DateTime start = DateTimePicker1->Date();
    const sys::DateTime end = DateTimePicker2->Date();
    if (end < start) {
        ui::MessageDlg("A legeltetés vége nem lehet korábbi a kezdeténél!", ui::mtWarning,
                       ui::mbOK);
        return;
    }
    Open();
    if (modify_ && !Table8.IsEmpty()) {
        Table8.Edit();
    } else {
        Table8.Insert();
    }
    Table8.FieldByName("Parcid").SetAsString(field_);
    Table8.FieldByName("Legkezd").SetAsDateTime(start);
    Table8.FieldByName("Legveg").SetAsDateTime(end);
    Table8.FieldByName("Ter").SetAsString(Edit28->Text());
    Table8.FieldByName("Legmod").SetAsString(Edit29->Text());
    Table8.FieldByName("Faj").SetAsString(Edit30->Text());
    Table8.FieldByName("Fajta").SetAsString(Edit31->Text());
    Table8.FieldByName("Korcsop").SetAsString(Edit32->Text());
    Table8.FieldByName("Darab").SetAsString(Edit33->Text());
    Table8.Post();
    Table8.FlushBuffers();
    GroupBox8->hide();
}

void SideData::GrazingDelete() {
    Open();
    if (Table8.IsEmpty())
        return;
    Table8.Delete();
    Table8.FlushBuffers();
}

} // namespace reg
