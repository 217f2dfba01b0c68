// Memory trees and editors, access codes and the detect box.
#include "tform1.h"

#include "accessfield.h"
#include "commands.h"
#include "entries.h"
#include "inputfilters.h"
#include "keyentries.h"
#include "memories_rules.h"
#include "memories_trees.h"
#include "memoryeditor.h"
#include "nodetext.h"
#include "pagecontrol.h"
#include "portlayer.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

namespace oxa {

namespace {

// The controls of one memory page; the buttons page and the keyboard memo sheet work alike.
struct MemoryPage {
    MemoryKind kind;
    const char *allTree;
    const char *selectionTree;
    const char *position;
    const char *memory;
    const char *number;
    const char *label;
};

constexpr MemoryPage ButtonPage{MemoryKind::Button, "TreeButtons",   "TreeButtonsSel", "PosButton",
                                "Button",           "ButtonPNumber", "LabelButton"};
constexpr MemoryPage MemoPage{MemoryKind::Keyboard, "TreeMemo", "TreeMemoSel", "PosMemo", "Memo",
                              "MemoPNumber",        "LabelMemo"};

template <class T> T *named(const TForm1 &form, const QString &name) {
    auto *control = qobject_cast<T *>(form.control(name));
    Q_ASSERT_X(control, "memories", qPrintable(name));
    return control;
}

QTreeWidget *treeOf(const TForm1 &form, EntryTree tree) {
    return named<QTreeWidget>(form, QLatin1String(entryTreeName(tree)));
}

// An input filter's result goes back into the box only when it differs, so the change event that
// follows finds nothing more to do.
void applyFilter(QLineEdit *box, const QString &filtered) {
    if (box->text() == filtered)
        return;
    box->setText(filtered);
    box->setCursorPosition(int(filtered.size()));
}

void setListChoice(const TForm1 &form, QComboBox *list, const ListChoice &choice) {
    list->setCurrentIndex(choice.index);
    list->setEditText(form.shownText(choice.text));
}

QByteArray &selectedPrefix(TForm1 &form, const MemoryPage &page) {
    return page.kind == MemoryKind::Keyboard ? form.state.SelectedMemoPrefix
                                             : form.state.SelectedButtonPrefix;
}

void showMemoryPreview(const TForm1 &form, const MemoryPage &page) {
    const QByteArray memory = form.unitBytes(named<QLineEdit>(form, page.memory)->text());
    const QByteArray position = form.unitBytes(named<QComboBox>(form, page.position)->currentText());
    named<QLabel>(form, page.label)->setText(form.shownText(memoryPreviewLabel(page.kind, memory, position)));
}

void allTreeClick(TForm1 &form, const MemoryPage &page) {
    auto *all = named<QTreeWidget>(form, page.allTree);
    const std::optional<QByteArray> node = selectedNodeText(all, form.codePage());
    if (!node)
        return;
    QByteArray &prefix = selectedPrefix(form, page);
    prefix = selectionPrefixOfNode(*node);
    fillTree(named<QTreeWidget>(form, page.selectionTree),
             selectionNodeTexts(treeTexts(all, form.codePage()), prefix), form.codePage());
}

void selectionTreeClick(TForm1 &form, const MemoryPage &page) {
    const std::optional<QByteArray> node =
        selectedNodeText(named<QTreeWidget>(form, page.selectionTree), form.codePage());
    if (!node)
        return;
    const SelectionNodeFields fields = readSelectionNode(page.kind, *node, form.codePage());
    named<QLineEdit>(form, page.memory)->setText(form.shownText(fields.memory));
    if (!fields.position.error.isEmpty()) {
        form.report(fields.position.error);
        return;
    }
    setListChoice(form, named<QComboBox>(form, page.position), fields.position);
    showMemoryPreview(form, page);
    named<QLineEdit>(form, page.number)->setText(form.shownText(fields.number));
}

void memoryNameChange(const TForm1 &form, const MemoryPage &page) {
    auto *box = named<QLineEdit>(form, page.memory);
    applyFilter(box, digitFilter(box->text()));
    showMemoryPreview(form, page);
}

void positionChange(const TForm1 &form, const MemoryPage &page) {
    const QByteArray memory = form.unitBytes(named<QLineEdit>(form, page.memory)->text());
    const QByteArray position = form.unitBytes(named<QComboBox>(form, page.position)->currentText());
    if (const std::optional<QByteArray> label = labelAfterPositionChange(page.kind, memory, position))
        named<QLabel>(form, page.label)->setText(form.shownText(*label));
}

void numberChange(const TForm1 &form, const MemoryPage &page) {
    auto *box = named<QLineEdit>(form, page.number);
    // A single character stays for the next keystroke, unless the code page cannot hold it.
    applyFilter(box, form.codePage().encodableOnly(phoneNumberFilter(box->text())));
}

void addMemoryEntry(const TForm1 &form, const MemoryPage &page) {
    auto *selection = named<QTreeWidget>(form, page.selectionTree);
    clearNodeSelection(selection);
    setListChoice(form, named<QComboBox>(form, page.position), addPosition(selection->topLevelItemCount()));
    showMemoryPreview(form, page);
}

void writeMemoryEntry(TForm1 &form, const MemoryPage &page) {
    const QByteArray position = form.unitBytes(named<QComboBox>(form, page.position)->currentText());
    if (!isWritablePosition(position)) {
        form.report(positionRefusal(form.shownText(position)));
        return;
    }
    const std::optional<QByteArray> selected =
        selectedNodeText(named<QTreeWidget>(form, page.selectionTree), form.codePage());
    form.session().writeEntry(
        memoryWriteCommand(page.kind, selected, form.unitBytes(named<QLineEdit>(form, page.number)->text()),
                           form.unitBytes(named<QLineEdit>(form, page.memory)->text()), position),
        selected);
}

// Without a selected node nothing is sent, and the next "OK" of any command reads the unit again.
void deleteSelectedEntry(TForm1 &form, const char *treeName) {
    form.session().deleteEntry(selectedNodeText(named<QTreeWidget>(form, treeName), form.codePage()));
}

QByteArray &listField(CodePage &page, CodeList list) {
    switch (list) {
    case CodeList::M1Acces:
    case CodeList::M3Acces:
    case CodeList::M4Acces:
        return page.access;
    case CodeList::FromM2:
    case CodeList::FromM3:
        return page.fromMonth;
    case CodeList::FromD2:
    case CodeList::FromD3:
        return page.fromDay;
    case CodeList::ToM2:
        return page.toMonth;
    case CodeList::ToD2:
        return page.toDay;
    case CodeList::FromHours:
        return page.fromHour;
    case CodeList::ToHours:
        return page.toHour;
    }
    return page.access;
}

QComboBox *codeList(const TForm1 &form, CodeList list) {
    return named<QComboBox>(form, QLatin1String(codeListName(list)));
}

} // namespace

void TForm1::decodeTaggedEntry(const QByteArray &index, const QByteArray &number, const QByteArray &name) {
    const EntryPlacement placement =
        placeReadEntry(index, number, name, state.SelectedMemoPrefix, state.SelectedButtonPrefix);
    for (EntryTree tree : placement.trees) {
        // A selection tree lists entries of its all-entries tree only, as the click does: a name such as
        // M12-10 starts with the prefix but is no memory entry, and its "position" would mislead the editor.
        if ((tree == EntryTree::MemoSel && !placement.trees.contains(EntryTree::Memo)) ||
            (tree == EntryTree::ButtonsSel && !placement.trees.contains(EntryTree::Buttons)))
            continue;
        addNodeInOrder(treeOf(*this, tree), placement.nodeText, m_codePage);
    }
    // The detect entry is named on the monitor; the box shows the configuration's (showListing).
    if (!placement.detectEntry.isEmpty())
        log(shownText(placement.detectEntry));
}

void TForm1::clearTrees() {
    for (EntryTree tree :
         {EntryTree::Buttons, EntryTree::ButtonsSel, EntryTree::Memo, EntryTree::MemoSel, EntryTree::Code})
        treeOf(*this, tree)->clear();
}

// Nodes are added at their place already; these only restore the order of a node added by other means.
void TForm1::TreeButtonsAddition() {
    restoreNodeOrder(ctl<QTreeWidget>("TreeButtons"), m_codePage);
}
void TForm1::TreeButtonsSelAddition() {
    restoreNodeOrder(ctl<QTreeWidget>("TreeButtonsSel"), m_codePage);
}
void TForm1::TreeMemoAddition() {
    restoreNodeOrder(ctl<QTreeWidget>("TreeMemo"), m_codePage);
}
void TForm1::TreeMemoSelAddition() {
    restoreNodeOrder(ctl<QTreeWidget>("TreeMemoSel"), m_codePage);
}
void TForm1::TreeCodeAddition() {
    restoreNodeOrder(ctl<QTreeWidget>("TreeCode"), m_codePage);
}

void TForm1::TreeButtonsClick() {
    allTreeClick(*this, ButtonPage);
}
void TForm1::TreeButtonsSelClick() {
    selectionTreeClick(*this, ButtonPage);
}
void TForm1::PosButtonChange() {
    positionChange(*this, ButtonPage);
}
void TForm1::ButtonChange() {
    memoryNameChange(*this, ButtonPage);
}
void TForm1::ButtonPNumberChange() {
    numberChange(*this, ButtonPage);
}
void TForm1::AddButtonClick() {
    addMemoryEntry(*this, ButtonPage);
}
void TForm1::WriteButtonClick() {
    writeMemoryEntry(*this, ButtonPage);
}
void TForm1::DelButtonSelClick() {
    deleteSelectedEntry(*this, ButtonPage.selectionTree);
}
void TForm1::DelButtonClick() {
    deleteSelectedEntry(*this, ButtonPage.allTree);
}

void TForm1::TreeMemoClick() {
    allTreeClick(*this, MemoPage);
}
void TForm1::TreeMemoSelClick() {
    selectionTreeClick(*this, MemoPage);
}
void TForm1::PosMemoChange() {
    positionChange(*this, MemoPage);
}
void TForm1::MemoChange() {
    memoryNameChange(*this, MemoPage);
}
void TForm1::MemoPNumberChange() {
    numberChange(*this, MemoPage);
}
void TForm1::AddMemoClick() {
    addMemoryEntry(*this, MemoPage);
}
void TForm1::WriteMemoClick() {
    writeMemoryEntry(*this, MemoPage);
}
void TForm1::DelMemoSelClick() {
    deleteSelectedEntry(*this, MemoPage.selectionTree);
}
void TForm1::DelMemoClick() {
    deleteSelectedEntry(*this, MemoPage.allTree);
}

void TForm1::DelCodeClick() {
    deleteSelectedEntry(*this, "TreeCode");
}

void TForm1::AddCodeClick() {
    clearNodeSelection(ctl<QTreeWidget>("TreeCode"));
}

// The box acts on every change the user makes, by mouse, key or assistive tool (which toggles it
// without a click); the program's own changes only show the unit's setting.
void TForm1::showDetectSetting(bool on) {
    const QSignalBlocker quiet(ctl<QAbstractButton>("DetBut"));
    ctl<QAbstractButton>("DetBut")->setChecked(on);
}

void TForm1::DetButClick() {
    const bool on = ctl<QAbstractButton>("DetBut")->isChecked();
    // Sent only while the last whole read is current; otherwise the box shows the unit's setting again.
    if (!m_session->switchDetect(on))
        showDetectSetting(!on);
}

void TForm1::OnClickCode() {
    const std::optional<QByteArray> node = selectedNodeText(ctl<QTreeWidget>("TreeCode"), m_codePage);
    if (!node)
        return;
    const DecodedCode decoded = decodeCodeNode(*node, m_codePage);
    auto *pages = ctl<PageControl>("ModeCode");
    if (decoded.page && *decoded.page >= 0) {
        const int mode = *decoded.page;
        pages->setCurrentIndex(mode);
        if (decoded.code)
            named<QLineEdit>(*this, codeEditName(mode))->setText(shownText(*decoded.code));
        if (decoded.relay != 0)
            named<QAbstractButton>(*this, relayButtonName(mode, decoded.relay))->setChecked(true);
        if (decoded.days) {
            const QList<QString> days = dayBoxNames();
            for (int day = 0; day < days.size(); ++day)
                named<QAbstractButton>(*this, days.at(day))->setChecked(decoded.days->at(day));
        }
        for (const auto &[list, choice] : decoded.lists)
            setListChoice(*this, codeList(*this, list), choice);
        if (decoded.sms)
            named<QAbstractButton>(*this, smsBoxName(mode))->setChecked(*decoded.sms);
    } else if (decoded.page) {
        // A mode this program does not know: no page can show it, so none is chosen.
        pages->clearCurrentPage();
    }
    if (!decoded.error.isEmpty())
        report(decoded.error);
}

void TForm1::CodeMChange(int mode) {
    auto *box = named<QLineEdit>(*this, codeEditName(mode));
    applyFilter(box, digitFilter(box->text()));
    named<QLabel>(*this, codeLabelName(mode))->setText(shownText(codePreviewLabel(unitBytes(box->text()))));
}

void TForm1::WriteCodeClick(int mode) {
    CodePage page;
    page.mode = mode;
    page.firstRelay = named<QAbstractButton>(*this, relayButtonName(mode, 1))->isChecked();
    page.secondRelay = named<QAbstractButton>(*this, relayButtonName(mode, 2))->isChecked();
    if (mode == 1) {
        const QList<QString> days = dayBoxNames();
        for (int day = 0; day < days.size(); ++day)
            page.days[day] = named<QAbstractButton>(*this, days.at(day))->isChecked();
    }
    for (CodeList list : codeListsOfMode(mode)) {
        const QByteArray value = unitBytes(codeList(*this, list)->currentText());
        if (!isAccessListValue(value)) {
            report(accessListRefusal(shownText(value)));
            return;
        }
        listField(page, list) = value;
    }
    if (mode != 0)
        page.sms = named<QAbstractButton>(*this, smsBoxName(mode))->isChecked();
    const QByteArray code = unitBytes(named<QLineEdit>(*this, codeEditName(mode))->text());
    const std::optional<QByteArray> selected = selectedNodeText(ctl<QTreeWidget>("TreeCode"), m_codePage);
    m_session->writeEntry(codeWriteCommand(selected, encodeAccessField(page), code), selected);
}

} // namespace oxa
