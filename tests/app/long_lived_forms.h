#pragma once
// The globals of the forms that live until the program ends, cleared once a test's
// application (which owns them) is gone.

#include "core/Folap.h"
#include "core/Isnuminth.h"
#include "register/Csoportostablamodh.h"
#include "register/Parckeze.h"
#include "register/Ujtablak.h"
#include "reports/Funch.h"
#include "reports/Gazdnapvalasztoh.h"
#include "reports/Gn0914valasztou.h"
#include "reports/Gn1909vismajoru.h"
#include "reports/Gnketszukh.h"
#include "reports/Gnparcmuvadnyh.h"
#include "reports/Grafikonh.h"

namespace testapp {

inline void ForgetLongLivedForms() {
    Folap1 = nullptr;
    NumericInt = nullptr;
    Parckezeles = nullptr;
    CsoportosTablamod = nullptr;
    GNParMuvNy = nullptr;
    Func = nullptr;
    GazdNaploValaszto = nullptr;
    GN200914 = nullptr;
    GNKetSzuk = nullptr;
    GN1909vismajor = nullptr;
    Form2 = nullptr;
    grafikon = nullptr;
}

} // namespace testapp
