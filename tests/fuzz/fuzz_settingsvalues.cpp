// The [Form] values start-up takes from the settings file, on several screen layouts: whatever the file
// holds, the upload pause stays within its bounds, the window's title bar is within reach on a screen,
// and every value that was changed is said once, and only such a value.
#include "fuzzcheck.h"

#include "formsettings.h"
#include "inifile.h"

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

using namespace oxa;

const QList<QList<QRect>> ScreenLayouts = {
    {},
    {QRect(0, 0, 800, 600)},
    {QRect(0, 0, 1920, 1040), QRect(1920, -200, 1280, 1024)},
    {QRect(-1280, 300, 1280, 1024), QRect(0, 0, 2560, 1400)},
    {QRect(50, 20, 320, 240)},
};

const QList<QSize> WindowSizes = {QSize(613, 530), QSize(1, 1), QSize(4000, 3000)};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    IniFile ini;
    ini.loadFromBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QString form = QStringLiteral("Form");
    const QPoint wanted(ini.readInteger(form, QStringLiteral("Left"), 200),
                        ini.readInteger(form, QStringLiteral("Top"), 200));
    const int pause = ini.readInteger(form, QStringLiteral("WaitSer"), 1000);
    for (const QList<QRect> &screens : ScreenLayouts) {
        for (const QSize &windowSize : WindowSizes) {
            const FormSettings settings = readFormSettings(ini, windowSize, screens);
            FUZZ_CHECK(settings.uploadPause >= 0 && settings.uploadPause <= MaxUploadPauseMs);
            FUZZ_CHECK(settings.uploadPause == pause || pause < 0 || pause > MaxUploadPauseMs);
            if (screens.isEmpty())
                FUZZ_CHECK(settings.position == wanted);
            else
                FUZZ_CHECK(reachableOnScreen(settings.position, windowSize, screens));
            // Kept where it was reachable: only a window out of reach moves.
            if (!screens.isEmpty() && reachableOnScreen(wanted, windowSize, screens))
                FUZZ_CHECK(settings.position == wanted);
            const int changed =
                (settings.position != wanted ? 1 : 0) + (settings.uploadPause != pause ? 1 : 0);
            FUZZ_CHECK(settings.corrections.size() == changed);
            FUZZ_CHECK(settings.serviceButtons == ini.readBool(form, QStringLiteral("Inicializace"), false));
        }
    }
    return 0;
}
