#include "executablepath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace oxa {

QString invokedExecutablePath(const char *argv0) {
    const QString invoked = QString::fromLocal8Bit(argv0 ? argv0 : "");
    if (invoked.contains(QLatin1Char('/')) || invoked.contains(QLatin1Char('\\')))
        return QDir::cleanPath(QDir::current().absoluteFilePath(invoked));
    if (!invoked.isEmpty()) {
        const QString found = QStandardPaths::findExecutable(invoked);
        if (!found.isEmpty())
            return found;
    }
    return QCoreApplication::applicationFilePath();
}

} // namespace oxa
