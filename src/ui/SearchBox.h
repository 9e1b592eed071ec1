#pragma once
// An editable list used to search: what the user types stays as typed (a part
// of a name finds every name holding it), and the list's names are offered in
// a popup rather than completed into the box.

class QComboBox;

void MakeSearchBox(QComboBox *box);
