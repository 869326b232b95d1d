// Owners: the new-owner dialog's codes and checks, and the owners register's modify and
// delete, with the codes never handed out again while a land parcel names them.

#include "register/Tulajdh.h"
#include "register/Ujtulajok.h"
#include "register/codes.h"
#include "register_fixture.h"

#include <gtest/gtest.h>
#include <set>

namespace {

using regtest::RegisterTest;
using Owners = RegisterTest;

// Plays the new-owner dialog: name, address, telephone, "Bevitel".
void StoreOwner(testui::ScriptedForms& forms, const std::string& name, const std::string& address,
                const std::string& phone = "") {
    forms.On<Tujtulaj>([=](Tujtulaj& d) {
        d.Edit3->SetText(name);
        d.Edit2->SetText(address);
        d.Edit1->SetText(phone);
        d.Button1->click();
    });
}

void WithRegister(db::Session& session, testui::ScriptedForms& forms,
                  const std::function<void(TTulajd&)>& body) {
    forms.On<TTulajd>([&](TTulajd& f) {
        body(f);
        if (f.GroupBox1->isVisibleTo(&f))
            f.Button7->click(); // the register waits while the box is open
        if (f.ModalResult() == ui::mrNone)
            f.Button3->click();
    });
    ui::ShowModalForm(Tulajd, session);
}

// Moves the register to the owner with that code.
void SelectOwner(TTulajd& f, const std::string& code) {
    ASSERT_TRUE(f.Table1.Locate("Tulkod", {db::Value(code)}));
}

TEST_F(Owners, TheFirstOwnersGetTheCodesFromOneHundredThousand) {
    EXPECT_EQ(reg::NextOwnerCode(session), "100000");
    StoreOwner(forms, "Kiss Ádám", "Eger", "06-30-1234567");
    StoreOwner(forms, "O'Neil Mária", "Szolnok");
    ui::ShowModalForm(ujtulaj, session);
    ui::ShowModalForm(ujtulaj, session);
    EXPECT_EQ(Column("tulaj", "Tulkod"), (std::vector<std::string>{"100000", "100001"}));
    EXPECT_EQ(Column("tulaj", "Tulnev"), (std::vector<std::string>{"Kiss Ádám", "O'Neil Mária"}));
    EXPECT_EQ(Column("tulaj", "Tel"), (std::vector<std::string>{"06-30-1234567", ""}));
}

TEST_F(Owners, NameAndAddressAreRequired) {
    dialogs.Expect("Kérem a következöket megadni: Név, Cím!")
        .Expect("Kérem a következöket megadni: Név, Cím!");
    std::string created = "?";
    forms.On<Tujtulaj>([&](Tujtulaj& d) {
        d.Edit3->SetText("Kiss Ádám");
        d.Button1->click();
        d.Edit3->SetText("");
        d.Edit2->SetText("Eger");
        d.Button1->click();
        EXPECT_EQ(d.ModalResult(), ui::mrNone);
        created = d.CreatedOwnerName;
        d.Button2->click();
    });
    ui::ShowModalForm(ujtulaj, session);
    EXPECT_TRUE(Column("tulaj", "Tulkod").empty());
    EXPECT_EQ(created, "");
    EXPECT_EQ(dialogs.Shown().at(0).caption, "");
    dialogs.VerifyDone();
}

TEST_F(Owners, AnOwnerWithAnActiveLandParcelCannotBeDeleted) {
    regtest::AddOwner(session, "100000", "Kiss Ádám");
    regtest::AddParcel(session, {.tulkod = "100000"});
    regtest::AddParcel(session, {.tulkod = "100000", .aktiv = 0});
    dialogs.Expect("A tulajdonos nem törölhető! Valószínű tábla van hozzárendelve.");
    WithRegister(session, forms, [](TTulajd& f) {
        EXPECT_FALSE(f.CanDeleteOwner("100000"));
        f.Button4->click();
    });
    EXPECT_EQ(Column("tulaj", "Tulkod"), std::vector<std::string>{"100000"});
    const ui::Message& shown = dialogs.Shown().at(0);
    EXPECT_EQ(shown.type, ui::mtConfirmation);
    EXPECT_EQ(shown.buttons, std::vector<ui::TMsgDlgBtn>{ui::mbOK});
    dialogs.VerifyDone();
}

TEST_F(Owners, ADeletedOwnersCodeIsNotHandedOutWhileAnInactiveLandParcelNamesIt) {
    regtest::AddOwner(session, "100000", "Kiss Ádám");
    regtest::AddOwner(session, "100001", "Nagy Éva");
    int kept = regtest::AddParcel(session, {.tulkod = "100001", .aktiv = 0});
    WithRegister(session, forms, [](TTulajd& f) {
        SelectOwner(f, "100001");
        EXPECT_TRUE(f.CanDeleteOwner("100001"));
        f.Button4->click(); // deleted at once, without a question
    });
    EXPECT_EQ(Column("tulaj", "Tulkod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(ParcelField(kept, "Tulkod"), "100001");

    StoreOwner(forms, "Új Gazda", "Eger");
    ui::ShowModalForm(ujtulaj, session);
    EXPECT_EQ(Column("tulaj", "Tulkod"), (std::vector<std::string>{"100000", "100002"}));
}

TEST_F(Owners, CodesThatAreNoNumberArePassedOver) {
    regtest::AddOwner(session, "ABC", "Régi");
    regtest::AddOwner(session, "100004", "Kiss Ádám");
    regtest::AddParcel(session, {.tulkod = "x"});
    EXPECT_EQ(reg::NextOwnerCode(session), "100005");
}

TEST_F(Owners, ModifyWritesTheOwnerTheGroupWasOpenedOn) {
    regtest::AddOwner(session, "100000", "Kiss Ádám", "Eger", "1");
    regtest::AddOwner(session, "100001", "Nagy Éva", "Pécs", "2");
    dialogs.Expect("Kérem adja meg a nevet és a címet!");
    WithRegister(session, forms, [](TTulajd& f) {
        EXPECT_FALSE(f.GroupBox1->Visible());
        SelectOwner(f, "100001");
        f.DBGrid1DblClick(f.DBGrid1); // as "Módosítás"
        EXPECT_TRUE(f.GroupBox1->Visible());
        EXPECT_EQ(f.Edit1->Text(), "Nagy Éva");
        EXPECT_EQ(f.Edit2->Text(), "Pécs");
        EXPECT_EQ(f.Edit3->Text(), "2");
        f.Edit2->SetText("");
        f.Button6->click(); // refused, the group stays
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.Edit1->SetText("Nagy-Kovács Éva");
        f.Edit2->SetText("Pécs, Fő tér 1.");
        f.Edit3->SetText("");
        SelectOwner(f, "100000"); // the list moved meanwhile
        f.Button6->click();
        EXPECT_FALSE(f.GroupBox1->Visible());
    });
    EXPECT_EQ(Column("tulaj", "Tulnev"),
              (std::vector<std::string>{"Kiss Ádám", "Nagy-Kovács Éva"}));
    EXPECT_EQ(Column("tulaj", "Cim"), (std::vector<std::string>{"Eger", "Pécs, Fő tér 1."}));
    EXPECT_EQ(Column("tulaj", "Tel"), (std::vector<std::string>{"1", ""}));
    EXPECT_EQ(dialogs.Shown().at(0).type, ui::mtWarning);
    dialogs.VerifyDone();
}

// The land parcel forms choose an owner by name: a name belongs to one owner only, a new
// one or one renamed; an owner may keep its own name.
TEST_F(Owners, ANameBelongsToOneOwnerOnly) {
    regtest::AddOwner(session, "100000", "Második Tulaj", "Eger", "1");
    regtest::AddOwner(session, "100001", "Nagy Éva", "Pécs", "2");
    const std::string taken = "Ilyen nevű tulajdonos már van!";
    dialogs.ExpectContaining(taken).ExpectContaining(taken);
    forms.On<Tujtulaj>([](Tujtulaj& d) {
        d.Edit3->SetText("második tulaj ");
        d.Edit2->SetText("Szeged");
        d.Button1->click();
        EXPECT_EQ(d.ModalResult(), ui::mrNone);
        d.Button2->click();
    });
    ui::ShowModalForm(ujtulaj, session);
    WithRegister(session, forms, [](TTulajd& f) {
        SelectOwner(f, "100001");
        f.Button1->click();
        f.Edit1->SetText("Második Tulaj");
        f.Button6->click();
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.Button7->click();
        SelectOwner(f, "100000");
        f.Button1->click();
        f.Edit2->SetText("Eger, Fő u. 1.");
        f.Button6->click();
        EXPECT_FALSE(f.GroupBox1->Visible());
    });
    EXPECT_EQ(Column("tulaj", "Tulnev"), (std::vector<std::string>{"Második Tulaj", "Nagy Éva"}));
    EXPECT_EQ(Column("tulaj", "Cim"), (std::vector<std::string>{"Eger, Fő u. 1.", "Pécs"}));
    dialogs.VerifyDone();
}

TEST_F(Owners, AnEmptyRegisterNeitherModifiesNorCreatesAnOwner) {
    WithRegister(session, forms, [](TTulajd& f) {
        f.Button1->click();
        EXPECT_FALSE(f.GroupBox1->Visible());
        f.Edit1->SetText("Senki");
        f.Edit2->SetText("Sehol");
        f.Button6->click();
        f.Button4->click();
    });
    EXPECT_TRUE(Column("tulaj", "Tulkod").empty());
}

TEST_F(Owners, MegsemHidesTheGroupAndNewOwnerShowsInTheList) {
    regtest::AddOwner(session, "100000", "Kiss Ádám");
    StoreOwner(forms, "Bakos Éva", "Vác");
    WithRegister(session, forms, [](TTulajd& f) {
        f.Button1->click();
        f.Edit1->SetText("más");
        f.Button7->click();
        EXPECT_FALSE(f.GroupBox1->Visible());
        f.Button5->click();
        EXPECT_EQ(f.Table1.RecordCount(), 2);
        f.Table1.First();
        EXPECT_EQ(f.Table1.FieldByName("Tulnev").AsString(), "Bakos Éva"); // name order
    });
    EXPECT_EQ(Column("tulaj", "Tulnev"), (std::vector<std::string>{"Kiss Ádám", "Bakos Éva"}));
}

TEST_F(Owners, KeysOfTheRegister) {
    regtest::AddOwner(session, "100000", "Kiss Ádám");
    WithRegister(session, forms, [](TTulajd& f) {
        QApplication::setActiveWindow(&f);
        f.DBGrid1->SetFocus();
        Key(f.DBGrid1, Qt::Key_M, Qt::ControlModifier);
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.Button7->click();
        f.DBGrid1->SetFocus();
        Key(f.DBGrid1, Qt::Key_T, Qt::ControlModifier); // no land parcel: deleted
        EXPECT_TRUE(f.Table1.IsEmpty());
        Key(f.DBGrid1, Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(f.ModalResult(), ui::mrCancel);
    });
}

} // namespace

namespace {

TEST_F(Owners, ANameOrAddressOfBlanksOnlyIsRefused) {
    regtest::AddOwner(session, "100000", "Kiss Ádám", "Eger");
    dialogs.Expect("Kérem a következöket megadni: Név, Cím!")
        .Expect("Kérem a következöket megadni: Név, Cím!")
        .Expect("Kérem adja meg a nevet és a címet!");
    forms.On<Tujtulaj>([](Tujtulaj& d) {
        d.Edit3->SetText("   ");
        d.Edit2->SetText("Eger");
        d.Button1->click();
        d.Edit3->SetText("Nagy Éva");
        d.Edit2->SetText(" \t ");
        d.Button1->click();
        EXPECT_EQ(d.ModalResult(), ui::mrNone);
        d.Button2->click();
    });
    ui::ShowModalForm(ujtulaj, session);
    WithRegister(session, forms, [](TTulajd& f) {
        f.Button1->click();
        f.Edit2->SetText("  ");
        f.Button6->click();
        EXPECT_TRUE(f.GroupBox1->isVisibleTo(&f));
    });
    EXPECT_EQ(Column("tulaj", "Tulkod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("tulaj", "Cim"), std::vector<std::string>{"Eger"});
    dialogs.VerifyDone();
}

TEST_F(Owners, TheEditsHoldNoMoreThanTheirFields) {
    forms.On<Tujtulaj>([](Tujtulaj& d) {
        EXPECT_EQ(d.Edit3->maxLength(), 50);
        EXPECT_EQ(d.Edit2->maxLength(), 60);
        EXPECT_EQ(d.Edit1->maxLength(), 20);
        Type(d.Edit3, std::string(55, 'n'));
        d.Edit2->SetText("Eger");
        d.Button1->click();
    });
    ui::ShowModalForm(ujtulaj, session);
    EXPECT_EQ(Column("tulaj", "Tulnev"), std::vector<std::string>{std::string(50, 'n')});
    WithRegister(session, forms, [](TTulajd& f) {
        EXPECT_EQ(f.Edit1->maxLength(), 50);
        EXPECT_EQ(f.Edit2->maxLength(), 60);
        EXPECT_EQ(f.Edit3->maxLength(), 20);
    });
}

TEST_F(Owners, TheEditingGroupHidesTheGridBehindIt) {
    for (int i = 0; i < 12; ++i)
        regtest::AddOwner(session, std::to_string(100000 + i), "Tulajdonos " + std::to_string(i),
                          std::string(40, 'W'));
    WithRegister(session, forms, [](TTulajd& f) {
        f.Button1->click();
        ASSERT_TRUE(f.GroupBox1->isVisibleTo(&f));
        EXPECT_TRUE(f.GroupBox1->autoFillBackground());
        f.resize(f.sizeHint().expandedTo(QSize(640, 400)));
        // A part of the group with no control on it, over rows of the grid: one colour.
        const QImage image = f.Client()->grab().toImage();
        const QRect free(f.GroupBox1->geometry().topLeft() + QPoint(280, 118), QSize(90, 24));
        ASSERT_TRUE(f.DBGrid1->geometry().contains(free));
        std::set<QRgb> colours;
        for (int y = free.top(); y <= free.bottom(); ++y)
            for (int x = free.left(); x <= free.right(); ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_EQ(colours.size(), 1u);
        f.Button7->click();
    });
}

} // namespace
