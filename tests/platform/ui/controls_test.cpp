// Every control adapter on one form: the properties and events the forms use.

#include "controls_form.h"
#include "platform/db/dataset.h"
#include "platform/db/error.h"
#include "platform/ui/progress.h"
#include "support/ui_test.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QProgressDialog>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

using testui::UiTest;
using ui::TObject;

namespace {

class Controls : public UiTest {
protected:
    TMindenVezerlo form;
};

TEST_F(Controls, ClientSizeStaysWhenTheMenuComes) {
    EXPECT_EQ(form.ClientWidth(), 780);
    EXPECT_EQ(form.ClientHeight(), 560);
    EXPECT_EQ(form.Client()->geometry().top(), form.Height() - 560);
    EXPECT_GT(form.Height(), 560);
}

TEST_F(Controls, EditLimitsTypingToMaxLengthAndTellsChanges) {
    int changes = 0;
    form.Edit1->OnChange = [&](TObject*) { ++changes; };
    form.Edit1->SetMaxLength(5);
    Type(form.Edit1, "árvíztűrő");
    EXPECT_EQ(form.Edit1->Text(), "árvíz");
    EXPECT_EQ(changes, 5);
    form.Edit1->SetText("x");
    EXPECT_EQ(changes, 6);
    form.Edit1->SetReadOnly(true);
    Type(form.Edit1, "y");
    EXPECT_EQ(form.Edit1->Text(), "x");
}

TEST_F(Controls, MaskEditStoresLiteralsAndBlanks) {
    EXPECT_EQ(form.MaskEdit1->Text(), "        - -  ");
    EXPECT_EQ(form.MaskEdit2->Text(), "        -        -        ");
    EXPECT_EQ(form.MaskEdit3->Text(), "     - -  ");
    EXPECT_EQ(form.MaskEdit1->EditText(), "________-_-__");

    form.MaskEdit1->setFocus();
    form.MaskEdit1->setCursorPosition(0);
    Type(form.MaskEdit1, "12345678x912");
    EXPECT_EQ(form.MaskEdit1->Text(), "12345678-9-12");

    form.MaskEdit1->SetText("1234    -5-  ");
    EXPECT_EQ(form.MaskEdit1->Text(), "1234    -5-  ");
    form.MaskEdit3->SetText("AB1cd-e-F2");
    EXPECT_EQ(form.MaskEdit3->Text(), "AB1cd-e-F2");
    form.MaskEdit3->SetText("");
    EXPECT_EQ(form.MaskEdit3->Text(), "     - -  ");
}

TEST_F(Controls, TranslatedMaskSwapsOptionalAndRequired) {
    ui::QtMask mask = ui::TranslateEditMask("aaaaa\\-a\\-aa;1;_");
    EXPECT_EQ(mask.mask.toStdString(), "nnnnn\\-n\\-nn;_");
    EXPECT_EQ(mask.literal, (std::vector<bool>{false, false, false, false, false, true, false, true,
                                               false, false}));
    EXPECT_EQ(ui::TranslateEditMask("0099/99;0; ").mask.toStdString(), "9900\\/00; ");
}

TEST_F(Controls, CheckBoxAndPopupItemFollowEachOther) {
    form.CheckBox1->SetChecked(true); // from code: OnClick runs, as in the original
    EXPECT_TRUE(form.Aktvparcellk1->Checked());
    form.Aktvparcellk1->Click();
    EXPECT_FALSE(form.Aktvparcellk1->Checked());
    EXPECT_FALSE(form.CheckBox1->Checked());
    form.CheckBox1->click(); // the user
    EXPECT_TRUE(form.Aktvparcellk1->Checked());
}

TEST_F(Controls, ComboBoxFreeTextAndList) {
    EXPECT_EQ(form.ComboBox1->Text(), "Nagy");
    EXPECT_EQ(form.ComboBox1->ItemIndex(), 2);
    form.ComboBox1->SetText("Óriás");
    EXPECT_EQ(form.ComboBox1->ItemIndex(), -1);
    EXPECT_EQ(form.ComboBox1->Text(), "Óriás");
    form.ComboBox1->Items().Add("Óriás2");
    EXPECT_EQ(form.ComboBox1->Text(), "Óriás"); // adding items keeps a typed text
    form.ComboBox1->SetItemIndex(1);
    EXPECT_EQ(form.ComboBox1->Text(), "Közép");
    form.ComboBox1->SetItemIndex(-1);
    EXPECT_EQ(form.ComboBox1->Text(), "");

    EXPECT_EQ(form.ComboBox2->ItemIndex(), -1);
    EXPECT_EQ(form.ComboBox2->Text(), "");
    form.ComboBox2->SetText("kg");
    EXPECT_EQ(form.ComboBox2->ItemIndex(), 1);
    form.ComboBox2->SetText("hordó"); // no item: a list box keeps its choice
    EXPECT_EQ(form.ComboBox2->Text(), "kg");
    form.ComboBox2->Items().Clear();
    EXPECT_EQ(form.ComboBox2->Text(), "");
    EXPECT_THROW(form.ComboBox2->Items().Delete(0), std::out_of_range);
}

TEST_F(Controls, RadioGroupAndButtons) {
    int clicks = 0;
    form.RadioGroup1->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(form.RadioGroup1->ItemIndex(), -1);
    form.RadioGroup1->SetItemIndex(1);
    EXPECT_EQ(form.RadioGroup1->ItemIndex(), 1);
    form.RadioGroup1->SetItemIndex(-1);
    EXPECT_EQ(form.RadioGroup1->ItemIndex(), -1);
    EXPECT_EQ(clicks, 2);
    form.RadioButton1->SetChecked(true);
    form.RadioButton2->SetChecked(true);
    EXPECT_FALSE(form.RadioButton1->Checked());
}

TEST_F(Controls, ListBoxMemoAndRichEdit) {
    form.ListBox1->Items().AddStrings({"100000", "100001", "100002"});
    form.ListBox1->SetItemIndex(1);
    EXPECT_EQ(form.ListBox1->Items()[form.ListBox1->ItemIndex()], "100001");
    form.ListBox1->Items().Delete(0);
    EXPECT_EQ(form.ListBox1->Items().IndexOf("100002"), 1);

    form.Memo1->Lines().Add("első sor");
    form.Memo1->Lines().Add("második");
    EXPECT_EQ(form.Memo1->Lines().Count(), 2);
    EXPECT_EQ(form.Memo1->Text(), "első sor\nmásodik");
    form.Memo1->Lines().SetStrings(0, "1.");
    EXPECT_EQ(form.Memo1->Lines().Text(), "1.\nmásodik\n");

    std::ofstream("utf8.txt") << "Normálhektár\r\nátszámítás\n";
    std::ofstream("cp1250.txt") << "\xF5sz \xFB\n"; // "ősz ű" in Windows-1250
    form.RichEdit1->Lines().LoadFromFile("utf8.txt");
    EXPECT_EQ(form.RichEdit1->Lines().ToVector(),
              (std::vector<std::string>{"Normálhektár", "átszámítás"}));
    form.RichEdit1->Lines().LoadFromFile("cp1250.txt");
    EXPECT_EQ(form.RichEdit1->Lines()[0], "ősz ű");
    EXPECT_THROW(form.RichEdit1->Lines().LoadFromFile("nincs.txt"), db::DbError);
}

TEST_F(Controls, DateTimePickerKeepsDateAndTime) {
    sys::DateTime when = sys::encodeDate(2010, 3, 5) + sys::encodeTime(9, 30, 0);
    form.DateTimePicker1->SetDateTime(when);
    EXPECT_DOUBLE_EQ(form.DateTimePicker1->Date(), sys::encodeDate(2010, 3, 5));
    EXPECT_NEAR(form.DateTimePicker1->Time(), sys::encodeTime(9, 30, 0), 1e-9);
    form.DateTimePicker1->SetDate(sys::encodeDate(2004, 11, 18));
    EXPECT_NEAR(form.DateTimePicker1->DateTime(),
                sys::encodeDate(2004, 11, 18) + sys::encodeTime(9, 30, 0), 1e-9);
    EXPECT_EQ(form.DateTimePicker1->Editor().text().toStdString(), "2004. 11. 18.");

    EXPECT_TRUE(form.DateTimePicker2->Checked());
    form.DateTimePicker2->SetChecked(false);
    EXPECT_FALSE(form.DateTimePicker2->Checked());
    EXPECT_FALSE(form.DateTimePicker2->Editor().isEnabled());
}

TEST_F(Controls, PageControlPagesAndHiddenTabs) {
    EXPECT_EQ(form.PageControl1->ActivePage(), form.TabSheet1);
    form.PageControl1->SetActivePage(form.TabSheet2);
    EXPECT_EQ(form.PageControl1->ActivePageIndex(), 1);
    EXPECT_EQ(form.TabSheet2->PageIndex(), 1);
    form.TabSheet1->SetTabVisible(false);
    EXPECT_FALSE(form.TabSheet1->TabVisible());
    EXPECT_FALSE(form.PageControl1->isTabVisible(0));
}

TEST_F(Controls, StringGridCellsRowsAndHiddenColumns) {
    ui::TStringGrid& grid = *form.StringGrid1;
    grid.SetCells(1, 1, "Kovács");
    grid.SetCells(3, 1, "100003"); // the hidden column keeps its text
    grid.SetCells(1, 2, "Nagy");
    EXPECT_EQ(grid.ColWidths(3), -1);
    EXPECT_EQ(grid.Cells(3, 1), "100003");
    grid.InsertRow(1);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Cells(1, 1), "");
    EXPECT_EQ(grid.Cells(1, 2), "Kovács");
    grid.DeleteRow(1);
    grid.DeleteRow(1);
    EXPECT_EQ(grid.Cells(1, 1), "Nagy");
    EXPECT_EQ(grid.Cells(0, 0), "Sorsz.");
    EXPECT_FALSE(grid.item(0, 1)->flags() & Qt::ItemIsEditable); // fixed cells
    EXPECT_TRUE(grid.item(1, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_THROW(grid.SetCells(9, 9, "x"), std::out_of_range);
    grid.SetRows(2, {"1", "Szabó", "8"});
    EXPECT_EQ(grid.Rows(2), (std::vector<std::string>{"1", "Szabó", "8", ""}));
    // Rows added one at a time get the style of their place; the kept rows keep theirs.
    for (int rows = grid.RowCount() + 1; rows <= 8; ++rows)
        grid.SetRowCount(rows);
    EXPECT_TRUE(grid.item(7, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(grid.Cells(1, 2), "Szabó");
}

TEST_F(Controls, GroupBoxHidesWhenTheFocusLeavesIt) {
    ShowActive(form);
    form.GroupBox1->Show();
    form.Edit2->SetFocus();
    ASSERT_TRUE(form.Edit2->hasFocus());
    form.Button5->SetFocus(); // still inside the box
    EXPECT_TRUE(form.GroupBox1->Visible());
    form.Edit1->SetFocus();
    EXPECT_FALSE(form.GroupBox1->Visible());
    form.Panel1->SetLeft(10);
    form.Panel1->Hide();
    EXPECT_EQ(form.Panel1->Left(), 10);
    EXPECT_FALSE(form.Panel1->Visible());
    form.Hide();
}

TEST_F(Controls, JpegPicturesDecode) {
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(QColor(200, 30, 30));
    auto bytes = ui::EncodeJpeg(picture);
    QImage decoded = ui::DecodeJpeg(bytes);
    ASSERT_EQ(decoded.size(), QSize(20, 10));
    QColor pixel = decoded.pixelColor(5, 5);
    EXPECT_NEAR(pixel.red(), 200, 8);
    EXPECT_NEAR(pixel.green(), 30, 8);

    std::ofstream("strip.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    form.Image1->LoadFromFile("strip.jpg");
    EXPECT_EQ(form.Image1->Picture().width(), 20);

    auto cut = bytes;
    cut.resize(cut.size() / 3);
    for (std::size_t i = 200; i < cut.size(); ++i)
        cut[i] = 0xFF;
    EXPECT_THROW(ui::DecodeJpeg(cut), ui::JpegError);
    std::vector<std::uint8_t> text{'h', 'e', 'l', 'l', 'o'};
    EXPECT_THROW(ui::DecodeJpeg(text), ui::JpegError);
    EXPECT_THROW(ui::LoadJpeg("nincs.jpg"), ui::JpegError);

    // A header declaring 60000 × 60000 pixels is refused before they are allocated.
    auto huge = bytes;
    const std::uint8_t startOfFrame[] = {0xFF, 0xC0};
    const auto frame = static_cast<std::size_t>(
        std::search(huge.begin(), huge.end(), std::begin(startOfFrame), std::end(startOfFrame)) -
        huge.begin());
    ASSERT_LT(frame + 9, huge.size());
    for (const std::size_t at : {frame + 5, frame + 7}) {
        huge[at] = 60000 >> 8;
        huge[at + 1] = 60000 & 0xFF;
    }
    try {
        ui::DecodeJpeg(huge);
        ADD_FAILURE() << "no error";
    } catch (const ui::JpegError& e) {
        EXPECT_STREQ(e.what(), "Hibás JPEG kép: túl nagy kép (60000 × 60000 képpont)");
    }
}

TEST_F(Controls, MenusCheckedHiddenAndToolbarHints) {
    EXPECT_FALSE(form.Rejtett1->Visible());
    EXPECT_EQ(form.MainMenu1->Items(0)->Count(), 2);
    EXPECT_EQ(form.MainMenu1->Items(0)->Items(0)->Caption(), "Elvégzett műveletek felvitele");
    int clicks = 0;
    form.ToolButton1->OnClick = [&](TObject*) { ++clicks; };
    form.ToolButton1->Action().trigger(); // the user
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.ToolButton1->Hint(), "Elvégzett műveletek");
    EXPECT_EQ(form.ToolBar1->ButtonCount(), 2);
    EXPECT_EQ(form.Button1->Hint(), "Ctrl+R");
    form.ToolButton1->OnClick = [](TObject*) { throw db::DatabaseError("Table1: zárolva"); };
    dialogs.Expect("Table1: zárolva.");
    form.ToolButton1->Action().trigger();
}

TEST_F(Controls, TimerRunsWhileEnabled) {
    form.Timer1->SetEnabled(true);
    QTest::qWait(200);
    form.Timer1->SetEnabled(false);
    int ticks = form.Ticks;
    EXPECT_GE(ticks, 2);
    EXPECT_EQ(form.Image1->Left(), 400 + ticks);
    QTest::qWait(120);
    EXPECT_EQ(form.Ticks, ticks);
}

TEST_F(Controls, CanvasDrawsPiesRectanglesAndText) {
    form.FormPaint(&form);
    const QImage& picture = form.Picture();
    QColor upper = picture.pixelColor(150, 420); // above the horizontal ray: first pie
    QColor lower = picture.pixelColor(60, 500);
    EXPECT_EQ(upper, QColor(Qt::red));
    EXPECT_EQ(lower, QColor(Qt::blue));
    EXPECT_EQ(picture.pixelColor(215, 445), QColor(Qt::yellow)); // the rectangle's inside
    EXPECT_EQ(picture.pixelColor(200, 430), QColor(Qt::black));  // its border
    EXPECT_EQ(picture.pixelColor(300, 480), QColor(Qt::black));  // the line
    EXPECT_GT(form.Canvas().TextWidth("Búza"), 10);
}

// --- the data-aware controls on the form ---------------------------------------------------

class DataControls : public Controls {
protected:
    DataControls() {
        form.PageControl1->SetActivePage(form.TabSheet3);
        ShowActive(form);
    }
    ~DataControls() override { form.Hide(); }
    // The user types into a box after choosing its text.
    static void Retype(ui::TDBEdit* edit, const std::string& text) {
        edit->SetFocus();
        edit->selectAll();
        Type(edit, text);
    }
};

TEST_F(DataControls, ShowTheTablesAndLiveOnTheirPages) {
    EXPECT_EQ(form.DBGrid1->parentWidget(), form.TabSheet3);
    EXPECT_EQ(ui::ControlOf(form.DBEdit1), static_cast<ui::TControl*>(form.DBEdit1));
    EXPECT_EQ(form.DBGrid1->model()->rowCount(), 6);
    EXPECT_EQ(form.DBText1->Caption(), "P00000");
    EXPECT_EQ(form.DBLookupComboBox1->count(), 3);
    EXPECT_EQ(form.DBLookupListBox1->count(), 3);
    EXPECT_EQ(form.DBCtrlGrid1->PanelCount(), 3);
    form.Table1.MoveBy(2);
    EXPECT_EQ(form.DBGrid1->currentIndex().row(), 2);
    EXPECT_EQ(form.DBText1->Caption(), "P00002");
    EXPECT_EQ(form.DBEdit1->Text(), "2002");
    EXPECT_EQ(form.DBEdit2->Text(), "ágazat 2");
    EXPECT_TRUE(form.DBCheckBox1->Checked());
    EXPECT_EQ(form.DBComboBox1->Text(), "ágazat 2");

    form.DBLookupComboBox1->Choose(1); // the lookup writes its key; the others follow
    EXPECT_EQ(form.DBEdit2->Text(), "búza");
    EXPECT_EQ(form.DBComboBox1->Text(), "búza");
    EXPECT_EQ(form.DBLookupListBox1->SelectedText(), "búza");
    form.Table1.Post();
    EXPECT_EQ(form.DBGrid1->model()->index(2, 2).data().toString(), "búza");
}

TEST_F(DataControls, EnterMovesOnAndWritesWhatWasTyped) {
    form.SetEnterMovesLikeTab(true);
    std::vector<std::string> events;
    form.DBEdit1->OnExit = [&](TObject*) { events.push_back("exit"); };
    form.DBEdit2->OnEnter = [&](TObject*) { events.push_back("enter"); };
    Retype(form.DBEdit1, "1999");
    EXPECT_EQ(form.Table1.State(), db::DataSetState::Edit); // the first key edits
    Key(form.DBEdit1, Qt::Key_Return);
    EXPECT_TRUE(form.DBEdit2->Focused());
    EXPECT_EQ(events, (std::vector<std::string>{"exit", "enter"}));
    EXPECT_EQ(form.Table1.FieldByName("Evj").AsString(), "1999");
    form.Table1.Post();
    EXPECT_EQ(form.DBGrid1->model()->index(0, 1).data().toString(), "1999");
}

TEST_F(DataControls, AValueTheFieldRefusesIsShownAndTheFormStays) {
    Retype(form.DBEdit1, "abc");
    dialogs.Expect("'abc' nem érvényes egész szám.", ui::mrOk);
    form.DBEdit2->SetFocus(); // leaving the box writes it
    EXPECT_EQ(dialogs.Last().kind, ui::MessageKind::Error);
    EXPECT_EQ(dialogs.Last().caption, "Dolvaren 3.0");
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.DBEdit1->Modified()); // the text stays for the user to correct
    EXPECT_EQ(form.DBEdit1->Text(), "abc");
    EXPECT_EQ(form.Table1.FieldByName("Evj").AsString(), "2000");

    Retype(form.DBEdit1, "2024");
    form.DBEdit2->SetFocus();
    EXPECT_EQ(form.Table1.FieldByName("Evj").AsString(), "2024");
    form.Table1.Cancel();
}

TEST_F(DataControls, AFailedPostWhenTheGridRowIsLeftIsShownAndTheRowStays) {
    ui::TDBGrid& grid = *form.DBGrid1;
    QAbstractItemModel& model = *grid.model();
    grid.setCurrentIndex(model.index(2, 0));
    ASSERT_TRUE(model.setData(model.index(2, 0), "P00004")); // the key of another row
    dialogs.ExpectContaining("ilyen kulcsú sor már van a táblában", ui::mrOk);
    grid.setCurrentIndex(model.index(4, 0)); // the user leaves the row
    EXPECT_EQ(dialogs.Last().kind, ui::MessageKind::Error);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(grid.currentIndex().row(), 2); // the grid stays on the row being edited
    EXPECT_EQ(form.Table1.State(), db::DataSetState::Edit);
    EXPECT_EQ(form.Table1.RecNo(), 3);

    ASSERT_TRUE(model.setData(model.index(2, 0), "P00009")); // corrected, the row posts
    grid.setCurrentIndex(model.index(0, 0));
    EXPECT_EQ(form.Table1.State(), db::DataSetState::Browse);
    EXPECT_EQ(form.Table1.FieldByName("Kod").AsString(), "P00000");
    EXPECT_EQ(model.index(5, 0).data().toString(), "P00009");
}

} // namespace

TEST_F(Controls, QtsOwnDialogsAndButtonsSpeakHungarian) {
    for (auto [context, text] : {std::pair{"QFileDialog", "Look in:"},
                                 {"QFileDialog", "File &name:"},
                                 {"QPlatformTheme", "Save"},
                                 {"QPlatformTheme", "Cancel"}})
        EXPECT_NE(QCoreApplication::translate(context, text), QString(text)) << text;
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Mégse");
}

// A progress window makes no dialog while its task is quick; once the task has run half a
// second, the next step shows it with its caption.
TEST_F(Controls, AProgressWindowShowsOnlyOnceItsTaskHasRunHalfASecond) {
    auto progressDialogs = [] {
        std::vector<QProgressDialog*> found;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QProgressDialog*>(widget))
                found.push_back(dialog);
        return found;
    };
    ui::TProgressWindow progress(&form, "Az adatbázis ellenőrzése");
    progress.Done(1, 4);
    EXPECT_TRUE(progressDialogs().empty());
    QTest::qWait(550);
    progress.Done(2, 4);
    ASSERT_EQ(progressDialogs().size(), 1u);
    EXPECT_TRUE(progressDialogs()[0]->isVisible());
    EXPECT_EQ(progressDialogs()[0]->labelText(), "Az adatbázis ellenőrzése folyamatban...");
}
