#include "J05u.h"

#include "core/Isnuminth.h"
#include "platform/sys/codepage.h"
#include "platform/sys/file_copy.h"
#include "platform/sys/numbers.h"
#include "platform/ui/form_helpers.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

TJ05* J05 = nullptr;

namespace {

ui::TMemo* HelpText(QWidget* parent, int left, int top, int width, int height,
                    const std::string& text) {
    auto* memo = new ui::TMemo(parent);
    memo->SetBounds(left, top, width, height);
    memo->SetReadOnly(true);
    memo->SetText(text);
    memo->SetTabStop(false);
    return memo;
}

constexpr const char* kUsage =
    "Az új számla gombbal rögzítse a J04 bevallás gázolaj számláinak tételeit, a módosítás "
    "és törlés gombokkal javítsa őket. A számlatételek dátum szerinti rendezése a szoftver "
    "dolga, így az adatbevitel sorrendje lényegtelen. Az import fájl készítése gombbal "
    "mentse a tételeket az Abev program számára; a fájlnévnek adja meg az \".imp\" "
    "kiterjesztést. Egy már létező fájl a munkakönyvtárba kerül át a fájl nevével és "
    "\".imp\" kiterjesztéssel.";

// Where an existing file is moved before a new one takes its name: its bare name with
// ".imp", in the working directory.
fs::path AsideName(const fs::path& chosen) {
    return fs::path(chosen.stem().string() + ".imp");
}

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::exists(b, error) && fs::equivalent(a, b, error);
}

} // namespace

TJ05::TJ05(db::Session& session) : session_(session) {
    SetCaption("Gázolaj számlák tételei (J04 bevallás)");
    SetClientSize(760, 470);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("szlatet.db");
    Table1.SetIndexFieldNames("Teljkelt;Id");

    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 8, 620, 454);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Adosz", "Adószám", 80);
    DBGrid1->Columns().Add("Szlatip", "Típus", 45);
    DBGrid1->Columns().Add("Fajtakod", "Fajta kód", 65);
    DBGrid1->Columns().Add("Szlaszam", "Számla sorszáma", 130);
    DBGrid1->Columns().Add("Teljkelt", "Teljesítés kelte", 100);
    DBGrid1->Columns().Add("Gmenny", "Liter", 80);
    DBGrid1->Columns().Add("Vegossz", "Végösszeg", 90);

    Button4 = new ui::TButton(this, "új számla");
    Button4->SetBounds(636, 8, 116, 27);
    Button2 = new ui::TButton(this, "módisítás");
    Button2->SetBounds(636, 42, 116, 27);
    Button3 = new ui::TButton(this, "törlés");
    Button3->SetBounds(636, 76, 116, 27);
    Button8 = new ui::TButton(this, "szervíz");
    Button8->SetBounds(636, 110, 116, 27);
    Button6 = new ui::TButton(this, "Import Fájl Készítése\nAbev Programhoz\nJ04 bevalláshoz");
    Button6->SetBounds(628, 400, 130, 62); // wider than the others: its lines are longer

    GroupBox1 = new ui::TGroupBox(this, "Új számla rögzítése.");
    GroupBox1->SetBounds(8, 8, 620, 330);
    ui::AddLabel(GroupBox1, "Kibocsájtó adószáma:", 12, 24);
    ComboBox3 = new ui::TComboBox(GroupBox1);
    ComboBox3->SetBounds(170, 24, 130, 22);
    Memo1 = HelpText(GroupBox1, 310, 22, 300, 34,
                     "Az adószám első nyolc számjegye (a cég típusa és a megyekód nélkül).");
    ui::AddLabel(GroupBox1, "Számla típusa:", 12, 64);
    ComboBox1 = new ui::TComboBox(GroupBox1);
    ComboBox1->SetBounds(170, 64, 130, 22);
    ComboBox1->Items().Add("G");
    ComboBox1->Items().Add("B");
    ComboBox1->Items().Add("Z");
    ComboBox1->SetItemIndex(0);
    Memo2 = HelpText(GroupBox1, 310, 62, 300, 34,
                     "G: Gázolaj számla, B: Bérmunka számla, Z: Záradékolt gázolaj részszámla");
    ui::AddLabel(GroupBox1, "Fajta kód:", 12, 104);
    ComboBox2 = new ui::TComboBox(GroupBox1);
    ComboBox2->SetBounds(170, 104, 130, 22);
    for (const char* code : {"523", "602", "660", "664", "666"})
        ComboBox2->Items().Add(code);
    ComboBox2->SetItemIndex(0);
    Memo3 = HelpText(GroupBox1, 310, 102, 300, 34,
                     "523: 85 Ft/l, 602: 90 Ft/l, 660: 88.90 Ft/l, 664: 93 Ft/l, 666: 96.90 Ft/l");
    ui::AddLabel(GroupBox1, "Számla sorszáma:", 12, 144);
    ComboBox4 = new ui::TComboBox(GroupBox1);
    ComboBox4->SetBounds(170, 144, 130, 22);
    Memo4 = HelpText(GroupBox1, 310, 142, 300, 34, "A számla sorszáma, ahogy a számlán áll.");
    ui::AddLabel(GroupBox1, "Teljesítés kelte:", 12, 184);
    DateTimePicker1 = new ui::TDateTimePicker(GroupBox1);
    DateTimePicker1->SetBounds(170, 184, 130, 22);
    Memo5 = HelpText(GroupBox1, 310, 182, 300, 34, "A számla teljesítésének dátuma.");
    ui::AddLabel(GroupBox1, "Gázolaj mennyisége:", 12, 224);
    DBEdit1 = new ui::TDBEdit(GroupBox1);
    DBEdit1->SetBounds(170, 224, 130, 22);
    DBEdit1->SetDataSource(&DataSource1);
    DBEdit1->SetDataField("Gmenny");
    Memo6 = HelpText(GroupBox1, 310, 222, 300, 34, "Liter, két tizedesjegyig (pl. 125,50).");
    ui::AddLabel(GroupBox1, "Számla végösszege:", 12, 264);
    DBEdit2 = new ui::TDBEdit(GroupBox1);
    DBEdit2->SetBounds(170, 264, 130, 22);
    DBEdit2->SetDataSource(&DataSource1);
    DBEdit2->SetDataField("Vegossz");
    Memo7 = HelpText(GroupBox1, 310, 262, 300, 34, "A számla végösszege forintban, egész szám.");
    Button5 = new ui::TButton(GroupBox1, "rögzítés");
    Button5->SetBounds(170, 296, 85, 27);
    Button1 = new ui::TButton(GroupBox1, "mégsem");
    Button1->SetBounds(265, 296, 85, 27);
    GroupBox1->SetVisible(false);
    ui::EditBoxOverList(GroupBox1);

    GroupBox2 = new ui::TGroupBox(this, "Szervíz");
    GroupBox2->SetBounds(8, 8, 620, 330);
    Memo8 = HelpText(GroupBox2, 12, 24, 440, 50,
                     "Figyelem! A tábla ürítése minden eddig rögzített számlatételt töröl, "
                     "kérdés nélkül.");
    Button7 = new ui::TButton(GroupBox2, "tábla ürítése");
    Button7->SetBounds(470, 24, 136, 27);
    Memo9 = HelpText(GroupBox2, 12, 84, 440, 234, kUsage);
    Memo9->SetWordWrap(true);
    Button10 = new ui::TButton(GroupBox2, "használati leírás");
    Button10->SetBounds(470, 84, 136, 27);
    Button9 = new ui::TButton(GroupBox2, "szervíz bezárása");
    Button9->SetBounds(470, 291, 136, 27);
    GroupBox2->SetVisible(false);

    ui::FitToFields(session, "szlatet",
                    {{ComboBox1, "Szlatip"},
                     {ComboBox2, "Fajtakod"},
                     {ComboBox3, "Adosz"},
                     {ComboBox4, "Szlaszam"},
                     {DateTimePicker1, "Teljkelt"}});
    SetTabOrder({DBGrid1, Button4, Button2, Button3, Button8, Button6, ComboBox3, ComboBox1,
                 ComboBox2, ComboBox4, DateTimePicker1, DBEdit1, DBEdit2, Button5, Button1, Button7,
                 Button10, Button9});

    SaveDialog1.Title = "Import fájl mentése";
    SaveDialog1.Filter = "Import fájlok (*.imp);;Minden fájl (*)";
    SaveDialog1.DefaultExt = "imp";

    OnShow = Handler(&TJ05::FormShow);
    Button1->OnClick = Handler(&TJ05::Button1Click);
    Button2->OnClick = Handler(&TJ05::Button2Click);
    Button3->OnClick = Handler(&TJ05::Button3Click);
    Button4->OnClick = Handler(&TJ05::Button4Click);
    Button5->OnClick = Handler(&TJ05::Button5Click);
    Button6->OnClick = Handler(&TJ05::Button6Click);
    Button7->OnClick = Handler(&TJ05::Button7Click);
    Button8->OnClick = Handler(&TJ05::Button8Click);
    Button9->OnClick = Handler(&TJ05::Button9Click);
}

void TJ05::FillList(const std::string& field, ui::TComboBox* box) {
    Query1.SQL().Clear();
    Query1.SQL().Add("SELECT DISTINCT " + field);
    Query1.SQL().Add("FROM szlatet.db");
    Query1.SQL().Add("ORDER BY " + field);
    Query1.Open();
    const std::string typed = box->Text(); // the edited text stays
    box->Items().Clear();
    for (Query1.First(); !Query1.Eof(); Query1.Next())
        box->Items().Add(Query1.FieldByName(field).AsString());
    box->SetText(typed);
    Query1.Close();
}

void TJ05::FillTaxNumberList() {
    FillList("Adosz", ComboBox3);
}

void TJ05::FillInvoiceNumberList() {
    FillList("Szlaszam", ComboBox4);
}

std::string TJ05::FormatQuantity(const std::string& line) {
    return res::FormatQuantity(line);
}

void TJ05::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1});
    FillTaxNumberList();
    FillInvoiceNumberList();
}

void TJ05::ShowEntryPanel(const std::string& caption) {
    GroupBox1->SetBounds(8, 8, GroupBox1->Width(), GroupBox1->Height());
    GroupBox1->SetCaption(caption);
    GroupBox1->Show();
    GroupBox1->BringToFront();
    ComboBox3->SetFocus();
}

// The controls keep the previous entry, so a run of similar invoices needs only the
// changed parts typed.
void TJ05::Button4Click(TObject*) {
    ShowEntryPanel("Új számla rögzítése.");
    Table1.Insert();
}

void TJ05::Button2Click(TObject*) {
    if (Table1.IsEmpty())
        return;
    ShowEntryPanel("Számla módosítása.");
    ComboBox1->SetText(Table1.FieldByName("Szlatip").AsString());
    ComboBox2->SetText(Table1.FieldByName("Fajtakod").AsString());
    ComboBox3->SetText(Table1.FieldByName("Adosz").AsString());
    ComboBox4->SetText(Table1.FieldByName("Szlaszam").AsString());
    DateTimePicker1->SetDate(Table1.FieldByName("Teljkelt").AsDateTime());
    Table1.Edit();
}

// Neither the litres nor the total of an item is zero; both are negative on an invoice
// that corrects another. The litres have two decimals at most, the total none, the tax
// number is digits.
void TJ05::Button5Click(TObject*) {
    if (!NumericInt->IsValidFor(DBEdit1->Text(), "Gázolaj mennyisége", "szlatet", "Gmenny") ||
        !NumericInt->IsValidFor(DBEdit2->Text(), "Számla végösszege", "szlatet", "Vegossz") ||
        !ui::TypedValuesValid(*GroupBox1))
        return;
    const sys::DateTime performed = DateTimePicker1->Date(); // refuses a typed non-date first
    Table1.FieldByName("Szlatip").SetAsString(ComboBox1->Text());
    Table1.FieldByName("Fajtakod").SetAsString(ComboBox2->Text());
    Table1.FieldByName("Adosz").SetAsString(ComboBox3->Text());
    Table1.FieldByName("Szlaszam").SetAsString(ComboBox4->Text());
    Table1.FieldByName("Teljkelt").SetAsDateTime(performed);
    Table1.Post();
    FillTaxNumberList();
    FillInvoiceNumberList();
    GroupBox1->Hide();
}

void TJ05::Button1Click(TObject*) {
    Table1.Cancel();
    GroupBox1->Hide();
}

void TJ05::Button3Click(TObject*) {
    if (!Table1.IsEmpty())
        Table1.Delete();
}

void TJ05::Button8Click(TObject*) {
    GroupBox2->SetBounds(8, 8, GroupBox2->Width(), GroupBox2->Height());
    GroupBox2->Show();
    GroupBox2->BringToFront();
}

void TJ05::Button9Click(TObject*) {
    GroupBox2->Hide();
}

void TJ05::Button7Click(TObject*) {
    Table1.Close();
    Table1.EmptyTable();
    Table1.Open();
}

std::vector<res::DieselInvoiceItem> TJ05::ReadItems() {
    std::vector<res::DieselInvoiceItem> items;
    const db::ControlsHeld held(Table1); // the grid stays on its row
    for (Table1.First(); !Table1.Eof(); Table1.Next()) {
        res::DieselInvoiceItem item;
        item.adosz = Table1.FieldByName("Adosz").AsString();
        item.szlaszam = Table1.FieldByName("Szlaszam").AsString();
        const db::TField& date = Table1.FieldByName("Teljkelt");
        item.teljkelt = date.IsNull() ? 0 : date.AsDateTime();
        const db::TField& litres = Table1.FieldByName("Gmenny");
        if (!litres.IsNull())
            item.gmenny = litres.AsFloat();
        const db::TField& total = Table1.FieldByName("Vegossz");
        if (!total.IsNull())
            item.vegossz = total.AsInteger();
        item.szlatip = Table1.FieldByName("Szlatip").AsString();
        item.fajtakod = Table1.FieldByName("Fajtakod").AsString();
        items.push_back(std::move(item));
    }
    return items;
}

// Writes the import file under the name chosen. The whole file is made in memory and
// written through a temporary name, so a failed write leaves no half-written file; an
// existing file of the chosen name is first moved aside under its bare name with ".imp"
// in the working directory, never over another file. Failures are reported.
void TJ05::Button6Click(TObject*) {
    if (SaveDialog1.InitialDir.empty())
        SaveDialog1.InitialDir = session_.directory().string();
    if (!SaveDialog1.Execute())
        return;
    const fs::path chosen = SaveDialog1.FileName;
    std::string bytes;
    try {
        bytes = res::ImportFileBytes(ReadItems());
    } catch (const sys::EncodingError& error) {
        ui::MessageDlg("Az import fájl nem készült el:\n" + std::string(error.what()), ui::mtError,
                       ui::mbOK);
        return;
    }
    std::error_code ignored;
    const fs::path aside = AsideName(chosen);
    if (fs::exists(chosen, ignored) && !SameFile(chosen, aside)) {
        try {
            sys::renameWithoutReplacing(chosen, aside);
        } catch (const sys::FileCopyError& error) {
            ui::MessageDlg("A meglévő \"" + chosen.string() + "\" fájl nem nevezhető át \"" +
                               aside.string() + "\" névre (" + error.problem() +
                               ").\nAz import fájl nem készült el.",
                           ui::mtError, ui::mbOK);
            return;
        }
    }
    try {
        sys::writeFileSafely(chosen, bytes);
    } catch (const sys::FileCopyError& error) {
        ui::MessageDlg("Az import fájl nem írható: \"" + chosen.string() + "\" (" +
                           error.problem() + ").",
                       ui::mtError, ui::mbOK);
    }
}
