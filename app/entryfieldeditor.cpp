#include "entryfieldeditor.h"

#include "fieldcheck.h"

#include <QLineEdit>
#include <QToolTip>

#include <algorithm>

namespace oxa {

namespace {

qsizetype breakingCount(const QString &text) {
    return std::count_if(text.cbegin(), text.cend(),
                         [](QChar c) { return isCommandBreakingCharacter(c.unicode()); });
}

} // namespace

// Only a character added by this edit is refused: a cell that came from the unit or a file with such a
// character can still be corrected by deleting it.
QValidator::State EntryFieldValidator::validate(QString &input, int &) const {
    const QString &before = m_accepted;
    m_lastRefused.reset();
    if (breakingCount(input) <= breakingCount(before))
        return Acceptable;
    for (const QChar c : input)
        if (isCommandBreakingCharacter(c.unicode()) && !before.contains(c)) {
            m_lastRefused = c;
            break;
        }
    if (!m_lastRefused)
        m_lastRefused = firstCommandBreakingCharacter(input);
    return Invalid;
}

QString refusedCharacterHint(int row, const QString &entryName, QChar character) {
    const QString what = character.unicode() < 128 ? describeBreakingByte(char(character.unicode()))
                                                   : QObject::tr("\"%1\"").arg(character);
    const QString entry = entryName.isEmpty() ? QObject::tr("Row %1").arg(row)
                                              : QObject::tr("Row %1 (%2)").arg(row).arg(entryName);
    return QObject::tr("%1: %2 cannot be stored in a SIM entry; it was not taken.").arg(entry, what);
}

QWidget *PhoneBookCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                             const QModelIndex &index) const {
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    auto *validator = new EntryFieldValidator(editor);
    editor->setValidator(validator);
    connect(editor, &QLineEdit::textChanged, validator, &EntryFieldValidator::setAcceptedText);
    const QPersistentModelIndex cell(index);
    connect(editor, &QLineEdit::inputRejected, editor, [editor, validator, cell] {
        const std::optional<QChar> refused = validator->lastRefused();
        if (!refused || !cell.isValid())
            return;
        const QString name = cell.model()->index(cell.row(), 0).data().toString();
        const QString hint = refusedCharacterHint(cell.row() + 1, name, *refused);
        editor->setProperty("refusedHint", hint);
        QToolTip::showText(editor->mapToGlobal(QPoint(0, editor->height())), hint, editor);
    });
    return editor;
}

} // namespace oxa
