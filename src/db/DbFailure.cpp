#include "db/DbFailure.h"

#include "core/FileFailure.h"

#include <cerrno>

EDatabaseError::EDatabaseError(const QString &message, TDbFailure kind)
    : std::runtime_error(message.toStdString()), kind_(kind)
{
}

QString FailureReason(TDbFailure kind)
{
    switch (kind) {
    case TDbFailure::Other:
        return QString();
    case TDbFailure::ConnectionLost:
        return QStringLiteral("与数据库服务器的连接已中断");
    case TDbFailure::Unreachable:
        return QStringLiteral("无法连接到数据库服务器，请检查服务器地址和端口，以及服务器是否已启动");
    case TDbFailure::LoginRefused:
        return QStringLiteral("数据库服务器拒绝登录，请检查用户名和密码");
    case TDbFailure::NotPostgres:
        return QStringLiteral("该地址和端口上不是 PostgreSQL 数据库服务器，请检查服务器地址和端口");
    case TDbFailure::DatabaseMissing:
        return QStringLiteral("数据库服务器上没有这个数据库");
    case TDbFailure::NewerBooks:
        return QStringLiteral("帐套由较新版本的程序建立，请先升级本程序");
    case TDbFailure::NotOurBooks:
        return QStringLiteral("这不是本程序的帐套");
    case TDbFailure::Locked:
        return QStringLiteral("帐套正被另一个程序使用，请稍后再试");
    case TDbFailure::DiskFull:
        return TFileFailure::Words(ENOSPC);
    case TDbFailure::ValueRefused:
        return QStringLiteral("有数据无法保存");
    case TDbFailure::Conflict:
        return QStringLiteral("其他电脑正在同时修改相同的数据，请再试一次");
    }
    return QString();
}

QString EDatabaseError::Reason() const
{
    // A message of our own already says why; the engine's words are its own.
    const QString own = Message().trimmed();
    const QString general = FailureReason(kind_);
    if (kind_ == TDbFailure::Other || kind_ == TDbFailure::ValueRefused || kind_ == TDbFailure::NewerBooks)
        return own.isEmpty() ? general : own;
    return general;
}
