#include "grid/GridCsv.h"

#include "grid/Csv.h"
#include "grid/GridModel.h"

QByteArray GridCsv(const TGridModel &model, const QList<int> &columns)
{
    QList<QVariantList> lines;
    QVariantList titles;
    for (int c : columns)
        titles << model.Columns().value(c).title;
    lines << titles;
    for (int r = 0; r < model.rowCount(); ++r) {
        QVariantList fields;
        for (int c : columns)
            fields << model.Typed(r, c);
        lines << fields;
    }
    return Csv::File(lines);
}
