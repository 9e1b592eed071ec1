#pragma once
// "导出": asks where to save a list (starting on the desktop with a suggested
// name), as an XLSX workbook or a CSV file by the name chosen, writes it whole
// or not at all, and says how it went.

#include <QString>

class TListSheet;

// suggestedName without its suffix: "客户列表" proposes 客户列表.xlsx.
void ExportList(const QString &suggestedName, const TListSheet &sheet);
