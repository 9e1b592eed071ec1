#pragma once
// The addresses of the vendor's pages. Every value is percent-encoded, so a
// text holding "&", "=", "#", "+", spaces or Chinese arrives exactly as typed.

#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

namespace WebLinks {
using Items = QList<QPair<QString, QString>>;

// "SaleLink" of the ini file; the vendor's web site when it is absent or empty.
QString SaleLink();
// The vendor's web site + page, with the items as its query in the order given.
QUrl Page(const QString &page, const Items &items);
// The page opened after the first registration.
QUrl FirstRunAddress();
// The support page with the message of the online support form.
QUrl SupportAddress(const QString &contactName, const QString &contactPhone, const QString &contactContent);
// The sales link as an address the browser can open: an http or https page,
// else the vendor's web site.
QUrl SaleAddress();
}
