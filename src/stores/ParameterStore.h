#pragma once
// The one door through which the three parameter lists (收支种类, 款项类别,
// 凭证) are written. Bills keep the text they were saved with.

#include <QString>
#include <QStringList>

class TParameterStore {
public:
    // Gives the new ParameterIndex, 0 when nothing was saved.
    static int Add(int type, const QString &value);
    static bool Change(int parameterIndex, const QString &value);
    static bool Delete(int parameterIndex);

    // Reads
    // The ParameterIndex of that value in the list, 0 for none, -1 when the
    // query failed (its message shown).
    static int IndexOf(int type, const QString &value);
    // Reads. The values of one list (type 1 收支种类, 2 款项类别, 3 凭证), as the
    // books give them; false when they could not be read (failureMessage said).
    static bool Values(int type, QStringList &values, const QString &failureMessage);
};
