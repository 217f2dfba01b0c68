// The code page between the unit's bytes and the window's characters, and how it is chosen.
#include "codepagechoice.h"
#include "codepagecodec.h"

#include <QSet>
#include <QTest>

using namespace oxa;

class TestCodePage : public QObject {
    Q_OBJECT
private slots:
    void everyByteRoundTrips_data();
    void everyByteRoundTrips();
    void charactersOfTheCodePage_data();
    void charactersOfTheCodePage();
    void unassignedBytesKeepTheirPlace();
    void charactersOutsideTheCodePageAreNamed_data();
    void charactersOutsideTheCodePageAreNamed();
    void latin1WithoutAConverter();
    void defaultFromTheLanguage_data();
    void defaultFromTheLanguage();
    void settingNamesACodePage_data();
    void settingNamesACodePage();
    void choiceSaysWhatItUsedInstead();
};

void TestCodePage::everyByteRoundTrips_data() {
    QTest::addColumn<int>("number");
    for (int number = 1250; number <= 1258; ++number)
        QTest::addRow("windows-%d", number) << number;
}

// Whatever the code page, each of the 256 bytes decodes to a character of its own, and that character
// encodes back to the same byte: a whole SIM goes out as it came in.
void TestCodePage::everyByteRoundTrips() {
    QFETCH(int, number);
    const std::optional<CodePageCodec> codec =
        CodePageCodec::forName(CodePageCodec::windowsCodePageName(number));
    QVERIFY(codec);
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));
    const QString text = codec->decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(QSet<QChar>(text.cbegin(), text.cend()).size(), 256);
    for (int byte = 0; byte < 256; ++byte) {
        QCOMPARE(codec->decode(char(byte)), text[byte]);
        QVERIFY2(codec->canEncode(text[byte]), qPrintable(QString::number(byte, 16)));
    }
    QCOMPARE(codec->encode(text), std::optional<QByteArray>(all));
    QCOMPARE(codec->firstUnencodable(text), std::nullopt);
}

void TestCodePage::charactersOfTheCodePage_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("Czech") << QByteArray("windows-1250") << QByteArray("Jan Nov\xe1\xe8\x65k-Dvo\xf8\xe1k")
                           << QStringLiteral("Jan Nováček-Dvořák");
    QTest::newRow("Czech capitals") << QByteArray("windows-1250") << QByteArray("\x8a\x8e\xd8")
                                    << QStringLiteral("ŠŽŘ");
    QTest::newRow("Russian") << QByteArray("windows-1251") << QByteArray("\xc8\xe2\xe0\xed")
                             << QStringLiteral("Иван");
    QTest::newRow("Western") << QByteArray("windows-1252") << QByteArray("\x80 Fran\xe7ois")
                             << QStringLiteral("€ François");
    QTest::newRow("Greek") << QByteArray("windows-1253") << QByteArray("\xc1\xe8\xde\xed\xe1")
                           << QStringLiteral("Αθήνα");
    QTest::newRow("Turkish") << QByteArray("windows-1254") << QByteArray("\xdd\x73tanbul \xfe")
                             << QStringLiteral("İstanbul ş");
    QTest::newRow("Baltic") << QByteArray("windows-1257") << QByteArray("\xd0\x61ulius")
                            << QStringLiteral("Šaulius");
}

void TestCodePage::charactersOfTheCodePage() {
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const std::optional<CodePageCodec> codec = CodePageCodec::forName(name);
    QVERIFY(codec);
    QCOMPARE(codec->name(), name);
    QCOMPARE(codec->decode(bytes), text);
    QCOMPARE(codec->encode(text), std::optional<QByteArray>(bytes));
}

// Greek leaves 0xD2 and 0xFF without a character: they stand for private-use characters that
// nobody types, and still go back as the same bytes.
void TestCodePage::unassignedBytesKeepTheirPlace() {
    const std::optional<CodePageCodec> greek = CodePageCodec::forName("windows-1253");
    QVERIFY(greek);
    QCOMPARE(greek->decode('\xd2'), QChar(0xF7D2));
    QCOMPARE(greek->decode('\xff'), QChar(0xF7FF));
    QCOMPARE(greek->encode(QString(QChar(0xF7D2))), std::optional<QByteArray>("\xd2"));
    // A private-use character of a byte the code page does assign is not one of its characters.
    QVERIFY(!greek->canEncode(QChar(0xF7C1)));
}

void TestCodePage::charactersOutsideTheCodePageAreNamed_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("first");
    QTest::addColumn<QString>("kept");
    QTest::newRow("Greek letter in Czech") << QByteArray("windows-1250") << QStringLiteral("Jan Ω Novák")
                                           << uint(0x3A9) << QStringLiteral("Jan  Novák");
    QTest::newRow("Czech letter in Western")
        << QByteArray("windows-1252") << QStringLiteral("Dvořák") << uint(0x159) << QStringLiteral("Dvoák");
    QTest::newRow("beyond U+FFFF") << QByteArray("windows-1250") << QStringLiteral("a😀b") << uint(0x1F600)
                                   << QStringLiteral("ab");
    QTest::newRow("Cyrillic in Greek")
        << QByteArray("windows-1253") << QStringLiteral("Ж") << uint(0x416) << QString();
}

// Nothing becomes "?": a text with a character the code page cannot hold has no bytes, and says which
// character it is.
void TestCodePage::charactersOutsideTheCodePageAreNamed() {
    QFETCH(QByteArray, name);
    QFETCH(QString, text);
    QFETCH(uint, first);
    QFETCH(QString, kept);
    const std::optional<CodePageCodec> codec = CodePageCodec::forName(name);
    QVERIFY(codec);
    QCOMPARE(codec->encode(text), std::nullopt);
    QCOMPARE(codec->firstUnencodable(text), std::optional<char32_t>(first));
    QCOMPARE(codec->encodableOnly(text), kept);
    QVERIFY(describeCharacter(first).contains(QString::number(first, 16).toUpper()));
}

void TestCodePage::latin1WithoutAConverter() {
    const CodePageCodec latin1;
    QCOMPARE(latin1.name(), QByteArray("ISO-8859-1"));
    for (int byte = 0; byte < 256; ++byte)
        QCOMPARE(latin1.decode(char(byte)), QChar(char16_t(byte)));
    QCOMPARE(latin1.encode(QStringLiteral("ř")), std::nullopt);
    QCOMPARE(CodePageCodec::forName("no-such-code-page"), std::nullopt);
}

void TestCodePage::defaultFromTheLanguage_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("codePage");
    QTest::newRow("Czech") << QLocale(QLocale::Czech) << 1250;
    QTest::newRow("Slovak") << QLocale(QLocale::Slovak) << 1250;
    QTest::newRow("Polish") << QLocale(QLocale::Polish) << 1250;
    QTest::newRow("Hungarian") << QLocale(QLocale::Hungarian) << 1250;
    QTest::newRow("Serbian, Latin") << QLocale(QLocale::Serbian, QLocale::LatinScript, QLocale::Serbia)
                                    << 1250;
    QTest::newRow("Serbian, Cyrillic")
        << QLocale(QLocale::Serbian, QLocale::CyrillicScript, QLocale::Serbia) << 1251;
    QTest::newRow("Russian") << QLocale(QLocale::Russian) << 1251;
    QTest::newRow("Ukrainian") << QLocale(QLocale::Ukrainian) << 1251;
    QTest::newRow("Bulgarian") << QLocale(QLocale::Bulgarian) << 1251;
    QTest::newRow("Greek") << QLocale(QLocale::Greek) << 1253;
    QTest::newRow("Turkish") << QLocale(QLocale::Turkish) << 1254;
    QTest::newRow("Lithuanian") << QLocale(QLocale::Lithuanian) << 1257;
    QTest::newRow("Latvian") << QLocale(QLocale::Latvian) << 1257;
    QTest::newRow("Estonian") << QLocale(QLocale::Estonian) << 1257;
    QTest::newRow("German") << QLocale(QLocale::German) << 1252;
    QTest::newRow("English") << QLocale(QLocale::English) << 1252;
    QTest::newRow("C") << QLocale::c() << 1252;
}

void TestCodePage::defaultFromTheLanguage() {
    QFETCH(QLocale, locale);
    QFETCH(int, codePage);
    QCOMPARE(windowsCodePageFor(locale), codePage);
    QCOMPARE(chooseCodePage(QString(), locale).codec.name(), CodePageCodec::windowsCodePageName(codePage));
}

void TestCodePage::settingNamesACodePage_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("codePage"); // 0: not a code page offered
    QTest::newRow("number") << "1250" << 1250;
    QTest::newRow("Windows name") << "windows-1251" << 1251;
    QTest::newRow("capitals") << "Windows-1257" << 1257;
    QTest::newRow("without the dash") << "WINDOWS1253" << 1253;
    QTest::newRow("cp") << "cp1254" << 1254;
    QTest::newRow("blanks") << "  1258 " << 1258;
    QTest::newRow("not offered") << "437" << 0;
    QTest::newRow("UTF-8") << "utf-8" << 0;
    QTest::newRow("words") << "Czech" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestCodePage::settingNamesACodePage() {
    QFETCH(QString, value);
    QFETCH(int, codePage);
    const std::optional<int> parsed = windowsCodePageFromSetting(value);
    QCOMPARE(parsed.value_or(0), codePage);
    if (codePage != 0) {
        const CodePageChoice choice = chooseCodePage(value, QLocale(QLocale::German));
        QCOMPARE(choice.codec.name(), CodePageCodec::windowsCodePageName(codePage));
        QVERIFY(choice.problem.isEmpty());
    }
}

void TestCodePage::choiceSaysWhatItUsedInstead() {
    const CodePageChoice choice = chooseCodePage(QStringLiteral("utf-8"), QLocale(QLocale::Czech));
    QCOMPARE(choice.codec.name(), QByteArray("windows-1250"));
    QVERIFY2(choice.problem.contains("utf-8") && choice.problem.contains("1250"), qPrintable(choice.problem));
}

QTEST_APPLESS_MAIN(TestCodePage)
#include "tst_params_codepage.moc"
