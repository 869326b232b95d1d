#pragma once
// "Elvégzett művelet másolása": copies the chosen operation, or every operation, of a
// source field to a target field. The copying itself is CopyOperation (copy_operation.h);
// the planned-operations list keeps a hidden instance only to call it.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class Tmuvmasolo : public ui::TForm {
public:
    explicit Tmuvmasolo(db::Session& session);

private:
    db::Session& session_;
    bool stockKeeping_ = true; // read when the copier is set up

public:
    db::TTable Table1{session_, "Table1"}; // parcellak.db, the source fields
    db::TDataSource DataSource1{&Table1};
    db::TTable Table2{session_, "Table2"}; // ElvMuv.db, the operations of the source field
    db::TDataSource DataSource2{&Table2};
    db::TTable Table3{session_, "Table3"}; // parcellak.db, the active target fields
    db::TDataSource DataSource3{&Table3};

    ui::TLabel* Label1;       // "Elvégzett művelet másolása"
    ui::TCheckBox* CheckBox1; // "Aktív táblák"
    ui::TDBGrid* DBGrid1;
    ui::TDBGrid* DBGrid2;
    ui::TDBGrid* DBGrid3;
    ui::TGroupBox* GroupBox1; // " kijelölt művelet adatai : "
    ui::TDBText* DBText1;     // Muvnev
    ui::TDBText* DBText2;     // Datum
    ui::TDBText* DBText3;     // Ter
    ui::TDBText* DBText4;     // Nha
    ui::TDBText* DBText5;     // Gepora
    ui::TDBText* DBText6;     // Keziora
    ui::TDBText* DBText7;     // Irany
    ui::TDBText* DBText8;     // Szantm
    ui::TDBText* DBText9;     // Hozam
    ui::TDBText* DBText10;    // Mellek
    ui::TButton* Button1;     // "kijelölt művelet másolása >"
    ui::TButton* Button2;     // "összes művelet másolása >>"
    ui::TButton* Button3;     // "Bezárás"

    // Copies one operation onto a field. Not planned: the current operation of the list
    // onto the current target field (the two codes are not used). Planned: the planned
    // operation `muvkod` onto the field `targetParckod`. Returns the new Muvkod, empty
    // when nothing was copied.
    std::string CopyOperation(bool planned, const std::string& muvkod,
                              const std::string& targetParckod);

    // The stock-keeping option as read when the copier was set up.
    bool StockKeeping() const { return stockKeeping_; }

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Table1AfterScroll(db::TDataSet& DataSet);
    void CheckBox1Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);

private:
    // The target field is refused with a message when there is none.
    bool HasTargetField();
    // "A másolás befejeződött. Kér további másolását?": No closes the form.
    void AskForMore();
};
extern Tmuvmasolo* muvmasolo;
