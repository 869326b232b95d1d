#include "form_helpers.h"

#include "controls.h"
#include "db_grid.h"
#include "form.h"
#include "platform/db/dataset.h"
#include "platform/db/session.h"

#include <stdexcept>
#include <string>

namespace ui {

bool Shortcuts(TKey& key, std::initializer_list<Shortcut> table) {
    for (const Shortcut& entry : table) {
        if (key != ctrlKey(entry.letter))
            continue;
        key = keyNone;
        if (entry.button)
            entry.button->Click();
        return true;
    }
    return false;
}

void OpenOnFirstActivate(TForm* form, std::initializer_list<db::TDataSet*> dataSets) {
    for (db::TDataSet* dataSet : dataSets) {
        if (dataSet->Active())
            continue;
        dataSet->Open();
        form->CloseOnClose(dataSet);
    }
}

TDBGrid* ListGrid(QWidget* parent, Bounds bounds, db::TDataSource* source,
                  std::initializer_list<GridColumn> columns) {
    auto* grid = Make<TDBGrid>(parent, bounds);
    grid->SetDataSource(source);
    grid->SetReadOnly(true);
    grid->SetRowSelect(true);
    for (const GridColumn& column : columns)
        grid->Columns().Add(column.field, column.caption, column.width);
    return grid;
}

int TextFieldWidth(db::Session& session, std::string_view table, std::string_view field) {
    const auto layout = session.layout(table);
    const int index = layout->fieldIndex(std::string(field));
    if (index < 0 || layout->fields()[static_cast<std::size_t>(index)].type != db::FieldType::Alpha)
        throw std::invalid_argument("no text field " + std::string(field) + " in " +
                                    std::string(table));
    return layout->fields()[static_cast<std::size_t>(index)].size;
}

} // namespace ui
