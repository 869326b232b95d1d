#pragma once
// "Vetésforgók megjelenítése grafikusan": the crop-rotation chain of the field chosen in
// the list, drawn on the form: the field at the top and, generation by generation below
// it, the fields it continues, each by its crop and year, joined by lines.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"
#include "register/rotation_chart.h"

#include <QImage>
#include <string>
#include <vector>

class QScrollArea;

class TProbaVForgo : public ui::TForm {
public:
    explicit TProbaVForgo(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Szparcellak.db by ParckodInd
    db::TTable Table2{session_, "Table2"}; // parcellak.db by parckodind
    db::TTable Table3{session_, "Table3"}; // parcellak.db, the field list
    db::TDataSource DataSource3{&Table3};

    ui::TLabel* Label1; // "Parcella vetésforgók"
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1;     // "Lekérés"
    ui::TButton* Button2;     // "Bezárás"
    ui::TCheckBox* CheckBox1; // "Aklív parcellák"
    // The chart, on white, below the list; it scrolls when the chain is wider or deeper
    // than the window.
    QScrollArea* ScrollBox1;
    ui::TImage* Image2;

    // What the last "Lekérés" drew: the chain, and each text with its place.
    struct DrawnText {
        int x;
        int y;
        std::string text;
        bool operator==(const DrawnText&) const = default;
    };
    reg::RotationChart Chart;
    std::vector<DrawnText> Texts;

    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormResize(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);

private:
    std::vector<std::string> PredecessorsOf(const std::string& code);
    void DrawField(ui::TCanvas& canvas, const reg::ChartField& field, const std::string& crop,
                   int year);
    void DrawText(ui::TCanvas& canvas, reg::ChartPoint at, const std::string& text);
};
extern TProbaVForgo* ProbaVForgo;
