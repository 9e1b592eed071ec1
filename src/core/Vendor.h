#pragma once
// The vendor's own addresses, used by the first-run page and the support links.
#include <QString>

namespace Vendor {
inline const QString WebSite = QStringLiteral("http://www.mirelosoft.cn");
inline const QString Hotline = QStringLiteral("400-860-3718");
inline const QString ProductCode = QStringLiteral("Ostrevik");
}
