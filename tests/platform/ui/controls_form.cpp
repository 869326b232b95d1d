#include "controls_form.h"

#include "db_test_support.h"

using ui::TObject;

TMindenVezerlo::TMindenVezerlo() {
    SetCaption("Vezérlők – árvíztűrő tükörfúrógép");
    SetClientSize(780, 560);
    SetHelpContext(34);
    MainMenu1 = new ui::TMainMenu(this);
    Muveletek1 = MainMenu1->Add("Műveletek");
    Muveletek1->Add("Elvégzett műveletek felvitele");
    Rejtett1 = Muveletek1->Add("Műveletek tervezése");
    Rejtett1->SetVisible(false);
    MainMenu1->Add("Kilépés");
    ToolBar1 = new ui::TToolBar(this);
    ToolBar1->setGeometry(0, 0, 780, 42);
    QImage picture(31, 30, QImage::Format_RGB32);
    picture.fill(QColor(40, 120, 40));
    ToolButton1 = ToolBar1->AddButton("Elvégzett műveletek", picture);
    ToolBar1->AddSeparator();
    ToolBar1->AddButton("Kilép", picture);

    PageControl1 = new ui::TPageControl(this);
    PageControl1->SetBounds(8, 48, 380, 300);
    TabSheet1 = new ui::TTabSheet(PageControl1, "Cégadatok");
    TabSheet2 = new ui::TTabSheet(PageControl1, "Egyéb adatok");
    Label1 = new ui::TLabel(TabSheet1, "Gazdálkodó neve :");
    Label1->SetBounds(8, 12, 120, 16);
    Edit1 = new ui::TEdit(TabSheet1);
    Edit1->SetBounds(136, 8, 220, 22);
    Edit1->SetMaxLength(35);
    Label2 = new ui::TLabel(TabSheet1, "Adószám :");
    Label2->SetBounds(8, 44, 120, 16);
    MaskEdit1 = new ui::TMaskEdit(TabSheet1);
    MaskEdit1->SetBounds(136, 40, 220, 22);
    MaskEdit1->SetEditMask("99999999-9-99;1;_");
    MaskEdit2 = new ui::TMaskEdit(TabSheet1);
    MaskEdit2->SetBounds(136, 70, 220, 22);
    MaskEdit2->SetEditMask("99999999-99999999-99999999;1;_");
    MaskEdit3 = new ui::TMaskEdit(TabSheet1);
    MaskEdit3->SetBounds(136, 100, 220, 22);
    MaskEdit3->SetEditMask("aaaaa\\-a\\-aa;1;_");
    StaticText1 = new ui::TStaticText(TabSheet1, "Ügyfél-reg. szám : 1234567890");
    StaticText1->SetBounds(8, 132, 348, 20);
    CheckBox1 = new ui::TCheckBox(TabSheet1, "Aktív parcellák");
    CheckBox1->SetBounds(8, 160, 160, 20);
    RadioButton1 = new ui::TRadioButton(TabSheet1, "Erőgép");
    RadioButton1->SetBounds(8, 186, 100, 20);
    RadioButton2 = new ui::TRadioButton(TabSheet1, "Munkagép");
    RadioButton2->SetBounds(120, 186, 100, 20);
    DateTimePicker1 = new ui::TDateTimePicker(TabSheet1);
    DateTimePicker1->SetBounds(8, 214, 160, 22);
    DateTimePicker2 = new ui::TDateTimePicker(TabSheet1, ui::dtkDateTime);
    DateTimePicker2->SetBounds(180, 214, 180, 22);
    DateTimePicker2->SetShowCheckbox(true);
    RadioGroup1 = new ui::TRadioGroup(TabSheet2, "Időszak");
    RadioGroup1->SetBounds(8, 8, 160, 90);
    RadioGroup1->Items().AddStrings({"2004-2009", "2009-2014", "Összes"});
    ComboBox1 = new ui::TComboBox(TabSheet2);
    ComboBox1->SetBounds(180, 8, 180, 22);
    ComboBox1->Items().AddStrings({"Kis", "Közép", "Nagy"});
    ComboBox1->SetText("Nagy");
    ComboBox2 = new ui::TComboBox(TabSheet2, ui::csDropDownList);
    ComboBox2->SetBounds(180, 40, 180, 22);
    ComboBox2->Items().AddStrings({"g", "kg", "t", "ml", "l"});
    ListBox1 = new ui::TListBox(TabSheet2);
    ListBox1->SetBounds(8, 110, 160, 150);
    Memo1 = new ui::TMemo(TabSheet2);
    Memo1->SetBounds(180, 72, 180, 80);
    RichEdit1 = new ui::TRichEdit(TabSheet2);
    RichEdit1->SetBounds(180, 160, 180, 100);
    RichEdit1->SetReadOnly(true);

    StringGrid1 = new ui::TStringGrid(this);
    StringGrid1->SetBounds(400, 48, 372, 150);
    StringGrid1->SetColCount(4);
    StringGrid1->SetRowCount(4);
    StringGrid1->SetCells(0, 0, "Sorsz.");
    StringGrid1->SetCells(1, 0, "Név");
    StringGrid1->SetCells(2, 0, "Óra");
    StringGrid1->SetCells(3, 0, "kód");
    StringGrid1->SetColWidths(3, -1);
    StringGrid1->SetEditing(true);

    Image1 = new ui::TImage(this);
    Image1->SetBounds(400, 206, 137, 9);
    Image1->SetStretch(true);
    Panel1 = new ui::TPanel(this, "Módosítandó parcella kiválasztása.");
    Panel1->SetBounds(400, 224, 372, 40);
    GroupBox1 = new ui::TGroupBox(this, "Feljegyzés");
    GroupBox1->SetBounds(400, 272, 372, 76);
    Edit2 = new ui::TEdit(GroupBox1);
    Edit2->SetBounds(12, 24, 240, 22);
    Button5 = new ui::TButton(GroupBox1, "Mégsem");
    Button5->SetBounds(264, 22, 90, 27);
    Bevel1 = new ui::TBevel(this);
    Bevel1->SetBounds(8, 356, 764, 4);
    Button1 = new ui::TButton(this, "Rögzítés");
    Button1->SetBounds(560, 520, 100, 28);
    Button1->SetDefault(true);
    Button1->SetHint("Ctrl+R");
    BitBtn1 = new ui::TBitBtn(this);
    BitBtn1->SetBounds(672, 520, 100, 28);
    BitBtn1->SetKind(ui::bkCancel);

    PopupMenu1 = new ui::TPopupMenu(this);
    Aktvparcellk1 = PopupMenu1->Add("Aktív parcellák       CTRL+A");
    Aktvparcellk1->SetChecked(false);
    PopupMenu1->Add("Bezár                CTRL+X");
    SetPopupMenu(PopupMenu1);
    Timer1 = new ui::TTimer(this, 50, false);

    CheckBox1->OnClick = Handler(&TMindenVezerlo::CheckBox1Click);
    Aktvparcellk1->OnClick = Handler(&TMindenVezerlo::Aktvparcellk1Click);
    Button1->OnClick = Handler(&TMindenVezerlo::Button1Click);
    GroupBox1->OnExit = Handler(&TMindenVezerlo::GroupBox1Exit);
    Timer1->OnTimer = Handler(&TMindenVezerlo::Timer1Timer);
    OnPaint = Handler(&TMindenVezerlo::FormPaint);
    CreateDataControls();
}

// Two pages of data-aware controls on the parcels and the crops.
void TMindenVezerlo::CreateDataControls() {
    uitest::makeParcels(Session1, 6);
    uitest::makeCrops(Session1);
    Table1.SetTableName("parcellak");
    Table1.Open();
    Table2.SetTableName("magfajtak");
    Table2.Open();
    TabSheet3 = new ui::TTabSheet(PageControl1, "Parcellák");
    DBGrid1 = new ui::TDBGrid(TabSheet3);
    DBGrid1->SetBounds(8, 8, 356, 130);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->Columns().Add("Kod", "Kód", 70);
    DBGrid1->Columns().Add("Evj", "G. év", 60);
    DBGrid1->Columns().Add("Agazat", "Ágazat", 180);
    DBText1 = new ui::TDBText(TabSheet3);
    DBText1->SetBounds(8, 148, 100, 18);
    DBText1->SetDataSource(&DataSource1);
    DBText1->SetDataField("Kod");
    DBEdit1 = new ui::TDBEdit(TabSheet3);
    DBEdit1->SetBounds(8, 172, 100, 22);
    DBEdit1->SetDataSource(&DataSource1);
    DBEdit1->SetDataField("Evj");
    DBEdit2 = new ui::TDBEdit(TabSheet3);
    DBEdit2->SetBounds(120, 172, 244, 22);
    DBEdit2->SetDataSource(&DataSource1);
    DBEdit2->SetDataField("Agazat");
    DBCheckBox1 = new ui::TDBCheckBox(TabSheet3);
    DBCheckBox1->setText("Aktív");
    DBCheckBox1->SetBounds(8, 202, 100, 20);
    DBCheckBox1->SetDataSource(&DataSource1);
    DBCheckBox1->SetDataField("Aktiv");
    DBCheckBox1->SetValueChecked("A");
    DBCheckBox1->SetValueUnchecked("N");
    DBComboBox1 = new ui::TDBComboBox(TabSheet3);
    DBComboBox1->SetBounds(120, 200, 244, 22);
    DBComboBox1->SetItems({"árpa", "búza", "zab"});
    DBComboBox1->SetDataSource(&DataSource1);
    DBComboBox1->SetDataField("Agazat");
    DBLookupComboBox1 = new ui::TDBLookupComboBox(TabSheet3);
    DBLookupComboBox1->SetBounds(120, 230, 244, 22);
    DBLookupComboBox1->SetDataSource(&DataSource1);
    DBLookupComboBox1->SetDataField("Agazat");
    DBLookupComboBox1->SetListSource(&DataSource2);
    DBLookupComboBox1->SetKeyField("Faj");
    DBLookupComboBox1->SetDropDownRows(8);

    TabSheet4 = new ui::TTabSheet(PageControl1, "Vetés");
    DBLookupListBox1 = new ui::TDBLookupListBox(TabSheet4);
    DBLookupListBox1->SetBounds(8, 8, 160, 150);
    DBLookupListBox1->SetDataSource(&DataSource1);
    DBLookupListBox1->SetDataField("Agazat");
    DBLookupListBox1->SetListSource(&DataSource2);
    DBLookupListBox1->SetKeyField("Faj");
    DBCtrlGrid1 = new ui::TDBCtrlGrid(TabSheet4);
    DBCtrlGrid1->SetBounds(180, 8, 184, 250);
    DBCtrlGrid1->SetRowCount(3);
    DBCtrlGrid1->SetPanelFactory([](const ui::DbRow& row) {
        return new QLabel(ui::Q(row.AsString("Kod") + " " + row.AsString("Agazat")));
    });
    DBCtrlGrid1->SetDataSource(&DataSource1);
}

// The check box and the popup item follow each other.
void TMindenVezerlo::CheckBox1Click(TObject*) {
    Aktvparcellk1->SetChecked(CheckBox1->Checked());
}

void TMindenVezerlo::Aktvparcellk1Click(TObject*) {
    Aktvparcellk1->SetChecked(!Aktvparcellk1->Checked());
    CheckBox1->SetChecked(Aktvparcellk1->Checked());
}

void TMindenVezerlo::Button1Click(TObject*) {
    ++Clicks;
}

void TMindenVezerlo::GroupBox1Exit(TObject*) {
    GroupBox1->Hide();
}

void TMindenVezerlo::Timer1Timer(TObject*) {
    ++Ticks;
    Image1->SetLeft(Image1->Left() + 1);
}

// A small pie chart with a legend, as the chart forms draw.
void TMindenVezerlo::FormPaint(TObject*) {
    ui::TCanvas& canvas = Canvas();
    canvas.SetBrushColor(QColor(0xF0, 0xF0, 0xF0));
    canvas.FillRect(8, 370, 380, 550);
    canvas.SetBrushColor(Qt::red);
    canvas.Pie(20, 380, 180, 540, 180, 460, 100, 380);
    canvas.SetBrushColor(Qt::blue);
    canvas.Pie(20, 380, 180, 540, 100, 380, 180, 460);
    canvas.SetBrushColor(Qt::yellow);
    canvas.Ellipse(200, 390, 230, 420);
    canvas.Rectangle(200, 430, 230, 460);
    canvas.MoveTo(200, 480);
    canvas.LineTo(370, 480);
    canvas.SetBrushStyle(ui::bsClear);
    canvas.TextOut(240, 398, "Búza 75 % (ő, ű, Ő, Ű)");
    canvas.TextOut(240, 438, "Kukorica 25 %");
    canvas.SetBrushStyle(ui::bsSolid);
}
