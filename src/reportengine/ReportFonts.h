#pragma once
// Fonts named in templates, made printable here: Windows Chinese names such as
// "宋体" or "楷体_GB2312" fall back to a CJK font that is installed.
//
// Only faces with TrueType outlines are chosen. Qt's PDF writer maps each glyph
// back to the first character that uses it; CFF-outline faces (Noto CJK, Source
// Han) share glyphs with the Kangxi radicals and lose digits that way, so a PDF
// drawn with them looks right but its text reads wrong.

#include <QFont>
#include <QString>
#include <QStringList>

namespace ReportFonts {
// The installed family that prints the template's family.
QString Resolve(const QString &family);
// Resolve(family) first, then the other faces that print exactly, so a
// character the first lacks is not taken from a face whose text reads wrong.
QStringList Families(const QString &family);
// True when the family's PDF text layer is the text drawn (TrueType outlines).
bool PrintsExactText(const QString &family);
// A font of that family at pointSize points on a device of the painter's
// logical resolution, drawn at targetDpi.
QFont Make(const QString &family, double pointSize, bool bold, double targetDpi, double deviceDpi);
} // namespace ReportFonts
