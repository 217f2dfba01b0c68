#include "writeplan.h"

#include "entryline.h"
#include "fieldcheck.h"

#include <QObject>

#include <utility>

namespace oxa {

namespace {
constexpr int StepPauseMs = 200;
}

WriteSequence::WriteSequence(QList<QByteArray> keyValues, QList<WriteRow> rows, int simSize)
    : m_keyValues(std::move(keyValues)), m_rows(std::move(rows)), m_simSize(simSize) {
    // Walk the entries the way the sequence will use indexes, up to the last one that fits.
    int index = 1;
    const qsizetype total = WriteKeyCount + m_rows.size();
    for (qsizetype i = 0; i < total && index <= m_simSize; ++i) {
        const bool isKey = i < WriteKeyCount;
        const QByteArray &name = isKey ? writeKeys()[i] : m_rows[i - WriteKeyCount].name;
        const QByteArray value = isKey ? keyValue(int(i)) : m_rows[i - WriteKeyCount].number;
        if (name.isEmpty() || value.isEmpty())
            continue;
        const Command command = at::writeEntry(index, value, name);
        if (!command.ok()) {
            m_refusal = WriteRefusal{name, isKey ? 0 : int(i - WriteKeyCount + 1), index, command.refused};
            break;
        }
        ++index;
    }
}

QByteArray WriteSequence::keyValue(int key) const {
    return key < m_keyValues.size() ? m_keyValues[key] : QByteArray();
}

WriteAction WriteSequence::start() {
    m_previous = WriteAction{};
    m_writeStep = 0;
    m_simWriteIndex = 1;
    m_finished = false;
    m_current = WriteAction{};
    m_current.kind = WriteAction::Kind::Start;
    m_current.command = at::attention();
    return m_current;
}

WriteAction WriteSequence::next() {
    if (m_finished)
        return m_current;
    m_previous = m_current;
    ++m_writeStep;
    if (m_simWriteIndex > m_simSize) {
        m_finished = true;
        m_current = WriteAction{};
        m_current.kind = WriteAction::Kind::Finish;
        m_current.writeStep = m_writeStep;
        m_current.command = at::readEntries(m_simSize);
        return m_current;
    }
    if (m_writeStep <= WriteKeyCount) {
        m_current = entry(writeKeys()[m_writeStep - 1], keyValue(m_writeStep - 1));
    } else if (const qsizetype row = m_writeStep - WriteKeyCount; row <= m_rows.size()) {
        m_current = entry(m_rows[row - 1].name, m_rows[row - 1].number);
    } else {
        m_current = WriteAction{};
        m_current.kind = WriteAction::Kind::Delete;
        m_current.simIndex = m_simWriteIndex;
        m_current.command = at::deleteEntry(m_simWriteIndex);
        m_current.log = QStringLiteral("delete SIM") + QString::number(m_simWriteIndex);
        ++m_simWriteIndex;
    }
    m_current.writeStep = m_writeStep;
    m_current.pauseBeforeMs = StepPauseMs;
    return m_current;
}

// WriteEntry: an empty name or value costs an "AT" exchange and no index.
WriteAction WriteSequence::entry(const QByteArray &name, const QByteArray &value) {
    WriteAction action;
    action.name = name;
    const Command command = at::writeEntry(m_simWriteIndex, value, name);
    if (name.isEmpty() || value.isEmpty() || !command.ok()) {
        action.kind = WriteAction::Kind::Skip;
        action.command = at::attention();
        action.log = QStringLiteral("---");
        return action;
    }
    action.kind = WriteAction::Kind::Write;
    action.simIndex = m_simWriteIndex;
    action.command = command.line;
    action.log = QStringLiteral("SIM") + QString::number(m_simWriteIndex);
    ++m_simWriteIndex;
    return action;
}

QList<WriteProblem> checkWholeWrite(const QList<QByteArray> &keyValues, const QList<WriteRow> &rows,
                                    const SimGeometry &sim) {
    QList<WriteProblem> problems;
    int stored = 0;
    const qsizetype total = WriteKeyCount + rows.size();
    for (qsizetype i = 0; i < total; ++i) {
        const bool isKey = i < WriteKeyCount;
        const int gridRow = isKey ? 0 : int(i - WriteKeyCount + 1);
        const QByteArray &name = isKey ? writeKeys()[i] : rows[i - WriteKeyCount].name;
        const QByteArray value = isKey ? keyValues.value(i) : rows[i - WriteKeyCount].number;
        if (name.isEmpty() || value.isEmpty())
            continue; // not stored: costs an "AT" and no index
        const auto problem = [&](WriteProblem::Kind kind, CommandField field) {
            WriteProblem found;
            found.kind = kind;
            found.entryName = name;
            found.gridRow = gridRow;
            found.field = field;
            return found;
        };
        for (const auto &[field, text] :
             {std::pair{CommandField::Name, name}, std::pair{CommandField::Number, value}}) {
            if (const std::optional<char> byte = firstCommandBreakingByte(text)) {
                WriteProblem found = problem(WriteProblem::Kind::BreakingByte, field);
                found.byte = *byte;
                problems.append(found);
            }
        }
        if (sim.textLength > 0 && name.size() > sim.textLength) {
            WriteProblem found = problem(WriteProblem::Kind::NameTooLong, CommandField::Name);
            found.length = int(name.size());
            problems.append(found);
        }
        if (sim.numberLength > 0 && value.size() > sim.numberLength) {
            WriteProblem found = problem(WriteProblem::Kind::NumberTooLong, CommandField::Number);
            found.length = int(value.size());
            problems.append(found);
        }
        if (++stored > sim.size)
            problems.append(problem(WriteProblem::Kind::DoesNotFit, CommandField::None));
    }
    return problems;
}

QString unwritableFieldReason(QByteArrayView text, CommandField field, const SimGeometry &sim) {
    if (const std::optional<char> byte = firstCommandBreakingByte(text))
        return QObject::tr("Holds %1, which the unit's command cannot carry.")
            .arg(describeBreakingByte(*byte));
    const int limit = field == CommandField::Name ? sim.textLength : sim.numberLength;
    if (limit > 0 && text.size() > limit)
        return QObject::tr("%1 characters; the unit stores at most %2.").arg(text.size()).arg(limit);
    return {};
}

QString describeWriteProblems(const QList<WriteProblem> &problems, const SimGeometry &sim,
                              const CodePageCodec &codec) {
    constexpr qsizetype Shown = 15;
    QStringList lines;
    for (qsizetype i = 0; i < problems.size() && i < Shown; ++i) {
        const WriteProblem &problem = problems[i];
        const QString entry = problem.gridRow > 0 ? QObject::tr("phone-book row %1 (%2)")
                                                        .arg(problem.gridRow)
                                                        .arg(codec.decode(problem.entryName))
                                                  : codec.decode(problem.entryName);
        switch (problem.kind) {
        case WriteProblem::Kind::BreakingByte:
            lines << QObject::tr("- %1: its %2 holds %3, which the unit's command cannot carry")
                         .arg(entry, commandFieldName(problem.field), describeBreakingByte(problem.byte));
            break;
        case WriteProblem::Kind::NameTooLong:
            lines << QObject::tr("- %1: the name has %2 characters; the unit stores at most %3")
                         .arg(entry)
                         .arg(problem.length)
                         .arg(sim.textLength);
            break;
        case WriteProblem::Kind::NumberTooLong:
            lines << QObject::tr("- %1: the number has %2 characters; the unit stores at most %3")
                         .arg(entry)
                         .arg(problem.length)
                         .arg(sim.numberLength);
            break;
        case WriteProblem::Kind::DoesNotFit:
            lines
                << QObject::tr("- %1: no SIM index is left for it (the SIM has %2)").arg(entry).arg(sim.size);
            break;
        }
    }
    if (problems.size() > Shown)
        lines << QObject::tr("- and %1 more").arg(problems.size() - Shown);
    return lines.join(QLatin1Char('\n'));
}

QList<WriteAction> planWrite(const QList<QByteArray> &keyValues, const QList<WriteRow> &rows, int simSize) {
    WriteSequence sequence(keyValues, rows, simSize);
    QList<WriteAction> actions{sequence.start()};
    while (!sequence.finished())
        actions.append(sequence.next());
    return actions;
}

} // namespace oxa
