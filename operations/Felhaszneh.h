#pragma once
// "Művelethez felhasznált eszközök": chooses the tractor and the implement of an
// operation, an own machine from its list or a service provider's named by its type or
// name (registered as a new service-provider machine). Returns two machine codes, the
// no-machine code "100000" when no machine was chosen.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TFelhaszE : public ui::TForm {
public:
    explicit TFelhaszE(db::Session& session);

private:
    db::Session& session_;

public:
    std::string TractorCode = "100000";
    std::string ImplementCode = "100000";
    bool MachinesChosen = false;

    db::TTable Table1{session_, "Table1"}; // Erogepek.db, own tractors
    db::TTable Table2{session_, "Table2"}; // Munkagepek.db, own implements
    db::TDataSource DataSource1{&Table1};
    db::TDataSource DataSource2{&Table2};

    ui::TLabel* Label1; // "Saját erőgépek :"
    ui::TLabel* Label2; // "Saját munkagépek :"
    ui::TDBGrid* DBGrid1;
    ui::TDBGrid* DBGrid2;
    ui::TButton* Button1; // "Szolgáltató eszköze" (tractor)
    ui::TButton* Button2; // "Szolgáltató eszköze" (implement)
    ui::TLabel* Label7;   // "Típus :"
    ui::TComboBox* ComboBox1;
    ui::TLabel* Label4; // "Megnevezés :"
    ui::TComboBox* ComboBox2;
    ui::TButton* Button5; // "Új saját gép"
    ui::TButton* Button3; // "Mégsem"
    ui::TButton* Button4; // "Rögzít"

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);

private:
    struct Side;
    std::string Choose(const Side& side, db::TTable& own, ui::TComboBox* provider);
};
extern TFelhaszE* FelhaszE;
