// SPDX-License-Identifier: MIT
#include "platform/privatedirs.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

QStringList privateProgramDirs()
{
    const QString bin = QCoreApplication::applicationDirPath();
    return {bin, QDir::cleanPath(bin + QLatin1Char('/') + QStringLiteral(TARNIX_PRIVATE_DIR_FROM_BIN))};
}

} // namespace platform
