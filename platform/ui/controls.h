#pragma once
// The standard controls: labels, edits, masked edits, buttons, check boxes, radio
// buttons and groups, combo and list boxes, memos, rich edits, panels, group boxes,
// bevels, page controls. Each is the Qt widget it is built on plus the original's
// properties and events that the forms use.
//
// A control is created with its parent (a form, panel, group box or tab sheet) and
// placed with SetBounds: Edit1 = new TEdit(this); Edit1->SetBounds(120, 40, 160, 21);
// Qt's parent owns it.

#include "control.h"
#include "platform/db/domain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>
#include <memory>
#include <string>

namespace ui {

class TLabel : public QLabel, public TControl {
public:
    explicit TLabel(QWidget* parent, const std::string& caption = {});
    std::string Caption() const { return S(text()); }
    void SetCaption(const std::string& caption);
    // Wraps long captions.
    void SetWordWrap(bool wrap) { setWordWrap(wrap); }
    void SetBold(bool bold);
    TNotifyEvent OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A label with a sunken frame.
class TStaticText : public TLabel {
public:
    explicit TStaticText(QWidget* parent, const std::string& caption = {});
};

class TEdit : public QLineEdit, public TControl {
public:
    explicit TEdit(QWidget* parent);
    virtual std::string Text() const { return S(text()); }
    virtual void SetText(const std::string& text);
    int MaxLength() const;
    // 0 means no limit.
    void SetMaxLength(int length);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
    void SelectAll() { selectAll(); }
    void Clear() { SetText({}); }
    // What may be typed into the box: the domain of the field it is written into, which
    // FitToFields gives and TypedValuesValid checks (form_helpers.h).
    const db::Domain& Domain() const { return domain_; }
    void SetDomain(db::Domain domain) { domain_ = std::move(domain); }
    TNotifyEvent OnChange;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool settingText_ = false;
    db::Domain domain_;
};

// An edit with an input mask of the original ("99999999-9-99;1;_"): 9 an optional
// digit, 0 a required digit, a/A an optional/required letter or digit, l/L a letter,
// c/C any character, \ makes the next character a literal; ";1" keeps the literals in
// the text, ";_" is the character shown for an empty position. Text() holds the literals
// and a blank for every empty position.
class TMaskEdit : public TEdit {
public:
    explicit TMaskEdit(QWidget* parent);
    const std::string& EditMask() const { return mask_; }
    void SetEditMask(const std::string& mask);
    std::string Text() const override;
    void SetText(const std::string& text) override;
    // The text as shown, with the blank character in the empty positions.
    std::string EditText() const { return S(displayText()); }

private:
    std::string mask_;
    std::vector<bool> literal_; // per position: a literal of the mask
    QChar blank_ = u'_';
};

// Qt's input mask for a mask of the original, and which positions are literals.
struct QtMask {
    QString mask;
    std::vector<bool> literal;
    QChar blank;
    bool keepLiterals = true;
};
QtMask TranslateEditMask(const std::string& mask);

class TButton : public QPushButton, public TControl {
public:
    explicit TButton(QWidget* parent, const std::string& caption = {});
    std::string Caption() const { return S(text()); }
    void SetCaption(const std::string& caption) { setText(Q(caption)); }
    // Enter clicks the default button (unless a button or a control taking Enter has
    // the focus); Esc clicks the cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool on) { default_ = on; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool on) { cancel_ = on; }
    // A non-zero result is given to the form when the button is clicked.
    void SetModalResult(int result) { modalResult_ = result; }
    int ModalResult() const { return modalResult_; }
    // Clicks the button from code: its OnClick runs and an error propagates to the
    // caller. A disabled button (or one on a disabled box) does nothing, whichever key or
    // menu item clicks it; a hidden one still runs.
    void Click();
    TNotifyEvent OnClick;

private:
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = mrNone;
};

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkYes, bkNo, bkClose };

// A button with a picture.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(QWidget* parent, const std::string& caption = {});
    void SetKind(TBitBtnKind kind);
    void SetGlyph(const QImage& picture);
};

class TCheckBox : public QCheckBox, public TControl {
public:
    explicit TCheckBox(QWidget* parent, const std::string& caption = {});
    std::string Caption() const { return S(text()); }
    void SetCaption(const std::string& caption) { setText(Q(caption)); }
    bool Checked() const { return isChecked(); }
    // Changing the state runs OnClick, as a click would (the original does the same).
    void SetChecked(bool checked);
    TNotifyEvent OnClick;
};

class TRadioButton : public QRadioButton, public TControl {
public:
    explicit TRadioButton(QWidget* parent, const std::string& caption = {});
    std::string Caption() const { return S(text()); }
    void SetCaption(const std::string& caption) { setText(Q(caption)); }
    bool Checked() const { return isChecked(); }
    void SetChecked(bool checked);
    TNotifyEvent OnClick;
};

// A group box of radio buttons, one per item; ItemIndex -1 when none is chosen.
class TRadioGroup : public QGroupBox, public TControl {
public:
    explicit TRadioGroup(QWidget* parent, const std::string& caption = {});
    ~TRadioGroup() override;
    std::string Caption() const { return S(title()); }
    void SetCaption(const std::string& caption) { setTitle(Q(caption)); }
    TStrings& Items() { return *items_; }
    int ItemIndex() const;
    void SetItemIndex(int index);
    void SetColumns(int columns);
    TNotifyEvent OnClick;

private:
    void Rebuild();
    std::vector<std::string> texts_;
    std::vector<QRadioButton*> buttons_;
    std::unique_ptr<TStrings> items_;
    int columns_ = 1;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

// A combo box: csDropDown takes free text as well as its items, csDropDownList only
// its items. ItemIndex is -1 when the text is no item (or empty).
class TComboBox : public QComboBox, public TControl {
public:
    explicit TComboBox(QWidget* parent, TComboBoxStyle style = csDropDown);
    ~TComboBox() override;
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style);
    std::string Text() const;
    void SetText(const std::string& text);
    TStrings& Items() { return *items_; }
    int ItemIndex() const;
    void SetItemIndex(int index);
    void SetMaxLength(int length);
    void SetDropDownCount(int count) { setMaxVisibleItems(count); }
    // Removes the items and the text.
    void Clear();
    // As TEdit's.
    const db::Domain& Domain() const { return domain_; }
    void SetDomain(db::Domain domain) { domain_ = std::move(domain); }
    TNotifyEvent OnChange; // the text changed (typed or chosen)
    TNotifyEvent OnClick;  // an item was chosen by the user
    TNotifyEvent OnSelect; // the same, under its other name

private:
    // Changes the items without running OnChange; a typed text stays.
    void Quietly(const std::function<void()>& change);
    TComboBoxStyle style_;
    std::unique_ptr<TStrings> items_;
    bool quiet_ = false;
    db::Domain domain_;
};

class TListBox : public QListWidget, public TControl {
public:
    explicit TListBox(QWidget* parent);
    ~TListBox() override;
    TStrings& Items() { return *items_; }
    int ItemIndex() const;
    void SetItemIndex(int index);
    void SetMultiSelect(bool multi);
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

private:
    std::unique_ptr<TStrings> items_;
};

class TMemo : public QPlainTextEdit, public TControl {
public:
    explicit TMemo(QWidget* parent);
    ~TMemo() override;
    TStrings& Lines() { return *lines_; }
    std::string Text() const { return S(toPlainText()); }
    void SetText(const std::string& text) { setPlainText(Q(text)); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
    void SetWordWrap(bool wrap);
    void Clear() { clear(); }
    TNotifyEvent OnChange;

private:
    std::unique_ptr<TStrings> lines_;
};

// A rich edit shows text files (Lines()->LoadFromFile) read-only or editable.
class TRichEdit : public QTextEdit, public TControl {
public:
    explicit TRichEdit(QWidget* parent);
    ~TRichEdit() override;
    TStrings& Lines() { return *lines_; }
    std::string Text() const { return S(toPlainText()); }
    void SetText(const std::string& text) { setPlainText(Q(text)); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
    void Clear() { clear(); }

private:
    std::unique_ptr<TStrings> lines_;
};

enum TBevelCut { bvNone, bvLowered, bvRaised };

// A panel: a container with an optional caption in its middle and a bevel.
class TPanel : public QFrame, public TControl {
public:
    explicit TPanel(QWidget* parent, const std::string& caption = {});
    std::string Caption() const { return S(caption_->text()); }
    void SetCaption(const std::string& caption);
    void SetBevelOuter(TBevelCut cut);
    TNotifyEvent OnClick;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* caption_;
};

class TGroupBox : public QGroupBox, public TControl {
public:
    explicit TGroupBox(QWidget* parent, const std::string& caption = {});
    std::string Caption() const { return S(title()); }
    void SetCaption(const std::string& caption) { setTitle(Q(caption)); }
};

// A decorative frame (a line or a box).
class TBevel : public QFrame, public TControl {
public:
    explicit TBevel(QWidget* parent);
};

enum TShapeType { stRectangle, stRoundRect, stEllipse };

// A filled shape (a coloured box behind other controls).
class TShape : public QWidget, public TControl {
public:
    explicit TShape(QWidget* parent);
    void SetBrushColor(const QColor& color);
    void SetPenColor(const QColor& color);
    void SetShape(TShapeType shape);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor brush_ = Qt::white;
    QColor pen_ = Qt::black;
    TShapeType shape_ = stRectangle;
};

class TPageControl;

// One page of a page control; controls created on it sit on the page.
class TTabSheet : public QWidget, public TControl {
public:
    TTabSheet(TPageControl* pageControl, const std::string& caption);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // A page whose tab is hidden is not shown and cannot be chosen.
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool visible);
    int PageIndex() const;
    TPageControl* PageControl() const { return pageControl_; }

private:
    TPageControl* pageControl_;
    std::string caption_;
    bool tabVisible_ = true;
};

class TPageControl : public QTabWidget, public TControl {
public:
    explicit TPageControl(QWidget* parent);
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    TNotifyEvent OnChange;

private:
    friend class TTabSheet;
    void AddPage(TTabSheet* page);
    void ShowTab(TTabSheet* page, bool visible);
    std::vector<TTabSheet*> pages_;
    bool quiet_ = false;
};

} // namespace ui
