#include "grid/SheetFile.h"

#include "grid/Csv.h"
#include "grid/XlsxReader.h"

#include <QFile>
#include <QFileInfo>

namespace {
bool Blank(const QStringList &row)
{
    for (const QString &field : row)
        if (!field.trimmed().isEmpty())
            return false;
    return true;
}
} // namespace

bool TSheetFile::Read(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法打开文件：%1").arg(file.errorString());
        return false;
    }
    if (file.size() > MaxBytes) {
        *error = QStringLiteral("文件太大（%1 MB），能导入的表格文件不超过 %2 MB")
                     .arg(file.size() / (1024 * 1024)).arg(MaxBytes / (1024 * 1024));
        return false;
    }
    const bool read = ReadBytes(file.readAll(), error);
    name = QFileInfo(path).fileName();
    return read;
}

bool TSheetFile::ReadBytes(const QByteArray &bytes, QString *error)
{
    titles.clear();
    rows.clear();
    rowNumbers.clear();
    if (bytes.size() > MaxBytes) {
        *error = QStringLiteral("文件太大，能导入的表格文件不超过 %1 MB").arg(MaxBytes / (1024 * 1024));
        return false;
    }
    QList<QStringList> lines;
    QList<int> numbers;
    const bool xlsx = XlsxReader::IsZip(bytes);
    if (xlsx) {
        if (!XlsxReader::FirstSheet(bytes, &lines, &numbers, error))
            return false;
    } else if (bytes.startsWith("\xD0\xCF\x11\xE0")) {
        *error = QStringLiteral("这是旧版 Excel（.xls）文件，请在 Excel 或 WPS 中另存为 .xlsx 或 .csv 后再导入");
        return false;
    } else {
        if (bytes.contains('\0')) {
            *error = QStringLiteral("文件不是 CSV 或 XLSX 表格（含有二进制内容）");
            return false;
        }
        Csv::Encoding encoding;
        Csv::Decoded(bytes, &encoding);
        if (encoding == Csv::Encoding::Unknown) {
            *error = QStringLiteral("文件不是 CSV 或 XLSX 表格（文字既不是 UTF-8 也不是 GB18030 编码）");
            return false;
        }
        lines = Csv::Read(bytes);
        for (int i = 0; i < lines.size(); ++i)
            numbers << i + 1;
    }
    for (int i = 0; i < lines.size(); ++i) {
        QStringList line = lines[i];
        if (Blank(line))
            continue;
        for (QString &field : line)
            field = (xlsx ? field : Csv::Unguarded(field)).trimmed();
        if (titles.isEmpty()) {
            titles = line;
            continue;
        }
        rows << line;
        rowNumbers << numbers[i];
    }
    if (titles.isEmpty()) {
        *error = QStringLiteral("表格是空的");
        return false;
    }
    return true;
}
