#include "ui/SearchBox.h"

#include <QComboBox>
#include <QCompleter>

void MakeSearchBox(QComboBox *box)
{
    QCompleter *completer = box->completer();
    if (!completer)
        return;   // not editable
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
}
