#pragma once
// "Gazdálkodási Napló Címlap": the cover page of the farming diary.

#include "platform/db/session.h"

// Opens the cover form modally. With only2009 its 2004-2009 print button is hidden, so
// only the 2009-2014 cover ("09GN01Cim.rav") is offered; otherwise it shows as created.
void OpenDiaryCover(db::Session& session, bool only2009);
