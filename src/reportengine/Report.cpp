#include "reportengine/Report.h"

#include "reportengine/DesignForm.h"
#include "reportengine/PreviewForm.h"
#include "reportengine/ReportLayout.h"
#include "reportengine/ReportPainter.h"
#include "reportengine/TemplateFile.h"
#include "core/Clock.h"
#include "ui/Dialogs.h"
#include "core/FileFailure.h"
#include "core/ProgramFiles.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>

TReport::TReport(QObject *parent) : QObject(parent) {}

bool TReport::LoadFromFile(const QString &fileName)
{
    TReportTemplate loaded;
    const TTemplateFile::Result result = TTemplateFile::Load(fileName, &loaded, &lastError_);
    if (result != TTemplateFile::Loaded)
        return false;
    SetTemplate(loaded, fileName);
    return true;
}

bool TReport::SaveToFile(const QString &fileName)
{
    if (const int error = TTemplateFile::Save(fileName, template_)) {
        lastError_ = TFileFailure::Cause(error);
        return false;
    }
    fileName_ = fileName;
    return true;
}

void TReport::SetTemplate(const TReportTemplate &tpl, const QString &fileName)
{
    template_ = tpl;
    fileName_ = fileName;
    lastError_.clear();
    pages_.clear();
}

void TReport::SetDataSet(const QString &name, TQuery &query) { data_.insert(name, TReportDataSet::FromQuery(query)); }

QString TReport::UnknownNames() const
{
    auto find = [this](const QString &name) -> const TReportDataSet * {
        for (auto it = data_.constBegin(); it != data_.constEnd(); ++it)
            if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                return &it.value();
        return nullptr;
    };
    auto at = [](int line) { return line > 0 ? QStringLiteral("第 %1 行：").arg(line) : QString(); };
    for (const TReportBand &band : template_.bands) {
        const bool master = band.type == TReportBand::MasterData && !band.dataSet.isEmpty();
        if (master && !find(band.dataSet))
            return at(band.sourceLine) + QStringLiteral("数据栏的数据集“%1”不存在").arg(band.dataSet);
        for (const TReportItem &item : band.items) {
            if (item.kind != TReportItem::Field)
                continue;
            const QString name = item.dataSet.isEmpty() && master ? band.dataSet : item.dataSet;
            if (name.isEmpty())
                return at(item.sourceLine) + QStringLiteral("字段“%1”没有指定数据集").arg(item.field);
            const TReportDataSet *data = find(name);
            if (!data)
                return at(item.sourceLine) + QStringLiteral("字段“%1”所在的数据集“%2”不存在").arg(item.field, name);
            if (!data->HasColumn(item.field))
                return at(item.sourceLine) + QStringLiteral("数据集“%1”中没有字段“%2”").arg(name, item.field);
        }
    }
    return QString();
}

bool TReport::PrepareReport()
{
    pages_ = TReportLayout(template_, data_, Clock::Today()).Prepare();
    return !pages_.isEmpty();
}

QStringList TReport::PageTexts(int page) const
{
    QStringList texts;
    if (page < 0 || page >= pages_.size())
        return texts;
    for (const TReportItem &item : pages_[page].items)
        if (item.IsTextual() && !item.text.isEmpty())
            texts << item.text;
    return texts;
}

bool TReport::ExportPdf(const QString &fileName, QString *why) const
{
    return TReportPainter::WritePdf(fileName, pages_, DocumentName(), why);
}

bool TReport::Print(QPrinter *printer, int fromPage, int toPage) const
{
    printer->setDocName(DocumentName());
    printer->setFullPage(true);
    return TReportPainter::Render(printer, pages_, fromPage, toPage);
}

void TReport::ClearDataSets()
{
    data_.clear();
    exportName_.clear();
    exportSheet_ = TListSheet();
}

void TReport::SetExportList(const QString &suggestedName, const TListSheet &sheet)
{
    exportName_ = suggestedName;
    exportSheet_ = sheet;
}

QString TReport::DocumentName() const
{
    if (!documentName_.isEmpty())
        return documentName_;
    if (!template_.name.isEmpty())
        return template_.name;
    return fileName_.isEmpty() ? QStringLiteral("报表") : QFileInfo(fileName_).completeBaseName();
}

void TReport::ShowPreparedReport()
{
    TFormPreview preview(this, QApplication::activeWindow());
    Dialogs::ShowModal(&preview);
}

bool TReport::PrepareTemplate(const QString &relativeFile)
{
    if (!LoadFromFile(ProgramDir + relativeFile)) {
        if (!QFileInfo(ProgramDir + relativeFile).isFile())
            Dialogs::ShowMessage(QStringLiteral("报表模板“%1”不存在").arg(relativeFile));
        else
            Dialogs::ShowMessage(QStringLiteral("报表模板“%1”有误：%2").arg(relativeFile, lastError_));
        return false;
    }
    const QString unknown = UnknownNames();
    if (!unknown.isEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("报表模板“%1”有误：%2").arg(relativeFile, unknown));
        return false;
    }
    return PrepareReport();
}

bool TReport::ShowTemplate(const QString &relativeFile)
{
    if (!PrepareTemplate(relativeFile))
        return false;
    ShowPreparedReport();
    return true;
}

void TReport::DesignReport()
{
    TFormDesign designer(this, QApplication::activeWindow());
    Dialogs::ShowModal(&designer);
}
