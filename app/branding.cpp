#include "branding.h"

namespace oxa {

Branding brandingFor(const QString &fileName) {
    Branding b;
    if (fileName.contains(QLatin1String("OXAKnel"))) {
        b.deviceName = QStringLiteral("OXAKnel");
        b.caption = QStringLiteral("OXAKnel");
        b.pictures = {"OXAF1", "OXAF2", "Sipkaf1"};
    } else if (fileName.contains(QLatin1String("He"))) {
        b.pictures = {"OXAF1"};
    } else if (fileName.contains(QLatin1String("GSM eZT"))) {
        b.deviceName = QStringLiteral("GSM eZT");
        b.caption = QStringLiteral("Tavo GSM eZT Manager");
        b.pictures = {"OXAL1", "OXAL2", "Sipkaf1"};
    } else if (fileName.contains(QLatin1String("GSMQuend"))) {
        b.deviceName = QStringLiteral("GSM-Quendrill");
        b.caption = QStringLiteral("GSM-Quendrill Set");
        b.pictures = {"OXAPanel1", "OXAPanel2", "SipkaPA1", "SipkaPB2", "SipkaPA2"};
        b.showModulePages = true;
        b.deviceGroupCaption = QStringLiteral("GSM-Quendrill");
        b.versionPanelText = QStringLiteral(" GSM-QU Ver:");
    } else {
        b.pictures = {"OXA1", "OXA2", "Sipka1"};
    }
    return b;
}

} // namespace oxa
