#include "reportengine/PrintTable.h"

#include "shell/PublicFunction.h"

bool TPrintTable::Open(const QString &sql, const QString &failureMessage)
{
    written_ = 0;
    if (!RunQuery(query_, sql, failureMessage))
        return false;
    query_.First();
    return true;
}

void TPrintTable::BeginLine()
{
    if (query_.Eof())
        query_.Append();
    else
        query_.Edit();
}

void TPrintTable::EndLine()
{
    query_.Post();
    query_.Next();
    ++written_;
}
