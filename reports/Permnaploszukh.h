#pragma once
// "Permetezési napló feltételei": the conditions of the spray log.

#include "platform/db/session.h"

#include <string>

// Opens the spray log's conditions form modally; a non-empty projectFile replaces the
// project file of its sheet report ("09GN10Permetez.rav" for the 2009-2014 diary).
void OpenSprayLogConditions(db::Session& session, const std::string& projectFile = {});
