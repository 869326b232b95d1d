#pragma once
// What every form does the same way: its Ctrl-letter keys as one table, the data sets
// it opens on its first activation and closes when it closes, its controls created at
// their places in one line each, and its read-only list grids.
//
//     void TTulajd::FormKeyPress(TObject*, TKey& Key) {
//         ui::Shortcuts(Key, {{'M', Button1}, {'P', Button2}, {'X', Button3}});
//     }
//     void TTulajd::FormActivate(TObject*) { ui::OpenOnFirstActivate(this, {&Table1}); }
//
//     Button1 = ui::Make<ui::TButton>(this, {538, 8, 94, 27}, "Módosítás");
//     DBGrid1 = ui::ListGrid(this, {8, 8, 520, 384}, &DataSource1,
//                            {{"Tulnev", "Név", 170}, {"Cim", "Cím", 220}});

#include "types.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

class QWidget;

namespace db {
class Session;
class TDataSet;
class TDataSource;
} // namespace db

namespace ui {

class TButton;
class TDBGrid;
class TEdit;
class TForm;
class TLabel;
class TPopupMenu;

struct Shortcut {
    char letter;     // 'A' ... 'Z': Ctrl+letter
    TButton* button; // clicked when the key arrives; null: the key is only consumed
};

// Clicks the button of a Ctrl+letter key in the table and consumes the key; true when
// the key was one of them. A key outside the table is left as it is. A form whose key
// works only in some state gives a null button for it while the state does not hold; a
// greyed button takes its key and does nothing, as it does a click.
bool Shortcuts(TKey& key, std::initializer_list<Shortcut> table);

// Esc closes the form, as its close box does, for a form without a "Mégsem" (cancel)
// button; keys the form's own OnShortCut takes come first. Called once, after the form
// set its OnShortCut.
void CloseOnEscape(TForm* form);

// Opens the data sets that are not open yet and closes them when the form closes (after
// its own OnClose handler, unless that keeps the form open).
void OpenOnFirstActivate(TForm* form, std::initializer_list<db::TDataSet*> dataSets);

// An edit box shown over a live list (a group box or panel the list's "new" and "modify"
// open): while it is shown, every other control of its parent (the list, the list's
// buttons and their keys and menu items) is disabled, so that nothing moves the list's
// current row or runs a command of the list before the box is saved or cancelled: its
// save writes the row that was current when it opened. What it disabled comes back when
// it is hidden, by whatever route, and the focus it held goes back to the control that
// opened it. A box opened from such a box (a choice over an edit box) is one as well.
// Called once, when the form builds the box.
void EditBoxOverList(QWidget* box);

// One item of a popup menu that repeats a button, its key in the caption.
struct MenuEntry {
    const char* caption;
    TButton* button;
};

// A popup menu on `owner` whose items click their buttons and are greyed with them.
TPopupMenu* ButtonMenu(QWidget* owner, std::initializer_list<MenuEntry> items);

// A control's place in its parent's client area, in pixels.
struct Bounds {
    int left, top, width, height;
};

// Creates a control on `parent` (a form, a group box, a tab sheet) at `bounds`; the
// further arguments go to its constructor after the parent (a caption, a style).
template <class Control, class... Args>
Control* Make(QWidget* parent, Bounds bounds, Args&&... args) {
    auto* control = new Control(parent, std::forward<Args>(args)...);
    control->SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
    return control;
}

// A caption beside a box whose top is `top`: lowered 3 pixels to the middle of the
// 22-pixel box, 16 high.
TLabel* AddLabel(QWidget* parent, const std::string& caption, int left, int top, int width = 150);
// An edit box, 22 pixels high, holding at most `maxLength` letters (0: no limit).
TEdit* AddEdit(QWidget* parent, int left, int top, int width, int maxLength = 0);
// A caption at `left`, `captionWidth` wide, and the edit box right after it.
TEdit* CaptionedEdit(QWidget* parent, const std::string& caption, int left, int top,
                     int captionWidth, int width, int maxLength = 0);

// One column of a list grid: the field shown, its title and its width in pixels.
struct GridColumn {
    const char* field;
    const char* caption;
    int width;
};

// A read-only grid that selects whole rows, on `source`, with the given columns.
TDBGrid* ListGrid(QWidget* parent, Bounds bounds, db::TDataSource* source,
                  std::initializer_list<GridColumn> columns);

// The width of a text field in the table's file: what an edit of the field may hold, so
// that nothing typed is cut when it is stored. DbError for a missing table;
// std::invalid_argument for a field that is not text.
int TextFieldWidth(db::Session& session, std::string_view table, std::string_view field);

class TComboBox;
class TDateTimePicker;

// A box a form writes into a field, and that field's name.
struct FieldBox {
    FieldBox(TEdit* box, const char* name) : edit(box), field(name) {}
    FieldBox(TComboBox* box, const char* name) : combo(box), field(name) {}
    FieldBox(TDateTimePicker* box, const char* name) : picker(box), field(name) {}
    TEdit* edit = nullptr;
    TComboBox* combo = nullptr;
    TDateTimePicker* picker = nullptr;
    const char* field;
};

// The caption of every refusal of a typed value.
inline constexpr const char* kBadInputCaption = "Hejtelen bevitel!";

// Each box takes what its field of the table may hold: at most as many letters as a text
// field holds, so that what the user typed is what is stored, and the field's domain
// (what the session's catalogue defines, domain.h) for TypedValuesValid.
void FitToFields(db::Session& session, std::string_view table,
                 std::initializer_list<FieldBox> boxes);

// Checks the text of every box on view within `container` (itself included) against the
// box's domain, and the day of every date picker (its year) against its own, before a
// save writes anything: the first refused shows the refusal naming
// the box by its caption ("A(z) 'Létesítés éve' értéke ..."), takes the focus, and the
// answer is false.
bool TypedValuesValid(QWidget& container);

// The caption a message gives a box: the label in front of it (or just above it), without
// its colon; empty when it has none.
std::string CaptionBeside(const QWidget& box);

// A box for a year, typed or picked from its list: what is typed stays as typed, never
// completed to a listed year, so that a half-typed "202" is refused by the year check
// instead of being read as 2023. Its domain is a whole year from 1900 to 2100, which
// TypedValuesValid checks naming the box by its caption.
void YearBox(TComboBox* box);

} // namespace ui
