#pragma once
// "Művelethez felhasznált anyagok módosítása": the material uses of one recorded operation.

#include "platform/db/session.h"
#include "platform/sys/datetime.h"

#include <functional>
#include <string>

// Opens the material-use modifier over the operation modifier: the uses of operationCode,
// with operationDate giving the modifier's date as it stands (read whenever it is needed).
void OpenMaterialUseModifier(db::Session& session, const std::string& operationCode,
                             std::function<sys::DateTime()> operationDate);
