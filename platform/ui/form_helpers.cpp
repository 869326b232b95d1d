#include "form_helpers.h"

#include "application.h"
#include "controls.h"
#include "db_grid.h"
#include "form.h"
#include "menus.h"
#include "picker.h"
#include "platform/db/dataset.h"
#include "platform/db/session.h"
#include "platform/sys/text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <stdexcept>
#include <string>
#include <vector>

namespace ui {

bool Shortcuts(TKey& key, std::initializer_list<Shortcut> table) {
    for (const Shortcut& entry : table) {
        if (key != ctrlKey(entry.letter))
            continue;
        key = keyNone;
        if (entry.button && entry.button->isEnabled())
            entry.button->Click();
        return true;
    }
    return false;
}

void CloseOnEscape(TForm* form) {
    form->OnShortCut = [form, own = std::move(form->OnShortCut)](TWMKey& msg, bool& handled) {
        if (own)
            own(msg, handled);
        if (handled || msg.CharCode != VK_ESCAPE || msg.Shift != 0)
            return;
        handled = true;
        form->Close();
    };
}

void OpenOnFirstActivate(TForm* form, std::initializer_list<db::TDataSet*> dataSets) {
    for (db::TDataSet* dataSet : dataSets) {
        if (dataSet->Active())
            continue;
        dataSet->Open();
        form->CloseOnClose(dataSet);
    }
}

namespace {

constexpr const char* kBoxOverList = "ui.BoxOverList";

// Disables the box's siblings while the box is shown (explicitly, whether or not its
// window is on screen yet) and gives back the ones it disabled when the box is hidden.
// A hidden sibling that is itself such a box is left alone: opened from this one, it
// disables this one in turn. The focus, when the box took it with it, goes back to the
// control that had it when the box opened (else to the next one that takes it), so that
// no key reaches a hidden button of the box.
class BoxOverList : public QObject {
public:
    explicit BoxOverList(QWidget& box) : QObject(&box), box_(box) {
        setObjectName(kBoxOverList);
        box.installEventFilter(this);
        if (!box.isHidden())
            Open();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &box_ && event->type() == QEvent::ShowToParent)
            Open();
        else if (watched == &box_ && event->type() == QEvent::HideToParent)
            Close();
        return false;
    }

private:
    static bool IsHiddenBox(QWidget& widget) {
        return widget.isHidden() &&
               widget.findChild<QObject*>(kBoxOverList, Qt::FindDirectChildrenOnly) != nullptr;
    }
    bool Inside(const QWidget* widget) const {
        return widget == &box_ || box_.isAncestorOf(widget);
    }
    void Open() {
        QWidget* parent = box_.parentWidget();
        if (!parent || !disabled_.empty())
            return;
        QWidget* focus = QApplication::focusWidget();
        opener_ = focus && !Inside(focus) && focus->window() == box_.window() ? focus : nullptr;
        for (QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (sibling != &box_ && !sibling->isWindow() &&
                !sibling->testAttribute(Qt::WA_Disabled) && !IsHiddenBox(*sibling)) {
                sibling->setEnabled(false);
                disabled_.emplace_back(sibling);
            }
    }
    void Close() {
        for (const QPointer<QWidget>& sibling : disabled_)
            if (sibling)
                sibling->setEnabled(true);
        disabled_.clear();
        GiveFocusBack();
    }
    static bool TakesFocus(const QWidget& widget) {
        return widget.isEnabled() && widget.isVisibleTo(widget.window()) &&
               (widget.focusPolicy() & Qt::TabFocus);
    }
    void GiveFocusBack() {
        QWidget* focus = QApplication::focusWidget();
        if (focus && !Inside(focus))
            return;
        if (opener_ && TakesFocus(*opener_)) {
            opener_->setFocus();
            return;
        }
        for (QWidget* w = box_.nextInFocusChain(); w && w != &box_; w = w->nextInFocusChain())
            if (!Inside(w) && w->window() == box_.window() && TakesFocus(*w)) {
                w->setFocus();
                return;
            }
    }

    QWidget& box_;
    QPointer<QWidget> opener_;
    std::vector<QPointer<QWidget>> disabled_;
};

} // namespace

void EditBoxOverList(QWidget* box) {
    new BoxOverList(*box);
}

TPopupMenu* ButtonMenu(QWidget* owner, std::initializer_list<MenuEntry> items) {
    auto* menu = new TPopupMenu(owner);
    for (const MenuEntry& entry : items)
        menu->Add(entry.caption, entry.button);
    return menu;
}

TLabel* AddLabel(QWidget* parent, const std::string& caption, int left, int top, int width) {
    return Make<TLabel>(parent, {left, top + 3, width, 16}, caption);
}

TEdit* AddEdit(QWidget* parent, int left, int top, int width, int maxLength) {
    auto* edit = Make<TEdit>(parent, {left, top, width, 22});
    if (maxLength > 0)
        edit->SetMaxLength(maxLength);
    return edit;
}

TEdit* CaptionedEdit(QWidget* parent, const std::string& caption, int left, int top,
                     int captionWidth, int width, int maxLength) {
    AddLabel(parent, caption, left, top, captionWidth);
    return AddEdit(parent, left + captionWidth, top, width, maxLength);
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

void FitToFields(db::Session& session, std::string_view table,
                 std::initializer_list<FieldBox> boxes) {
    const auto layout = session.layout(table);
    const std::vector<db::FieldDef>* defined = session.definedFields(table);
    for (const FieldBox& box : boxes) {
        const int index = layout->fieldIndex(std::string(box.field));
        if (index < 0)
            throw std::invalid_argument("no field " + std::string(box.field) + " in " +
                                        std::string(table));
        const db::FieldDef& field = layout->fields()[static_cast<std::size_t>(index)];
        db::Domain domain;
        if (defined)
            for (const db::FieldDef& def : *defined)
                if (sys::equalsNoCase(def.name, field.name))
                    domain = def.domain;
        if (box.picker) {
            box.picker->SetDomain(std::move(domain));
        } else if (box.edit) {
            if (field.type == db::FieldType::Alpha)
                box.edit->SetMaxLength(field.size);
            box.edit->SetDomain(std::move(domain));
        } else {
            if (field.type == db::FieldType::Alpha)
                box.combo->SetMaxLength(field.size);
            box.combo->SetDomain(std::move(domain));
        }
    }
}

namespace {

// The caption of a label or a check box, without its accelerator mark, blanks and colon.
std::string CaptionOf(QWidget* widget) {
    QString text;
    if (auto* label = qobject_cast<QLabel*>(widget))
        text = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        text = button->text();
    text.remove('&');
    while (!text.isEmpty() && (text.back().isSpace() || text.back() == ':'))
        text.chop(1);
    return text.trimmed().toStdString();
}

bool IsCaptionWidget(QWidget* widget) {
    return qobject_cast<QLabel*>(widget) ||
           (qobject_cast<QAbstractButton*>(widget) && widget->inherits("QCheckBox"));
}

// The refusal of a box's text by its domain, told and focused; true when none.
template <class Box>
bool BoxValueValid(Box& box) {
    const db::Domain& domain = box.Domain();
    const db::Refusal refusal = db::checkText(domain, box.Text());
    if (refusal == db::Refusal::None)
        return true;
    const std::string caption = CaptionBeside(box);
    Application->MessageBox(db::refusalText(refusal, domain, caption), kBadInputCaption, MB_OK);
    box.setFocus();
    return false;
}

// A picker's day by its domain (its year); a text that is no day is refused by the picker
// itself, naming the box the same way.
bool PickerValueValid(TDateTimePicker& picker) {
    const db::Domain& domain = picker.Domain();
    if (domain.empty() || !picker.isEnabled() || !picker.Checked())
        return true;
    std::string refused;
    try {
        const sys::DateTime day = picker.DateTime();
        const db::Refusal refusal = day >= 0 && day < 1
                                        ? db::Refusal::None
                                        : db::checkNumber(domain, sys::decodeDate(day).year);
        if (refusal != db::Refusal::None)
            refused = db::refusalText(refusal, domain, picker.BoxName());
    } catch (const sys::ConversionError& error) {
        refused = error.what();
    }
    if (refused.empty())
        return true;
    Application->MessageBox(refused, kBadInputCaption, MB_OK);
    picker.Editor().setFocus();
    return false;
}

} // namespace

std::string CaptionBeside(const QWidget& box) {
    QWidget* parent = box.parentWidget();
    if (!parent)
        return {};
    const QRect mine = box.geometry();
    QWidget* best = nullptr;
    int bestScore = 0;
    for (QWidget* other : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!IsCaptionWidget(other) || CaptionOf(other).empty())
            continue;
        const QRect r = other->geometry();
        const bool sameRow =
            r.center().y() >= mine.top() - 4 && r.center().y() <= mine.bottom() + 4;
        const bool before = sameRow && r.left() < mine.left();
        const bool above = r.bottom() <= mine.top() + 2 && mine.top() - r.bottom() < 30 &&
                           r.left() < mine.right() && r.right() > mine.left();
        // The nearest label in front wins over one above it.
        const int score = before ? 100000 + r.right() : above ? r.bottom() : 0;
        if (score > bestScore) {
            bestScore = score;
            best = other;
        }
    }
    return best ? CaptionOf(best) : std::string();
}

bool TypedValuesValid(QWidget& container) {
    QList<QWidget*> boxes = container.findChildren<QWidget*>();
    boxes.prepend(&container);
    for (QWidget* widget : boxes) {
        if (widget != &container && !widget->isVisibleTo(&container))
            continue;
        if (auto* edit = dynamic_cast<TEdit*>(widget); edit && !BoxValueValid(*edit))
            return false;
        if (auto* combo = dynamic_cast<TComboBox*>(widget); combo && !BoxValueValid(*combo))
            return false;
        if (auto* picker = dynamic_cast<TDateTimePicker*>(widget);
            picker && !PickerValueValid(*picker))
            return false;
    }
    return true;
}

void YearBox(TComboBox* box) {
    box->setCompleter(nullptr);
    db::Domain year;
    year.whole = true;
    year.min = 1900;
    year.max = 2100;
    box->SetDomain(std::move(year));
}

} // namespace ui
