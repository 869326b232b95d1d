#pragma once
// "Előrejelzési adatok forrása": where the farm gets its pest and weather forecasts from,
// kept as the single row of Megffej.db.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <array>

class TElorejelforr : public ui::TForm {
public:
    explicit TElorejelforr(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Megffej.db
    db::TDataSource DataSource1{&Table1};

    ui::TGroupBox* GroupBox1; // "Károsító előrejelzés"
    ui::TRadioButton* RadioButton1;
    ui::TRadioButton* RadioButton2;
    ui::TRadioButton* RadioButton3;
    ui::TRadioButton* RadioButton4;
    ui::TDBEdit* DBEdit1;     // Karsr
    ui::TDBEdit* DBEdit2;     // Karszr
    ui::TGroupBox* GroupBox2; // "Időjárási előrejelzés"
    ui::TRadioButton* RadioButton5;
    ui::TRadioButton* RadioButton6;
    ui::TRadioButton* RadioButton7;
    ui::TRadioButton* RadioButton8;
    ui::TDBEdit* DBEdit3; // Idosr
    ui::TDBEdit* DBEdit4; // Idoszr
    ui::TButton* Button1; // "Mégsem"
    ui::TButton* Button2; // "Rögzítés"

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);

private:
    using Sources = std::array<ui::TRadioButton*, 4>;
    Sources PestSources() const;
    Sources WeatherSources() const;
};
extern TElorejelforr* Elorejelforr;
