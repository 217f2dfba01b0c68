#pragma once

#include <QString>
#include <QStringList>

namespace oxa {

// How the executable's own file name brands the window.
struct Branding {
    QString deviceName = QStringLiteral("OXA");
    QString caption; // window caption and application title; empty keeps "OXAset"
    QStringList pictures;
    bool showModulePages = false;
    QString deviceGroupCaption; // empty keeps the translated caption
    QString versionPanelText;   // empty keeps " OXA Ver:"
};

// `fileName` is the executable's name without its folder (with its extension). The first marker
// found, compared case-sensitively, decides.
Branding brandingFor(const QString &fileName);

} // namespace oxa
