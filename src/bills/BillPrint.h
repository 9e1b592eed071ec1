#pragma once
// Printing a saved goods bill: the bill's header, lines, total in capitals and
// title, read in memory for this print alone, under the template of the chosen
// print type, prepared and previewed.

#include <QString>

class TReport;

class TBillPrint {
public:
    // The print type stored in the ini file: "显示订金" (also when absent) or "不显示订金".
    static QString PrintType();
    static bool SetPrintType(const QString &type);
    // Only "显示订金" shows the deposit; any other value does not.
    static bool ShowsDeposit(const QString &printType);
    // "Frf/Bill.frf" shows the deposit and the amount left open; "Frf/Bill2.frf" does not.
    static QString TemplateFile(const QString &printType);

    // Prints the stored bill billIndex. Says why when there is nothing to print.
    static bool Print(int billIndex, TReport &report);
    // Print up to the prepared pages, without the preview.
    static bool Prepare(int billIndex, TReport &report);
};
