#include "phonebookrows.h"

namespace oxa {

PhoneBookRow splitPhoneBookLine(const QByteArray &line) {
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return {QByteArray(), line, false};
    return {line.left(eq), line.mid(eq + 1), true};
}

QByteArray phoneBookLine(const PhoneBookRow &row) {
    return row.name + '=' + row.phone;
}

bool phoneBookNameMatches(const QString &rowName, bool rowHasSeparator, const QString &wanted) {
    return rowHasSeparator && rowName.compare(wanted, Qt::CaseInsensitive) == 0;
}

int findPhoneBookRow(const QList<PhoneBookRow> &rows, const QString &wanted) {
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (phoneBookNameMatches(QString::fromLatin1(rows[i].name), rows[i].separator, wanted))
            return int(i);
    }
    return -1;
}

std::optional<int> insertLineIndex(int rowCount, int currentRow, bool currentRowIsEmpty) {
    const bool hasCurrent = currentRow >= 0 && currentRow < rowCount;
    if (!hasCurrent)
        return 0;
    if (currentRowIsEmpty)
        return std::nullopt;
    return currentRow;
}

std::optional<int> appendLineIndex(int rowCount, int currentRow, bool currentRowIsEmpty) {
    if (rowCount == 0 || currentRow != rowCount - 1 || currentRowIsEmpty)
        return std::nullopt;
    return rowCount;
}

std::optional<LineDeletion> deleteLine(int rowCount, int currentRow) {
    if (currentRow < 0 || currentRow >= rowCount)
        return std::nullopt;
    if (rowCount == 1)
        return LineDeletion{currentRow, -1};
    if (currentRow == rowCount - 1)
        return LineDeletion{currentRow, currentRow - 1};
    return LineDeletion{currentRow, currentRow};
}

} // namespace oxa
