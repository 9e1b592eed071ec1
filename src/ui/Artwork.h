#pragma once
// The program's pictures, drawn rather than shipped: window icons at run time,
// and the Res/ files written once at build time.

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QColor>

namespace Artwork {

QPixmap QuestionIcon(int size);          // round blue question mark
QPixmap LoginBanner(int width, int height);
QPixmap LoginPicture(int width, int height);
QImage BarPicture(bool leftBarShown, int height);   // Res/LeftBar.bmp, Res/RightBar.bmp
QPixmap TabIcon(int page);               // 32 x 32, pages 0 to 7
QPixmap LeftBarIcon(const QString &which, int size);  // "Login", "HomePage", "Save", "Load", "Contact"
QPixmap DayArrow(bool back);

// Card grading icons: colour word ("Blue", "Purple", "Green", "Silver", "Yellow")
// with one to three plus signs, or "Money-" / "Money0". The picture is the
// page's subject (customer, bill, money, shoe box, bank card) in its colour
// with the grade as one to three marks; no words.
QImage CardIcon(const QString &name);
// The page's subject without a grade, for the windows of that page.
QPixmap PagePicture(const QString &colourWord, int size = 40);
// A shoe, for the product picker's cells; with a size tag for a model.
QPixmap ProductPicture(bool model, int size = 40);
QPixmap PadlockIcon(int size, bool locked);   // a stored bill locked, or unlocked
QPixmap PrinterIcon(int size);
QPixmap BooksCheckIcon(int size);
// The program's icon for the desktop's application menu and its windows.
QImage AppIcon(int size);
QStringList CardIconNames();             // every file name under Res/, without ".ico"
QColor PageColour(const QString &colourWord);
// The speech bubble pointing down at a page's new-record button.
QPixmap HintPicture(const QString &text, const QColor &border, int width = 350, int height = 150);

// Title pictures of the bill editors: "NewSell", "EditSell", "NewBuy", "EditBuy",
// "NewGet", "EditGet", "NewPay", "EditPay".
QImage BillBanner(const QString &name, int width = 420, int height = 60);
QStringList BillBannerNames();

// Writes every Res/ file into folder; false when one could not be written.
bool WriteResFolder(const QString &folder);

} // namespace Artwork
