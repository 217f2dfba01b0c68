#include "entryfieldeditor.h"

#include "codepagecodec.h"
#include "fieldcheck.h"
#include "shownbytes.h"

#include <QLineEdit>
#include <QToolTip>

#include <algorithm>

namespace oxa {

namespace {

qsizetype breakingCount(const QString &text) {
    return std::count_if(text.cbegin(), text.cend(),
                         [](QChar c) { return isCommandBreakingCharacter(c.unicode()); });
}

qsizetype unencodableCount(const QString &text, const CodePageCodec &codePage) {
    return std::count_if(text.cbegin(), text.cend(), [&](QChar c) { return !codePage.canEncode(c); });
}

// "Row 3 (Jan Novák)", or "Row 3" for a row without a name.
QString gridEntry(int row, const QString &entryName) {
    return entryName.isEmpty() ? QObject::tr("Row %1").arg(row)
                               : QObject::tr("Row %1 (%2)").arg(row).arg(entryName);
}

void showHint(QLineEdit *editor, const QString &hint) {
    editor->setProperty("refusedHint", hint);
    QToolTip::showText(editor->mapToGlobal(QPoint(0, editor->height())), hint, editor);
}

} // namespace

EntryFieldValidator::EntryFieldValidator(const CodePageCodec *codePage, QObject *parent)
    : QValidator(parent), m_codePage(codePage) {
    if (auto *editor = qobject_cast<QLineEdit *>(parent)) {
        m_before = editor->text();
        connect(editor, &QLineEdit::textChanged, this, [this](const QString &text) { m_before = text; });
    }
}

// Only a character added by this edit is refused: a cell that came from the unit or a file with such a
// character can still be corrected by deleting it.
QValidator::State EntryFieldValidator::validate(QString &input, int &) const {
    const QString &before = m_before;
    m_lastRefused.reset();
    m_notInCodePage = false;
    if (breakingCount(input) > breakingCount(before)) {
        for (const QChar c : input)
            if (isCommandBreakingCharacter(c.unicode()) && !before.contains(c)) {
                m_lastRefused = c;
                break;
            }
        if (!m_lastRefused)
            m_lastRefused = firstCommandBreakingCharacter(input);
        m_lastRefusedCharacter = m_lastRefused->unicode();
        return Invalid;
    }
    if (!m_codePage || unencodableCount(input, *m_codePage) <= unencodableCount(before, *m_codePage))
        return Acceptable;
    const std::optional<char32_t> added = m_codePage->firstUnencodable(input);
    m_notInCodePage = true;
    m_lastRefusedCharacter = *added;
    m_lastRefused = QString::fromUcs4(&*added, 1).front();
    return Invalid;
}

QString refusedCharacterHint(int row, const QString &entryName, QChar character) {
    const QString what = character.unicode() < 128 ? describeBreakingByte(char(character.unicode()))
                                                   : QObject::tr("\"%1\"").arg(character);
    return QObject::tr("%1: %2 cannot be stored in a SIM entry; it was not taken.")
        .arg(gridEntry(row, entryName), what);
}

QString refusedCharacterHint(const QString &entry, const EntryFieldValidator &validator,
                             const CodePageCodec &codePage) {
    if (!validator.lastRefusedNotInCodePage())
        return QObject::tr("%1: %2 cannot be stored in a SIM entry; it was not taken.")
            .arg(entry, describeBreakingByte(char(validator.lastRefusedCharacter())));
    return QObject::tr("%1: %2; it was not taken.")
        .arg(entry, notInCodePage(codePage, validator.lastRefusedCharacter()));
}

void refuseUnstorableCharacters(QLineEdit *edit, const CodePageCodec *codePage,
                                const std::function<QString()> &entry) {
    auto *validator = new EntryFieldValidator(codePage, edit);
    edit->setValidator(validator);
    QObject::connect(edit, &QLineEdit::inputRejected, edit, [edit, validator, codePage, entry] {
        // setText resets the modified flag before it validates; the user's edits set it.
        if (validator->lastRefused() && edit->isModified())
            showHint(edit, refusedCharacterHint(entry(), *validator, *codePage));
    });
}

PhoneBookCellDelegate::PhoneBookCellDelegate(const CodePageCodec *codePage, QObject *parent)
    : QStyledItemDelegate(parent), m_codePage(codePage) {}

QWidget *PhoneBookCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                             const QModelIndex &index) const {
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    auto *validator = new EntryFieldValidator(m_codePage, editor);
    editor->setValidator(validator);
    const QPersistentModelIndex cell(index);
    const CodePageCodec *codePage = m_codePage;
    connect(editor, &QLineEdit::inputRejected, editor, [editor, validator, cell, codePage] {
        const std::optional<QChar> refused = validator->lastRefused();
        // The cell's own text, set when the editor opens, is not the user's edit.
        if (!refused || !cell.isValid() || !editor->isModified())
            return;
        const QString name = cell.model()->index(cell.row(), 0).data().toString();
        showHint(editor, validator->lastRefusedNotInCodePage()
                             ? refusedCharacterHint(gridEntry(cell.row() + 1, name), *validator, *codePage)
                             : refusedCharacterHint(cell.row() + 1, name, *refused));
    });
    return editor;
}

} // namespace oxa
