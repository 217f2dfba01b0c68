#include "simcontent.h"

#include <QList>
#include <algorithm>

namespace oxa::bench {

QByteArray fullConfiguration() {
    QByteArray text;
    const auto line = [&text](const QByteArray &name, const QByteArray &value) {
        text += name + '=' + value + "\r\n";
    };
    for (const char *group : {"ADMIN", "ABUTTON", "BBUTTON"})
        for (int i = 1; i <= 7; ++i)
            line(group + QByteArray::number(i), "+42060" + QByteArray::number(3000000 + i * 1111));
    line("ALARMON", "Alarm on");
    line("ALARMOFF", "Alarm off");
    line("PARAMOXA", "4#5#1#1#1#7#2#3");
    line("PARAMRL1", "1#1#05#0");
    line("PARAMRL2", "2#2#03#0");
    line("PARKEY", "3#0");

    QList<std::pair<QByteArray, QByteArray>> tagged;
    for (int button = 1; button <= 10; ++button)
        for (int position = 1; position <= 7; ++position)
            tagged.append({"B" + QByteArray::number(button) + '-' + QByteArray::number(position),
                           "+4206031" + QByteArray::number(10000 + button * 10 + position)});
    for (int memory = 1; memory <= 15; ++memory)
        for (int position = 1; position <= 7 && tagged.size() < 170; ++position)
            tagged.append({"M" + QByteArray::number(memory) + '-' + QByteArray::number(position),
                           "7771" + QByteArray::number(20000 + memory * 10 + position)});
    for (int code = 0; code < 20; ++code)
        tagged.append(std::pair<QByteArray, QByteArray>("C" + QByteArray::number(1000 + code * 37) + 'C',
                                                        "1#" + QByteArray::number(code % 4) + "#05#0"));
    tagged.append(std::pair<QByteArray, QByteArray>("DETECT", "1"));
    std::sort(tagged.begin(), tagged.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    for (const auto &[name, value] : tagged)
        line(name, value);

    const int plainRows = GridRows - int(tagged.size()) - 1;
    for (int i = 1; i <= plainRows; ++i)
        line("Contact " + QByteArray::number(i), "+4207" + QByteArray::number(21000000 + i * 97));
    line(LastRowName, "+420800123456");
    return text;
}

} // namespace oxa::bench

namespace oxa::bench {

QByteArray fullListing() {
    QByteArray listing;
    int index = 0;
    for (const QByteArray &line : fullConfiguration().split('\n')) {
        const QByteArray entry = line.trimmed();
        const qsizetype equals = entry.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArray number = entry.mid(equals + 1);
        const char *type = number.startsWith('+') ? "145" : "129";
        listing += "\r\n+CPBR: " + QByteArray::number(++index) + ",\"" + number + "\"," + type + ",\"" +
                   entry.left(equals) + "\"";
    }
    // The module's own key names for three parameter strings.
    listing.replace("\"PARAMOXA\"", "\"PAROXA\"")
        .replace("\"PARAMRL1\"", "\"PARRL1\"")
        .replace("\"PARAMRL2\"", "\"PARRL2\"");
    return listing + "\r\n\r\nOK\r\n";
}

} // namespace oxa::bench
