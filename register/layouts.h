#pragma once
// The register's report layouts (register/layouts/*.rav), shipped with the program and
// written beside a database.

namespace reg {

// Registers the register's layouts as built-in layouts (start-up calls it once, before
// the built-in layouts are written into the working directory).
void RegisterLayouts();

} // namespace reg
