#pragma once

#include <QStyledItemDelegate>
#include <QValidator>

#include <functional>
#include <optional>

namespace oxa {

// Refuses text holding a character that a SIM entry's field cannot carry to the unit (see
// fieldcheck.h): the keystroke or paste is not taken, and the character is remembered for the hint.
class EntryFieldValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
    // The character that made the last refusal.
    std::optional<QChar> lastRefused() const { return m_lastRefused; }
    // The text as it stands before the edit being validated (the editor's text once it changed).
    void setAcceptedText(const QString &text) { m_accepted = text; }

private:
    mutable std::optional<QChar> m_lastRefused;
    QString m_accepted;
};

// The phone-book grid's cell editor: a line edit that takes only what the unit can store, and says at
// once, beside the cell, which character of which entry it refused.
class PhoneBookCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
};

// "Row 3 (Jan Novák): a comma cannot be stored in a SIM entry; it was not typed in."
QString refusedCharacterHint(int row, const QString &entryName, QChar character);

} // namespace oxa
