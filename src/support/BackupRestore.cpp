#include "support/BackupRestore.h"

#include "ui/BackgroundWork.h"
#include "core/Clock.h"
#include "db/DataSource.h"
#include "ui/Dialogs.h"
#include "core/Session.h"
#include "core/NumberTexts.h"
#include "support/BooksCopy.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

const QString TBackupRestore::Filter = QStringLiteral("Mdb Files (*.mdb *.MDB)");

QString TBackupRestore::ProposedName()
{
    return QStringLiteral("Mirelo进销存") + DateText(Clock::Today()) + QStringLiteral(".mdb");
}

void TBackupRestore::Save()
{
    QString file = Dialogs::GetSaveFileName(QStringLiteral("备份数据"), QDir(Dialogs::StartFolder()).filePath(ProposedName()),
                                            Filter, false);
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".mdb");
    TBooksCopy::Result result;
    BackgroundWork::Run([&](const BackgroundWork::Progress &) {
        result = TBooksCopy::Backup(file);
        return true;
    });
    Dialogs::ShowMessage(result.status == TBooksCopy::Done
                             ? QStringLiteral("恭喜您，数据库备份成功")
                             : TBooksCopy::FailureText(QStringLiteral("数据库备份失败"), result));
}

bool TBackupRestore::Load()
{
    const TDataSource source = TDataSource::Registered();
    if (source.server && Session->Role() != QStringLiteral("管理员")) {
        Dialogs::ShowMessage(QStringLiteral("服务器上的帐套由各台电脑共用，只有管理员可以恢复"));
        return false;
    }
    const QString warning = source.server ? QStringLiteral("数据库恢复将替换%1上的帐套，各台电脑的当前数据全部丢失，是否继续？").arg(source.Describe())
                                          : QStringLiteral("数据库恢复将导致当前数据全部丢失，是否继续？");
    if (!Dialogs::AskYesNo(QStringLiteral("恢复警告"), warning))
        return false;
    const QString file = Dialogs::GetOpenFileName(QStringLiteral("恢复数据"), Dialogs::StartFolder(), Filter);
    if (file.isEmpty())
        return false;
    const QDateTime when(Clock::Today(), QTime::currentTime());
    TBooksCopy::Result result;
    BackgroundWork::Run([&](const BackgroundWork::Progress &) {
        result = TBooksCopy::Restore(file, when);
        return true;
    });
    switch (result.status) {
    case TBooksCopy::Done:
        Dialogs::ShowMessage(QStringLiteral("恭喜您，数据库恢复成功，请重新启动软件\n原来的数据已另存为：")
                             + QDir::toNativeSeparators(result.keptFile));
        return true;
    case TBooksCopy::RefusedNotOurs:
        Dialogs::ShowMessage(QStringLiteral("所选文件不是本软件的数据库，未作任何修改"));
        break;
    case TBooksCopy::RefusedDamaged:
        Dialogs::ShowMessage(QStringLiteral("所选数据库文件已损坏，未作任何修改"));
        break;
    case TBooksCopy::Refused:
        Dialogs::ShowMessage(result.reason + QStringLiteral("，未作任何修改"));
        break;
    case TBooksCopy::RefusedCurrent:
        Dialogs::ShowMessage(QStringLiteral("所选文件就是正在使用的数据库，未作任何修改"));
        break;
    case TBooksCopy::Failed:
        Dialogs::ShowMessage(TBooksCopy::FailureText(QStringLiteral("数据库恢复失败"), result));
        break;
    }
    return false;
}
