#include "reportengine/ReportFonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QStringList>

namespace {
// Installed families worth trying, best first, for each kind of Chinese face.
const QStringList serifFaces{QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                             QStringLiteral("AR PL SungtiL GB")};
const QStringList kaiFaces{QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL KaitiM GB")};
const QStringList sansFaces{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
                            QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Droid Sans Fallback"),
                            QStringLiteral("Source Han Sans SC")};

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
} // namespace

QString ReportFonts::Resolve(const QString &family)
{
    static QHash<QString, QString> cache;
    auto it = cache.constFind(family);
    if (it != cache.constEnd())
        return *it;
    QString chosen;
    const QStringList installed = QFontDatabase::families();
    auto has = [&installed](const QString &name) { return installed.contains(name, Qt::CaseInsensitive); };
    // An installed family prints as named (Qt finds Chinese glyphs for it if it lacks them).
    if (has(family))
        chosen = family;
    for (const QString &candidate : Preferences(family))
        if (chosen.isEmpty() && has(candidate))
            chosen = candidate;
    if (chosen.isEmpty()) {
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        chosen = chinese.isEmpty() ? family : chinese.first();
    }
    cache.insert(family, chosen);
    return chosen;
}

QFont ReportFonts::Make(const QString &family, double pointSize, bool bold, double targetDpi, double deviceDpi)
{
    QFont font(Resolve(family));
    // The device resolves points with its own resolution; scale to the one we draw at.
    font.setPointSizeF(qMax(0.5, pointSize * targetDpi / deviceDpi));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}
