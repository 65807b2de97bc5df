// Any text loaded as a field descriptor, written again and loaded again must
// give the same settings; what is written has the shape of a descriptor, and
// a constant keeps its text through the pattern file's cell form.

#include "fuzzcheck.h"

#include "designer/patternfile.h"
#include "field/fielddescriptor.h"

#include <QLocale>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

void roundTrip(const QString &text, const FieldSettings &reset)
{
    const FieldSettings loaded = loadDescriptor(text, reset);
    const QString written = formatDescriptor(loaded);
    const FieldSettings again = loadDescriptor(written, reset);
    FUZZ_CHECK(again == loaded, text + QStringLiteral(" -> ") + written);
    FUZZ_CHECK(formatDescriptor(again) == written, written);

    const qsizetype components = written.split(u':').size();
    if (loaded.kind == FieldSettings::Kind::Constant) {
        FUZZ_CHECK(written.startsWith(QLatin1String("[C]:")) && components == 3, written);
        FUZZ_CHECK(PatternFile::cellFromFile(PatternFile::cellInFile(written)) == written, written);
    } else {
        FUZZ_CHECK(written.startsWith(QLatin1String("[F]:{")) && components == 8, written);
        FUZZ_CHECK(PatternFile::cellInFile(written) == written, written);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Grouped lengths ("1,000") are part of what is loaded and written.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    // The dialog's reset state, and one where every box already holds text.
    roundTrip(text, FieldSettings{});
    FieldSettings filled;
    filled.constantText = QStringLiteral("เดิม");
    filled.fieldName = QStringLiteral("DOCNO");
    filled.length = QStringLiteral("1,000");
    filled.fill = QStringLiteral("0");
    filled.prefix = QStringLiteral("<");
    filled.suffix = QStringLiteral(">");
    filled.multiLine = 1;
    roundTrip(text, filled);
    return 0;
}
