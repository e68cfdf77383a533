#include "dialogs.h"

#include <QStringList>

namespace {
Dialogs* installed = nullptr;
}

Dialogs& Dialogs::current()
{
    Q_ASSERT_X(installed, "Dialogs::current", "no dialogs installed");
    return *installed;
}

void Dialogs::install(Dialogs* dialogs) { installed = dialogs; }

QString toQtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(QStringLiteral("%1 (%2)").arg(parts.at(i), patterns));
    }
    return filters.join(QStringLiteral(";;"));
}
