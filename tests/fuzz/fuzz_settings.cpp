// The settings file as start-up reads it and shutdown rewrites it: any bytes load, every key of every
// section reads as text and as a number, and writing the window position and a text back keeps every
// other key of the file as it was read.
#include "fuzzcheck.h"

#include "inifile.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

using oxa::IniFile;

struct Snapshot {
    QStringList sections;
    QList<QStringList> keys;
    QList<QStringList> values;
};

Snapshot snapshot(const IniFile &ini, bool substitutesInFile) {
    Snapshot s;
    s.sections = ini.sections();
    for (const QString &section : s.sections) {
        const QStringList keys = ini.keys(section);
        QStringList values;
        for (const QString &key : keys) {
            FUZZ_CHECK(ini.hasKey(section, key));
            const QString value = ini.readString(section, key, QString());
            // A file in an 8-bit code page is read byte for byte: nothing becomes a replacement character.
            if (!substitutesInFile)
                FUZZ_CHECK(!section.contains(QChar::ReplacementCharacter) &&
                           !key.contains(QChar::ReplacementCharacter) &&
                           !value.contains(QChar::ReplacementCharacter));
            values << value;
            (void)ini.readInteger(section, key, 7);
            (void)ini.readBool(section, key, false);
        }
        s.keys << keys;
        s.values << values;
    }
    return s;
}

bool isUtf8(const QByteArray &bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    IniFile ini;
    ini.loadFromBytes(bytes);
    // U+FFFD in UTF-8, which a file may hold on purpose.
    const bool substitutes = bytes.contains("\xef\xbf\xbd");
    const Snapshot read = snapshot(ini, substitutes);

    // What start-up asks for; a value that is not a number gives the default.
    const int left = ini.readInteger(QStringLiteral("Form"), QStringLiteral("Left"), 200);
    if (!ini.hasKey(QStringLiteral("Form"), QStringLiteral("Left")))
        FUZZ_CHECK(left == 200);
    (void)ini.readInteger(QStringLiteral("Form"), QStringLiteral("WaitSer"), 1000);
    (void)ini.readBool(QStringLiteral("Form"), QStringLiteral("Inicializace"), false);
    (void)ini.readString(QStringLiteral("Form"), QStringLiteral("Port"), QString());
    const QString language =
        ini.readString(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("Eng"));

    // Shutdown: the position and the language name written back, then the file reloaded from its bytes.
    ini.writeInteger(QStringLiteral("Form"), QStringLiteral("Top"), 123);
    ini.writeString(QStringLiteral("Language"), QStringLiteral("Language"), language);
    const QByteArray saved = ini.toBytes();
    // Saved with the line ends the file had.
    if (const qsizetype lf = bytes.indexOf('\n'); lf >= 0) {
        const bool crlf = lf > 0 && bytes[lf - 1] == '\r';
        FUZZ_CHECK(saved.count("\r\n") == (crlf ? saved.count('\n') : 0));
    }
    IniFile reloaded;
    reloaded.loadFromBytes(saved);
    FUZZ_CHECK(reloaded.readInteger(QStringLiteral("Form"), QStringLiteral("Top"), 0) == 123);
    (void)snapshot(reloaded, substitutes);
    // A file whose only invalid UTF-8 was in lines that are not entries is UTF-8 once saved; its values,
    // the language name among them, keep their bytes but read differently then. In every other case the
    // language name and each other key read as before.
    if (isUtf8(bytes) != isUtf8(saved))
        return 0;
    FUZZ_CHECK(reloaded.readString(QStringLiteral("Language"), QStringLiteral("Language"), QString()) ==
               language);
    for (qsizetype i = 0; i < read.sections.size(); ++i) {
        for (qsizetype k = 0; k < read.keys[i].size(); ++k) {
            const QString &section = read.sections[i];
            const QString &key = read.keys[i][k];
            const bool rewritten = (section.compare(QStringLiteral("Form"), Qt::CaseInsensitive) == 0 &&
                                    key.compare(QStringLiteral("Top"), Qt::CaseInsensitive) == 0) ||
                                   (section.compare(QStringLiteral("Language"), Qt::CaseInsensitive) == 0 &&
                                    key.compare(QStringLiteral("Language"), Qt::CaseInsensitive) == 0);
            if (!rewritten)
                FUZZ_CHECK(reloaded.readString(section, key, QStringLiteral("<missing>")) ==
                           read.values[i][k]);
        }
    }
    return 0;
}
