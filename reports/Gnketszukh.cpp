#include "Gnketszukh.h"

TGNKetSzuk* GNKetSzuk = nullptr;

TGNKetSzuk::TGNKetSzuk(db::Session&) {
    SetCaption("GNKetSzuk");
}
