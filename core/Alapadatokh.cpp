#include "core/Alapadatokh.h"

#include "platform/ui/form_helpers.h"

#include <QTabBar>
#include <algorithm>

TAlapadatok* Alapadatok = nullptr;

namespace {

constexpr int kLabelLeft = 12;
constexpr int kEditLeft = 220;
constexpr int kFirstTop = 16;
constexpr int kRowHeight = 30;
constexpr int kEditHeight = 22;
// The numbered pairs ("1." and "2.") of telephones and faxes share a row.
constexpr int kFirstNumberLeft = 220;
constexpr int kSecondNumberLeft = 390;
constexpr int kNumberWidth = 20;
constexpr int kPairEditWidth = 140;

int RowTop(int row) {
    return kFirstTop + row * kRowHeight;
}

int EditWidth(int maxLength) {
    return std::min(maxLength * 7 + 12, 360);
}

} // namespace

// One data-aware editor with its label on a page. `number` is the "1." or "2." of a
// pair of editors on one row; the first of a pair also carries the row's label.
struct TAlapadatok::EditSpec {
    ui::TTabSheet* page;
    int row;
    db::TDataSource* source;
    const char* field;
    const char* caption; // null: the second of a pair
    int maxLength;
    const char* number = nullptr;
};

TAlapadatok::TAlapadatok(db::Session& session)
    : Table1(session, "Table1"), Table2(session, "Table2") {
    SetCaption("Alapadatok");
    SetHelpContext(38);
    SetBorderStyle(ui::bsSingle);
    SetPosition(ui::poScreenCenter);
    SetClientSize(640, 400);
    Table1.SetTableName("Alapadatok");
    Table2.SetTableName("Alapadat2");
    Table1.AfterPost = [this](db::TDataSet& d) { Table1AfterPost(d); };
    Table1.AfterDelete = [this](db::TDataSet& d) { Table1AfterDelete(d); };

    Label1 = ui::Make<ui::TLabel>(this, {12, 10, 400, 20}, "Alapadatok felvitele, módosítása");
    Label1->SetBold(true);
    PageControl1 = ui::Make<ui::TPageControl>(this, {8, 40, 624, 310});
    TabSheet1 = new ui::TTabSheet(PageControl1, "Cégadatok");
    TabSheet2 = new ui::TTabSheet(PageControl1, "Ügyvezető");
    TabSheet3 = new ui::TTabSheet(PageControl1, "NVT kapcsolattartó");
    TabSheet4 = new ui::TTabSheet(PageControl1, "Növényvédelmi Szakirányító / Szaktanácsdó");
    TabSheet5 = new ui::TTabSheet(PageControl1, "Egyéb adatok");

    db::TDataSource* farm = &DataSource1;
    db::TDataSource* seat = &DataSource2;
    DBEdit1 = AddEdit({TabSheet1, 0, farm, "Nev", "Gazdálkodó neve :", 60});
    DBEdit2 = AddEdit({TabSheet1, 1, farm, "Cegf", "Cégforma :", 10});
    DBEdit3 = AddEdit({TabSheet1, 2, farm, "Cim", "Helység :", 35});
    DBEdit4 = AddEdit({TabSheet1, 3, seat, "Cegiranyito", "Irányítószám :", 4});
    DBEdit5 = AddEdit({TabSheet1, 4, seat, "Cegcim", "Utca, házszám :", 200});
    DBEdit6 = AddEdit({TabSheet1, 5, farm, "Telep", "Telephely :", 60});
    DBEdit7 = AddEdit({TabSheet1, 6, farm, "Tel", "Telefonszám :", 20});

    DBEdit8 = AddEdit({TabSheet2, 0, farm, "Unev", "Ügyvezető :", 30});
    DBEdit9 = AddEdit({TabSheet2, 1, farm, "Ucim", "Cím :", 60});
    DBEdit10 = AddEdit({TabSheet2, 2, farm, "Utel", "Telefonszám :", 20});

    DBEdit11 = AddEdit({TabSheet3, 0, farm, "Knev", "Kapcsolattartó :", 30});
    DBEdit12 = AddEdit({TabSheet3, 1, farm, "Khely", "Helység :", 27});
    DBEdit13 = AddEdit({TabSheet3, 2, farm, "Kir", "Ir.sz. :", 4});
    DBEdit14 = AddEdit({TabSheet3, 3, farm, "Kutcah", "Utca, házszám :", 19});
    DBEdit15 = AddEdit({TabSheet3, 4, farm, "Ktel", "Telefonszám :", 20, "1."});
    DBEdit16 = AddEdit({TabSheet3, 4, farm, "Ktel2", nullptr, 11, "2."});
    DBEdit17 = AddEdit({TabSheet3, 5, farm, "Kfax", "Faxszám :", 11, "1."});
    DBEdit18 = AddEdit({TabSheet3, 5, farm, "Kfax2", nullptr, 11, "2."});
    DBEdit19 = AddEdit({TabSheet3, 6, farm, "Kemail", "e-mail cím :", 27});

    DBEdit20 = AddEdit({TabSheet4, 0, farm, "Fnev", "Szakirányító neve :", 30});
    DBEdit21 = AddEdit({TabSheet4, 1, farm, "Fcim", "Cím :", 60});
    DBEdit22 = AddEdit({TabSheet4, 2, farm, "Ftel", "Telefonszám :", 20});
    DBEdit23 = AddEdit({TabSheet4, 3, farm, "Szakirregsz", "Kamarai regisztrációs száma :", 40});
    DBEdit24 = AddEdit({TabSheet4, 4, farm, "Szaktan", "Szaktanácsdó neve :", 100});
    DBEdit25 = AddEdit({TabSheet4, 5, farm, "Szaktancim", "Szaktanácsadó címe :", 70});
    DBEdit26 = AddEdit({TabSheet4, 6, farm, "Szaktaneng", "Szaktanácsadó engedély száma :", 30});

    MaskEdit1 = AddMaskEdit(TabSheet5, 0, "Adószám :", "99999999-9-99;1;_");
    DBEdit27 = AddEdit({TabSheet5, 1, farm, "Ureg", "Ügyfél-reg. szám :", 11});
    MaskEdit2 = AddMaskEdit(TabSheet5, 2, "Számlaszám :", "99999999-99999999-99999999;1;_");

    // The form is as wide as the five tabs, so that every tab shows without scrolling.
    const int pageWidth = std::max(624, PageControl1->tabBar()->sizeHint().width() + 8);
    PageControl1->SetBounds(8, 40, pageWidth, 310);
    const int width = pageWidth + 16;
    SetClientSize(width, 400);
    Button1 = ui::Make<ui::TButton>(this, {width - 240, 362, 110, 28}, "Rögzítés");
    Button2 = ui::Make<ui::TButton>(this, {width - 120, 362, 110, 28}, "Vissza");
    PageControl1->SetActivePage(TabSheet1);

    OnActivate = Handler(&TAlapadatok::FormActivate);
    OnShortCut = Handler(&TAlapadatok::FormShortCut);
    Button1->OnClick = Handler(&TAlapadatok::Button1Click);
    Button2->OnClick = Handler(&TAlapadatok::Button2Click);
}

ui::TLabel* TAlapadatok::AddLabel(ui::TTabSheet* page, int left, int row,
                                  const std::string& caption) {
    return ui::Make<ui::TLabel>(page, {left, RowTop(row) + 3, kEditLeft - left - 8, 18}, caption);
}

ui::TDBEdit* TAlapadatok::AddEdit(const EditSpec& spec) {
    if (spec.caption)
        AddLabel(spec.page, kLabelLeft, spec.row, spec.caption);
    auto* edit = new ui::TDBEdit(spec.page);
    if (spec.number) {
        const bool first = spec.caption != nullptr;
        const int left = first ? kFirstNumberLeft : kSecondNumberLeft;
        ui::Make<ui::TLabel>(spec.page, {left, RowTop(spec.row) + 3, kNumberWidth, 18},
                             spec.number);
        edit->SetBounds(left + kNumberWidth, RowTop(spec.row), kPairEditWidth, kEditHeight);
    } else {
        edit->SetBounds(kEditLeft, RowTop(spec.row), EditWidth(spec.maxLength), kEditHeight);
    }
    edit->SetMaxLength(spec.maxLength);
    edit->SetDataSource(spec.source);
    edit->SetDataField(spec.field);
    return edit;
}

ui::TMaskEdit* TAlapadatok::AddMaskEdit(ui::TTabSheet* page, int row, const std::string& caption,
                                        const std::string& mask) {
    AddLabel(page, kLabelLeft, row, caption);
    auto* edit = ui::Make<ui::TMaskEdit>(page, {kEditLeft, RowTop(row), 260, kEditHeight});
    edit->SetEditMask(mask);
    return edit;
}

// Opens the tables on the farm row and shows its tax and account numbers. Activation
// comes again after every message box; the open tables then keep what is being typed.
void TAlapadatok::FormActivate(TObject*) {
    if (Table1.Active())
        return;
    core::FilterFarmRow(Table1);
    ui::OpenOnFirstActivate(this, {&Table1, &Table2});
    Table1.First();
    Table2.First();
    MaskEdit1->SetText(Table1.IsEmpty() ? "" : Table1.FieldByName("Adosz").AsString());
    MaskEdit2->SetText(Table1.IsEmpty() ? "" : Table1.FieldByName("Szamlasz").AsString());
}

// Enter moves on like Tab, except on the two buttons, which it presses.
void TAlapadatok::FormShortCut(TWMKey& Msg, bool& Handled) {
    if (Msg.CharCode != ui::VK_RETURN || Msg.Shift != 0)
        return;
    QWidget* focused = ActiveControl();
    if (focused == Button1 || focused == Button2)
        return;
    SelectNext(true);
    Handled = true;
}

// "Rögzítés": posts the farm row (inserted when there is none) with the tax and account
// numbers, then the Alapadat2 row, and closes.
void TAlapadatok::Button1Click(TObject*) {
    Table1.UpdateRecord();
    Table2.UpdateRecord();
    if (Table1.State() != db::DataSetState::Browse &&
        core::IsOptionName(Table1.FieldByName("Nev").AsString())) {
        // Such a row would be taken for a setting of the program and lost as farm data.
        ui::MessageDlg("A gazdálkodó neve nem kezdődhet aláhúzásjellel ( _ ) !", ui::mtWarning,
                       ui::mbOK);
        DBEdit1->SetFocus();
        return;
    }
    Table1.First();
    Table1.Edit();
    Table1.FieldByName("Szamlasz").SetAsString(MaskEdit2->Text());
    Table1.FieldByName("Adosz").SetAsString(MaskEdit1->Text());
    Table1.Post();
    Table1.Refresh();
    Table2.First();
    Table2.Edit();
    Table2.Post();
    Table2.Refresh();
    Close();
}

void TAlapadatok::Button2Click(TObject*) {
    Close();
}

void TAlapadatok::Table1AfterPost(db::TDataSet&) {
    Table1.FlushBuffers();
}

void TAlapadatok::Table1AfterDelete(db::TDataSet&) {
    Table1.FlushBuffers();
}
