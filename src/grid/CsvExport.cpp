#include "grid/CsvExport.h"

#include "shell/Dialogs.h"
#include "shell/PublicFunction.h"

#include <QSaveFile>

void ExportCsv(const QString &suggestedName, const QByteArray &csv)
{
    QString file = Dialogs::GetSaveFileName(QStringLiteral("导出表格"), GetDesktopFolder() + QLatin1Char('/') + suggestedName,
                                            QStringLiteral("CSV 文件 (*.csv)"));
    if (file.isEmpty())
        return;
    if (!file.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        file += QStringLiteral(".csv");
    // Written aside and put in place at the end, so a failure leaves any old file as it was.
    QSaveFile out(file);
    const bool written = out.open(QIODevice::WriteOnly) && out.write(csv) >= 0 && out.commit();
    Dialogs::ShowMessage(written ? QStringLiteral("表格导出成功") : QStringLiteral("表格导出失败"));
}
