#include "shownbytes.h"

#include <QObject>

namespace oxa {

QByteArray shownTextBytes(const CodePageCodec &codec, const QString &text) {
    if (std::optional<QByteArray> bytes = codec.encode(text))
        return *bytes;
    throw UnencodableText(QObject::tr("Nothing was done: the text \"%1\" holds %2.")
                              .arg(text, notInCodePage(codec, *codec.firstUnencodable(text))));
}

QString notInCodePage(const CodePageCodec &codec, char32_t character) {
    return QObject::tr("%1, which is not in code page %2, so the unit cannot store it")
        .arg(describeCharacter(character), QString::fromLatin1(codec.name()));
}

} // namespace oxa
