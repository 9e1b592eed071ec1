#include "core/FileFailure.h"

#include <cerrno>
#include <cstring>

QString TFileFailure::Words(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("磁盘已满，请腾出空间后再试");
    case EDQUOT:
        return QStringLiteral("磁盘配额已用完，请腾出空间后再试");
    case EFBIG:
        return QStringLiteral("文件超出了磁盘允许的大小");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有访问权限");
    case EROFS:
        return QStringLiteral("磁盘或文件只读，不能写入");
    case ENOENT:
        return QStringLiteral("文件或文件夹不存在");
    case ENOTDIR:
        return QStringLiteral("路径中有一项不是文件夹");
    case EISDIR:
        return QStringLiteral("所选的是文件夹，不是文件");
    case ELOOP:
        return QStringLiteral("符号链接循环或层数过多");
    case ENAMETOOLONG:
        return QStringLiteral("文件名或路径过长");
    case EEXIST:
        return QStringLiteral("文件已存在");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("文件正被其他程序使用");
    case EIO:
        return QStringLiteral("磁盘读写出错，磁盘可能已损坏或已拔出");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("同时打开的文件过多");
    case ENOMEM:
        return QStringLiteral("内存不足");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("设备不存在或未就绪");
    case EXDEV:
        return QStringLiteral("不能在不同的磁盘之间改名");
    case ESTALE:
        return QStringLiteral("网络上的文件已失效");
    default:
        break;
    }
    return QStringLiteral("系统错误：") + QString::fromLocal8Bit(std::strerror(errorNumber));
}

QString TFileFailure::Cause(int errorNumber)
{
    return Words(errorNumber) + QStringLiteral("（错误号 %1）").arg(errorNumber);
}

QString TFileFailure::Text(const QString &what, int errorNumber)
{
    return what + QStringLiteral("：") + Cause(errorNumber);
}
