#include "reportengine/ReportFonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QRawFont>

namespace {
// Installed families worth trying, best first, for each kind of Chinese face.
const QStringList serifFaces{QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB")};
const QStringList kaiFaces{QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL KaitiM GB")};
const QStringList sansFaces{QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
                            QStringLiteral("Droid Sans Fallback")};

QStringList Preferences(const QString &family)
{
    const QString f = family.toLower();
    if (f.contains(QStringLiteral("楷")) || f.contains(QLatin1String("kai")))
        return kaiFaces + serifFaces + sansFaces;
    if (f.contains(QStringLiteral("宋")) || f.contains(QStringLiteral("仿")) || f.contains(QLatin1String("song"))
        || f.contains(QLatin1String("fang")) || f.contains(QLatin1String("ming")))
        return serifFaces + sansFaces;
    return sansFaces + serifFaces;
}

bool Installed(const QString &family)
{
    static const QStringList installed = QFontDatabase::families();
    return installed.contains(family, Qt::CaseInsensitive);
}
} // namespace

bool ReportFonts::PrintsExactText(const QString &family)
{
    static QHash<QString, bool> cache;
    auto it = cache.constFind(family);
    if (it != cache.constEnd())
        return *it;
    QFont font(family);
    font.setStyleStrategy(QFont::NoFontMerging);
    const bool exact = !QRawFont::fromFont(font).fontTable("glyf").isEmpty();
    cache.insert(family, exact);
    return exact;
}

QString ReportFonts::Resolve(const QString &family)
{
    static QHash<QString, QString> cache;
    auto it = cache.constFind(family);
    if (it != cache.constEnd())
        return *it;
    auto usable = [](const QString &name) { return Installed(name) && PrintsExactText(name); };
    QString chosen;
    // An installed family prints as named (Qt finds Chinese glyphs for it if it lacks them).
    if (usable(family))
        chosen = family;
    for (const QString &candidate : Preferences(family))
        if (chosen.isEmpty() && usable(candidate))
            chosen = candidate;
    if (chosen.isEmpty()) {
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        for (const QString &candidate : chinese)
            if (chosen.isEmpty() && PrintsExactText(candidate))
                chosen = candidate;
        // Nothing prints exactly: the page still looks right.
        if (chosen.isEmpty())
            chosen = chinese.isEmpty() ? family : chinese.first();
    }
    cache.insert(family, chosen);
    return chosen;
}

QStringList ReportFonts::Families(const QString &family)
{
    static QHash<QString, QStringList> cache;
    auto it = cache.constFind(family);
    if (it != cache.constEnd())
        return *it;
    QStringList families{Resolve(family)};
    for (const QString &candidate : Preferences(family))
        if (!families.contains(candidate, Qt::CaseInsensitive) && Installed(candidate) && PrintsExactText(candidate))
            families << candidate;
    cache.insert(family, families);
    return families;
}

QFont ReportFonts::Make(const QString &family, double pointSize, bool bold, double targetDpi, double deviceDpi)
{
    QFont font;
    font.setFamilies(Families(family));
    // The device resolves points with its own resolution; scale to the one we draw at.
    font.setPointSizeF(qMax(0.5, pointSize * targetDpi / deviceDpi));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}
