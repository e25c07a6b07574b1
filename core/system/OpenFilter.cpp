#include "core/system/OpenFilter.h"

#include <QRegularExpression>

namespace zirpel {

QStringList NameFiltersFromBarList(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QRegularExpression(QStringLiteral("[;,]")))) {
            const QString t = p.trimmed();
            // "*.*" means every file on Windows; Qt's own dialog matches it only against
            // names with a dot, so there it would hide "core" or "Makefile".
            if (t == QLatin1String("*.*"))
                patterns << QStringLiteral("*");
            else if (!t.isEmpty())
                patterns << t;
        }
        result << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    }
    return result;
}

QString FullNameFilter(const QStringList& filters, const QString& shown) {
    for (const QString& f : filters) {
        const qsizetype details = f.lastIndexOf(QLatin1Char('('));
        if (f == shown || (details > 0 && f.left(details).simplified() == shown.simplified()))
            return f;
    }
    return {};
}

} // namespace zirpel
