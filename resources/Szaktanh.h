#pragma once
// "Szaktanácsadások": the advisory consultations the farm received (sheet GN 17 of the
// 2004-2009 farming diary), listed by date, duplicated and printed.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <array>

class TSzaktan : public ui::TForm {
public:
    explicit TSzaktan(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Szaktanacs.DB in date order
    db::TDataSource DataSource1{&Table1};
    TRvProject RvProject1{this, "RvProject1", "GN17Szakt.rav"};
    TRvTableConnection RvTableGN17SzaktConnection1{this, "RvTableGN17SzaktConnection1", &Table1};
    reg::FarmRow FarmRow1{this, session_};

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button6;  // "Új tanácsadás"
    ui::TButton* Button7;  // "Módosítás"
    ui::TButton* Button8;  // "Törlés"
    ui::TButton* Button10; // "Másolat"
    ui::TButton* Button2;  // "Nyomtatás"
    ui::TButton* Button3;  // "Bezárás"
    ui::TGroupBox* GroupBox1;
    ui::TDateTimePicker* DateTimePicker3;
    // Sznev, Szszerv, Szazon, Sztargy, Szhely, Szirany, Szutca, Sztel, Szfax, Szemail,
    // Szmegj.
    ui::TDBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit8,
        *DBEdit9, *DBEdit10, *DBEdit11;
    ui::TButton* Button5; // "Mégsem"
    ui::TButton* Button9; // "Mentés"

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void DBGrid1DblClick(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void Button10Click(TObject* Sender);
    // The address and the contacts of a consultation, one printed column each.
    void Table1CalcFields(db::TDataSet& DataSet);

private:
    void OpenBox(const std::string& caption);
    void CloseBox();
};
extern TSzaktan* Szaktan;

// Opens the consultations form (the diary sheet selector's "GN 17" button).
void ShowSzaktan(db::Session& session);
