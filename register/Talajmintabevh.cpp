#include "Talajmintabevh.h"

#include "core/Isnuminth.h"
#include "platform/sys/datetime.h"
#include "platform/ui/form_helpers.h"
#include "register/codes.h"

TTalajmintabev* Talajmintabev = nullptr;

TTalajmintabev::TTalajmintabev(db::Session& session) : session_(session) {
    SetCaption("Talajminták laboreredményeinek rögzítése");
    SetClientSize(800, 600);
    SetPosition(ui::poScreenCenter);

    Table1.SetTableName("tablak.DB");
    Table1.SetFilter("Aktiv = 1");
    Table1.SetFiltered(true);
    Table1.SetIndexFieldNames("Helysz");
    Table2.SetTableName("Talajmintak.DB");
    Query1.SQL().Add("SELECT DISTINCT Mintas,Ev");
    Query1.SQL().Add("FROM Talajmintak");
    Query1.SQL().Add("WHERE Tablakod = :Tkod");
    Query1.SQL().Add("ORDER BY Ev,Mintas");
    Query1.ParamByName("Tkod").SetAsInteger(0);
    reg::SetSamplingPlaceQuery(Query2);

    Label1 = new ui::TLabel(this, "Laboreredmények rendezése");
    Label1->SetBounds(8, 4, 300, 20);
    Label1->SetBold(true);
    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 28, 380, 160);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Helysz", "Helyrajzi szám", 110);
    DBGrid1->Columns().Add("Hazmeg", "Hazi megnevezés", 150);
    DBGrid1->Columns().Add("Ter", "Terület", 80);

    (new ui::TLabel(this, "Dátum :"))->SetBounds(400, 31, 140, 16);
    DateTimePicker1 = new ui::TDateTimePicker(this);
    DateTimePicker1->SetBounds(542, 28, 120, 22);
    Edit1 = ui::CaptionedEdit(this, "Vizsgáló labor neve :", 400, 56, 142, 150, 50);
    Edit2 = ui::CaptionedEdit(this, "Minta jele :", 400, 84, 142, 150, 20);
    Edit3 = ui::CaptionedEdit(this, "Mélység :", 400, 112, 142, 150, 20);
    CheckBox1 = new ui::TCheckBox(this, "A laboreredmény egy tábla átlageredménye");
    CheckBox1->SetBounds(400, 140, 390, 20);
    (new ui::TLabel(this, "(Ha nem akkor egy tábla mintái közül egy)"))
        ->SetBounds(420, 160, 360, 16);
    Label2 = new ui::TLabel(this, "A minta sorszáma :");
    Label2->SetBounds(400, 183, 140, 16);
    Edit4 = new ui::TEdit(this);
    Edit4->SetBounds(542, 180, 60, 22);

    AnalyteEdits = reg::MakeAnalyteEdits(this, 8, 240, 5);
    for (std::size_t i = 0; i < AnalyteEdits.size(); ++i)
        ui::FitToFields(session, "Talajmintak", {{AnalyteEdits[i], reg::SoilAnalytes()[i].column}});
    // The totals' heading is wider than their column: it ends where the column ends.
    auto* totals = new ui::TLabel(this, "______összesített_eredmények_____");
    const int totalsWidth = totals->fontMetrics().horizontalAdvance(totals->text()) + 4;
    totals->SetBounds(8 + 5 * 130 + 124 - totalsWidth, 218, totalsWidth, 16);
    (new ui::TLabel(this, "Ellátottság minősítése:"))->SetBounds(8, 400, 200, 16);
    ComboBox1 = reg::SupplyClassBox(this, 8, 420, "Nitrogén :");
    ComboBox2 = reg::SupplyClassBox(this, 200, 420, "Foszfor :");
    ComboBox3 = reg::SupplyClassBox(this, 392, 420, "Kálium :");
    ui::FitToFields(session, "Talajmintak",
                    {{ComboBox1, "Humuszk"},
                     {ComboBox2, "Foszfork"},
                     {ComboBox3, "Kaliumk"},
                     {Edit4, "Mintas"}});

    Button3 = new ui::TButton(this, "Mintahely megadása");
    Button3->SetBounds(8, 560, 150, 27);
    Button1 = new ui::TButton(this, "Rögzítés");
    Button1->SetBounds(600, 560, 90, 27);
    Button2 = new ui::TButton(this, "Mégsem");
    Button2->SetBounds(700, 560, 90, 27);
    PlaceBox = std::make_unique<reg::SamplingPlaceBox>(this, &DataSource2, "OK");

    PopupMenu1 =
        ui::ButtonMenu(this, {{"Rögzítés      CTRL+S", Button1}, {"Mégsem       CTRL+X", Button2}});
    SetPopupMenu(PopupMenu1);

    OnShow = Handler(&TTalajmintabev::FormShow);
    OnActivate = Handler(&TTalajmintabev::FormActivate);
    OnClose = Handler(&TTalajmintabev::FormClose);
    OnKeyPress = Handler(&TTalajmintabev::FormKeyPress);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2});
    CheckBox1->SetChecked(true);
    Label2->SetEnabled(false);
    Edit4->SetEnabled(false);
    CheckBox1->OnClick = Handler(&TTalajmintabev::CheckBox1Click);
    DBGrid1->OnCellClick = [this](ui::TColumn&) { TakeLandParcel(); };
    Button1->OnClick = Handler(&TTalajmintabev::Button1Click);
    Button2->OnClick = Handler(&TTalajmintabev::Button2Click);
    Button3->OnClick = Handler(&TTalajmintabev::Button3Click);
    PlaceBox->OkButton->OnClick = Handler(&TTalajmintabev::PlaceOkClick);
    PlaceBox->CancelButton->OnClick = Handler(&TTalajmintabev::PlaceCancelClick);
}

void TTalajmintabev::FormShow(TObject*) {
    Query2.Open();
    ChosenPlace = -1;
}

void TTalajmintabev::FormActivate(TObject*) {
    const bool first = !Table1.Active();
    ui::OpenOnFirstActivate(this, {&Table1, &Table2, &Query2});
    if (!first)
        return;
    DateTimePicker1->SetDate(sys::today());
    if (Table1.IsEmpty()) {
        ui::MessageDlg("Nincsenek táblák rögzítve ! Nem lehetséges talajvizsgálatok rögzítése.",
                       ui::mtWarning, ui::mbOK);
        Button1->SetEnabled(false);
    }
}

void TTalajmintabev::FormClose(TObject*, TCloseAction&) {
    Query1.Close();
}

// Ctrl+S saves, Ctrl+X closes; an Enter character that reaches the form saves as well.
void TTalajmintabev::FormKeyPress(TObject*, TKey& Key) {
    ui::TButton* save = Button1->isEnabled() ? Button1 : nullptr;
    ui::Shortcuts(Key, {{'M', save}, {'S', save}, {'X', Button2}});
}

// The serials are those of the land parcel current when the proposal is made.
void TTalajmintabev::TakeLandParcel() {
    Query1.Close();
    Query1.ParamByName("Tkod").SetAsInteger(
        Table1.IsEmpty() ? 0 : Table1.FieldByName("Tableid").AsInteger());
}

void TTalajmintabev::CheckBox1Click(TObject*) {
    if (CheckBox1->Checked()) {
        Label2->SetEnabled(false);
        Edit4->SetEnabled(false);
        Edit4->SetText("0");
        return;
    }
    TakeLandParcel();
    Query1.Open();
    Label2->SetEnabled(true);
    Edit4->SetEnabled(true);
    if (Query1.IsEmpty()) {
        Edit4->SetText("1");
    } else {
        Query1.Last();
        Edit4->SetText(std::to_string(Query1.FieldByName("Mintas").AsInteger() + 1));
    }
    Query1.Close();
}

// A code that a link row still names (of a result deleted elsewhere) is not given again.
std::string TTalajmintabev::NextResultCode() {
    return reg::NextSequentialCode(session_,
                                   {{"Talajmintak", "Mintakod"}, {"mitak_helyek", "Miid"}});
}

void TTalajmintabev::Button1Click(TObject*) {
    const auto& analytes = reg::SoilAnalytes();
    for (std::size_t i = 0; i < analytes.size(); ++i)
        if (!NumericInt->IsValidFor(AnalyteEdits[i]->Text(), analytes[i].label, "Talajmintak",
                                    analytes[i].column))
            return;
    if (!NumericInt->IsValidFor(Edit4->Text(), "mintasorszám", "Talajmintak", "Mintas"))
        return;
    const bool single = Edit4->isEnabled();
    if (single && Edit4->Text().empty()) {
        ui::MessageDlg("Kérem adja meg a minta sorszámát!", ui::mtWarning, ui::mbOK);
        return;
    }
    if (Table1.IsEmpty())
        return;

    const sys::DateTime day = DateTimePicker1->Date();
    const std::string code = NextResultCode();
    db::SessionTransaction transaction(session_); // the result and its link row
    Table2.Insert();
    Table2.FieldByName("Mintakod").SetAsString(code);
    Table2.FieldByName("Datum").SetAsDateTime(day);
    Table2.FieldByName("Tablakod").SetAsInteger(Table1.FieldByName("Tableid").AsInteger());
    Table2.FieldByName("Labor").SetAsString(Edit1->Text());
    Table2.FieldByName("Ev").SetAsInteger(sys::decodeDate(day).year);
    for (std::size_t i = 0; i < analytes.size(); ++i)
        Table2.FieldByName(analytes[i].column).SetAsString(AnalyteEdits[i]->Text());
    Table2.FieldByName("Mintajel").SetAsString(Edit2->Text());
    Table2.FieldByName("Melyseg").SetAsString(Edit3->Text());
    Table2.FieldByName("Humuszk").SetAsString(ComboBox1->Text());
    Table2.FieldByName("Foszfork").SetAsString(ComboBox2->Text());
    Table2.FieldByName("Kaliumk").SetAsString(ComboBox3->Text());
    const int serial = single ? std::stoi(Edit4->Text()) : 0;
    Table2.FieldByName("Mintas").SetAsInteger(serial);
    Table2.Post();
    if (ChosenPlace != -1)
        reg::LinkResultToPlace(session_, code, ChosenPlace);
    transaction.Commit();
    Table2.FlushBuffers();
    if (single)
        Edit4->SetText(std::to_string(serial + 1));
    if (ui::Application->MessageBox("Következő minta felvitele?", "További eredmények?",
                                    ui::MB_YESNO) != ui::IDYES)
        Close();
}

void TTalajmintabev::Button2Click(TObject*) {
    Close();
}

void TTalajmintabev::Button3Click(TObject*) {
    PlaceBox->Show(8, 28);
}

void TTalajmintabev::PlaceOkClick(TObject*) {
    if (!Query2.IsEmpty()) {
        ChosenPlace = Query2.FieldByName("Id").AsInteger();
        DateTimePicker1->SetDate(Query2.FieldByName("Elsominatido").AsDateTime());
        Edit2->SetText(Query2.FieldByName("Jele").AsString());
        Edit3->SetText(reg::SamplingDepth(Query2));
    }
    PlaceBox->GroupBox->Hide();
}

void TTalajmintabev::PlaceCancelClick(TObject*) {
    ChosenPlace = -1;
    PlaceBox->GroupBox->Hide();
}
