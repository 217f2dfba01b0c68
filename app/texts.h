#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QObject;

namespace oxa {

class IniFile;

// One row of the interface texts: the INI key, its default and the controls that show the text (the
// first one is written back).
struct TextRow {
    QString key;
    QString defaultText;
    QStringList controls;
    QString writeKey = {}; // key written at shutdown when it differs from `key`
    bool written = true;
};

// Caption rows (section "Language") and hint rows (section "Help"); hint defaults that name the
// device are composed with `deviceName`, as is the device group box's caption row.
std::vector<TextRow> captionRows(const QString &deviceName);
std::vector<TextRow> hintRows(const QString &deviceName);

using ControlLookup = std::function<QObject *(const QString &name)>;

// The visible caption of a control (button or label text, group box title, tab caption).
QString captionOf(const QObject *control);
void setCaption(QObject *control, const QString &text);
QString hintOf(const QObject *control);
void setHint(QObject *control, const QString &text);

// Reads every caption and hint from the file (defaults for what is missing) and shows them.
void applyTexts(const IniFile &ini, const QString &deviceName, const ControlLookup &lookup);
// Writes the current captions and hints back under their keys.
void writeTexts(IniFile &ini, const QString &deviceName, const ControlLookup &lookup);

} // namespace oxa
