#include "grid/ListExport.h"

#include "grid/ListSheet.h"
#include "grid/XlsxWriter.h"
#include "shell/Dialogs.h"

#include <QSaveFile>

void ExportList(const QString &suggestedName, const TListSheet &sheet)
{
    const QString file = Dialogs::GetSaveFileWithSuffix(QStringLiteral("导出表格"), suggestedName + QStringLiteral(".xlsx"),
                                                        QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件 (*.csv)"),
                                                        QStringList{QStringLiteral("xlsx"), QStringLiteral("csv")});
    if (file.isEmpty())
        return;
    QString error;
    const QByteArray bytes = file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)
                                 ? sheet.Csv()
                                 : XlsxWriter::Workbook(sheet, suggestedName, &error);
    if (bytes.isEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("表格导出失败：") + error);
        return;
    }
    // Written aside and put in place at the end, so a failure leaves any old file as it was.
    QSaveFile out(file);
    const bool written = out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
    Dialogs::ShowMessage(written ? QStringLiteral("表格导出成功") : QStringLiteral("表格导出失败：") + out.errorString());
}
