#include "sheets/SheetFile.h"

#include "sheets/Csv.h"
#include "sheets/XlsxReader.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {
// A CSV file's rows. The file's bytes are let go once decoded, so the text and
// the cells are never held beside them.
bool CsvRows(QByteArray bytes, TSheetRows *rows, QString *error)
{
    Csv::Encoding encoding;
    const QString text = Csv::Decoded(bytes, &encoding);
    bytes = QByteArray();
    if (encoding == Csv::Encoding::Unknown) {
        *error = QStringLiteral("文件不是 CSV 或 XLSX 表格（文字既不是 UTF-8 也不是 GB18030 编码）");
        return false;
    }
    int line = 1, column = 0;
    rows->StartRow(line);
    return Csv::Parse(
        text,
        [&](QString &&field) { return rows->AddCell(column++, Csv::Unguarded(field), error); },
        [&] {
            column = 0;
            if (!rows->EndRow(error))
                return false;
            rows->StartRow(++line);
            return true;
        });
}
} // namespace

bool TSheetFile::Read(const QString &filePath, QString *error, int which)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法打开文件：%1").arg(file.errorString());
        return false;
    }
    if (file.size() > MaxBytes) {
        *error = QStringLiteral("文件太大（%1 MB），能导入的表格文件不超过 %2 MB")
                     .arg(file.size() / (1024 * 1024)).arg(MaxBytes / (1024 * 1024));
        return false;
    }
    const bool read = ReadBytes(file.read(MaxBytes + 1), error, which);
    name = QFileInfo(filePath).fileName();
    path = filePath;
    return read;
}

bool TSheetFile::ReadBytes(QByteArray bytes, QString *error, int which)
{
    sheetNames.clear();
    rows.clear();
    columns.clear();
    sheet = which;
    if (bytes.size() > MaxBytes) {
        *error = QStringLiteral("文件太大，能导入的表格文件不超过 %1 MB").arg(MaxBytes / (1024 * 1024));
        return false;
    }
    TSheetRows read;
    if (XlsxReader::IsZip(bytes)) {
        if (!XlsxReader::Read(bytes, which, &sheetNames, &read, error))
            return false;
    } else if (bytes.startsWith("\xD0\xCF\x11\xE0")) {
        *error = QStringLiteral("这是旧版 Excel（.xls）文件，请在 Excel 或 WPS 中另存为 .xlsx 或 .csv 后再导入");
        return false;
    } else if (bytes.contains('\0')) {
        *error = QStringLiteral("文件不是 CSV 或 XLSX 表格（含有二进制内容）");
        return false;
    } else if (!CsvRows(std::move(bytes), &read, error)) {
        return false;
    }
    // An empty sheet of a workbook with others is shown, so another can be chosen.
    if (read.rows.isEmpty() && sheetNames.size() < 2) {
        *error = QStringLiteral("表格是空的");
        return false;
    }
    columns = read.Columns();
    rows = std::move(read.rows);
    return true;
}
