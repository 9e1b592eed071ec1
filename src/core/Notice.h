#pragma once
// What code below the windows has to tell the user, or ask: it says it here,
// and the window floor decides how it is shown (a message box, or a test's
// script), so the books, stores and files never include a widget.

#include <QString>

#include <functional>

namespace Notice {
using Teller = std::function<void(const QString &text)>;
using Asker = std::function<bool(const QString &caption, const QString &question)>;

// How notices are shown from now on. Until it is said, a notice goes to the
// log and a question is answered No.
void Install(Teller tell, Asker ask);
void Tell(const QString &text);
// True only for Yes.
bool Ask(const QString &caption, const QString &question);
} // namespace Notice
