#include "oxafile.h"

#include <QStringList>

namespace oxa::sim {

namespace {

// The keys in the order the program writes them, with the names a configuration file gives them.
struct Key {
    const char *simName;
    const char *fileName;
};

constexpr Key Keys[] = {
    {"ADMIN1", "ADMIN1"},     {"ADMIN2", "ADMIN2"},     {"ADMIN3", "ADMIN3"},     {"ADMIN4", "ADMIN4"},
    {"ADMIN5", "ADMIN5"},     {"ADMIN6", "ADMIN6"},     {"ADMIN7", "ADMIN7"},     {"ABUTTON1", "ABUTTON1"},
    {"ABUTTON2", "ABUTTON2"}, {"ABUTTON3", "ABUTTON3"}, {"ABUTTON4", "ABUTTON4"}, {"ABUTTON5", "ABUTTON5"},
    {"ABUTTON6", "ABUTTON6"}, {"ABUTTON7", "ABUTTON7"}, {"BBUTTON1", "BBUTTON1"}, {"BBUTTON2", "BBUTTON2"},
    {"BBUTTON3", "BBUTTON3"}, {"BBUTTON4", "BBUTTON4"}, {"BBUTTON5", "BBUTTON5"}, {"BBUTTON6", "BBUTTON6"},
    {"BBUTTON7", "BBUTTON7"}, {"ALARMON", "ALARMON"},   {"ALARMOFF", "ALARMOFF"}, {"PAROXA", "PARAMOXA"},
    {"PARRL1", "PARAMRL1"},   {"PARRL2", "PARAMRL2"},   {"PARKEY", "PARKEY"},
};

bool sameKey(const QByteArray &name, const char *key) {
    return name.compare(key, Qt::CaseInsensitive) == 0;
}

} // namespace

QList<OxaRow> parseOxaFile(const QByteArray &content) {
    QByteArray normalized = content;
    normalized.replace("\r\n", "\n");
    normalized.replace('\r', '\n');
    QList<QByteArray> lines = normalized.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QList<OxaRow> rows;
    for (const QByteArray &line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            rows.append({QByteArray(), line});
        else
            rows.append({line.left(equals), line.mid(equals + 1)});
    }
    return rows;
}

QList<IndexedEntry> simContentFromOxa(const QByteArray &content) {
    QList<OxaRow> rows = parseOxaFile(content);
    QList<std::pair<QByteArray, QByteArray>> ordered;
    for (const Key &key : Keys) {
        for (qsizetype i = 0; i < rows.size(); ++i) {
            // The SIM name is accepted too, so that a file listing PAROXA itself works as well.
            if (sameKey(rows[i].name, key.fileName) || sameKey(rows[i].name, key.simName)) {
                ordered.append({key.simName, rows[i].value});
                rows.removeAt(i);
                break;
            }
        }
    }
    for (const OxaRow &row : rows)
        ordered.append({row.name, row.value});

    QList<IndexedEntry> entries;
    int index = 1;
    for (const auto &[name, value] : ordered)
        if (!name.isEmpty() && !value.isEmpty())
            entries.append({index++, {value, name, SimEntry::typeOf(value)}});
    return entries;
}

} // namespace oxa::sim
