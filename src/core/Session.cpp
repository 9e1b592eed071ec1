#include "core/Session.h"

TSession *Session = nullptr;

TSession::TSession(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("Session"));
}
