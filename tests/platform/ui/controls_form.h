#pragma once
// A form with one of every control, laid out like the program's forms; the control
// tests use it and the screenshot test draws it. Its data-aware controls show a parcel
// table (and a crop table for the lookups) made in the working directory.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TMindenVezerlo : public ui::TForm {
public:
    TMindenVezerlo();
    db::Session Session1;
    db::TTable Table1{Session1, "Table1"}; // parcellak
    db::TDataSource DataSource1{&Table1};
    db::TTable Table2{Session1, "Table2"}; // magfajtak
    db::TDataSource DataSource2{&Table2};
    ui::TMainMenu* MainMenu1;
    ui::TMenuItem* Muveletek1;
    ui::TMenuItem* Rejtett1;
    ui::TToolBar* ToolBar1;
    ui::TToolButton* ToolButton1;
    ui::TPageControl* PageControl1;
    ui::TTabSheet* TabSheet1;
    ui::TTabSheet* TabSheet2;
    ui::TTabSheet* TabSheet3;
    ui::TTabSheet* TabSheet4;
    ui::TLabel* Label1;
    ui::TEdit* Edit1;
    ui::TLabel* Label2;
    ui::TMaskEdit* MaskEdit1;
    ui::TMaskEdit* MaskEdit2;
    ui::TMaskEdit* MaskEdit3;
    ui::TStaticText* StaticText1;
    ui::TCheckBox* CheckBox1;
    ui::TRadioButton* RadioButton1;
    ui::TRadioButton* RadioButton2;
    ui::TRadioGroup* RadioGroup1;
    ui::TComboBox* ComboBox1;
    ui::TComboBox* ComboBox2;
    ui::TListBox* ListBox1;
    ui::TMemo* Memo1;
    ui::TRichEdit* RichEdit1;
    ui::TDateTimePicker* DateTimePicker1;
    ui::TDateTimePicker* DateTimePicker2;
    ui::TStringGrid* StringGrid1;
    ui::TImage* Image1;
    ui::TPanel* Panel1;
    ui::TGroupBox* GroupBox1;
    ui::TEdit* Edit2;
    ui::TButton* Button5; // "Mégsem" of the box
    ui::TBevel* Bevel1;
    ui::TButton* Button1;
    ui::TBitBtn* BitBtn1;
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem* Aktvparcellk1;
    ui::TTimer* Timer1;
    ui::TDBGrid* DBGrid1;
    ui::TDBText* DBText1;
    ui::TDBEdit* DBEdit1; // Evj
    ui::TDBEdit* DBEdit2; // Agazat
    ui::TDBCheckBox* DBCheckBox1;
    ui::TDBComboBox* DBComboBox1;
    ui::TDBLookupComboBox* DBLookupComboBox1;
    ui::TDBLookupListBox* DBLookupListBox1;
    ui::TDBCtrlGrid* DBCtrlGrid1;

    int Clicks = 0;
    int Ticks = 0;
    void CheckBox1Click(TObject* Sender);
    void Aktvparcellk1Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void GroupBox1Exit(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void FormPaint(TObject* Sender);

private:
    void CreateDataControls();
};
