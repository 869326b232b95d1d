#pragma once
// What every form does the same way: its Ctrl-letter keys as one table, and the data sets
// it opens on its first activation and closes when it closes.
//
//     void TTulajd::FormKeyPress(TObject*, TKey& Key) {
//         ui::Shortcuts(Key, {{'M', Button1}, {'P', Button2}, {'X', Button3}});
//     }
//     void TTulajd::FormActivate(TObject*) { ui::OpenOnFirstActivate(this, {&Table1}); }

#include "types.h"

#include <initializer_list>

namespace db {
class TDataSet;
}

namespace ui {

class TButton;
class TForm;

struct Shortcut {
    char letter;     // 'A' ... 'Z': Ctrl+letter
    TButton* button; // clicked when the key arrives
};

// Clicks the button of a Ctrl+letter key in the table and consumes the key; true when
// the key was one of them. A key outside the table is left as it is.
bool Shortcuts(TKey& key, std::initializer_list<Shortcut> table);

// Opens the data sets that are not open yet and closes them when the form closes (after
// its own OnClose handler, unless that keeps the form open).
void OpenOnFirstActivate(TForm* form, std::initializer_list<db::TDataSet*> dataSets);

} // namespace ui
