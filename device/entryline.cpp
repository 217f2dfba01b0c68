#include "entryline.h"

namespace oxa {

const QList<QByteArray> &writeKeys() {
    static const QList<QByteArray> keys = [] {
        QList<QByteArray> list;
        for (const char *key : kWriteOrderKeys)
            list.append(QByteArray(key));
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
    if (name == QByteArrayView(kVersionKey))
        return EntryTarget::Version;
    const QList<QByteArray> &keys = writeKeys();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (name == keys[i])
            return i < KeyBoxCount ? EntryTarget::KeyBox : EntryTarget::Parameter;
    }
    return EntryTarget::GridRow;
}

} // namespace oxa
