#include "material_controls.h"

#include "resources/stock.h"

namespace ops {

ui::TLabel* Label(QWidget* parent, int left, int top, const char* text, int width) {
    return ui::AddLabel(parent, text, left, top, width);
}

ui::TComboBox* UnitCombo(QWidget* parent, ui::Bounds bounds,
                         std::initializer_list<const char*> items, const char* initial) {
    auto* combo = ui::Make<ui::TComboBox>(parent, bounds);
    for (const char* item : items)
        combo->Items().Add(item);
    combo->SetText(initial);
    return combo;
}

ui::TDBLookupComboBox* Lookup(QWidget* parent, ui::Bounds bounds, db::TDataSource* source,
                              const char* key, const char* list) {
    auto* combo = ui::Make<ui::TDBLookupComboBox>(parent, bounds);
    combo->SetListSource(source);
    combo->SetKeyField(key);
    combo->SetListField(list);
    return combo;
}

ui::TDBEdit* StockEdit(QWidget* parent, ui::Bounds bounds, db::TDataSource* source) {
    auto* edit = ui::Make<ui::TDBEdit>(parent, bounds);
    edit->SetDataSource(source);
    edit->SetDataField("Kossz");
    edit->SetReadOnly(true);
    return edit;
}

ui::TDBText* UnitText(QWidget* parent, ui::Bounds bounds, db::TDataSource* source) {
    auto* text = ui::Make<ui::TDBText>(parent, bounds);
    text->SetDataSource(source);
    text->SetDataField("Mert");
    return text;
}

void AddShownStock(db::TQuery& query) {
    query.AddCalcField("Kossz", db::FieldType::Number);
    query.OnCalcFields = [](db::TDataSet& rows) {
        rows.FieldByName("Kossz").SetAsFloat(res::ShownStock(rows.FieldByName("Ossz").AsFloat()));
    };
}

} // namespace ops
