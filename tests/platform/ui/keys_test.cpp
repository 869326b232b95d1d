// The keyboard habits: Enter like Tab, default and cancel buttons, Ctrl-letter tables
// delivered as control characters, short-cut handlers and F1.

#include "controls_form.h"
#include "sample_forms.h"
#include "support/ui_test.h"

#include <QApplication>
#include <gtest/gtest.h>

using testui::UiTest;
using ui::TObject;

namespace {

using Keys = UiTest;

TEST_F(Keys, EnterMovesLikeTabExceptOnAButton) {
    forms.On<TMintaSzerk>([&](TMintaSzerk& f) {
        QApplication::setActiveWindow(&f);
        f.Edit1->SetFocus();
        Key(f.Edit1, Qt::Key_Return);
        EXPECT_TRUE(f.MaskEdit1->hasFocus());
        Key(f.MaskEdit1, Qt::Key_Enter);
        EXPECT_TRUE(f.Button1->hasFocus());
        f.Edit1->SetText("alma");
        Key(f.Button1, Qt::Key_Return); // Enter on a button clicks it
        EXPECT_EQ(f.ModalResult(), ui::mrOk);
    });
    EXPECT_EQ(ui::ShowModalForm(MintaSzerk), ui::mrOk);
}

TEST_F(Keys, ControlCharactersAreNeverEnterOrTab) {
    TMindenVezerlo form;
    ShowActive(form);
    std::vector<ui::TKey> seen;
    form.Edit1->OnKeyPress = [&](TObject*, ui::TKey& key) { seen.push_back(key); };
    form.Edit1->SetFocus();
    Key(form.Edit1, Qt::Key_M, Qt::ControlModifier);
    Key(form.Edit1, Qt::Key_I, Qt::ControlModifier);
    Key(form.Edit1, Qt::Key_A, Qt::ControlModifier);
    Key(form.Edit1, Qt::Key_X, Qt::ControlModifier);
    Key(form.Edit1, Qt::Key_Backspace);
    Type(form.Edit1, "ő");
    EXPECT_EQ(seen, (std::vector<ui::TKey>{13, 9, 1, 24, ui::keyBackspace, U'ő'}));
    seen.clear();
    Key(form.Edit1, Qt::Key_Tab); // moves the focus; no handler sees it
    EXPECT_TRUE(seen.empty());
    form.Hide();
}

TEST_F(Keys, EnterClicksTheDefaultButtonAndEscTheCancelButton) {
    TMindenVezerlo form;
    ShowActive(form);
    std::vector<ui::TKey> seen;
    form.Edit1->OnKeyPress = [&](TObject*, ui::TKey& key) { seen.push_back(key); };
    form.Edit1->SetFocus();
    Key(form.Edit1, Qt::Key_Return);
    EXPECT_EQ(form.Clicks, 1);
    EXPECT_TRUE(seen.empty()); // the button took it
    form.Button1->SetDefault(false);
    Key(form.Edit1, Qt::Key_Return);
    EXPECT_EQ(seen, (std::vector<ui::TKey>{ui::keyEnter}));
    Key(form.Memo1, Qt::Key_Return); // a memo takes Enter for a new line
    EXPECT_EQ(form.Clicks, 1);
    int cancelled = 0;
    form.BitBtn1->OnClick = [&](TObject*) { ++cancelled; };
    Key(form.Edit1, Qt::Key_Escape);
    EXPECT_EQ(cancelled, 1);
    form.Hide();
}

TEST_F(Keys, FormKeyTableRunsItsCommands) {
    forms.CloseWith<TMintaSzerk>(ui::mrCancel);
    dialogs.Expect("Kéri további minta felvitelét?", ui::mrNo);
    dialogs.Expect("Valóban törli?", ui::mrYes);
    forms.On<TMintaLista>([&](TMintaLista& list) {
        QApplication::setActiveWindow(&list);
        list.ListBox1->Items().AddStrings({"a", "b"});
        list.ListBox1->SetItemIndex(0);
        list.ListBox1->SetFocus();
        Key(list.ListBox1, Qt::Key_U, Qt::ControlModifier); // new
        Key(list.ListBox1, Qt::Key_T, Qt::ControlModifier); // delete, after a question
        EXPECT_EQ(list.ListBox1->Items().ToVector(), std::vector<std::string>{"b"});
        Key(list.ListBox1, Qt::Key_X, Qt::ControlModifier); // close
    });
    EXPECT_EQ(ui::ShowModalForm(MintaLista), ui::mrCancel);
}

TEST_F(Keys, ShortCutHandlerComesFirst) {
    TMindenVezerlo form;
    ShowActive(form);
    std::vector<int> codes;
    form.OnShortCut = [&](ui::TWMKey& msg, bool& handled) {
        codes.push_back(msg.CharCode);
        if (msg.CharCode == ui::VK_RETURN) {
            form.SelectNext();
            handled = true;
        }
    };
    form.Edit1->SetFocus();
    Key(form.Edit1, Qt::Key_Return);
    EXPECT_EQ(form.Clicks, 0);
    EXPECT_FALSE(form.Edit1->hasFocus());
    EXPECT_EQ(codes, std::vector<int>{ui::VK_RETURN});
    form.Hide();
}

TEST_F(Keys, F1AsksForTheHelpTopicOfTheControlOrForm) {
    TMindenVezerlo form;
    ShowActive(form);
    app->SetHelpFile("HELP1.HLP");
    form.Edit1->SetFocus();
    Key(form.Edit1, Qt::Key_F1);
    form.Edit2->HelpContext = 12;
    Key(form.Edit2, Qt::Key_F1);
    app->HelpCommand(ui::HELP_FINDER);
    EXPECT_EQ(help.topics, (std::vector<std::pair<std::string, int>>{
                               {"HELP1.HLP", 34}, {"HELP1.HLP", 12}, {"HELP1.HLP", -1}}));
    form.Hide();
}

TEST_F(Keys, HelpWithoutAPageShowsANoticeWithTheTopic) {
    ui::PageHelpService pages("no-such-folder");
    dialogs.ExpectContaining("HELP1.HLP, 34. témakör");
    pages.ShowTopic("HELP1.HLP", 34);
    EXPECT_EQ(dialogs.Last().caption, "Súgó");
    EXPECT_EQ(dialogs.Last().kind, ui::MessageKind::Note);
}

} // namespace
