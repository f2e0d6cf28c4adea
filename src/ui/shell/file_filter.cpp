#include "ui/shell/file_filter.h"

#include <QRegularExpression>
#include <QStringList>

namespace torva {

namespace {

// "Settings file (*.dsettings)" → "Settings file": the dialog shows the patterns itself.
QString withoutPatterns(const QString& description) {
    static const QRegularExpression trailing(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    return QString(description).remove(trailing).trimmed();
}

QString entry(const QString& description, const QString& patterns) {
    QStringList list = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : list) {
        pattern = pattern.trimmed();
    }
    const QString shown = withoutPatterns(description);
    return (shown.isEmpty() ? list.join(QLatin1Char(' ')) : shown) + QStringLiteral(" (") +
           list.join(QLatin1Char(' ')) + QLatin1Char(')');
}

} // namespace

QString toDialogFilter(const QString& windowsFilter) {
    if (!windowsFilter.contains(QLatin1Char('|'))) {
        static const QRegularExpression hasPatterns(QStringLiteral("\\([^()]+\\)\\s*$"));
        if (windowsFilter.trimmed().isEmpty()) {
            return {};
        }
        return hasPatterns.match(windowsFilter).hasMatch()
                   ? windowsFilter.trimmed()
                   : windowsFilter.trimmed() + QStringLiteral(" (*)");
    }
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (!parts[i + 1].trimmed().isEmpty()) {
            entries << entry(parts[i], parts[i + 1]);
        }
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace torva
