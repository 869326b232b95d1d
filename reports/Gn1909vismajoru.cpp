#include "Gn1909vismajoru.h"

TGN1909vismajor* GN1909vismajor = nullptr;

TGN1909vismajor::TGN1909vismajor(db::Session& session) : session_(session) {
    SetCaption("GN1909vismajor");
    for (const char* line :
         {"SELECT parcellak.Parckod,parcellak.Evj,parcellak.Parcsor, parcellak.Ter, "
          "Vismajor.Parcid, Vismajor.Id, Vismajor.Vister, Vismajor.Bejido, Vismajor.Visok, "
          "Vismajor.Megjegy, Vismajor.Deleted",
          "FROM Vismajor", "   INNER JOIN parcellak",
          "   ON  (Vismajor.Parcid = parcellak.Parckod)", "WHERE  Vismajor.Deleted = false",
          "ORDER BY parcellak.Evj,parcellak.Parcsor,Vismajor.Bejido"})
        Query1.SQL().Add(line);
    Query1.AddCalcField("tabter", db::FieldType::Number);
    Query1.OnCalcFields = [this](db::TDataSet& rows) { Query1CalcFields(rows); };
}

// The field's area in hectares, unrounded.
void TGN1909vismajor::Query1CalcFields(db::TDataSet& DataSet) {
    DataSet.FieldByName("tabter").SetAsFloat(DataSet.FieldByName("Ter").AsFloat() * 0.0001);
}
