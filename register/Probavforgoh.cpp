#include "Probavforgoh.h"

#include "platform/ui/form_helpers.h"

#include <QScrollArea>
#include <algorithm>

TProbaVForgo* ProbaVForgo = nullptr;

namespace {
// Where the chart's area begins on the form; the layout's places are form coordinates.
constexpr int kChartTop = 150;
} // namespace

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
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setBackgroundRole(QPalette::Base);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    Image2 = new ui::TImage(nullptr);
    ScrollBox1->setWidget(Image2);
    FormResize(this);
    OnResize = Handler(&TProbaVForgo::FormResize);

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

void TProbaVForgo::FormResize(TObject*) {
    ScrollBox1->setGeometry(0, kChartTop, width(), std::max(0, height() - kChartTop));
}

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

void TProbaVForgo::DrawText(ui::TCanvas& canvas, reg::ChartPoint at, const std::string& text) {
    canvas.TextOut(at.x, at.y - kChartTop, text);
    Texts.push_back({at.x, at.y, text});
}

void TProbaVForgo::DrawField(ui::TCanvas& canvas, const reg::ChartField& field,
                             const std::string& crop, int year) {
    DrawText(canvas, reg::CropTextPlace(field.generation, field.position), crop);
    DrawText(canvas, reg::YearTextPlace(field.generation, field.position),
             std::to_string(year) + ".");
}

// Draws the chain of the field under the list's cursor on a white ground below the list,
// as large as the chain needs. A predecessor missing from the fields is drawn without
// texts.
void TProbaVForgo::Button1Click(TObject*) {
    Texts.clear();
    Chart = {};
    if (Table3.Active() && !Table3.IsEmpty())
        Chart = reg::BuildRotationChart(Table3.FieldByName("Parckod").AsString(),
                                        [this](const std::string& c) { return PredecessorsOf(c); });
    int right = 0;
    int bottom = 0;
    for (const reg::ChartField& field : Chart.fields) {
        right = std::max(right, reg::LineEnd(field.generation, field.position).x);
        bottom = std::max(bottom, reg::YearTextPlace(field.generation, field.position).y);
    }
    QImage picture(std::max(ScrollBox1->viewport()->width(), right + 150),
                   std::max(ScrollBox1->viewport()->height(), bottom + 40 - kChartTop),
                   QImage::Format_ARGB32);
    picture.fill(Qt::white);
    ui::TCanvas canvas(picture);
    canvas.SetPenColor(Qt::black);
    for (const reg::ChartLine& line : Chart.lines) {
        const reg::ChartPoint from = reg::LineStart(line.fromGeneration, line.fromPosition);
        const reg::ChartPoint to = reg::LineEnd(line.toGeneration, line.toPosition);
        canvas.MoveTo(from.x, from.y - kChartTop);
        canvas.LineTo(to.x, to.y - kChartTop);
    }
    for (const reg::ChartField& field : Chart.fields) {
        if (field.generation == 0) {
            DrawField(canvas, field, Table3.FieldByName("Agazat").AsString(),
                      Table3.FieldByName("Evj").AsInteger());
        } else if (Table2.FindKey({db::Value(field.code)})) {
            DrawField(canvas, field, Table2.FieldByName("Agazat").AsString(),
                      Table2.FieldByName("Evj").AsInteger());
        }
    }
    Image2->SetPicture(picture);
    Image2->setFixedSize(picture.size());
}

void TProbaVForgo::Button2Click(TObject*) {
    Close();
}
