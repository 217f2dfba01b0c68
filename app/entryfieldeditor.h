#pragma once

#include <QStyledItemDelegate>
#include <QValidator>

#include <functional>
#include <optional>

class QLineEdit;

namespace oxa {

class CodePageCodec;

// Refuses text holding a character that a SIM entry's field cannot carry to the unit (see
// fieldcheck.h), or, given a code page, a character that code page cannot hold: the keystroke or paste
// is not taken, and the character is remembered for the hint.
class EntryFieldValidator : public QValidator {
    Q_OBJECT
public:
    // `parent` is the line edit validated. `codePage` is read at each keystroke (the window chooses it
    // after building its controls); without one only what breaks the command is refused.
    explicit EntryFieldValidator(QObject *parent = nullptr) : EntryFieldValidator(nullptr, parent) {}
    EntryFieldValidator(const CodePageCodec *codePage, QObject *parent);
    State validate(QString &input, int &pos) const override;
    // The character that made the last refusal.
    std::optional<QChar> lastRefused() const { return m_lastRefused; }
    // ... all of it (two UTF-16 units beyond U+FFFF), and whether it was refused for the code page.
    char32_t lastRefusedCharacter() const { return m_lastRefusedCharacter; }
    bool lastRefusedNotInCodePage() const { return m_notInCodePage; }

private:
    const CodePageCodec *m_codePage = nullptr;
    // The editor's text before the edit being validated: while it validates, the editor already holds
    // the edited text.
    QString m_before;
    mutable std::optional<QChar> m_lastRefused;
    mutable char32_t m_lastRefusedCharacter = 0;
    mutable bool m_notInCodePage = false;
};

// The phone-book grid's cell editor: a line edit that takes only what the unit can store, and says at
// once, beside the cell, which character of which entry it refused.
class PhoneBookCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    PhoneBookCellDelegate(const CodePageCodec *codePage, QObject *parent);
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;

private:
    const CodePageCodec *m_codePage = nullptr;
};

// "Row 3 (Jan Novák): a comma cannot be stored in a SIM entry; it was not taken."
QString refusedCharacterHint(int row, const QString &entryName, QChar character);
// "SMS ALARM ON: "Ω" (U+03A9), which is not in code page windows-1250, ...; it was not taken."
QString refusedCharacterHint(const QString &entry, const EntryFieldValidator &validator,
                             const CodePageCodec &codePage);

// Makes `edit` (a free-text box whose text becomes an entry's bytes) refuse what EntryFieldValidator
// refuses, with the hint beside it naming `entry()`. The program's own setText is not refused.
void refuseUnstorableCharacters(QLineEdit *edit, const CodePageCodec *codePage,
                                const std::function<QString()> &entry);

} // namespace oxa
