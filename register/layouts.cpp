#include "layouts.h"

#include "platform/report/layouts.h"

namespace reg {

void RegisterLayouts() {
    // The checksums of the versions of each layout shipped before the current one: a file
    // that is one of them is replaced at start-up; any other file is the user's and is kept.
    report::RegisterShippedLayouts(
        "register",
        {{"Tulajdonosok.rav",
          {"ba8e295b5d809524f111506da48e964fc32300d7cfa8876a32fb284b552e2609"}}, // version 1
         {"Tablak.rav",
          {"cac0b13d9e3be3d4d07868821169b183aa8b04a69fb5b934161af6a12f6848f0"}}}); // version 1
}

} // namespace reg
