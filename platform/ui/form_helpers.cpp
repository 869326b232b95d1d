#include "form_helpers.h"

#include "controls.h"
#include "form.h"
#include "platform/db/dataset.h"

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

} // namespace ui
