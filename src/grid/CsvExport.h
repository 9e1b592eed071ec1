#pragma once
// Asks where to save a CSV file (starting on the desktop with a suggested
// name), writes it whole or not at all, and says how it went.

#include <QByteArray>
#include <QString>

void ExportCsv(const QString &suggestedName, const QByteArray &csv);
