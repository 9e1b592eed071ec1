#pragma once
// Report templates on disk ("Frf/*.frf"): a UTF-8 text file the user can read
// and edit, written and read only here.
//
// Lines starting with "#" or ";" are comments; blank lines are skipped. A line
// "[Section]" starts a section, and "Key=Value" lines belong to the section
// above them (the value is the rest of the line, spaces at its ends removed).
// Sections and keys are case-insensitive; unknown ones are errors, so a typing
// mistake is never printed silently. Numbers must be finite and at most 10000 mm
// (font sizes 1000 points, pens 100 mm); a template holds at most 100 bands and
// 2000 items in at most 1 MB, a text at most 1000 characters and all its texts
// together 10000 (laying out text in many scripts costs time by the character).
// Errors name their line.
//
//   [Report]                   once, first
//   Name=产品出货单              shown in the designer and as the PDF name
//   Paper=A4                   A4, A5, B5, Letter, or width x height in mm: 210x140
//   Orientation=Portrait       Portrait or Landscape
//   Margins=15,12,15,12        left, top, right, bottom in mm
//
//   [Band]                     starts a band; the items below belong to it
//   Type=MasterData            ReportTitle (first page, once), PageHeader (top of
//                              every page), ColumnHeader (below it on every page),
//                              MasterData (once per row of its data set), Summary
//                              (after the last row), PageFooter (bottom of every page)
//   Height=7                   mm
//   DataSet=PrintGrid          MasterData: the data set whose rows it repeats over
//   Stretch=Yes                the band grows to fit its wrapped texts (not PageFooter)
//
//   [Text] [Field] [Line] [Frame]   one item of the band above
//   Rect=0,0,30,7              x, y, width, height in mm from the band's top-left
//                              corner (x counts from the left margin); a line runs
//                              from (x, y) to (x + width, y + height)
//   Text=第 [Page] 页 共 [Pages] 页   Text: [Page], [Pages] and [Date] (today) are
//                              filled in when printed; "\n" breaks the line, "\\" is "\"
//   DataSet=Bill               Field: the data set; inside a MasterData band its
//   Field=BillSerial           own data set gives the current row, elsewhere the
//                              row the program left the data set on
//   Font=宋体,10,Bold           family, size in points, optional Bold; Chinese
//                              Windows names fall back to an installed CJK font
//   Align=Right,Middle         Left, Center or Right; Top, Middle or Bottom
//   Wrap=Yes                   break long texts into lines
//   Border=LTRB                sides framed (any of L T R B), All or None
//   Pen=0.2                    line width in mm (borders, lines and frames)
//   Color=#000000              text and line colour
//   Fill=#E8E8E8               background of a text or field

#include "reportengine/ReportTemplate.h"

#include <QString>

class TTemplateFile {
public:
    enum Result { Loaded, Missing, Invalid };

    // The longest text an item holds, also what a field prints of its value;
    // and all the texts of a template together.
    static constexpr int MaxItemText = 1000;
    static constexpr int MaxTemplateText = 10000;

    // Leaves *tpl untouched unless the whole file is read.
    static Result Load(const QString &fileName, TReportTemplate *tpl, QString *error = nullptr);
    static Result Parse(const QString &text, TReportTemplate *tpl, QString *error = nullptr);
    // 0 when written whole, else the system's error number.
    static int Save(const QString &fileName, const TReportTemplate &tpl);
    static QString Write(const TReportTemplate &tpl);
};
