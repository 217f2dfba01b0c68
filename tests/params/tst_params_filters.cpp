#include "inputfilters.h"

#include <QTest>

using namespace oxa;

class TestFilters : public QObject {
    Q_OBJECT
private slots:
    void phoneNumber_data();
    void phoneNumber();
    void relayCode_data();
    void relayCode();
    void relayTime_data();
    void relayTime();
    void filtersAreIdempotent_data();
    void filtersAreIdempotent();
    void boxFilterByName_data();
    void boxFilterByName();
    void mirroredBoxes();
};

void TestFilters::phoneNumber_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("letter cuts the rest") << "12a34"
                                          << "12";
    QTest::newRow("leading blank, inner blank cuts") << " +12 345"
                                                     << "+12";
    QTest::newRow("25 digits cut to 20") << "1234567890123456789012345"
                                         << "12345678901234567890";
    QTest::newRow("20 allowed chars kept") << "+420*#12345678901234"
                                           << "+420*#12345678901234";
    QTest::newRow("single letter stays") << "a"
                                         << "a";
    QTest::newRow("digit after letter empties") << "a1"
                                                << "";
    QTest::newRow("single letter trimmed") << " \tb\r\n"
                                           << "b";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blanks only") << "   "
                                 << "";
    QTest::newRow("trailing control chars") << "123\r\n"
                                            << "123";
    QTest::newRow("non-ASCII digit cuts") << QString::fromUtf8("12\u0663") << "12";
    QTest::newRow("Latin-1 letter cuts") << QString::fromLatin1("5\xe9") << "5";
}

void TestFilters::phoneNumber() {
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(phoneNumberFilter(in), out);
}

void TestFilters::relayCode_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("letter gives 0") << "x"
                                    << "0";
    QTest::newRow("last digit kept") << "58"
                                     << "8";
    QTest::newRow("typing after 5") << "56"
                                    << "6";
    QTest::newRow("single digit") << "7"
                                  << "7";
    QTest::newRow("zero") << "0"
                          << "0";
    QTest::newRow("digits then letter") << "34z9"
                                        << "4";
    QTest::newRow("blanks trimmed") << " 3 "
                                    << "3";
    // Left empty without complaint; the next decoding restores the relay string.
    QTest::newRow("empty stays empty") << ""
                                       << "";
    QTest::newRow("blank stays empty") << " "
                                       << "";
}

void TestFilters::relayCode() {
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(relayCodeFilter(in), out);
}

void TestFilters::relayTime_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("0") << "0"
                       << "01";
    QTest::newRow("00") << "00"
                        << "01";
    QTest::newRow("000") << "000"
                         << "01";
    QTest::newRow("123") << "123"
                         << "23";
    QTest::newRow("4") << "4"
                       << "04";
    QTest::newRow("typing after 03") << "035"
                                     << "35";
    QTest::newRow("99") << "99"
                        << "99";
    QTest::newRow("100 ends in 00") << "100"
                                    << "01";
    QTest::newRow("letter only") << "x"
                                 << "01";
    QTest::newRow("digit then letter") << "7x12"
                                       << "07";
    QTest::newRow("empty stays empty") << ""
                                       << "";
    QTest::newRow("control chars stay empty") << "\t\r"
                                              << "";
}

void TestFilters::relayTime() {
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(relayTimeFilter(in), out);
}

// The change handler writes the result back and runs once more; a second pass must not change it.
void TestFilters::filtersAreIdempotent_data() {
    QTest::addColumn<QString>("in");
    for (const char *s : {"12a34", " +12 345", "a", "a1", "", " ", "x", "58", "0", "00", "123", "4", "5\t",
                          "1234567890123456789012345", "+*#", "#"})
        QTest::newRow(s) << QString::fromLatin1(s);
}

void TestFilters::filtersAreIdempotent() {
    QFETCH(QString, in);
    for (auto filter : {phoneNumberFilter, relayCodeFilter, relayTimeFilter}) {
        const QString once = filter(in);
        QCOMPARE(filter(once), once);
    }
}

void TestFilters::boxFilterByName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("filter");
    const int phone = int(BoxFilter::PhoneNumber);
    QTest::newRow("ADMIN1") << "ADMIN1" << phone;
    QTest::newRow("ADMIN7") << "ADMIN7" << phone;
    QTest::newRow("ABUTTON4") << "ABUTTON4" << phone;
    QTest::newRow("AABUTTON7") << "AABUTTON7" << phone;
    QTest::newRow("BBUTTON1") << "BBUTTON1" << phone;
    QTest::newRow("MemoPNumber") << "MemoPNumber" << phone;
    QTest::newRow("ButtonPNumber") << "ButtonPNumber" << phone;
    QTest::newRow("RelCode2") << "RelCode2" << int(BoxFilter::RelayCode);
    QTest::newRow("RelTime1") << "RelTime1" << int(BoxFilter::RelayTime);
    QTest::newRow("ADMIN8") << "ADMIN8" << int(BoxFilter::None);
    QTest::newRow("ADMIN0") << "ADMIN0" << int(BoxFilter::None);
    QTest::newRow("ALARMON") << "ALARMON" << int(BoxFilter::None);
    QTest::newRow("FindN") << "FindN" << int(BoxFilter::None);
    QTest::newRow("lower case") << "admin1" << int(BoxFilter::None);
}

void TestFilters::boxFilterByName() {
    QFETCH(QString, name);
    QFETCH(int, filter);
    QCOMPARE(int(boxFilter(name)), filter);
}

void TestFilters::mirroredBoxes() {
    QCOMPARE(mirroredBox(QStringLiteral("AABUTTON3")), QStringLiteral("ABUTTON3"));
    QCOMPARE(mirroredBox(QStringLiteral("ABUTTON3")), QStringLiteral("AABUTTON3"));
    QCOMPARE(mirroredBox(QStringLiteral("ABUTTON7")), QStringLiteral("AABUTTON7"));
    QCOMPARE(mirroredBox(QStringLiteral("BBUTTON3")), QString());
    QCOMPARE(mirroredBox(QStringLiteral("ABUTTON8")), QString());
    QCOMPARE(mirroredBox(QStringLiteral("ADMIN1")), QString());
}

QTEST_APPLESS_MAIN(TestFilters)
#include "tst_params_filters.moc"
