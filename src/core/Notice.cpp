#include "core/Notice.h"

#include <QDebug>

namespace {
struct Shown {
    Notice::Teller tell;
    Notice::Asker ask;
};

Shown &Current()
{
    static Shown shown;
    return shown;
}
} // namespace

void Notice::Install(Teller tell, Asker ask)
{
    Current() = Shown{std::move(tell), std::move(ask)};
}

void Notice::Tell(const QString &text)
{
    if (Current().tell)
        Current().tell(text);
    else
        qWarning().noquote() << text;
}

bool Notice::Ask(const QString &caption, const QString &question)
{
    if (Current().ask)
        return Current().ask(caption, question);
    qWarning().noquote() << caption << question << "(No)";
    return false;
}
