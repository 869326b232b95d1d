#pragma once
// "Módosítandó művelet kiválasztása": the active fields and the recorded operations of
// the field pointed at; the chosen operation is deleted with everything that hangs on it.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TMuvModVal : public ui::TForm {
public:
    explicit TMuvModVal(db::Session& session);

    // Muvkod of the operation chosen by "Kiválasztás"; empty until then.
    std::string SelectedOperationCode;

private:
    db::Session& session_;
    // The field whose operations are listed; empty for all operations. The code goes to
    // the statement as a parameter, never as text.
    std::string fieldCode_;
    bool activated_ = false;

public:
    db::TTable Table1{session_, "Table1"}; // parcellak.DB, the active fields
    db::TDataSource DataSource1{&Table1};
    db::TTable Table2{session_, "Table2"}; // tablak.DB, tested for emptiness only
    db::TQuery Query2{session_, "Query2"}; // the recorded operations with their fields
    db::TDataSource DataSource2{&Query2};

    ui::TLabel* Label1; // "Módosítandó művelet kiválasztása"
    ui::TDBGrid* DBGrid3;
    ui::TDBGrid* DBGrid2;
    ui::TButton* Button1; // "Minden művelet megjelenítése"
    ui::TButton* Button2; // "Mégsem"
    ui::TButton* Button3; // "Kiválasztás"
    ui::TButton* Button4; // "Müv. törlése"

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Table1AfterScroll(db::TDataSet& DataSet);
    void DBGrid2CellClick(ui::TColumn& Column);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void DBGrid2KeyPress(TObject* Sender, TKey& Key);

private:
    // Rebuilds the operations statement for fieldCode_ and opens it.
    void RebuildOperations();
};
extern TMuvModVal* MuvModVal;
