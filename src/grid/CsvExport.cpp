#include "grid/CsvExport.h"

#include "shell/Dialogs.h"

#include <QSaveFile>

void ExportCsv(const QString &suggestedName, const QByteArray &csv)
{
    const QString file = Dialogs::GetSaveFileWithSuffix(QStringLiteral("导出表格"), suggestedName,
                                                        QStringLiteral("CSV 文件 (*.csv)"), QStringLiteral("csv"));
    if (file.isEmpty())
        return;
    // Written aside and put in place at the end, so a failure leaves any old file as it was.
    QSaveFile out(file);
    const bool written = out.open(QIODevice::WriteOnly) && out.write(csv) >= 0 && out.commit();
    Dialogs::ShowMessage(written ? QStringLiteral("表格导出成功") : QStringLiteral("表格导出失败"));
}
