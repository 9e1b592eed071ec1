#pragma once
// The one door through which the three parameter lists (收支种类, 款项类别,
// 凭证) are written. Bills keep the text they were saved with.

#include <QString>

class TParameterStore {
public:
    // Gives the new ParameterIndex, 0 when nothing was saved.
    static int Add(int type, const QString &value);
    static bool Change(int parameterIndex, const QString &value);
    static bool Delete(int parameterIndex);
};
