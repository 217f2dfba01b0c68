#pragma once

#include <QString>
#include <memory>

namespace oxa {

// A Windows-style INI file: sections and keys compared without regard to case, keys kept verbatim
// (spaces and all) and in the order they were read, comments and untouched keys kept on writing.
// A file that is valid UTF-8 is read and written as UTF-8; any other file keeps its 8-bit code page
// byte for byte (each byte one character). Written line ends are those of the file read.
// Values read as Windows reads them: one pair of matching quotes around a value is not part of it, and
// of a key that a hand-edited file holds twice the first line counts; every line is kept on writing.
class IniFile {
public:
    IniFile();
    ~IniFile();
    IniFile(const IniFile &) = delete;
    IniFile &operator=(const IniFile &) = delete;

    // The interface texts of every language take some hundred kilobytes; anything this large is some
    // other file, and reading it whole would stall start-up.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    // A missing file reads as empty; false (with `error`, and read as empty) when an existing file
    // cannot be read, is larger than MaxFileSize or holds a NUL byte (not an 8-bit or UTF-8 text).
    bool load(const QString &path, QString *error = nullptr);
    // Replaces the file through a temporary one, so a failed write leaves the old file intact.
    bool save(const QString &path, QString *error = nullptr) const;
    void loadFromBytes(const QByteArray &bytes);
    QByteArray toBytes() const;

    bool hasKey(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // A missing key, or a value that is not an integer, gives the default.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    // A value that reads as `value` already leaves its line as it is (quotes and all). Otherwise the first
    // line of the key takes the value, in quotes where it would not read back without them.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    // Keys of a section in file order.
    QStringList keys(const QString &section) const;
    QStringList sections() const;

private:
    QByteArray encode(const QString &text) const;
    QString decode(const char *bytes) const;

    struct Store;
    std::unique_ptr<Store> m_store;
    bool m_utf8 = true;
    // Line ends are written as the file had them (CR LF for a file edited on Windows).
#ifdef Q_OS_WIN
    bool m_crlf = true;
#else
    bool m_crlf = false;
#endif
};

} // namespace oxa
