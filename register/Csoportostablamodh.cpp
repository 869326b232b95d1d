#include "Csoportostablamodh.h"

#include "core/Isnuminth.h"
#include "field_rows.h"
#include "form_layout.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/ui/form_helpers.h"

#include <cmath>
#include <set>

TCsoportosTablamod* CsoportosTablamod = nullptr;

namespace reg {

std::optional<std::string> HectaresToSquareMetres(const std::string& hectares) {
    auto value = sys::tryParseFloat(sys::trim(hectares));
    if (!value)
        return std::nullopt;
    return sys::floatToText(std::round(*value * 10000 * 1e6) / 1e6);
}

} // namespace reg

namespace {

const std::array<const char*, 13> kProperties{
    "Terület :",
    "Ágazat :",
    "Gazdasági év:",
    "Lezárás :",
    "Házi megnevezés :",
    "Másodvetés :",
    "Hasznosítási kód :",
    "KET :",
    "Szaporítóanyag típusa :",
    "Tápanyag-gazdálkodási terv teljesült :",
    "Hozamterv :",
    "Melléktermék/zöldtrágya talajba forgatása :",
    "Megjegyzés :",
};

} // namespace

TCsoportosTablamod::TCsoportosTablamod(db::Session& session) : session_(session) {
    SetCaption("Táblák csoportos módosítása");
    SetClientSize(820, 560);
    SetPosition(ui::poScreenCenter);

    Query1.SQL().Add("SELECT *");
    Query1.SQL().Add("FROM parcellak");
    Query1.SQL().Add("WHERE Aktiv = 'A'");
    Query2.SQL().Add("SELECT *");
    Query2.SQL().Add("FROM kotegyter");
    Query2.SQL().Add("INNER JOIN Akgmuvag");
    Query2.SQL().Add("  ON kotegyter.Akgmuvag = Akgmuvag.Id");
    Query2.SQL().Add("INNER JOIN celprogramok");
    Query2.SQL().Add("  ON kotegyter.Akgkod = celprogramok.Id");
    Query2.SQL().Add("WHERE kotegyter.Deleted = false");
    Query2.SQL().Add("ORDER BY kotegyter.Sorsz");
    Table2.SetTableName("Magfajtak.db");
    Table2.SetIndexName("MagfajtakFIdx");
    Table1.SetTableName("parcellak.DB");

    GroupBox2 = new ui::TGroupBox(this, "Változtatni kívánt tulajdonságok megadása");
    GroupBox2->SetBounds(8, 8, 804, 544);
    const int x = 330;
    for (std::size_t i = 0; i < Ticks.size(); ++i) {
        int top = 24 + static_cast<int>(i) * 28 + (i > 7 ? 100 : 0);
        Ticks[i] = new ui::TCheckBox(GroupBox2, kProperties[i]);
        Ticks[i]->SetBounds(12, top, 310, 20);
    }
    auto top = [&](std::size_t i) { return Ticks[i]->y() - 1; };
    Edit1 = ui::AddEdit(GroupBox2, x, top(0), 100);
    ui::AddLabel(GroupBox2, "ha", x + 106, top(0), 30);
    DBLookupComboBox1 = new ui::TDBLookupComboBox(GroupBox2);
    DBLookupComboBox1->SetBounds(x, top(1), 220, 22);
    DBLookupComboBox1->SetListSource(&DataSource3);
    DBLookupComboBox1->SetKeyField("Faj");
    DBLookupComboBox1->SetListField("Faj");
    Edit2 = ui::AddEdit(GroupBox2, x, top(2), 60, 4);
    CheckBox14 = new ui::TCheckBox(GroupBox2, "igen/nem");
    CheckBox14->SetBounds(x, top(3), 120, 20);
    Edit3 = ui::AddEdit(GroupBox2, x, top(4), 240, 30);
    CheckBox15 = new ui::TCheckBox(GroupBox2, "igen/nem");
    CheckBox15->SetBounds(x, top(5), 120, 20);
    Edit4 = ui::AddEdit(GroupBox2, x, top(6), 60, 5);
    DBGrid2 = new ui::TDBGrid(GroupBox2);
    DBGrid2->SetBounds(x, top(7), 460, 120);
    DBGrid2->SetDataSource(&DataSource2);
    DBGrid2->SetReadOnly(true);
    DBGrid2->SetRowSelect(true);
    DBGrid2->Columns().Add("Sorsz", "Sorsz.", 50);
    DBGrid2->Columns().Add("Ter", "Terület", 60);
    DBGrid2->Columns().Add("Hazimen", "Hazimegnev.", 110);
    DBGrid2->Columns().Add("Megnev", "Művelési ág", 90);
    DBGrid2->Columns().Add("Megnev_1", "Akg célprogram", 130);
    ComboBox1 = new ui::TComboBox(GroupBox2);
    ComboBox1->SetBounds(x, top(8), 160, 22);
    ComboBox1->Items().AddStrings({"vetőmag", "palánta"});
    ComboBox1->SetMaxLength(40);
    CheckBox16 = new ui::TCheckBox(GroupBox2, "igen/nem");
    CheckBox16->SetBounds(x, top(9), 120, 20);
    Edit5 = ui::AddEdit(GroupBox2, x, top(10), 80);
    // The area is typed in hectares: its domain (a positive number) holds in either unit.
    ui::FitToFields(session, "parcellak", {{Edit1, "Ter"}, {Edit2, "Evj"}, {Edit5, "Tervhozam"}});
    ui::AddLabel(GroupBox2, "t", x + 86, top(10), 30);
    CheckBox17 = new ui::TCheckBox(GroupBox2, "igen/nem");
    CheckBox17->SetBounds(x, top(11), 120, 20);
    Edit6 = ui::AddEdit(GroupBox2, x, top(12), 300, 100);
    Button5 = new ui::TButton(GroupBox2, "vissza a táblák kiválasztásához");
    Button5->SetBounds(12, 508, 230, 27);
    Button3 = new ui::TButton(GroupBox2, "mégsem");
    Button3->SetBounds(582, 508, 100, 27);
    Button4 = new ui::TButton(GroupBox2, "rögzítés");
    Button4->SetBounds(692, 508, 100, 27);

    const std::array<QWidget*, 13> values{
        Edit1,   DBLookupComboBox1, Edit2,      CheckBox14, Edit3,      CheckBox15, Edit4,
        DBGrid2, ComboBox1,         CheckBox16, Edit5,      CheckBox17, Edit6};
    for (std::size_t i = 0; i < Ticks.size(); ++i) {
        QWidget* value = values[i];
        value->setEnabled(false);
        Ticks[i]->OnClick = [this, i, value](TObject*) { value->setEnabled(Ticks[i]->Checked()); };
    }

    GroupBox1 = new ui::TGroupBox(this, "Módidsítani kívánt táblák kijelölése");
    GroupBox1->setAutoFillBackground(true);
    GroupBox1->SetBounds(8, 8, 804, 544);
    DBGrid1 = new ui::TDBGrid(GroupBox1);
    DBGrid1->SetBounds(12, 24, 780, 470);
    DBGrid1->SetDataSource(&DataSource1);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetRowSelect(true);
    DBGrid1->SetMultiSelect(true);
    DBGrid1->Columns().Add("Evj", "Gazd.év", 50);
    DBGrid1->Columns().Add("Parcsor", "Parc.ssz.", 60);
    DBGrid1->Columns().Add("Hazmeg", "Hazi megnevezés", 130);
    DBGrid1->Columns().Add("Agazat", "Ágazat", 120);
    DBGrid1->Columns().Add("Ter", "Terület", 80);
    DBGrid1->Columns().Add("Hasznkod", "Haszn.kód", 70);
    DBGrid1->Columns().Add("Tervhozam", "Hozam terv", 70);
    DBGrid1->Columns().Add("Megjegyzes", "Megjegyzés", 150);
    Button1 = new ui::TButton(GroupBox1, "mégsem");
    Button1->SetBounds(582, 508, 100, 27);
    Button2 = new ui::TButton(GroupBox1, "tovább");
    Button2->SetBounds(692, 508, 100, 27);

    OnShow = Handler(&TCsoportosTablamod::FormShow);
    SetKeyPreview(true);
    SetEnterMovesLikeTab(true);
    Button1->OnClick = Handler(&TCsoportosTablamod::Button1Click);
    Button2->OnClick = Handler(&TCsoportosTablamod::Button2Click);
    Button3->OnClick = Handler(&TCsoportosTablamod::Button3Click);
    Button4->OnClick = Handler(&TCsoportosTablamod::Button4Click);
    Button5->OnClick = Handler(&TCsoportosTablamod::Button5Click);
}

void TCsoportosTablamod::FormShow(TObject*) {
    ui::OpenOnFirstActivate(this, {&Table2, &Query2, &Query1});
    GroupBox1->show();
    GroupBox1->raise();
}

void TCsoportosTablamod::Button1Click(TObject*) {
    Close();
}

void TCsoportosTablamod::Button2Click(TObject*) {
    GroupBox1->hide();
}

void TCsoportosTablamod::Button3Click(TObject*) {
    Close();
}

void TCsoportosTablamod::Button5Click(TObject*) {
    GroupBox1->show();
    GroupBox1->raise();
}

// The fields moved to another year keep serials unique there: none of them may meet
// another field's serial of that year, nor one another's.
bool TCsoportosTablamod::YearLeavesSerialsUnique(const std::vector<std::string>& parcIds, int evj) {
    std::set<std::string> moved(parcIds.begin(), parcIds.end());
    std::set<int> serials;
    db::TTable fields(session_, "Check");
    fields.SetTableName("parcellak.DB");
    fields.Open();
    for (fields.First(); !fields.Eof(); fields.Next())
        if (moved.count(fields.FieldByName("Parc_id").AsString()) &&
            !serials.insert(fields.FieldByName("Parcsor").AsInteger()).second)
            return false;
    for (fields.First(); !fields.Eof(); fields.Next())
        if (!moved.count(fields.FieldByName("Parc_id").AsString()) &&
            fields.FieldByName("Evj").AsInteger() == evj &&
            serials.count(fields.FieldByName("Parcsor").AsInteger()))
            return false;
    return true;
}

std::optional<TCsoportosTablamod::Changes>
TCsoportosTablamod::ReadChanges(const std::vector<std::string>& parcIds,
                                const std::vector<std::string>& fieldCodes) {
    auto ticked = [&](std::size_t property) { return Ticks[property - 1]->Checked(); };
    Changes c;
    if (ticked(1)) {
        if (!NumericInt->IsValidReal(Edit1->Text(), "Terület", TNumericInt::Bound::Positive))
            return std::nullopt;
        c.ter = reg::HectaresToSquareMetres(Edit1->Text());
        if (!c.ter) {
            ui::MessageDlg("Kérem adja meg a területet!", ui::mtWarning, ui::mbOK);
            return std::nullopt;
        }
        // Every marked field keeps the rule of a new field: no larger than its land parcels.
        for (const std::string& code : fieldCodes)
            if (!reg::AreaFitsLandParcels(
                    sys::parseFloat(*c.ter),
                    reg::LandParcelsArea(session_, reg::LandParcelsOf(session_, code))))
                return std::nullopt;
    }
    if (ticked(2)) {
        if (DBLookupComboBox1->Text().empty()) {
            ui::MessageDlg("Kérem válassza ki az ágazatot!", ui::mtWarning, ui::mbOK);
            return std::nullopt;
        }
        c.agazat = DBLookupComboBox1->Text();
    }
    if (ticked(3)) {
        std::string year(sys::trim(Edit2->Text()));
        if (!NumericInt->IsValidInteger(year, "Gazdasági év") ||
            !NumericInt->IsValidYear(year, "Gazdasági év"))
            return std::nullopt;
        if (year.empty()) {
            ui::MessageDlg("Kérem adja meg a gazdasági évet!", ui::mtWarning, ui::mbOK);
            return std::nullopt;
        }
        if (!YearLeavesSerialsUnique(parcIds, sys::parseInt(year))) {
            ui::Application->MessageBox("Ez a tábla sorszám már létezik az adott gazdasági évben!",
                                        " Tábla sorszám ütközés!", ui::MB_OK);
            return std::nullopt;
        }
        c.evj = year;
    }
    if (ticked(4))
        c.aktiv = CheckBox14->Checked() ? "N" : "A";
    if (ticked(5))
        c.hazmeg = Edit3->Text();
    if (ticked(6))
        c.masod = CheckBox15->Checked() ? "IGEN" : "NEM";
    if (ticked(7))
        c.hasznkod = Edit4->Text();
    if (ticked(8)) {
        if (Query2.IsEmpty()) {
            ui::MessageDlg("Nincs kiválasztható KET!", ui::mtWarning, ui::mbOK);
            return std::nullopt;
        }
        c.ketid = Query2.FieldByName("Id").AsInteger();
    }
    if (ticked(9))
        c.szaporitotip = ComboBox1->Text();
    if (ticked(10))
        c.tapanytelj = CheckBox16->Checked();
    if (ticked(11)) {
        if (!NumericInt->IsValidFor(Edit5->Text(), "Hozamterv", "parcellak", "Tervhozam"))
            return std::nullopt;
        c.tervhozam = Edit5->Text();
    }
    if (ticked(12))
        c.talajbaszantas = CheckBox17->Checked();
    if (ticked(13))
        c.megjegyzes = Edit6->Text();
    return c;
}

void TCsoportosTablamod::Button4Click(TObject*) {
    std::vector<std::string> parcIds, fieldCodes;
    {
        const db::ControlsHeld held(Query1); // the grid stays on its row
        for (int i = 0; i < DBGrid1->SelectedRows().Count(); ++i) {
            if (!Query1.BookmarkValid(DBGrid1->SelectedRows()[i]))
                continue;
            Query1.GotoBookmark(DBGrid1->SelectedRows()[i]);
            parcIds.push_back(Query1.FieldByName("Parc_id").AsString());
            fieldCodes.push_back(Query1.FieldByName("Parckod").AsString());
        }
    }
    std::optional<Changes> changes = ReadChanges(parcIds, fieldCodes);
    if (!changes)
        return;
    changes_ = *changes;
    {
        db::SessionTransaction transaction(session_);
        for (const std::string& id : parcIds)
            ApplyToField(id);
        transaction.Commit();
    }
    DBGrid1->SelectedRows().Clear();
    Query1.Close();
    Query1.Open();
    GroupBox1->show();
    GroupBox1->raise();
    ui::MessageDlg("A kijelölt táblák módosítása megtörtént.", ui::mtInformation, ui::mbOK);
}

void TCsoportosTablamod::ApplyToField(const std::string& parcId) {
    Table1.SetFilter("Parc_id = " + parcId);
    Table1.SetFiltered(true);
    Table1.Open();
    if (!Table1.IsEmpty()) {
        const Changes& c = changes_;
        Table1.Edit();
        auto text = [&](const char* field, const std::optional<std::string>& value) {
            if (value)
                Table1.FieldByName(field).SetAsString(*value);
        };
        text("Ter", c.ter);
        text("Agazat", c.agazat);
        text("Evj", c.evj);
        text("Aktiv", c.aktiv);
        text("Hazmeg", c.hazmeg);
        text("Masod", c.masod);
        text("Hasznkod", c.hasznkod);
        if (c.ketid)
            Table1.FieldByName("Ketid").SetAsInteger(*c.ketid);
        text("Szaporitotip", c.szaporitotip);
        if (c.tapanytelj)
            Table1.FieldByName("Tapanytelj").SetAsBoolean(*c.tapanytelj);
        text("Tervhozam", c.tervhozam);
        if (c.talajbaszantas)
            Table1.FieldByName("Talajbaszantas").SetAsBoolean(*c.talajbaszantas);
        text("Megjegyzes", c.megjegyzes);
        Table1.Post();
        Table1.FlushBuffers();
    }
    Table1.Close();
}
