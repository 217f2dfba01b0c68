// Bytes from the unit, as the receive handler takes them: lines assembled from single bytes, every line
// tested against the reply table, and the fields of the replies that carry any cut out and decoded the
// way the window does (entry lines into tree nodes, access fields, memory nodes and parameter strings).
#include "fuzzcheck.h"

#include "accessfield.h"
#include "entries.h"
#include "entryline.h"
#include "linereader.h"
#include "memoryeditor.h"
#include "nodeorder.h"
#include "nodetext.h"
#include "parameterstrings.h"
#include "replies.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

using namespace oxa;

// Trees bigger than this add nothing to the search but time.
constexpr qsizetype kMaxTreeNodes = 64;

struct Session {
    bool asendPending = false;
    QByteArray selectedMemoPrefix;
    QByteArray selectedButtonPrefix;
    QList<QByteArray> trees[5];
    ParameterStrings strings = startupParameterStrings();
};

void checkDecodedParameters(const DecodedParameters &d) {
    FUZZ_CHECK(d.strings.paroxa.size() == 15 && d.strings.parrl1.size() == 8 &&
               d.strings.parrl2.size() == 8 && d.strings.parkey.size() == 3);
    FUZZ_CHECK(d.volMicPosition >= 1 && d.volMicPosition <= 7 && d.volSpkPosition >= 1 &&
               d.volSpkPosition <= 7);
    FUZZ_CHECK(d.waitingIndex >= 0 && d.waitingIndex <= 9);
    FUZZ_CHECK(d.waitBufIndex >= -1 && d.waitBufIndex <= 8);
    (void)decodeOperations(d);
}

const QList<QByteArray> &listItems(CodeListKind kind) {
    static const QList<QByteArray> items[] = {
        codeListItems(CodeListKind::Access), codeListItems(CodeListKind::Month),
        codeListItems(CodeListKind::Day), codeListItems(CodeListKind::Hour)};
    return items[int(kind)];
}

void takeCodeNode(const QByteArray &node) {
    const DecodedCode code = decodeCodeNode(node, CodePageCodec());
    if (!code.page)
        FUZZ_CHECK(!code.error.isEmpty());
    else
        FUZZ_CHECK(*code.page >= -1 && *code.page < codeModeCount);
    FUZZ_CHECK(code.relay >= 0 && code.relay <= 2);
    for (const auto &[list, choice] : code.lists) {
        const QList<QByteArray> &items = listItems(codeListKind(list));
        FUZZ_CHECK(choice.index >= -1 && choice.index < items.size());
        FUZZ_CHECK(choice.index < 0 ? choice.text.isEmpty() : choice.text == items.at(choice.index));
    }
}

void takeEntry(Session &s, QByteArrayView line) {
    const std::optional<ReadEntry> entry = parseEntryLine(line);
    if (!entry)
        return;
    FUZZ_CHECK(!entry->indexText.isEmpty() && entry->indexText.front() >= '0' &&
               entry->indexText.front() <= '9');
    FUZZ_CHECK(entry->index >= 0);
    FUZZ_CHECK(!entry->number.contains('"') && !entry->name.contains('"'));

    const EntryPlacement placement = placeReadEntry(entry->indexText, entry->number, entry->name,
                                                    s.selectedMemoPrefix, s.selectedButtonPrefix);
    FUZZ_CHECK(placement.nodeText == nodeText(entry->indexText, entry->name, entry->number));
    FUZZ_CHECK(nodeIndex(placement.nodeText) == entry->indexText);
    for (const EntryTree tree : placement.trees) {
        QList<QByteArray> &texts = s.trees[int(tree)];
        if (texts.size() < kMaxTreeNodes) {
            const qsizetype before = texts.size();
            texts = withNodeAdded(texts, placement.nodeText);
            FUZZ_CHECK(texts.size() == before + 1);
            for (qsizetype i = 1; i < texts.size(); ++i)
                FUZZ_CHECK(!nodeTextLess(texts[i], texts[i - 1]));
        }
        switch (tree) {
        case EntryTree::Code:
            takeCodeNode(placement.nodeText);
            break;
        case EntryTree::Memo:
        case EntryTree::Buttons: {
            // A click on the node chooses its memory for the selection tree.
            const QByteArray prefix = selectionPrefixOfNode(placement.nodeText);
            (tree == EntryTree::Memo ? s.selectedMemoPrefix : s.selectedButtonPrefix) = prefix;
            break;
        }
        case EntryTree::MemoSel:
        case EntryTree::ButtonsSel: {
            const MemoryKind kind = tree == EntryTree::MemoSel ? MemoryKind::Keyboard : MemoryKind::Button;
            const SelectionNodeFields fields = readSelectionNode(kind, placement.nodeText, CodePageCodec());
            (void)memoryPreviewLabel(kind, digitFilter(fields.memory), fields.position.text);
            break;
        }
        }
    }

    switch (classifyEntryName(entry->name)) {
    case EntryTarget::Parameter:
        if (entry->name == "PAROXA")
            s.strings.paroxa = entry->number;
        else if (entry->name == "PARRL1")
            s.strings.parrl1 = entry->number;
        else if (entry->name == "PARRL2")
            s.strings.parrl2 = entry->number;
        else
            s.strings.parkey = entry->number;
        checkDecodedParameters(decodeParameters(s.strings));
        break;
    case EntryTarget::Version:
        (void)versionDisablesTones(entry->number);
        (void)versionPanelText(QStringLiteral(" OXA Ver: "), CodePageCodec().decode(entry->number));
        break;
    case EntryTarget::KeyBox:
    case EntryTarget::GridRow:
        (void)QString::fromLatin1(entry->number);
        break;
    }
}

void takeLine(Session &s, const QByteArray &line) {
    FUZZ_CHECK(!line.contains('\r'));
    for (const char c : line)
        FUZZ_CHECK(static_cast<unsigned char>(c) >= 32);
    (void)isLoggedLine(line);
    (void)showsRunTone(line);
    (void)isErrorReply(line);
    if (reportsLteModule(line))
        FUZZ_CHECK(classifyReply(line, s.asendPending) == ReplyKind::StopReport);

    switch (classifyReply(line, s.asendPending)) {
    case ReplyKind::Battery:
        if (const auto reading = parseBattery(line)) {
            (void)batteryPanelText(*reading);
            FUZZ_CHECK(parseDecimal(reading->field) == reading->value);
        }
        break;
    case ReplyKind::Signal:
        if (const auto level = parseSignalLevel(line)) {
            (void)signalRgb(*level);
            const int meter = signalMeterValue(*level);
            FUZZ_CHECK(meter >= 0 && meter <= 31);
        }
        break;
    case ReplyKind::SimSize:
        if (const auto size = parseSimSize(line))
            (void)simPanelText(*size);
        break;
    case ReplyKind::Entry:
        takeEntry(s, line);
        break;
    case ReplyKind::Operator:
        (void)operatorPanelText(CodePageCodec().decode(operatorText(line)));
        break;
    case ReplyKind::AsendDone:
        s.asendPending = false;
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Session session;
    LineReader reader;
    for (std::size_t i = 0; i < size; ++i) {
        const char byte = static_cast<char>(data[i]);
        switch (reader.feed(byte)) {
        case LineReader::Event::Prompt:
            FUZZ_CHECK(reader.partialIsPrompt());
            // An "ASEND:" step's data follows the prompt; its event is then awaited.
            session.asendPending = true;
            break;
        case LineReader::Event::LineEnded:
            takeLine(session, reader.takeLine());
            break;
        case LineReader::Event::Cut:
            FUZZ_CHECK(reader.partial().size() == LineReader::MaxLineLength);
            break;
        case LineReader::Event::Dropped:
        case LineReader::Event::Appended:
            break;
        }
        FUZZ_CHECK(reader.partial().size() <= LineReader::MaxLineLength);
    }
    // A line that never ended stays partial; it must still be what arrived since the last CR.
    FUZZ_CHECK(reader.partial().size() <= qsizetype(size));
    return 0;
}
