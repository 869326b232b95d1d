#pragma once
// "Parcellák szűkítése listázáshoz": the plant-protection observation sheet.

#include "platform/db/session.h"

#include <string>

// Opens the observation sheet's condition form modally; a non-empty projectFile replaces
// the project file of its report ("09GN09Novvedmegf.rav" for the 2009-2014 diary).
void OpenObservationSheet(db::Session& session, const std::string& projectFile = {});
