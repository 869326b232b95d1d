// Modal forms, messages and errors played headless; the form's popup menu on a right click.

#include "platform/db/dataset.h"
#include "platform/db/error.h"
#include "platform/sys/conversion_error.h"
#include "platform/ui/controls.h"
#include "platform/ui/db_test_support.h"
#include "platform/ui/form_helpers.h"
#include "platform/ui/menus.h"
#include "sample_forms.h"
#include "support/ui_test.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using testui::UiTest;

namespace {

class FormFlow : public UiTest {
protected:
    // Shows the list as the main window would open it, and plays `body` on it.
    void WithList(const std::function<void(TMintaLista&)>& body) {
        forms.On<TMintaLista>([&](TMintaLista& list) {
            body(list);
            if (list.ModalResult() == ui::mrNone)
                list.Close();
        });
        result = ui::ShowModalForm(MintaLista);
    }
    int result = -1;
};

TEST_F(FormFlow, MenuCommandFormQuestionYesFormAgain) {
    forms.On<TMintaSzerk>([](TMintaSzerk& f) {
        EXPECT_EQ(f.Mode, "uj");
        EXPECT_EQ(MintaSzerk, &f); // the global pointer refers to the open instance
        f.Edit1->SetText("alma");
        f.MaskEdit1->SetText("12345678-1-12");
        f.Button1->click();
    });
    dialogs.Expect("Kéri további minta felvitelét?", ui::mrYes);
    forms.On<TMintaSzerk>([](TMintaSzerk& f) {
        f.Edit1->SetText("körte");
        f.Button1->click();
    });
    dialogs.Expect("Kéri további minta felvitelét?", ui::mrNo);

    std::vector<std::string> items;
    WithList([&](TMintaLista& list) {
        list.Button1->click();
        items = list.ListBox1->Items().ToVector();
    });

    EXPECT_EQ(items, (std::vector<std::string>{"alma|12345678-1-12", "körte|        - -  "}));
    EXPECT_EQ(forms.Shown(),
              (std::vector<std::string>{"TMintaLista", "TMintaSzerk", "TMintaSzerk"}));
    EXPECT_EQ(MintaSzerk, nullptr); // freed, and the pointer is back where it was
    EXPECT_EQ(MintaLista, nullptr);
    EXPECT_EQ(result, ui::mrCancel);
    const ui::Message& question = dialogs.Shown().at(0);
    EXPECT_EQ(question.caption, "Megerősítés");
    EXPECT_EQ(question.type, ui::mtConfirmation);
    EXPECT_EQ(question.buttons, (std::vector<ui::TMsgDlgBtn>{ui::mbYes, ui::mbNo}));
}

TEST_F(FormFlow, AGridFormOpensAFormThatEditsItsRowAndShowsTheChange) {
    {
        db::Session session;
        uitest::makeParcels(session, 4);
    }
    forms.On<TParcellaSzerk>([](TParcellaSzerk& f) {
        EXPECT_EQ(f.DBText1->Caption(), "P00002");
        f.DBEdit1->selectAll();
        Type(f.DBEdit1, "tönköly");
        f.Button1->click();
    });
    forms.On<TParcellaSzerk>([](TParcellaSzerk& f) {
        f.DBEdit2->selectAll();
        Type(f.DBEdit2, "1999");
        f.Button2->click(); // Mégsem: nothing is written
    });
    std::vector<QString> shown;
    forms.On<TParcellaLista>([&](TParcellaLista& list) {
        list.Table1.MoveBy(2);
        list.Button1->click();
        EXPECT_EQ(list.Table1.State(), db::DataSetState::Browse);
        shown.push_back(list.DBGrid1->model()->index(2, 1).data().toString());
        list.Button1->click();
        EXPECT_EQ(list.Table1.FieldByName("Evj").AsString(), "2002");
        list.Close();
    });
    ui::ShowModalForm(ParcellaLista);
    EXPECT_EQ(shown, (std::vector<QString>{"tönköly"}));
    EXPECT_EQ(forms.Shown(),
              (std::vector<std::string>{"TParcellaLista", "TParcellaSzerk", "TParcellaSzerk"}));
    db::Session session;
    db::TTable stored(session);
    stored.SetTableName("parcellak");
    stored.Open();
    stored.MoveBy(2);
    EXPECT_EQ(stored.FieldByName("Agazat").AsString(), "tönköly");
}

TEST_F(FormFlow, ActivateRunsAgainWhenAChildFormOrDialogCloses) {
    forms.CloseWith<TMintaSzerk>(ui::mrCancel);
    dialogs.Expect("Kéri további minta felvitelét?", ui::mrNo);
    std::vector<std::string> events;
    WithList([&](TMintaLista& list) {
        list.Button1->click();
        events = list.Events;
    });
    // shown; the dialog closes; the question closes
    EXPECT_EQ(events, (std::vector<std::string>{"activate", "new", "activate", "activate"}));
}

TEST_F(FormFlow, ApplicationMessageBoxDoesNotReactivate) {
    dialogs.Expect("Nincs megjeleníthető művelet!", ui::IDOK);
    int activations = 0;
    WithList([&](TMintaLista& list) {
        int answer = app->MessageBox("Nincs megjeleníthető művelet!", "Üres adattábla!", ui::MB_OK);
        EXPECT_EQ(answer, ui::IDOK);
        activations = list.Activations;
    });
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(dialogs.Last().caption, "Üres adattábla!");
    EXPECT_EQ(dialogs.Last().kind, ui::MessageKind::Box);
}

TEST_F(FormFlow, DialogValidationKeepsTheFormOpen) {
    forms.On<TMintaSzerk>([&](TMintaSzerk& f) {
        f.Button1->click(); // empty name: warning, the form stays
        EXPECT_EQ(f.ModalResult(), ui::mrNone);
        f.Edit1->SetText("szilva");
        f.Button1->click();
    });
    dialogs.Expect("A megnevezés nem lehet üres!", ui::mrOk);
    dialogs.Expect("Kéri további minta felvitelét?", ui::mrNo);
    WithList([](TMintaLista& list) { list.Button1->click(); });
    EXPECT_EQ(dialogs.Shown().at(0).caption, "Figyelmeztetés");
}

TEST_F(FormFlow, ErrorInAHandlerIsShownAndTheFormStays) {
    dialogs.Expect("Table1: a tábla nincs megnyitva.", ui::mrOk);
    bool stillOpen = false;
    WithList([&](TMintaLista& list) {
        list.Button4->click();
        stillOpen = list.isVisible() && list.ModalResult() == ui::mrNone;
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(dialogs.Last().kind, ui::MessageKind::Error);
    EXPECT_EQ(dialogs.Last().caption, "Dolvaren 3.0");
    EXPECT_EQ(dialogs.Last().type, ui::mtError);
}

TEST_F(FormFlow, ErrorInAKeyHandlerOrTimerReachesTheErrorDisplay) {
    dialogs.Expect("Hibás dátum: 2010.13.01.", ui::mrOk);
    dialogs.Expect("időzítő.", ui::mrOk);
    WithList([&](TMintaLista& list) {
        list.ListBox1->OnKeyPress = [](TObject*, ui::TKey& key) {
            if (key == U'q')
                throw sys::ConversionError("Hibás dátum: 2010.13.01.");
        };
        Key(list.ListBox1, Qt::Key_Q);
        ui::TTimer timer(&list, 1);
        timer.OnTimer = [&](TObject*) {
            timer.SetEnabled(false);
            throw std::runtime_error("időzítő");
        };
        // The timer fires once the event loop runs; under load that can take a while.
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs.Pending() == 0; }, 5000));
    });
}

TEST_F(FormFlow, CodeThatClicksAButtonGetsTheErrorItself) {
    WithList([&](TMintaLista& list) { EXPECT_THROW(list.Button4->Click(), db::DatabaseError); });
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(FormFlow, StartUpErrorIsShownAndEndsTheProgram) {
    dialogs.Expect("Set.db: a fájl sérült.", ui::mrOk);
    bool looped = false;
    int code = ui::RunApplication(*app, [&](ui::TApplication& a) {
        a.CreateForm(MintaLista);
        throw db::DbError("Set.db", "a fájl sérült");
    });
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(looped);
    EXPECT_EQ(dialogs.Last().kind, ui::MessageKind::Error);
}

TEST_F(FormFlow, UnexpectedFormIsReportedAndClosed) {
    testui::ScriptedForms other;
    app->SetModal(other);
    bool failed = false;
    {
        // A form nobody registered: the driver closes it with mrCancel.
        ::testing::TestPartResultArray failures;
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        EXPECT_EQ(ui::ShowModalForm(MintaSzerk), ui::mrCancel);
        failed = failures.size() == 1;
    }
    EXPECT_TRUE(failed);
    app->SetModal(forms);
}

TEST_F(FormFlow, UnexpectedMessageFailsTheTest) {
    ::testing::TestPartResultArray failures;
    int answer = 0;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        answer = ui::MessageDlg("Valóban törli?", ui::mtConfirmation, ui::mbYesNo);
    }
    EXPECT_EQ(failures.size(), 1);
    EXPECT_EQ(answer, ui::mrNo);
}

TEST_F(FormFlow, ScriptThatLeavesTheFormOpenFails) {
    ::testing::TestPartResultArray failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        forms.On<TMintaSzerk>([](TMintaSzerk& f) { f.Edit1->SetText("x"); });
        EXPECT_EQ(ui::ShowModalForm(MintaSzerk), ui::mrCancel);
    }
    EXPECT_EQ(failures.size(), 1);
}

TEST_F(FormFlow, CloseQueryCanKeepAModalFormOpen) {
    TMintaSzerk* keep = nullptr;
    int queries = 0;
    forms.On<TMintaSzerk>([&](TMintaSzerk& f) {
        keep = &f;
        f.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++queries > 1; };
        f.Close();
    });
    forms.On<TMintaSzerk>([](TMintaSzerk& f) { f.SetModalResult(ui::mrOk); });
    EXPECT_EQ(ui::ShowModalForm(MintaSzerk), ui::mrOk);
    EXPECT_EQ(queries, 2);
    EXPECT_NE(keep, nullptr);
}

TEST_F(FormFlow, LongLivedFormKeepsItsPointerAroundASecondInstance) {
    app->CreateForm(MintaSzerk);
    TMintaSzerk* startUp = MintaSzerk;
    EXPECT_EQ(app->MainForm(), startUp);
    forms.On<TMintaSzerk>([&](TMintaSzerk& f) {
        EXPECT_NE(&f, startUp);
        EXPECT_EQ(MintaSzerk, &f);
        f.Close();
    });
    ui::ShowModalForm(MintaSzerk);
    EXPECT_EQ(MintaSzerk, startUp);
}

TEST_F(FormFlow, ShowingAVisibleFormModallyIsRefused) {
    TMintaSzerk form;
    form.Show();
    EXPECT_THROW(form.ShowModal(), std::logic_error);
    form.Hide();
}

} // namespace

TEST_F(FormFlow, ARightClickOnTheFormOrABareControlOpensTheFormsPopupMenu) {
    ui::TForm form;
    form.SetClientSize(300, 200);
    auto* label = ui::Make<ui::TLabel>(&form, {10, 10, 120, 20}, "Gazdasági év");
    ui::TPopupMenu menu(&form);
    int printed = 0;
    menu.Add("Nyomtatási kép     CTRL+I")->OnClick = [&](ui::TObject*) { ++printed; };
    form.SetPopupMenu(&menu);
    ShowActive(form);
    for (QWidget* target : {static_cast<QWidget*>(&form), static_cast<QWidget*>(label)}) {
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                                target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &click);
        EXPECT_TRUE(menu.Menu().isVisible());
        menu.Menu().actions().first()->trigger();
        menu.Menu().hide();
    }
    EXPECT_EQ(printed, 2);
    form.Hide();
}
