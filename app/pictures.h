#pragma once

#include <QIcon>
#include <QString>

namespace oxa {

// An icon drawn from one of the program's SVG pictures (":/img/<name>.svg") at the given size.
QIcon svgIcon(const QString &name, QSize size);
QString pictureResource(const QString &name);

} // namespace oxa
