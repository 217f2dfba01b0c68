#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace oxa {

class IniFile;

// The upload waits this long at most before each ASEND: step: a longer pause would hold the window.
inline constexpr int MaxUploadPauseMs = 60000;

// What start-up takes from the settings file's [Form] section, each value within what the window can
// use. A hand-edited file may hold anything; a value out of bounds is corrected and said on the monitor.
struct FormSettings {
    QPoint position{200, 200};
    int uploadPause = 1000;
    bool serviceButtons = false;
    QString port;
    QStringList corrections; // one monitor line per value corrected
};

// `screens`: the available area of each screen, the primary one first (none: the position is kept).
FormSettings readFormSettings(const IniFile &ini, const QSize &windowSize, const QList<QRect> &screens);

// Whether a window of `size` at `position` can be seen and moved: the strip along its top edge, where
// the title bar is, lies whole in height on one screen, for at least 100 pixels of width (all of it
// when the window is narrower). Any coordinates are safe, also ones near the ends of int.
bool reachableOnScreen(const QPoint &position, const QSize &size, const QList<QRect> &screens);

// `wanted` when reachable; otherwise 200, 200 into the primary screen, moved in as far as it takes for
// the window to fit there.
QPoint placeOnScreen(const QPoint &wanted, const QSize &size, const QList<QRect> &screens);

} // namespace oxa
