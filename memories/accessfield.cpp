#include "accessfield.h"

#include "integertext.h"
#include "nodetext.h"

namespace oxa {

namespace {

const QByteArray star = "**";

QList<QByteArray> twoDigitItems(int first, int last) {
    QList<QByteArray> items;
    for (int value = first; value <= last; ++value)
        items.append(QByteArray::number(value).rightJustified(2, '0'));
    return items;
}

QByteArray flag(bool on) {
    return on ? "1" : "0";
}

// Character `position` (numbered from 1) and the ones after it, as far as the field reaches.
QByteArray fieldAt(const QByteArray &field, int position, int length) {
    return field.mid(position - 1, length);
}

struct ListField {
    CodeList list;
    int position; // of the two characters, numbered from 1
};

QList<ListField> listFieldsOfMode(int mode) {
    switch (mode) {
    case 1:
        return {{CodeList::M1Acces, 13}};
    case 2:
        return {{CodeList::FromM2, 5}, {CodeList::FromD2, 7}, {CodeList::ToM2, 10}, {CodeList::ToD2, 12}};
    case 3:
        return {{CodeList::FromM3, 5}, {CodeList::FromD3, 7}, {CodeList::M3Acces, 10}};
    case 4:
        return {{CodeList::FromHours, 5}, {CodeList::ToHours, 8}, {CodeList::M4Acces, 11}};
    default:
        return {};
    }
}

} // namespace

QList<QByteArray> codeListItems(CodeListKind kind) {
    switch (kind) {
    case CodeListKind::Access:
        return QList<QByteArray>{star} + twoDigitItems(1, 99);
    case CodeListKind::Month:
        return QList<QByteArray>{star} + twoDigitItems(1, 12);
    case CodeListKind::Day:
        return QList<QByteArray>{star} + twoDigitItems(1, 31);
    case CodeListKind::Hour:
        return twoDigitItems(0, 23) + QList<QByteArray>{star};
    }
    return {};
}

int starItem(CodeListKind kind) {
    return kind == CodeListKind::Hour ? 24 : 0;
}

int initialItem(CodeListKind kind) {
    return kind == CodeListKind::Access ? 0 : 1;
}

ListChoice chooseCodeListItem(CodeListKind kind, const QByteArray &value, const CodePageCodec &codec) {
    const QList<QByteArray> items = codeListItems(kind);
    ListChoice choice;
    int index = starItem(kind);
    if (value != star) {
        const std::optional<int> number = integerFromText(value);
        if (!number) {
            choice.error = notAnIntegerMessage(value, codec);
            return choice;
        }
        index = *number;
    }
    if (index >= 0 && index < items.size()) {
        choice.index = index;
        choice.text = items.at(index);
    }
    return choice;
}

const char *codeListName(CodeList list) {
    switch (list) {
    case CodeList::M1Acces:
        return "M1Acces";
    case CodeList::FromM2:
        return "FromM2";
    case CodeList::FromD2:
        return "FromD2";
    case CodeList::ToM2:
        return "ToM2";
    case CodeList::ToD2:
        return "ToD2";
    case CodeList::FromM3:
        return "FromM3";
    case CodeList::FromD3:
        return "FromD3";
    case CodeList::M3Acces:
        return "M3Acces";
    case CodeList::FromHours:
        return "FromHours";
    case CodeList::ToHours:
        return "ToHours";
    case CodeList::M4Acces:
        return "M4Acces";
    }
    return "";
}

CodeListKind codeListKind(CodeList list) {
    switch (list) {
    case CodeList::M1Acces:
    case CodeList::M3Acces:
    case CodeList::M4Acces:
        return CodeListKind::Access;
    case CodeList::FromM2:
    case CodeList::ToM2:
    case CodeList::FromM3:
        return CodeListKind::Month;
    case CodeList::FromD2:
    case CodeList::ToD2:
    case CodeList::FromD3:
        return CodeListKind::Day;
    case CodeList::FromHours:
    case CodeList::ToHours:
        return CodeListKind::Hour;
    }
    return CodeListKind::Access;
}

QList<CodeList> codeListsOfMode(int mode) {
    QList<CodeList> lists;
    for (const ListField &field : listFieldsOfMode(mode))
        lists.append(field.list);
    return lists;
}

QString codePageName(int mode) {
    return QStringLiteral("M%1").arg(mode);
}
QString codeEditName(int mode) {
    return QStringLiteral("CodeM%1").arg(mode);
}
QString codeLabelName(int mode) {
    return QStringLiteral("LabelCodeM%1").arg(mode);
}
QString relayButtonName(int mode, int relay) {
    return QStringLiteral("M%1Rel%2").arg(mode).arg(relay);
}
QString smsBoxName(int mode) {
    return QStringLiteral("M%1SMS").arg(mode);
}
QString writeCodeButtonName(int mode) {
    return QStringLiteral("WriteCode%1").arg(mode);
}

QList<QString> dayBoxNames() {
    return {QStringLiteral("Po"), QStringLiteral("Ut"), QStringLiteral("St"), QStringLiteral("Ct"),
            QStringLiteral("Pa"), QStringLiteral("So"), QStringLiteral("Ne")};
}

QByteArray codePreviewLabel(const QByteArray &code) {
    return "(C" + code + "C)";
}
QByteArray initialCodeLabel() {
    return "C";
}

QByteArray relayDigit(bool firstRelay, bool secondRelay) {
    return QByteArray::number((firstRelay ? 1 : 0) + (secondRelay ? 2 : 0));
}

QByteArray encodeAccessField(const CodePage &page) {
    QByteArray field = relayDigit(page.firstRelay, page.secondRelay) + '#' + QByteArray::number(page.mode);
    switch (page.mode) {
    case 1: {
        QByteArray days;
        for (bool day : page.days)
            days += flag(day);
        field += '#' + days + '#' + page.access;
        break;
    }
    case 2:
        field += '#' + page.fromMonth + page.fromDay + '#' + page.toMonth + page.toDay;
        break;
    case 3:
        field += '#' + page.fromMonth + page.fromDay + '#' + page.access;
        break;
    case 4:
        field += '#' + page.fromHour + '#' + page.toHour + '#' + page.access;
        break;
    default:
        return field;
    }
    return field + '#' + flag(page.sms);
}

DecodedCode decodeCodeNode(const QByteArray &nodeText, const CodePageCodec &codec) {
    DecodedCode decoded;
    const qsizetype hash = nodeText.indexOf('#');
    const QByteArray modeText = hash < 0 ? QByteArray() : nodeText.mid(hash + 1, 1);
    const std::optional<int> mode = integerFromText(modeText);
    if (!mode) {
        decoded.error = notAnIntegerMessage(modeText, codec);
        return decoded;
    }
    if (*mode < 0 || *mode >= codeModeCount) {
        decoded.page = -1;
        return decoded;
    }
    decoded.page = *mode;
    decoded.code = nodeCode(nodeText);

    const QByteArray field = nodeAccessField(nodeText);
    if (field.startsWith('1'))
        decoded.relay = 1;
    else if (field.startsWith('2'))
        decoded.relay = 2;

    if (*mode == 1) {
        std::array<bool, 7> days{};
        for (int day = 0; day < 7; ++day)
            days[day] = fieldAt(field, 5 + day, 1) == "1";
        decoded.days = days;
    }
    for (const ListField &listField : listFieldsOfMode(*mode)) {
        const ListChoice choice =
            chooseCodeListItem(codeListKind(listField.list), fieldAt(field, listField.position, 2), codec);
        if (!choice.error.isEmpty()) {
            decoded.error = choice.error;
            return decoded;
        }
        decoded.lists.append({listField.list, choice});
    }
    if (*mode != 0)
        decoded.sms = field.endsWith('1');
    return decoded;
}

} // namespace oxa
