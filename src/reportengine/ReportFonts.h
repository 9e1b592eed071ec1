#pragma once
// Fonts named in templates, made printable here: Windows Chinese names such as
// "宋体" or "楷体_GB2312" fall back to a CJK font that is installed.

#include <QFont>
#include <QString>

namespace ReportFonts {
// The installed family that prints the template's family.
QString Resolve(const QString &family);
// A font of that family at pointSize points on a device of the painter's
// logical resolution, drawn at targetDpi.
QFont Make(const QString &family, double pointSize, bool bold, double targetDpi, double deviceDpi);
} // namespace ReportFonts
