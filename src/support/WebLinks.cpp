#include "support/WebLinks.h"

#include "core/ProgramFiles.h"
#include "core/Vendor.h"

#include <QUrlQuery>

QString WebLinks::SaleLink()
{
    const QString link = ReadIniValue(QStringLiteral("Kestrova"), QStringLiteral("SaleLink"), Vendor::WebSite, IniFileName);
    return link.trimmed().isEmpty() ? Vendor::WebSite : link;
}

QUrl WebLinks::Page(const QString &page, const Items &items)
{
    // QUrlQuery alone leaves "+" as it is, which a web server reads as a space.
    QUrlQuery query;
    for (const auto &item : items)
        query.addQueryItem(item.first, QString::fromLatin1(QUrl::toPercentEncoding(item.second)));
    QUrl url(Vendor::WebSite + page);
    url.setQuery(query);
    return url;
}

QUrl WebLinks::FirstRunAddress()
{
    return Page(QStringLiteral("/SoftLogin.asp"), {{QStringLiteral("SoftProduct"), Vendor::ProductCode},
                                                   {QStringLiteral("SoftSerial"), InstallationId()},
                                                   {QStringLiteral("SoftSaleLink"), SaleLink()}});
}

QUrl WebLinks::SupportAddress(const QString &contactName, const QString &contactPhone, const QString &contactContent)
{
    return Page(QStringLiteral("/SoftChat2.asp"), {{QStringLiteral("SoftProduct"), Vendor::ProductCode},
                                                   {QStringLiteral("SoftSerial"), InstallationId()},
                                                   {QStringLiteral("ContactName"), contactName},
                                                   {QStringLiteral("ContactPhone"), contactPhone},
                                                   {QStringLiteral("ContactContent"), contactContent},
                                                   {QStringLiteral("SoftSaleLink"), SaleLink()}});
}

QUrl WebLinks::SaleAddress()
{
    // Only a web page: a local file or program named in the ini file is never opened.
    const QUrl url = QUrl::fromUserInput(SaleLink());
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QUrl(Vendor::WebSite);
    return url;
}
