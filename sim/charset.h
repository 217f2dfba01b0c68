#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <optional>

namespace oxa::sim {

// The text of the SIM's names between the bytes the SIM holds and the character set a client chose
// with AT+CSCS.
//
// The SIM holds each name as 8-bit bytes in the code page of the PC that wrote it (Windows-1250 for
// this program's users): the configuration program talks "IRA" and sends and reads those bytes as they
// are, so in "IRA" they pass unchanged both ways, as they always have. Every other character set is a
// real conversion through the code page: "UCS2" is the hex of the UTF-16 code units, "GSM" the GSM
// 7-bit default alphabet one septet a byte (escape sequences for its extension table), "8859-1"
// Latin-1. Conversions use Qt's converters (ICU), never a table of our own.
class ModuleCharset {
public:
    // The character sets the module offers, in the order AT+CSCS=? lists them.
    static QByteArrayList names();

    // `codePage` names the SIM's code page as ICU knows it ("windows-1250").
    explicit ModuleCharset(const QByteArray &codePage = "windows-1250");
    // False when no converter is available for the code page (Qt built without ICU, or a wrong name):
    // then only "IRA" can be chosen.
    bool isValid() const { return m_valid; }
    const QByteArray &codePage() const { return m_codePage; }

    // True when `set` (upper case, unquoted) can be chosen.
    bool accepts(const QByteArray &set) const;

    // A stored name as the module shows it in `set`. A character the set cannot hold is shown as "?",
    // as the module's own conversion does.
    QByteArray present(const QByteArray &stored, const QByteArray &set) const;

    enum class Refusal { None, Malformed, InvalidCharacters };
    struct Stored {
        QByteArray bytes;
        Refusal refusal = Refusal::None;
    };
    // A name sent in `set` as the SIM would store it. Malformed: not text of that set (odd hex, a
    // byte outside the GSM alphabet); InvalidCharacters: a character the SIM's code page cannot hold.
    Stored store(const QByteArray &text, const QByteArray &set) const;

private:
    QByteArray m_codePage;
    bool m_valid = false;
};

} // namespace oxa::sim
