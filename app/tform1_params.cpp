// Settings pages, parameter strings, phone-book page and configuration file.
#include "tform1.h"

#include "configurationfile.h"
#include "fieldcheck.h"
#include "inputfilters.h"
#include "parameterstrings.h"
#include "params_phonebookgrid.h"
#include "params_widgets.h"
#include "phonebookrows.h"
#include "savefilename.h"
#include "shownbytes.h"
#include "writeplan.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QTableWidget>

namespace oxa {

namespace {

void applyOp(const TForm1 &form, const ControlOp &op) {
    applyControlOpToWidget(form.control(op.control), op);
}

// The change handler of every filtered box: clean the text, caret to the end, then the twin box.
// Writing the cleaned text back raises the change once more, which then finds nothing to clean. What
// the code page cannot hold is not taken either (a single character is otherwise left for the next
// keystroke).
void filterBox(const TForm1 &form, const QString &name) {
    auto *box = qobject_cast<QLineEdit *>(form.control(name));
    if (!box)
        return;
    const QString filtered = form.codePage().encodableOnly(applyBoxFilter(boxFilter(name), box->text()));
    if (filtered != box->text())
        box->setText(filtered);
    box->setCursorPosition(int(box->text().size()));
    if (auto *twin = qobject_cast<QLineEdit *>(form.control(mirroredBox(name)));
        twin && twin->text() != box->text())
        twin->setText(box->text());
}

void filterBox(const TForm1 &form, const char *prefix, int row) {
    filterBox(form, QLatin1String(prefix) + QString::number(row));
}

// A radio button became selected or a check box changed: keep the pick-up choice, relay modes and
// ringing boxes consistent.
void applySelectionRules(const TForm1 &form, const char *name) {
    auto *button = form.ctl<QAbstractButton>(name);
    auto *noCall = form.ctl<QAbstractButton>("NoCall");
    if (!button || !noCall)
        return;
    for (const ControlOp &op :
         selectionRuleOps(QLatin1String(name), button->isChecked(), noCall->isChecked()))
        applyOp(form, op);
}

QTableWidget *phoneBookGrid(const TForm1 &form) {
    return form.ctl<QTableWidget>("PhoneBook1");
}

const QString ConfigurationFilter = QStringLiteral("OXA files (*.oxa)");

// One line per key value or row whose text holds a byte that would break the unit's command (the first
// 15). Parameter strings are left out: the settings pages encode them afresh for a write.
QString describeBreakingEntries(const ConfigurationLoad &load, const CodePageCodec &codec) {
    QStringList lines;
    int more = 0;
    const auto check = [&](const QByteArray &entry, CommandField field, const QByteArray &text) {
        const std::optional<char> byte = firstCommandBreakingByte(text);
        if (!byte)
            return;
        if (lines.size() < 15)
            lines << TForm1::tr("- %1: its %2 holds %3")
                         .arg(codec.decode(entry), commandFieldName(field), describeBreakingByte(*byte));
        else
            ++more;
    };
    for (const LoadedKeyValue &value : load.editBoxValues)
        check(value.key, CommandField::Number, value.value);
    for (const PhoneBookRow &row : load.rows) {
        check(row.name + '=' + row.phone, CommandField::Name, row.name);
        check(row.name + '=' + row.phone, CommandField::Number, row.phone);
    }
    if (more > 0)
        lines << TForm1::tr("- and %1 more").arg(more);
    return lines.join(QLatin1Char('\n'));
}

// One line per key row that repeats a key taken from an earlier line (the first 15).
QString describeRepeatedKeys(const QList<RepeatedKeyRow> &repeated) {
    QStringList lines;
    for (const RepeatedKeyRow &row : repeated.mid(0, 15))
        lines << TForm1::tr("- line %1 (%2) repeats the key of line %3")
                     .arg(row.line)
                     .arg(QString::fromLatin1(row.name))
                     .arg(row.takenLine);
    if (repeated.size() > 15)
        lines << TForm1::tr("- and %1 more").arg(repeated.size() - 15);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

// Parameter strings

void TForm1::DecodeParameters() {
    const DecodedParameters decoded = decodeParameters(m_configuration.strings());
    m_configuration.setStrings(decoded.strings);
    for (const ControlOp &op : decodeOperations(decoded))
        applyOp(*this, op);
}

void TForm1::EncodeParameters() {
    const ControlReader reader = widgetControlReader([this](const QString &name) { return control(name); });
    m_configuration.setStrings(encodeParameters(readSettingsControls(reader), m_codePage));
}

// The configuration and the controls that show it: key boxes both ways, rows from the grid's edits.
void TForm1::connectConfiguration() {
    for (int key = 0; key < int(kEditBoxKeys.size()); ++key) {
        auto *box = ctl<QLineEdit>(kEditBoxKeys[size_t(key)]);
        // The box's text as it stands: its filter may have cleaned it since this change was announced.
        connect(box, &QLineEdit::textChanged, this, [this, key, box] {
            m_configuration.setKeyValue(key, *m_codePage.encode(m_codePage.encodableOnly(box->text())));
        });
    }
    connect(&m_configuration, &UnitConfiguration::keyValueChanged, this, &TForm1::showKeyValue);
    connect(&m_configuration, &UnitConfiguration::rowsReset, this, &TForm1::showRows);
    connect(&m_configuration, &UnitConfiguration::listingApplied, this, &TForm1::showListing);
    connect(ctl<QTableWidget>("PhoneBook1"), &QTableWidget::itemChanged, this, [this] {
        if (!m_showingRows)
            storeRows();
    });
}

void TForm1::showKeyValue(int key) {
    auto *box = ctl<QLineEdit>(kEditBoxKeys[size_t(key)]);
    const QString text = shownText(m_configuration.keyValue(key));
    if (box->text() != text)
        box->setText(text); // its filter runs as for typed text
}

void TForm1::showRows() {
    if (m_showingRows)
        return;
    m_showingRows = true;
    QTableWidget *grid = phoneBookGrid(*this);
    setPhoneBookGridRows(grid, m_configuration.rows(), m_codePage);
    markUnwritableCells();
    if (grid->rowCount() > 0 && grid->currentRow() < 0)
        grid->setCurrentCell(0, 0);
    m_showingRows = false;
}

void TForm1::storeRows() {
    const bool before = std::exchange(m_showingRows, true);
    m_configuration.setRows(phoneBookEntryRows(phoneBookGrid(*this), m_codePage));
    m_showingRows = before;
}

// Phone-book grid

// A cell whose text the next whole write could not store is tinted, its reason as the hint. Rows
// without a name or a phone are not written and stay unmarked.
void TForm1::markUnwritableCells(int row) {
    QTableWidget *grid = phoneBookGrid(*this);
    const SimGeometry sim = m_configuration.listing() ? m_configuration.listing()->sim : SimGeometry{};
    const auto textAt = [grid, row](int column) {
        const QTableWidgetItem *cell = grid->item(row, column);
        return cell ? cell->text() : QString();
    };
    const bool written = !textAt(0).isEmpty() && !textAt(1).isEmpty();
    const auto reasonFor = [&](int column, CommandField field) -> QString {
        const QString text = textAt(column);
        const std::optional<QByteArray> bytes = m_codePage.encode(text);
        if (!bytes)
            return tr("Holds %1.").arg(notInCodePage(m_codePage, *m_codePage.firstUnencodable(text)));
        return written ? unwritableFieldReason(*bytes, field, sim) : QString();
    };
    const std::pair<int, QString> reasons[] = {{0, reasonFor(0, CommandField::Name)},
                                               {1, reasonFor(1, CommandField::Number)}};
    for (const auto &[column, reason] : reasons) {
        QTableWidgetItem *cell = grid->item(row, column);
        if (!cell)
            continue;
        cell->setData(Qt::BackgroundRole, reason.isEmpty() ? QVariant() : QVariant(QColor(255, 0, 0, 70)));
        cell->setData(Qt::ToolTipRole, reason.isEmpty() ? QVariant() : QVariant(reason));
    }
}

void TForm1::markUnwritableCells() {
    const int rows = phoneBookGrid(*this)->rowCount();
    for (int row = 0; row < rows; ++row)
        markUnwritableCells(row);
}

void TForm1::clearPhoneBook() {
    m_configuration.setRows({});
}

void TForm1::appendPhoneBookRow(const QByteArray &name, const QByteArray &number) {
    // The entry is kept as the unit sent it, also a text holding "=", so that writing it back
    // stores the same text and number.
    QList<PhoneBookRow> rows = m_configuration.rows();
    rows.append(PhoneBookRow{name, number});
    m_configuration.setRows(rows);
}

QList<std::pair<QByteArray, QByteArray>> TForm1::phoneBookRows() const {
    QList<std::pair<QByteArray, QByteArray>> rows;
    for (const PhoneBookRow &row : phoneBookGridRows(phoneBookGrid(*this), m_codePage))
        rows.append({row.name, row.phone});
    return rows;
}

namespace {

bool rowIsEmpty(const QTableWidget *grid, int row) {
    for (int column = 0; column < grid->columnCount(); ++column)
        if (const QTableWidgetItem *cell = grid->item(row, column); cell && !cell->text().isEmpty())
            return false;
    return true;
}

} // namespace

void TForm1::LineInClick() {
    QTableWidget *grid = phoneBookGrid(*this);
    const int current = grid->currentRow();
    // The stand-in row of an empty grid is no row yet: the inserted row takes its place.
    const int rowCount = showsOnlyStandInRow(grid) ? 0 : grid->rowCount();
    const bool currentEmpty = current >= 0 && current < rowCount && rowIsEmpty(grid, current);
    const std::optional<int> index = insertLineIndex(rowCount, current, currentEmpty);
    if (!index)
        return;
    insertPhoneBookGridRow(grid, *index, PhoneBookRow{}, m_codePage);
    grid->setCurrentCell(*index, std::max(grid->currentColumn(), 0));
    storeRows();
}

void TForm1::appendLineBelowLast() {
    QTableWidget *grid = phoneBookGrid(*this);
    const int current = grid->currentRow();
    const std::optional<int> index =
        appendLineIndex(grid->rowCount(), current, current >= 0 && rowIsEmpty(grid, current));
    if (!index)
        return;
    insertPhoneBookGridRow(grid, *index, PhoneBookRow{}, m_codePage);
    grid->setCurrentCell(*index, std::max(grid->currentColumn(), 0));
    storeRows();
}

void TForm1::LineDelClick() {
    QTableWidget *grid = phoneBookGrid(*this);
    const std::optional<LineDeletion> deletion = deleteLine(grid->rowCount(), grid->currentRow());
    if (!deletion)
        return; // nothing to delete
    const int column = std::max(grid->currentColumn(), 0);
    removePhoneBookGridRow(grid, deletion->row);
    // With the last row gone, the stand-in row is the current one.
    grid->setCurrentCell(std::max(deletion->currentAfter, 0), column);
    storeRows();
}

void TForm1::FindClick() {
    QTableWidget *grid = phoneBookGrid(*this);
    const QString wanted = ctl<QLineEdit>("FindN")->text();
    for (int row = 0; row < grid->rowCount(); ++row) {
        const QTableWidgetItem *name = grid->item(row, 0);
        if (phoneBookNameMatches(name ? name->text() : QString(),
                                 phoneBookGridRow(grid, row, m_codePage).separator, wanted)) {
            grid->setCurrentCell(row, 0);
            grid->setFocus();
            return;
        }
    }
}

// Configuration file

void TForm1::SaveClick() {
    const QString path =
        withFilterExtension(m_seams.dialogs->saveFileName(ConfigurationFilter), ConfigurationFilter);
    if (path.isEmpty())
        return;
    ConfigurationContent content;
    for (std::size_t i = 0; i < kEditBoxKeys.size(); ++i)
        content.editBoxValues[i] = m_configuration.keyValue(int(i));
    content.strings = m_configuration.strings(); // as held: the controls are not encoded for a file
    content.rows = m_configuration.rows();
    const QString error = writeConfigurationFile(path, buildConfigurationFile(content));
    if (!error.isEmpty())
        report(error);
}

void TForm1::LoadClick() {
    // A read under way would replace what the file put into the window, or mix with it.
    if (m_session && m_session->reading()) {
        report(tr("Nothing was loaded: the unit is being read. Load the file when the read has finished."));
        return;
    }
    QTableWidget *grid = phoneBookGrid(*this);
    // The first row is the current one before the file is chosen, and stays so after loading.
    const int column = std::max(grid->currentColumn(), 0);
    grid->setCurrentCell(0, column);
    const QString path = m_seams.dialogs->openFileName(ConfigurationFilter);
    if (path.isEmpty())
        return;
    // The whole file is read and checked before anything in the window changes.
    const ConfigurationLoad load = readConfigurationFile(path);
    if (!load.error.isEmpty()) {
        report(load.error);
        return;
    }
    if (const QString refused = describeBreakingEntries(load, m_codePage); !refused.isEmpty()) {
        report(tr("Nothing was loaded from %1: some entries hold characters that the unit's commands cannot "
                  "carry:\n%2\nCorrect them in the file and load it again.")
                   .arg(QDir::toNativeSeparators(path), refused));
        return;
    }
    m_configuration.setRows(load.rows);
    grid->setCurrentCell(0, column);
    // Set through the boxes, so their filters and the button-A mirroring run on the loaded values.
    for (const LoadedKeyValue &value : load.editBoxValues)
        ctl<QLineEdit>(value.key.constData())->setText(shownText(value.value));
    for (const LoadedParameter &parameter : load.parameters) {
        ParameterStrings strings = m_configuration.strings();
        strings[parameter.which] = parameter.value;
        m_configuration.setStrings(strings);
        DecodeParameters();
    }
    if (!load.repeatedKeys.isEmpty())
        report(tr("%1 was loaded. It gives some keys more than once; the first line of a key is taken, and "
                  "each later one stays in the phone book as a row of its own, which a write to the unit "
                  "stores as an entry of that name:\n%2\nDelete those rows from the phone book if the unit "
                  "should not hold them.")
                   .arg(QDir::toNativeSeparators(path), describeRepeatedKeys(load.repeatedKeys)));
}

// Settings pages: filtered boxes

void TForm1::AABUTTONChange(int row) {
    filterBox(*this, "AABUTTON", row);
}
void TForm1::ABUTTONChange(int row) {
    filterBox(*this, "ABUTTON", row);
}
void TForm1::BBUTTONChange(int row) {
    filterBox(*this, "BBUTTON", row);
}
void TForm1::ADMINChange(int row) {
    filterBox(*this, "ADMIN", row);
}
void TForm1::RelCode1Change() {
    filterBox(*this, QStringLiteral("RelCode1"));
}
void TForm1::RelCode2Change() {
    filterBox(*this, QStringLiteral("RelCode2"));
}
void TForm1::RelTime1Change() {
    filterBox(*this, QStringLiteral("RelTime1"));
}
void TForm1::RelTime2Change() {
    filterBox(*this, QStringLiteral("RelTime2"));
}

// Settings pages: selection rules

void TForm1::RelCam1Click() {
    applySelectionRules(*this, "RelCam1");
}
void TForm1::RelCam2Click() {
    applySelectionRules(*this, "RelCam2");
}
void TForm1::RelLi1Click() {
    applySelectionRules(*this, "RelLi1");
}
void TForm1::RelLi2Click() {
    applySelectionRules(*this, "RelLi2");
}
void TForm1::RelBut1Click() {
    applySelectionRules(*this, "RelBut1");
}
void TForm1::RelBut2Click() {
    applySelectionRules(*this, "RelBut2");
}
void TForm1::RelSMS1Click() {
    applySelectionRules(*this, "RelSMS1");
}
void TForm1::RelSMS2Click() {
    applySelectionRules(*this, "RelSMS2");
}
void TForm1::RelRing1Click() {
    applySelectionRules(*this, "RelRing1");
}
void TForm1::RelRing2Click() {
    applySelectionRules(*this, "RelRing2");
}
void TForm1::RelRingAll1Click() {
    applySelectionRules(*this, "RelRingAll1");
}
void TForm1::RelRingAll2Click() {
    applySelectionRules(*this, "RelRingAll2");
}
void TForm1::SIMCallClick() {
    applySelectionRules(*this, "SIMCall");
}
void TForm1::AllCallClick() {
    applySelectionRules(*this, "AllCall");
}

} // namespace oxa
