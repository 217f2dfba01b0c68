#include "entryline.h"

namespace oxa {

const QList<QByteArray> &writeKeys() {
    static const QList<QByteArray> keys = [] {
        QList<QByteArray> list;
        for (const char *group : {"ADMIN", "ABUTTON", "BBUTTON"}) {
            for (int i = 1; i <= 7; ++i)
                list.append(QByteArray(group) + QByteArray::number(i));
        }
        list << "ALARMON"
             << "ALARMOFF"
             << "PAROXA"
             << "PARRL1"
             << "PARRL2"
             << "PARKEY";
        return list;
    }();
    return keys;
}

QList<QByteArray> keyBoxNames() {
    return writeKeys().first(KeyBoxCount);
}

QList<QByteArray> parameterNames() {
    return writeKeys().sliced(KeyBoxCount);
}

EntryTarget classifyEntryName(QByteArrayView name) {
    if (name == QByteArrayView("VER"))
        return EntryTarget::Version;
    const QList<QByteArray> &keys = writeKeys();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (name == keys[i])
            return i < KeyBoxCount ? EntryTarget::KeyBox : EntryTarget::Parameter;
    }
    return EntryTarget::GridRow;
}

} // namespace oxa
