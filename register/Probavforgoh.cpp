#include "Probavforgoh.h"

#include "platform/ui/form_helpers.h"

TProbaVForgo* ProbaVForgo = nullptr;

TProbaVForgo::TProbaVForgo(db::Session& session) : session_(session) {
    SetCaption("Vetésforgók megjelenítése grafikusan");
    SetClientSize(900, 640);
    SetWindowState(ui::wsMaximized);

    Table1.SetTableName("Szparcellak.db");
    Table1.SetIndexName("ParckodInd");
    Table2.SetTableName("parcellak.db");
    Table2.SetIndexName("parckodind");
    Table3.SetTableName("parcellak.db");
    Table3.SetFilter("Aktiv = 'A'");
    Table3.SetFiltered(true);
    Table3.SetIndexFieldNames("Evj;Parcsor");

    Label1 = new ui::TLabel(this, "Parcella vetésforgók");
    Label1->SetBounds(8, 4, 300, 20);
    Label1->SetBold(true);
    DBGrid1 = new ui::TDBGrid(this);
    DBGrid1->SetBounds(8, 26, 620, 118);
    DBGrid1->SetDataSource(&DataSource3);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->Columns().Add("Evj", "G. év", 50);
    DBGrid1->Columns().Add("Parcsor", "S.Sz.", 45);
    DBGrid1->Columns().Add("Agazat", "Ágazat", 150);
    DBGrid1->Columns().Add("Ter", "Terület", 80);
    DBGrid1->Columns().Add("Hazmeg", "Hazi megnevezés", 150);
    DBGrid1->Columns().Add("Masod", "Másodvetés", 80);
    Button1 = new ui::TButton(this, "Lekérés");
    Button1->SetBounds(640, 26, 90, 27);
    Button2 = new ui::TButton(this, "Bezárás");
    Button2->SetBounds(640, 60, 90, 27);
    CheckBox1 = new ui::TCheckBox(this, "Aklív parcellák");
    CheckBox1->SetBounds(640, 96, 140, 20);
    CheckBox1->SetChecked(true);
    SetTabOrder({DBGrid1, Button1, Button2, CheckBox1});

    OnActivate = Handler(&TProbaVForgo::FormActivate);
    OnClose = Handler(&TProbaVForgo::FormClose);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true, {Button1, Button2});
    Button1->OnClick = Handler(&TProbaVForgo::Button1Click);
    Button2->OnClick = Handler(&TProbaVForgo::Button2Click);
    CheckBox1->OnClick = Handler(&TProbaVForgo::CheckBox1Click);
}

void TProbaVForgo::FormActivate(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table1, &Table2, &Table3});
}

void TProbaVForgo::FormClose(TObject*, TCloseAction&) {}

void TProbaVForgo::CheckBox1Click(TObject*) {
    Table3.SetFiltered(CheckBox1->Checked());
}

std::vector<std::string> TProbaVForgo::PredecessorsOf(const std::string& code) {
    std::vector<std::string> codes;
    if (!Table1.FindKey({db::Value(code)}))
        return codes;
    for (; !Table1.Eof() && Table1.FieldByName("Parckod").AsString() == code; Table1.Next())
        codes.push_back(Table1.FieldByName("Szparckod").AsString());
    return codes;
}

void TProbaVForgo::DrawText(reg::ChartPoint at, const std::string& text) {
    Canvas().TextOut(at.x, at.y, text);
    Texts.push_back({at.x, at.y, text});
}

void TProbaVForgo::DrawField(const reg::ChartField& field, const std::string& crop, int year) {
    DrawText(reg::CropTextPlace(field.generation, field.position), crop);
    DrawText(reg::YearTextPlace(field.generation, field.position), std::to_string(year) + ".");
}

// Draws the chain of the field under the list's cursor on a white ground below the list.
// A predecessor missing from the fields is drawn without texts.
void TProbaVForgo::Button1Click(TObject*) {
    Texts.clear();
    Chart = {};
    ui::TCanvas& canvas = Canvas();
    canvas.Clear();
    if (!Table3.Active() || Table3.IsEmpty()) {
        Repaint();
        return;
    }
    canvas.SetBrushColor(Qt::white);
    canvas.FillRect(0, 150, width(), height());
    Chart = reg::BuildRotationChart(Table3.FieldByName("Parckod").AsString(),
                                    [this](const std::string& c) { return PredecessorsOf(c); });
    canvas.SetPenColor(Qt::black);
    for (const reg::ChartLine& line : Chart.lines) {
        const reg::ChartPoint from = reg::LineStart(line.fromGeneration, line.fromPosition);
        const reg::ChartPoint to = reg::LineEnd(line.toGeneration, line.toPosition);
        canvas.MoveTo(from.x, from.y);
        canvas.LineTo(to.x, to.y);
    }
    for (const reg::ChartField& field : Chart.fields) {
        if (field.generation == 0) {
            DrawField(field, Table3.FieldByName("Agazat").AsString(),
                      Table3.FieldByName("Evj").AsInteger());
        } else if (Table2.FindKey({db::Value(field.code)})) {
            DrawField(field, Table2.FieldByName("Agazat").AsString(),
                      Table2.FieldByName("Evj").AsInteger());
        }
    }
    Repaint();
}

void TProbaVForgo::Button2Click(TObject*) {
    Close();
}
