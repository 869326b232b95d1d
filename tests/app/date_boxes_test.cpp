// Every date box of every form: a typed impossible date or an emptied box is never read as
// another date (nor as 30 December 1899) but refused with a message naming the box; a
// typed real date is the value.

#include "core/Isnuminth.h"
#include "core/fresh_database.h"
#include "operations/Agazatimuvadath.h"
#include "operations/Anyagfelv.h"
#include "operations/Felhanymodh.h"
#include "operations/Legeltetesh.h"
#include "operations/Munkautalvh.h"
#include "operations/Muvadatf.h"
#include "operations/Muvmod.h"
#include "platform/sys/conversion_error.h"
#include "platform/ui/picker.h"
#include "register/Csoportostablamodh.h"
#include "register/Dolvarenp.h"
#include "register/Parcmodh.h"
#include "register/Talajmintabevh.h"
#include "register/Talajmintalisth.h"
#include "register/TalamintaKeth.h"
#include "register/Ujparcella.h"
#include "register/Ujtablak.h"
#include "reports/Elvmuvlista.h"
#include "reports/Gepmuvlekerh.h"
#include "reports/Gnkapcsdoch.h"
#include "reports/Gnparszukh.h"
#include "reports/Permnaploszukh.h"
#include "resources/Csapadekh.h"
#include "resources/Fogalomh.h"
#include "resources/Gazolajszlaosszh.h"
#include "resources/Gepjavitash.h"
#include "resources/J05u.h"
#include "resources/Keszletkezelesu.h"
#include "resources/Keszlisth.h"
#include "resources/Novvedmegfh.h"
#include "resources/Szaktanh.h"
#include "resources/Vismajoru.h"
#include "support/ui_test.h"

#include <QLineEdit>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

using testing::HasSubstr;
using Maker = std::function<std::unique_ptr<ui::TForm>(db::Session&)>;

template <class F>
Maker Of() {
    return [](db::Session& session) { return std::make_unique<F>(session); };
}

class DateBoxes : public testui::UiTest {
protected:
    DateBoxes() { core::CreateFreshDatabase(session); }

    static void TypeOver(ui::TDateTimePicker* picker, const std::string& text) {
        picker->Editor().selectAll();
        if (text.empty())
            Key(&picker->Editor(), ::Qt::Key_Backspace);
        else
            Type(&picker->Editor(), text);
    }
    // The message reading the box gives; "" when it gives a date.
    static std::string Refusal(ui::TDateTimePicker* picker) {
        try {
            picker->Date();
        } catch (const sys::ConversionError& error) {
            return error.what();
        }
        return "";
    }

    db::Session session{std::filesystem::current_path()};
    ui::OwnedForm<TNumericInt> numbers{NumericInt, session};
};

TEST_F(DateBoxes, EveryDateBoxRefusesAnImpossibleOrEmptiedDateAndKeepsATypedOne) {
    const std::vector<Maker> makers = {Of<TTalajmintalist>(),
                                       Of<TUjtabla>(),
                                       Of<TForm2>(),
                                       Of<TTalajmintabev>(),
                                       Of<TTalamintaKet>(),
                                       Of<TParcmod>(),
                                       Of<TUjparcellaF>(),
                                       Of<TCsoportosTablamod>(),
                                       Of<Tkeszletkezeles>(),
                                       Of<TSzaktan>(),
                                       Of<TKeszlist>(),
                                       Of<TGepjavitas>(),
                                       Of<Tvismajor>(),
                                       Of<TJ05>(),
                                       Of<TGazolajszlaossz>(),
                                       Of<TNovvedmegf>(),
                                       Of<TCsapadek>(),
                                       Of<TForgalom>(),
                                       Of<TMuvModo>(),
                                       Of<TMunkautalvany>(),
                                       Of<TAgazatimuvadat>(),
                                       Of<TMuvadat>(),
                                       Of<TLegeltetes>(),
                                       Of<TAnyagfel>(),
                                       Of<Tpermnaploszuk>(),
                                       Of<TGNKapcsdoc>(),
                                       Of<Telvmuvlist>(),
                                       Of<TGNParSzuk>(),
                                       Of<TGepmuvleker>(),
                                       [](db::Session& s) {
                                           return std::make_unique<TFelhAnyMod>(
                                               s, [] { return sys::today(); });
                                       }};
    int boxes = 0;
    for (const Maker& make : makers) {
        std::unique_ptr<ui::TForm> form = make(session);
        form->SetKeyPreview(false); // the form's own keys want its tables open
        for (QWidget* child : form->findChildren<QWidget*>()) {
            auto* picker = dynamic_cast<ui::TDateTimePicker*>(child);
            if (!picker)
                continue;
            SCOPED_TRACE(testui::ClassName(typeid(*form)) + " '" + picker->BoxName() + "'");
            for (QWidget* w = picker; w; w = w->parentWidget())
                w->setEnabled(true);
            picker->SetChecked(true);
            const std::string named = "A(z) '" + picker->BoxName() + "' értéke";
            for (const char* impossible : {"2011. 02. 30.", "2024.13.45", "202"}) {
                TypeOver(picker, impossible);
                EXPECT_EQ(Refusal(picker), named + " ('" + impossible + "') nem érvényes dátum !");
                EXPECT_EQ(picker->Editor().text().toStdString(), impossible); // kept as typed
            }
            TypeOver(picker, "");
            EXPECT_THAT(Refusal(picker), HasSubstr(named + " üres"));
            TypeOver(picker, "2011. 02. 28.");
            EXPECT_EQ(Refusal(picker), "");
            EXPECT_EQ(picker->Date(), sys::encodeDate(2011, 2, 28));
            ++boxes;
        }
    }
    EXPECT_GE(boxes, 40);
}

// The box is named by the label in front of it.
TEST_F(DateBoxes, ABoxIsNamedByItsLabel) {
    TCsapadek rainfall(session);
    EXPECT_EQ(rainfall.DateTimePicker1->BoxName(), "Dátum");
    TParcmod field(session);
    EXPECT_EQ(field.Side.DateTimePicker1->BoxName(), "Kezdete");
    EXPECT_EQ(field.Side.DateTimePicker2->BoxName(), "Vége");
    Tvismajor cases(session);
    EXPECT_EQ(cases.DateTimePicker1->BoxName(), "bejelenté sidőpontja");
}

} // namespace
