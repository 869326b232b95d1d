#pragma once
// The KET-area sheets of the 2009-2014 diary (GN-02 arable, GN-03 grassland, GN-04
// plantation) with their field rows: the data sets and connections the selector form
// carries for them, gathered in one part of it.

#include "platform/db/session.h"

class Gn0914KetSheets {
public:
    explicit Gn0914KetSheets(db::Session& session);
    ~Gn0914KetSheets();
    Gn0914KetSheets(const Gn0914KetSheets&) = delete;
    Gn0914KetSheets& operator=(const Gn0914KetSheets&) = delete;

    void FormShow();  // the selector is shown: opens what stays open while it is
    void FormClose(); // the selector closes

    void PrintArable();     // "AKG - SZÁNTÓ"
    void PrintGrassland();  // "AKG - GYEP"
    void PrintPlantation(); // "AKG - ÜLTETVÉNY"

private:
    db::Session& session_;
};
