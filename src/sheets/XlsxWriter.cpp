#include "sheets/XlsxWriter.h"

#include "sheets/ListSheet.h"
#include "core/FileFailure.h"
#include "core/NumberTexts.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>

namespace {
// The most a cell holds in a spreadsheet.
constexpr int MaxCellText = 32767;

// A text as a cell may hold it: NUL ends a C string, so it goes; longer texts are cut.
QByteArray CellText(const QString &text)
{
    QString t = text;
    t.remove(QChar(0));
    if (t.size() > MaxCellText)
        t.truncate(MaxCellText);
    return t.toUtf8();
}

// Columns are measured in digits' widths; a Chinese character takes two.
int TextWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x2E80 ? 2 : 1;
    return width;
}

QString ShownText(const QVariant &value, TListSheet::Kind kind)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    if (kind == TListSheet::Money)
        return QString::number(value.toDouble(), 'f', 2);
    if (value.typeId() == QMetaType::Double)
        return NumberText(value.toDouble());
    return value.toString();
}

// libxlsxwriter's failures in words. Those of its files carry the system's
// error number, the only place that says a full disk is full.
QString Reason(lxw_error error, int systemError)
{
    switch (error) {
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        if (systemError != 0)
            return TFileFailure::Cause(systemError);
        return QStringLiteral("临时文件读写出错");
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return TFileFailure::Words(ENOMEM);
    default:
        break;
    }
    return QStringLiteral("工作簿写入出错（%1）").arg(QString::fromUtf8(lxw_strerror(error)));
}
} // namespace

QByteArray XlsxWriter::Workbook(const TListSheet &sheet, const QString &sheetName, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    errno = 0;
    QTemporaryDir dir;
    if (!dir.isValid())
        return fail(errno != 0 ? TFileFailure::Cause(errno) : QStringLiteral("无法建立临时文件夹"));
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("list.xlsx")));
    const QByteArray tmp = QFile::encodeName(dir.path());
    lxw_workbook_options options{};
    options.tmpdir = const_cast<char *>(tmp.constData());
    lxw_workbook *book = workbook_new_opt(path.constData(), &options);
    if (!book)
        return fail(errno != 0 ? TFileFailure::Cause(errno) : TFileFailure::Words(ENOMEM));
    // Sheet names are at most 31 characters and refuse []:*?/\ .
    QString name = sheetName.left(31);
    for (QChar &c : name)
        if (QStringLiteral("[]:*?/\\").contains(c))
            c = QLatin1Char('_');
    lxw_worksheet *ws = workbook_add_worksheet(book, name.isEmpty() ? nullptr : name.toUtf8().constData());
    if (!ws)
        ws = workbook_add_worksheet(book, nullptr);

    lxw_format *title = workbook_add_format(book);
    format_set_bold(title);
    format_set_bg_color(title, 0xDDE4EE);
    format_set_border(title, LXW_BORDER_THIN);
    lxw_format *money = workbook_add_format(book);
    format_set_num_format(money, "0.00");
    lxw_format *price = workbook_add_format(book);
    format_set_num_format(price, "0.00##");
    lxw_format *quantity = workbook_add_format(book);
    format_set_num_format(quantity, "0");
    lxw_format *date = workbook_add_format(book);
    format_set_num_format(date, "yyyy-mm-dd");
    lxw_format *text = workbook_add_format(book);
    format_set_num_format(text, "@");

    const int columnCount = int(sheet.columns.size());
    QList<TListSheet::Kind> kinds;
    QList<int> widths;
    lxw_error written = LXW_NO_ERROR;
    for (int c = 0; c < columnCount; ++c) {
        kinds << sheet.WrittenKind(c);
        widths << TextWidth(sheet.columns[c].title);
        if (written == LXW_NO_ERROR)
            written = worksheet_write_string(ws, 0, lxw_col_t(c), CellText(sheet.columns[c].title).constData(), title);
    }
    for (int r = 0; r < sheet.rows.size() && written == LXW_NO_ERROR; ++r) {
        const lxw_row_t row = lxw_row_t(r + 1);
        for (int c = 0; c < columnCount && written == LXW_NO_ERROR; ++c) {
            const QVariant v = sheet.Cell(r, c);
            const lxw_col_t col = lxw_col_t(c);
            widths[c] = std::max(widths[c], TextWidth(ShownText(v, kinds[c])));
            lxw_error result = LXW_NO_ERROR;
            if (v.isNull())
                continue;
            if (v.typeId() == QMetaType::QDate) {
                const QDate d = v.toDate();
                if (!d.isValid())
                    continue;
                lxw_datetime when{d.year(), d.month(), d.day(), 0, 0, 0};
                result = worksheet_write_datetime(ws, row, col, &when, date);
            } else if (v.typeId() == QMetaType::Double) {
                lxw_format *f = kinds[c] == TListSheet::Money ? money : kinds[c] == TListSheet::Price ? price
                              : kinds[c] == TListSheet::Quantity ? quantity : nullptr;
                result = worksheet_write_number(ws, row, col, v.toDouble(), f);
            } else {
                // Written as a string cell, so nothing in it is taken for a formula or a number.
                result = worksheet_write_string(ws, row, col, CellText(v.toString()).constData(), text);
            }
            written = result;
        }
    }
    for (int c = 0; c < columnCount; ++c)
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), std::clamp(widths[c] + 2, 6, 60), nullptr);
    worksheet_freeze_panes(ws, 1, 0);
    // The files are written as the book closes: what fails there leaves its cause in errno.
    errno = 0;
    const lxw_error closed = workbook_close(book);
    const int systemError = errno;
    if (written != LXW_NO_ERROR)
        return fail(Reason(written, 0));
    if (closed != LXW_NO_ERROR)
        return fail(Reason(closed, systemError));
    QFile file(dir.filePath(QStringLiteral("list.xlsx")));
    if (!file.open(QIODevice::ReadOnly))
        return fail(TFileFailure::Cause(errno != 0 ? errno : EIO));
    return file.readAll();
}
