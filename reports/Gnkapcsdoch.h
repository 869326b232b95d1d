#pragma once
// "Kapcsolódó dokumentumok": the register of the diary's remarks.

#include "platform/db/session.h"

// Opens the remarks register modally, nothing set on it.
void OpenDiaryRemarks(db::Session& session);
