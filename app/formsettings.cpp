#include "formsettings.h"

#include "inifile.h"

#include <QCoreApplication>

#include <algorithm>

namespace oxa {

namespace {

const QString FormSection = QStringLiteral("Form");
constexpr int DefaultOffset = 200;
constexpr qint64 TitleStripHeight = 24;
constexpr qint64 MinVisibleWidth = 100;

QString tr(const char *text) {
    return QCoreApplication::translate("FormSettings", text);
}

bool stripOnScreen(qint64 x, qint64 y, qint64 width, const QRect &screen) {
    const qint64 left = std::max<qint64>(x, screen.x());
    const qint64 right = std::min<qint64>(x + width, qint64(screen.x()) + screen.width());
    const bool wholeHeight = y >= screen.y() && y + TitleStripHeight <= qint64(screen.y()) + screen.height();
    return wholeHeight && right - left >= std::min(width, MinVisibleWidth);
}

} // namespace

bool reachableOnScreen(const QPoint &position, const QSize &size, const QList<QRect> &screens) {
    return std::any_of(screens.cbegin(), screens.cend(), [&](const QRect &screen) {
        return stripOnScreen(position.x(), position.y(), std::max(size.width(), 1), screen);
    });
}

QPoint placeOnScreen(const QPoint &wanted, const QSize &size, const QList<QRect> &screens) {
    if (screens.isEmpty() || reachableOnScreen(wanted, size, screens))
        return wanted;
    const QRect &primary = screens.first();
    const int x = std::clamp(primary.width() - size.width(), 0, DefaultOffset);
    const int y = std::clamp(primary.height() - size.height(), 0, DefaultOffset);
    return primary.topLeft() + QPoint(x, y);
}

FormSettings readFormSettings(const IniFile &ini, const QSize &windowSize, const QList<QRect> &screens) {
    FormSettings settings;
    const QPoint wanted(ini.readInteger(FormSection, QStringLiteral("Left"), DefaultOffset),
                        ini.readInteger(FormSection, QStringLiteral("Top"), DefaultOffset));
    settings.position = placeOnScreen(wanted, windowSize, screens);
    if (settings.position != wanted)
        settings.corrections << tr("Settings: the window position Left=%1, Top=%2 is off every screen; the "
                                   "window is placed on the primary screen.")
                                    .arg(wanted.x())
                                    .arg(wanted.y());

    const int pause = ini.readInteger(FormSection, QStringLiteral("WaitSer"), settings.uploadPause);
    settings.uploadPause = std::clamp(pause, 0, MaxUploadPauseMs);
    if (pause > MaxUploadPauseMs)
        settings.corrections << tr("Settings: WaitSer=%1 is longer than %2 ms; uploads pause %2 ms before "
                                   "each ASEND: step.")
                                    .arg(pause)
                                    .arg(MaxUploadPauseMs);
    else if (pause < 0)
        settings.corrections << tr("Settings: WaitSer=%1 is below 0; uploads do not pause before ASEND: "
                                   "steps.")
                                    .arg(pause);

    settings.serviceButtons = ini.readBool(FormSection, QStringLiteral("Inicializace"), false);
    settings.port = ini.readString(FormSection, QStringLiteral("Port"), QString());
    return settings;
}

} // namespace oxa
