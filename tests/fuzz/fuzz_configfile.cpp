// A configuration file (*.oxa) as loading takes it: lines split, key rows picked out, every other row
// kept for the phone book, the parameter strings decoded. What was loaded, saved again, must load the
// same: a file the program wrote is never one it cannot read back.
#include "fuzzcheck.h"

#include "configurationfile.h"
#include "keyentries.h"
#include "parameterstrings.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace {

using namespace oxa;

ConfigurationContent contentOf(const ConfigurationLoad &load) {
    ConfigurationContent content;
    for (const LoadedKeyValue &box : load.editBoxValues) {
        const int k = editBoxKeyIndex(box.key);
        FUZZ_CHECK(k >= 0);
        content.editBoxValues[std::size_t(k)] = box.value;
    }
    content.strings = startupParameterStrings();
    for (const LoadedParameter &parameter : load.parameters)
        content.strings[parameter.which] = parameter.value;
    content.rows = load.rows;
    return content;
}

// The file does not carry PARKEY, so a row of that name left over from the first load is taken as
// the key on the second one; it is the one row whose place may change.
QList<PhoneBookRow> withoutKeyRow(QList<PhoneBookRow> rows) {
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i].separator && sameNameIgnoringCase(rows[i].name, simKeyName(ParameterString::Key))) {
            rows.removeAt(i);
            break;
        }
    }
    return rows;
}

bool sameRows(const QList<PhoneBookRow> &a, const QList<PhoneBookRow> &b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        // A line without "=" is written back with one in front: same name (empty) and phone.
        if (a[i].name != b[i].name || a[i].phone != b[i].phone)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ConfigurationLoad load = parseConfiguration(bytes);
    if (!load.error.isEmpty()) {
        FUZZ_CHECK(load.editBoxValues.isEmpty() && load.parameters.isEmpty() && load.rows.isEmpty());
        return 0;
    }
    for (const PhoneBookRow &row : load.rows)
        FUZZ_CHECK(!row.name.contains('\r') && !row.name.contains('\n') && !row.phone.contains('\r') &&
                   !row.phone.contains('\n') && !row.name.contains('='));
    QList<QByteArray> lines;
    FUZZ_CHECK(splitConfigurationLines(bytes, lines));
    FUZZ_CHECK(load.editBoxValues.size() + load.parameters.size() + load.rows.size() == lines.size());

    const ConfigurationContent content = contentOf(load);
    ParameterStrings held = content.strings;
    (void)decodeParameters(held);

    const QByteArray saved = buildConfigurationFile(content);
    if (saved.size() > kMaxConfigurationFileSize)
        return 0;
    const ConfigurationLoad again = parseConfiguration(saved);
    if (content.rows.size() + 26 > kMaxConfigurationLines)
        return 0;
    FUZZ_CHECK(again.error.isEmpty());
    FUZZ_CHECK(again.editBoxValues.size() == qsizetype(kEditBoxKeys.size()));
    const ConfigurationContent reloaded = contentOf(again);
    FUZZ_CHECK(reloaded.editBoxValues == content.editBoxValues);
    for (const ParameterString which :
         {ParameterString::Oxa, ParameterString::Relay1, ParameterString::Relay2})
        FUZZ_CHECK(reloaded.strings[which] == content.strings[which]);
    FUZZ_CHECK(sameRows(reloaded.rows, withoutKeyRow(content.rows)));
    return 0;
}
