#pragma once
// The register forms' shared pieces of layout: the check box, and the KET list with
// its panel of flags (captions and edit boxes: platform/ui form_helpers.h).

#include "platform/ui/form_helpers.h"
#include "platform/ui/vcl.h"

#include <string>

namespace db {
class TDataSource;
}

namespace reg {

struct FieldData;

ui::TCheckBox* PlaceCheckBox(QWidget* parent, const std::string& caption, int left, int top,
                             int width);

// The KET list of a field form with the panel over it that holds the flags and support
// texts of a field under no commitment: the panel shows while "AKG-s tábla" is unticked.
struct KetChoice {
    ui::TDBGrid* grid;
    ui::TPanel* panel;
    ui::TCheckBox* kat;     // "KAT"
    ui::TCheckBox* natura;  // "natúra2000"
    ui::TCheckBox* nitrate; // "nitrátérzékeny"
    ui::TCheckBox* slope;   // "12%-os lejtő"
    ui::TEdit* katText;     // "KAT támogatás"
    ui::TEdit* naturaText;  // "Natura támogatás"

    // The panel over the list while the field is under no commitment.
    void ShowFor(bool commitment) const;
    void Load(const FieldData& data) const;
    void Store(FieldData& data) const;
};
// `suffix` ends every caption (" :" on the modify form).
KetChoice PlaceKetChoice(QWidget* parent, db::TDataSource* kets, int left, int top, int width,
                         int height, const std::string& suffix = {});

} // namespace reg
