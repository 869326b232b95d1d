// Sweeps over every form a command of the main window opens, on a fresh database with a
// field, an operation, an owner and a tractor: what every form must do the same way.

#include "app/startup.h"
#include "core/Isnuminth.h"
#include "long_lived_forms.h"
#include "operations/Muvadatf.h"
#include "operations/Muvmod.h"
#include "operations/Muvmodvalh.h"
#include "operations/operations_fixture.h"
#include "platform/report/output.h"
#include "platform/sys/conversion_error.h"
#include "platform/sys/numbers.h"
#include "platform/ui/controls.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/form_helpers.h"
#include "platform/ui/menus.h"
#include "platform/ui/picker.h"
#include "resources/Egyebternovh.h"
#include "resources/Szaktanh.h"

#include <QAbstractItemView>
#include <QMenu>
#include <QRegularExpression>
#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <set>

namespace {

// Plays the check on the form a command opens and, once for each class, on a form opened
// from there; every other form closes at once. Notes the forms opened from the first.
class Sweep : public ui::ModalDriver {
public:
    void Run(ui::TForm& form) override {
        const std::string name = testui::ClassName(typeid(form));
        if (depth_ == 1)
            opened.push_back(name);
        ++depth_;
        if (depth_ == 1 || (depth_ == 2 && checked_.insert(name).second))
            check(form);
        --depth_;
        form.SetModalResult(ui::mrCancel);
    }
    int Depth() const { return depth_; }
    std::function<void(ui::TForm&)> check;
    std::vector<std::string> opened;

private:
    int depth_ = 0;
    std::set<std::string> checked_;
};

// Answers every message with No or Cancel where it offers them, and every file dialog
// with none; notes the messages of the forms the commands open.
class Declining : public ui::DialogService {
public:
    explicit Declining(const Sweep& sweep) : sweep_(sweep) {}
    int Show(const ui::Message& message) override {
        last = message.text;
        if (sweep_.Depth() <= 1)
            shown.push_back(message.text);
        auto offers = [&](ui::TMsgDlgBtn b) {
            return std::find(message.buttons.begin(), message.buttons.end(), b) !=
                   message.buttons.end();
        };
        return offers(ui::mbNo) ? ui::mrNo : offers(ui::mbCancel) ? ui::mrCancel : ui::mrOk;
    }
    std::vector<std::string> shown;
    std::string last; // the last message, of any form

private:
    const Sweep& sweep_;
};

template <class W>
std::vector<W*> All(QWidget& root) {
    std::vector<W*> found;
    for (QObject* child : root.findChildren<QObject*>())
        if (auto* w = dynamic_cast<W*>(child))
            found.push_back(w);
    return found;
}

std::string Name(ui::TForm& form, QWidget* w) {
    return testui::ClassName(typeid(form)) + ": " + testui::ClassName(typeid(*w)) + " at " +
           std::to_string(w->x()) + "," + std::to_string(w->y()) + " in " +
           testui::ClassName(typeid(*w->parentWidget()));
}

// The boxes of the form that are hidden now.
std::vector<QWidget*> HiddenBoxes(ui::TForm& form) {
    std::vector<QWidget*> boxes;
    for (QWidget* w : All<QWidget>(form))
        if (w->isHidden() && (w->inherits("QGroupBox") || w->inherits("QFrame")) &&
            !w->inherits("QAbstractScrollArea") && !w->inherits("QLabel"))
            boxes.push_back(w);
    return boxes;
}

// Closes those of the boxes that are shown now, by their "Mégsem" where they have one;
// returns how many.
int CloseBoxesOpened(const std::vector<QWidget*>& boxes) {
    int opened = 0;
    for (QWidget* box : boxes) {
        if (box->isHidden())
            continue;
        ++opened;
        for (ui::TButton* cancel : All<ui::TButton>(*box))
            if (cancel->text().toLower() == u"mégsem" && cancel->isVisible()) {
                cancel->Click();
                break;
            }
        box->hide();
    }
    return opened;
}

// Clicks, one at a time, every enabled button of the form that is on view (the forms they
// open are swept too), runs `look` after each and closes the boxes it opened.
void ClickEveryButton(ui::TForm& form, const std::function<void(ui::TButton&)>& look) {
    const std::vector<QWidget*> hidden = HiddenBoxes(form);
    for (ui::TButton* button : All<ui::TButton>(form)) {
        if (!button->isEnabled() || !button->isVisibleTo(&form))
            continue;
        button->Click();
        testui::ProcessEvents();
        look(*button);
        CloseBoxesOpened(hidden);
        form.SetModalResult(ui::mrNone);
    }
}

class EveryFormTest : public testui::UiTest {
protected:
    EveryFormTest() {
        printing.answer = std::nullopt;
        app->SetDialogs(declining);
        app->SetModal(sweep);
        app::PrepareWorkingDatabase(session); // with the report layouts
        opstest::AddField(session, "100001", 10000);
        opstest::AddRow(session, "ElvMuv", [](db::TTable& t) { // an operation on it
            t.FieldByName("Muvkod").SetAsString("100000");
            t.FieldByName("Tablakod").SetAsString("100001");
            t.FieldByName("Datum").SetAsDateTime(sys::encodeDate(2010, 3, 5));
            t.FieldByName("Muvnev").SetAsString("Szántás");
            t.FieldByName("Ter").SetAsInteger(10000);
        });
        // The operation uses a fertiliser and a pesticide twice each: one of each is left
        // when the sweep has clicked "Sor törlés".
        opstest::AddFertiliser(session, "100000", "Pétisó", "kg");
        opstest::AddPesticide(session, "200000", "Decis", "l");
        for (const char* felhkod : {"100000", "100001", "100002", "100003"})
            opstest::AddRow(session, "felhanyag", [felhkod](db::TTable& t) {
                t.FieldByName("Felhkod").SetAsString(felhkod);
                t.FieldByName("Muvkod").SetAsString("100000");
                t.FieldByName("Anyagkod").SetAsString(felhkod[5] < '2' ? "100000" : "200000");
                t.FieldByName("Menny").SetAsFloat(100);
                t.FieldByName("Mert").SetAsString("kg");
            });
        opstest::AddRow(session, "tulaj", [](db::TTable& t) { // an owner and a tractor
            t.FieldByName("Tulkod").SetAsString("100000");
            t.FieldByName("Tulnev").SetAsString("Kiss Péter");
            t.FieldByName("Cim").SetAsString("Szeged");
        });
        opstest::AddRow(session, "Erogepek", [](db::TTable& t) {
            t.FieldByName("Gepkod").SetAsString("100000");
            t.FieldByName("Geptip").SetAsString("MTZ 82");
        });
        app::CreateForms(*app, session);
        Folap1->Timer1->SetEnabled(false);
    }
    ~EveryFormTest() override {
        app.reset();
        testapp::ForgetLongLivedForms();
    }
    // Runs every command of the main window with `check` on the form it opens.
    // A form with tabs is checked on each tab in turn, as the user turns to it; the entry
    // form has its field chosen, so that its material button opens the material dialog.
    void EveryForm(std::function<void(ui::TForm&)> check) {
        sweep.check = [&](ui::TForm& form) {
            SCOPED_TRACE(testui::ClassName(typeid(form)));
            ProcessEvents();
            if (auto* entry = dynamic_cast<TMuvadat*>(&form);
                entry && entry->Table8.Locate("Parckod", {db::Value("100001")})) {
                entry->DBGrid2->SelectedRows().SetCurrentRowSelected(true);
                entry->DBGrid2CellClick(entry->DBGrid2->Columns()[0]);
            }
            check(form);
            for (ui::TPageControl* tabs : All<ui::TPageControl>(form))
                for (int page = 0, first = tabs->currentIndex(); page < tabs->count(); ++page)
                    if (page != first && tabs->isEnabled() && tabs->isTabVisible(page)) {
                        tabs->setCurrentIndex(page); // as a click on the tab does
                        ProcessEvents();
                        check(form);
                    }
        };
        for (const std::string& command : Folap1->Commands())
            if (command != "TAdatkarb") // the backup: nothing of a form to sweep
                Folap1->RunCommand(command);
        // The operation modifier and the forms it opens, for the operation chosen in its list.
        ui::OwnedForm<TMuvModVal> chooser(MuvModVal, session);
        chooser->SelectedOperationCode = "100000";
        ui::ShowModalForm(MuvModo, session);
        // Forms opened from another form's button, with boxes of their own.
        ui::ShowModalForm(EgyebTerNov, session);
        ui::ShowModalForm(Szaktan, session);
    }
    static void ProcessEvents() { testui::ProcessEvents(); }

public: // for the box checks below
    static void TypeInto(QWidget* box, const std::string& text) { Type(box, text); }
    static void Erase(QWidget* box) { Key(box, ::Qt::Key_Backspace); }

protected:
    db::Session session{std::filesystem::current_path()};
    Sweep sweep;
    Declining declining{sweep};
    report::CaptureOutput printing; // every print set-up is cancelled
    report::ScopedOutput output{printing};
};

// What a farmer might type that a domain refuses: each bound it sets, overstepped.
std::vector<std::string> BadValues(const db::Domain& d) {
    if (d.date)
        return {"2024. 02. 30.", "1899. 12. 31.", "2101. 01. 01."};
    std::vector<std::string> bad;
    if (d.letters > 0)
        bad.push_back(std::string(static_cast<std::size_t>(d.letters) + 1, 'a'));
    if (d.whole)
        bad.push_back("1,5");
    if (d.sign == db::Domain::Sign::Positive || d.sign == db::Domain::Sign::NotZero)
        bad.push_back("0");
    if (d.sign == db::Domain::Sign::Positive || d.sign == db::Domain::Sign::NotNegative)
        bad.push_back("-1");
    if (d.max)
        bad.push_back(sys::floatToText(*d.max + 1));
    if (d.min)
        bad.push_back(sys::floatToText(*d.min - 1));
    if (d.decimals >= 0)
        bad.push_back("1," + std::string(static_cast<std::size_t>(d.decimals) + 1, '1'));
    return bad;
}

// A box that takes any text: the form, the box's caption (or its place when it has none),
// and why nothing can be wrong in it.
struct FreeBox {
    const char* form;
    const char* box;
    const char* why;
};
constexpr const char* kCategory =
    "picks an operation category of its list: a typed text picks none and is stored nowhere";
constexpr const char* kSheetLine = "a line of the printed work order, stored nowhere";
const FreeBox kFreeBoxes[] = {
    {"TMuvadat", "at 8,268", kCategory},
    {"TMuvModo", "Művelet", kCategory},
    {"TUjmuv", "Kategória", kCategory},
    {"TMunkautalvany", "at 8,66", kSheetLine},
    {"TMunkautalvany", "at 316,66", kSheetLine},
    {"TMunkautalvany", "at 574,66", kSheetLine},
    {"TMunkautalvany", "at 742,66", kSheetLine},
    {"TMunkautalvany", "at 8,524", kSheetLine},
    {"TMunkautalvany", "at 266,524", kSheetLine},
    {"TAlapadatok1", "Lapszám", "hidden for good: never shown nor read"},
};

// How the sweep checked a box, or why it could not.
enum class Checked { Domain, Width, Date, Free, Unbounded };

// The name a box goes by in the sweep's lists: its form, its caption and its place.
std::string BoxName(ui::TForm& form, QWidget* w) {
    return Name(form, w) + " '" + ui::CaptionBeside(*w) + "'";
}

const FreeBox* FreeListed(ui::TForm& form, QWidget* w) {
    const std::string caption = ui::CaptionBeside(*w);
    const std::string key =
        caption.empty() ? "at " + std::to_string(w->x()) + "," + std::to_string(w->y()) : caption;
    for (const FreeBox& free : kFreeBoxes)
        if (testui::ClassName(typeid(form)) == free.form && key == free.box)
            return &free;
    return nullptr;
}

// Types each bad value of its domain into a typed box, which its check refuses naming the
// box; a box without a domain holds a text no longer than its field.
template <class Box>
Checked CheckTyped(ui::TForm& form, Box* box, QLineEdit* line, Declining& declining) {
    const db::Domain& domain = box->Domain();
    const std::string kept = box->Text();
    if (domain.empty()) {
        if (line->maxLength() >= 32767)
            return FreeListed(form, box) ? Checked::Free : Checked::Unbounded;
        box->SetText(std::string(static_cast<std::size_t>(line->maxLength()) + 1, 'a'));
        EXPECT_EQ(box->Text().size(), static_cast<std::size_t>(line->maxLength()))
            << Name(form, box);
        box->SetText(kept);
        return Checked::Width;
    }
    // The refusal names the box by its caption, or by its field when it has none.
    const std::string caption = ui::CaptionBeside(*box);
    const std::string named = "'" + (caption.empty() ? domain.label : caption) + "'";
    EXPECT_NE(named, "''") << Name(form, box) << " has no name to be told by";
    for (const std::string& value : BadValues(domain)) {
        box->SetText(value);
        declining.last.clear();
        EXPECT_FALSE(ui::TypedValuesValid(*box)) << Name(form, box) << " took " << value;
        EXPECT_NE(declining.last.find(named), std::string::npos)
            << Name(form, box) << ": " << declining.last;
    }
    box->SetText(kept);
    return Checked::Domain;
}

// Types each bad value of its field's domain into a data box, whose field refuses it naming
// the box, and nothing reaches the row; a text field takes no more letters than it holds.
template <class Box>
Checked CheckData(ui::TForm& form, Box* box, QLineEdit* line) {
    db::TField* field = box->Field();
    const db::Domain& domain = field->Def().domain;
    if (domain.empty()) {
        if (field->DataType() != db::FieldType::Alpha)
            return FreeListed(form, box) ? Checked::Free : Checked::Unbounded;
        EXPECT_LE(line->maxLength(), field->Size()) << Name(form, box);
        return Checked::Width;
    }
    db::TDataSet& rows = field->DataSet();
    for (const std::string& value : BadValues(domain)) {
        line->selectAll();
        EveryFormTest::TypeInto(line, value);
        try {
            box->UpdateRecord();
            ADD_FAILURE() << Name(form, box) << " took " << value;
        } catch (const db::DomainError& refused) {
            EXPECT_NE(std::string(refused.what()).find("'" + domain.label + "'"), std::string::npos)
                << refused.what();
        }
        if (rows.Active())
            rows.Cancel(); // drops the typed text too
    }
    return Checked::Domain;
}

// An impossible day typed into a date box is refused naming the box when it is read, and
// each bad value of its domain by the check a save runs first.
Checked CheckDate(ui::TForm& form, ui::TDateTimePicker* box, Declining& declining) {
    const bool enabled = box->isEnabled();
    box->setEnabled(true);
    if (!box->isEnabled() || !box->Checked())
        return FreeListed(form, box) ? Checked::Free : Checked::Unbounded;
    const sys::DateTime kept = box->DateTime();
    auto type = [&](const std::string& value) {
        box->Editor().selectAll();
        EveryFormTest::Erase(&box->Editor());
        EveryFormTest::TypeInto(&box->Editor(), value);
    };
    type("2024. 02. 30.");
    try {
        (void)box->DateTime();
        ADD_FAILURE() << Name(form, box) << " took 2024. 02. 30.";
    } catch (const sys::ConversionError& refused) {
        EXPECT_NE(std::string(refused.what()).find("'" + box->BoxName() + "'"), std::string::npos)
            << refused.what();
    }
    for (const std::string& value : BadValues(box->Domain())) {
        type(value);
        declining.last.clear();
        EXPECT_FALSE(ui::TypedValuesValid(*box)) << Name(form, box) << " took " << value;
        EXPECT_NE(declining.last.find("'" + box->BoxName() + "'"), std::string::npos)
            << Name(form, box) << ": " << declining.last;
    }
    box->SetDateTime(kept);
    box->setEnabled(enabled);
    return box->Domain().empty() ? Checked::Date : Checked::Domain;
}

// Every data box of every form: each one is checked once, the first time it takes typing
// (on the form as it opens, or in a box or state that a button opens), by what its field
// may hold.
std::map<QWidget*, Checked> CheckDataBoxes(ui::TForm& form, std::map<QWidget*, Checked>& seen,
                                           Declining& declining) {
    auto once = [&](QWidget* box, const std::function<Checked()>& check) {
        if (!seen.count(box))
            seen[box] = check();
    };
    for (ui::TEdit* box : All<ui::TEdit>(form))
        if (!box->isReadOnly())
            once(box, [&] { return CheckTyped(form, box, box, declining); });
    for (ui::TComboBox* box : All<ui::TComboBox>(form))
        if (box->isEditable())
            once(box, [&] { return CheckTyped(form, box, box->lineEdit(), declining); });
    for (ui::TDBEdit* box : All<ui::TDBEdit>(form))
        if (box->Field() && !box->isReadOnly())
            once(box, [&] { return CheckData(form, box, box); });
    for (ui::TDBComboBox* box : All<ui::TDBComboBox>(form))
        if (box->Field() && box->isEditable() && !box->ReadOnly())
            once(box, [&] { return CheckData(form, box, box->lineEdit()); });
    for (ui::TDateTimePicker* box : All<ui::TDateTimePicker>(form))
        once(box, [&] { return CheckDate(form, box, declining); });
    return seen;
}

// Every data box of every form the sweep reaches refuses what its field cannot hold, with
// a message naming the box, and stores nothing: a typed box by the check every save of its
// form runs first, a data box when the text goes into its field, a date box when it is
// read. A box whose field has no domain is a text box held to its field's width, or listed
// above with the reason it takes anything.
TEST_F(EveryFormTest, EveryBoundBoxRefusesTheBadValuesOfItsDomain) {
    std::map<std::string, Checked> boxes;
    std::set<std::string> reached;
    EveryForm([&](ui::TForm& form) {
        reached.insert(testui::ClassName(typeid(form)));
        std::map<QWidget*, Checked> seen;
        auto checkNow = [&] {
            for (const auto& [box, how] : CheckDataBoxes(form, seen, declining))
                boxes.emplace(BoxName(form, box), how);
        };
        checkNow();
        ClickEveryButton(form, [&](ui::TButton&) { checkNow(); });
    });
    std::map<Checked, int> count;
    std::string unbounded;
    for (const auto& [box, how] : boxes) {
        ++count[how];
        if (how == Checked::Unbounded)
            unbounded += "\n  " + box;
    }
    // No box takes anything.
    EXPECT_EQ(count[Checked::Unbounded], 0) << "boxes that take anything:" << unbounded;
    // As many as the sweep reaches today: none is lost.
    EXPECT_GE(reached.size(), 73u);
    EXPECT_GE(count[Checked::Domain], 222);
    EXPECT_GE(boxes.size(), 478u);
    std::cout << boxes.size() << " data boxes on " << reached.size()
              << " forms: " << count[Checked::Domain] << " by their domain, "
              << count[Checked::Width] << " by their width, " << count[Checked::Date] << " dates, "
              << count[Checked::Free] << " free, " << count[Checked::Unbounded]
              << " unbounded:" << unbounded << "\n";
}

// A data box of a text field takes no more letters than the field holds (a box of its own
// smaller limit keeps that one; a longer stored text is still shown whole).
TEST_F(EveryFormTest, EveryDataBoxHoldsWhatItsTextFieldHolds) {
    EveryForm([](ui::TForm& form) {
        auto check = [&](QWidget* box, const db::TField* field, const QLineEdit* edit) {
            if (field && edit && field->DataType() == db::FieldType::Alpha) {
                EXPECT_LE(edit->maxLength(), field->Size()) << Name(form, box);
            }
        };
        for (ui::TDBEdit* box : All<ui::TDBEdit>(form))
            check(box, box->Field(), box);
        for (ui::TDBComboBox* box : All<ui::TDBComboBox>(form))
            check(box, box->Field(), box->lineEdit());
    });
}

// Clicks every enabled button of the form outside its hidden boxes; when one opens a box
// with boxes to type into over a list, the list and every control beside the box are
// inert until the box closes again (its "Mégsem", or hidden).
TEST_F(EveryFormTest, WhileAnEditBoxIsOpenTheListAndItsButtonsAreInert) {
    int boxesOpened = 0;
    EveryForm([&](ui::TForm& form) {
        // A hidden box with boxes to type into and a button of its own that saves them.
        auto saves = [](QWidget* box) {
            const std::vector<ui::TButton*> buttons = All<ui::TButton>(*box);
            return std::any_of(buttons.begin(), buttons.end(), [box](ui::TButton* b) {
                const QString caption = b->text().toLower();
                QWidget* owner = b->parentWidget();
                while (owner != box && !owner->inherits("QGroupBox"))
                    owner = owner->parentWidget();
                return owner == box &&
                       (caption.contains(u"rögzít") || caption == u"mentés" || caption == u"ok");
            });
        };
        std::vector<QWidget*> boxes;
        for (QWidget* box : All<QWidget>(form))
            if (box->isHidden() && (box->inherits("QGroupBox") || box->inherits("QFrame")) &&
                !box->inherits("QAbstractScrollArea") && !box->findChildren<QLineEdit*>().empty() &&
                saves(box))
                boxes.push_back(box);
        auto inside = [&](QWidget* w) {
            return std::any_of(boxes.begin(), boxes.end(),
                               [&](QWidget* box) { return box->isAncestorOf(w); });
        };
        ClickEveryButton(form, [&](ui::TButton& button) {
            for (QWidget* box : boxes) {
                if (box->isHidden() || !box->isVisibleTo(&form))
                    continue;
                const std::vector<QAbstractItemView*> lists = All<QAbstractItemView>(form);
                const bool overList = std::any_of(lists.begin(), lists.end(), [&](auto* v) {
                    return !inside(v) && v->isVisibleTo(&form);
                });
                if (!overList)
                    continue;
                ++boxesOpened;
                for (QWidget* w : All<QWidget>(form))
                    if ((w->inherits("QAbstractItemView") || w->inherits("QAbstractButton")) &&
                        !box->isAncestorOf(w) && w->isVisibleTo(&form)) {
                        EXPECT_FALSE(w->isEnabled())
                            << Name(form, w) << " beside the box opened by " << button.Caption();
                    }
            }
        });
    });
    EXPECT_GT(boxesOpened, 27); // as many as the sweep reaches today: none is lost
}

// A year box takes a year as typed: a half-typed "20" stays for the year check to refuse,
// never completed to a listed year that the form would then use.
TEST_F(EveryFormTest, AYearBoxKeepsAHalfTypedYear) {
    int yearBoxes = 0;
    EveryForm([&](ui::TForm& form) {
        for (ui::TComboBox* box : All<ui::TComboBox>(form)) {
            bool years = box->isEditable() && box->count() > 0;
            for (int i = 0; years && i < box->count(); ++i)
                years = YearOf(box->itemText(i).toStdString()).has_value();
            if (!years)
                continue;
            ++yearBoxes;
            box->lineEdit()->clear();
            Type(box->lineEdit(), "20");
            EXPECT_EQ(box->Text(), "20") << Name(form, box);
        }
    });
    EXPECT_GE(yearBoxes, 9); // as many as the sweep reaches today: none is lost
}

// Every disabled button stays still whatever key is pressed or popup item chosen, and a
// popup item whose caption names a Ctrl key does what that key does.
TEST_F(EveryFormTest, ADisabledButtonRunsByNoRouteAndAKeyNamedInAPopupDoesItsItem) {
    EveryForm([&](ui::TForm& form) {
        // Every click is noted, then runs as it would.
        std::set<ui::TButton*> fired, firedDisabled;
        for (ui::TButton* button : All<ui::TButton>(form))
            button->OnClick = [&, button, run = button->OnClick](QObject* sender) {
                fired.insert(button);
                if (!button->isEnabled())
                    firedDisabled.insert(button);
                if (run)
                    run(sender);
            };
        struct Outcome {
            std::set<ui::TButton*> fired;
            std::vector<std::string> messages, forms, prints;
            int boxes;
            bool closes;
            // The same effect: the same messages, forms, prints, boxes and closing.
            bool operator==(const Outcome& o) const {
                return messages == o.messages && forms == o.forms && prints == o.prints &&
                       boxes == o.boxes && closes == o.closes;
            }
        };
        auto outcome = [&](const std::function<void()>& act) {
            fired.clear();
            const auto messages = declining.shown.size();
            const auto opened = sweep.opened.size();
            const auto asked = printing.asked.size();
            const std::vector<QWidget*> hidden = HiddenBoxes(form);
            act();
            ProcessEvents();
            const int boxes = CloseBoxesOpened(hidden);
            Outcome o{
                fired,
                {declining.shown.begin() + static_cast<long>(messages), declining.shown.end()},
                {sweep.opened.begin() + static_cast<long>(opened), sweep.opened.end()},
                {printing.asked.begin() + static_cast<long>(asked), printing.asked.end()},
                boxes,
                form.ModalResult() != ui::mrNone};
            form.SetModalResult(ui::mrNone);
            return o;
        };
        auto press = [&](char letter) {
            QWidget* target = form.ActiveControl() ? form.ActiveControl() : &form;
            Key(target, Qt::Key_A + (letter - 'A'), Qt::ControlModifier);
        };
        // Disabled when it ran: a button may grey itself by what it does.
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            firedDisabled.clear();
            outcome([&] { press(letter); });
            for (ui::TButton* button : firedDisabled)
                ADD_FAILURE() << Name(form, button) << " \"" << button->Caption()
                              << "\" ran by Ctrl+" << letter;
        }
        static const QRegularExpression named("CTRL\\s*\\+\\s*([A-Z])\\b",
                                              QRegularExpression::CaseInsensitiveOption);
        // The popups the user can reach: the form's and those of the controls on view.
        std::vector<QMenu*> menus;
        if (form.PopupMenu())
            menus.push_back(&form.PopupMenu()->Menu());
        for (QObject* child : form.findChildren<QObject*>())
            if (auto* control = dynamic_cast<ui::TControl*>(child);
                control && control->PopupMenu() && control->Widget().isVisibleTo(&form))
                menus.push_back(&control->PopupMenu()->Menu());
        auto describe = [](const Outcome& o) {
            std::string text = std::to_string(o.fired.size()) + " button(s)";
            for (const std::string& m : o.messages)
                text += ", \"" + m + "\"";
            for (const std::string& f : o.forms)
                text += ", " + f;
            for (const std::string& r : o.prints)
                text += ", prints " + r;
            if (o.boxes)
                text += ", opens a box";
            return text + (o.closes ? ", closes" : "");
        };
        for (QMenu* menu : menus) {
            for (QAction* item : menu->actions()) {
                const std::string caption = item->text().toStdString();
                // An item named as a greyed button of the form is greyed too.
                const QString title = item->text().section("CTRL", 0, 0).trimmed().toLower();
                for (ui::TButton* button : All<ui::TButton>(form))
                    if (!title.isEmpty() &&
                        button->text().remove('&').trimmed().toLower() == title &&
                        !button->isEnabled() && button->isVisibleTo(&form) && item->isEnabled())
                        ADD_FAILURE() << Name(form, button) << " is greyed, its popup item "
                                      << caption << " is not";
                firedDisabled.clear();
                const Outcome chosen = outcome([&] { item->trigger(); });
                for (ui::TButton* button : firedDisabled)
                    ADD_FAILURE() << Name(form, button) << ", disabled, ran by the popup item "
                                  << caption;
                const QRegularExpressionMatch key = named.match(item->text());
                if (!key.hasMatch() || !item->isEnabled())
                    continue;
                const char letter = static_cast<char>(key.captured(1).toUpper().at(0).unicode());
                const Outcome pressed = outcome([&] { press(letter); });
                EXPECT_TRUE(pressed == chosen)
                    << testui::ClassName(typeid(form)) << ": Ctrl+" << letter << " ("
                    << describe(pressed) << ") does not do what the popup item " << caption
                    << " does (" << describe(chosen) << ")";
            }
        }
        ClickEveryButton(form, [](ui::TButton&) {}); // the forms opened from here
    });
}

} // namespace
