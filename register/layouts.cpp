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
          {"cac0b13d9e3be3d4d07868821169b183aa8b04a69fb5b934161af6a12f6848f0"}}, // version 1
         // Shipped first without a version number.
         {"HejrajzMuv4.rav",
          {"28357ec16a1ec6ef3f7e5b1ba6a3b6d52051eec12b18fb4cf48f3a8d24703400",
           "b65e964215e1ecf9f25eec7ff3e059534a248e10c4f7250dc86defa16cefb315"}},
         {"Parcellak.rav", {"0bd5c6f35a8b945237fd86de4210e33bb0ace616bcc74adfcec2eebac0d6001f"}},
         {"Talajmintak.rav", {"bb46534650a5dbb952a94e9a96c556f92bf5f8e041e04082a43de5ea2aed3cf2"}},
         {"foldhaszntervr.rav",
          {"85e77763e4676c72f522970dd5e341b901d0cdadc6823cc6add08fdc3e41a026"}}});
}

} // namespace reg
