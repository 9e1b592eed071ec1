#include "grid/ListExport.h"

#include "sheets/ListSheet.h"
#include "sheets/XlsxWriter.h"
#include "ui/Dialogs.h"
#include "core/FileFailure.h"
#include "core/WholeFile.h"

void ExportList(const QString &suggestedName, const TListSheet &sheet)
{
    const QString file = Dialogs::GetSaveFileWithSuffix(QStringLiteral("导出表格"), suggestedName + QStringLiteral(".xlsx"),
                                                        QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件 (*.csv)"),
                                                        QStringList{QStringLiteral("xlsx"), QStringLiteral("csv")});
    if (file.isEmpty())
        return;
    const QString failed = QStringLiteral("表格导出失败");
    QString error;
    const QByteArray bytes = file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)
                                 ? sheet.Csv()
                                 : XlsxWriter::Workbook(sheet, suggestedName, &error);
    if (bytes.isEmpty()) {
        Dialogs::ShowMessage(failed + QStringLiteral("：") + error);
        return;
    }
    const int written = TWholeFile::Write(file, bytes);
    Dialogs::ShowMessage(written == 0 ? QStringLiteral("表格导出成功") : TFileFailure::Text(failed, written));
}
