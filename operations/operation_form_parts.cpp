#include "operation_form_parts.h"

#include "core/catalogue.h"
#include "platform/sys/numbers.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/form.h"
#include "resources/Szemelyh.h"

namespace ops {

void AddWorker(db::TTable& workers, std::int64_t szid, const std::string& muvkod) {
    workers.Append();
    workers.FieldByName("Szemkod").SetAsInteger(szid);
    workers.FieldByName("Muvkod").SetAsString(muvkod);
    workers.Post();
}

void RemoveWorker(db::TTable& workers, std::int64_t munkId) {
    workers.SetFilter("Munk_id = " + sys::intToText(munkId));
    workers.SetFiltered(true);
    if (!workers.IsEmpty())
        workers.Delete();
    workers.SetFiltered(false);
}

bool AddChosenWorker(db::TTable& workers, db::TTable& persons, const std::string& muvkod) {
    if (!persons.Active() || persons.IsEmpty())
        return false;
    AddWorker(workers, persons.FieldByName("Szid").AsInteger(), muvkod);
    return true;
}

bool RemoveChosenWorker(db::TTable& workers, db::TDataSet& shown) {
    if (!shown.Active() || shown.IsEmpty())
        return false;
    RemoveWorker(workers, shown.FieldByName("Munk_id").AsInteger());
    return true;
}

void AddEmployees(db::Session& session, db::TTable& persons) {
    ui::ShowModalForm(Szemelyek, session);
    if (persons.Active())
        persons.Refresh();
}

namespace {

void ShowBox(ui::TGroupBox& box, const char* caption) {
    box.SetCaption(caption);
    box.Show();
    box.BringToFront();
}

} // namespace

void StartNewWaterPoint(db::TTable& points, ui::TGroupBox& box) {
    points.Append();
    points.FieldByName("Deleted").SetAsBoolean(false);
    ShowBox(box, "Vízkivételi hely létrehozása");
}

bool StartWaterPointEdit(db::TTable& points, ui::TGroupBox& box) {
    if (!points.Active() || points.IsEmpty())
        return false;
    points.Edit();
    ShowBox(box, "Vízkivételi hely módosítása");
    return true;
}

void PostWaterPoint(db::TTable& points, ui::TGroupBox& box,
                    std::initializer_list<ui::TDBEdit*> edits) {
    for (ui::TDBEdit* edit : edits)
        if (edit->Modified())
            edit->UpdateRecord();
    points.Post();
    box.Hide();
}

void CancelWaterPoint(db::TTable& points, ui::TGroupBox& box) {
    points.Cancel();
    box.Hide();
}

void RemoveWaterPoint(db::TTable& points) {
    if (!points.Active() || points.IsEmpty())
        return;
    points.Edit();
    points.FieldByName("Deleted").SetAsBoolean(true);
    points.Post();
}

void ShowExtraValue(const ExtraValueBoxes& boxes, int extra) {
    if (extra == 1) {
        boxes.caption->SetCaption(boxes.depthCaption);
        boxes.unit->SetCaption("cm");
    } else if (extra == 2 || extra == 3) {
        boxes.caption->SetCaption("Hozam :");
        boxes.unit->SetCaption("t/ha");
    }
    // The value goes into the depth (a whole number of cm) or into the yield.
    boxes.value->SetDomain(core::FieldDomain("ElvMuv", extra == 1 ? "Szantm" : "Hozam"));
    const bool value = extra >= 1 && extra <= 3;
    for (ui::TControl* control :
         std::initializer_list<ui::TControl*>{boxes.caption, boxes.value, boxes.unit})
        control->SetVisible(value);
    boxes.byProductCaption->SetVisible(extra == 2);
    boxes.byProduct->SetVisible(extra == 2);
}

} // namespace ops
