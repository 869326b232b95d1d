#pragma once
// A form of the program's start-up set that the 2009-2014 diary keeps for its KET areas;
// it holds nothing and is never shown.

#include "platform/db/session.h"
#include "platform/ui/vcl.h"

class TGNKetSzuk : public ui::TForm {
public:
    explicit TGNKetSzuk(db::Session& session);
};
extern TGNKetSzuk* GNKetSzuk;
