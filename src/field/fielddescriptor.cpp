#include "fielddescriptor.h"

#include "components/codepage.h"
#include "components/designdatabase.h"
#include "components/texttools.h"

#include <QLocale>
#include <QStringList>
#include <QStringTokenizer>

#include <algorithm>

namespace {

constexpr QChar kShownSpace(0x00B7);
constexpr QChar kShownNewLine(0x21B5);

QChar alignmentCode(int alignment)
{
    switch (alignment) {
    case FieldSettings::Left: return u'L';
    case FieldSettings::Center: return u'C';
    case FieldSettings::Right: return u'R';
    default: return {};
    }
}

} // namespace

DescriptorView::DescriptorView(QStringView descriptor)
{
    // Whether to read on after the i-th ':'-separated piece.
    const auto take = [this](int i, QStringView piece) {
        switch (i) {
        case 0: {
            const QStringView tag = TextTools::trimSpaces(piece).left(3);
            kind = tag == kFieldTag ? Kind::Field : tag == kConstantTag ? Kind::Constant : Kind::Other;
            return true;
        }
        case 1:
            (kind == Kind::Constant ? text : identifier) = piece;
            return true;
        case 2:
            length = piece;
            hasLength = true;
            return kind == Kind::Field;
        case 3:
            alignment = piece;
            return true;
        default:
            fill = piece.left(1);
            return false;
        }
    };
    // Cut in place: every cell of a pattern is read so on every check and
    // layout, and its pieces are short enough that a plain search beats the
    // tokenizer's calls into the library.
    const QChar *const end = descriptor.end();
    int i = 0;
    for (const QChar *from = descriptor.begin();; ++i) {
        const QChar *const colon = std::find(from, end, u':');
        if (!take(i, QStringView(from, colon)) || colon == end)
            return;
        from = colon + 1;
    }
}

QString DescriptorView::name() const
{
    const bool braced = identifier.startsWith(u'{') && identifier.endsWith(u'}') && identifier.size() >= 2;
    const QStringView inner = braced ? identifier.sliced(1, identifier.size() - 2) : identifier;
    if (inner.contains(u'{') || inner.contains(u'}'))
        return identifier.toString().remove(u'{').remove(u'}');
    return QString::fromRawData(inner.data(), inner.size());
}

qsizetype DescriptorView::lineBreaks() const
{
    return kind == Kind::Constant ? text.count(kLineBreak) : 0;
}

int constantLength(const QString &text)
{
    // Most constants hold no marker: a brace is found far faster than the
    // marker is searched for, and a pattern's every constant is counted on
    // loading and on every check.
    if (!text.contains(u'{'))
        return int(text.size());
    return int(text.size() - text.count(kLineBreak) * kLineBreak.size());
}

LengthReading readLength(const QString &text)
{
    if (const std::optional<qint16> value = TextTools::ToInteger(text, true))
        return {*value < 1 ? LengthReading::Kind::BelowOne : LengthReading::Kind::Valid, *value};
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {LengthReading::Kind::Missing, 0};
    // Beyond 16 bits, the way ToInteger reads a number: the locale's form,
    // then plain digits, however many.
    bool ok = false;
    qlonglong wide = QLocale().toLongLong(trimmed, &ok);
    if (!ok)
        wide = QLocale::c().toLongLong(trimmed, &ok);
    if (!ok) {
        const QStringView digits = QStringView(trimmed).sliced(trimmed.startsWith(u'-') ? 1 : 0);
        ok = !digits.isEmpty()
            && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        wide = trimmed.startsWith(u'-') ? -1 : kLongestLength + 1;
    }
    if (!ok)
        return {LengthReading::Kind::NotANumber, 0};
    return {wide < 1 ? LengthReading::Kind::BelowOne : LengthReading::Kind::TooLarge, 0};
}

QString formatDescriptor(const FieldSettings &s)
{
    if (s.kind == FieldSettings::Kind::Constant)
        return kConstantTag.toString() + u':' + s.constantText + u':' + QString::number(constantLength(s.constantText));

    const QChar code = alignmentCode(s.alignment);
    QString out = kFieldTag.toString() + QStringLiteral(":{") + s.fieldName + QStringLiteral("}:") + s.length + u':';
    if (!code.isNull())
        out += code;
    out += u':' + s.fill + u':' + s.prefix + u':' + s.suffix + u':'
        + QString::number(qAbs(s.multiLine));
    return out;
}

FieldSettings::Alignment alignmentOf(QStringView code)
{
    const QStringView first = TextTools::trimSpaces(code).left(1);
    return first == u"C" ? FieldSettings::Center : first == u"R" ? FieldSettings::Right : FieldSettings::Left;
}

QString descriptorTag(const QString &descriptor)
{
    const qsizetype colon = descriptor.indexOf(u':');
    return TextTools::trimSpaces(QStringView(descriptor).first(colon < 0 ? descriptor.size() : colon))
        .left(3)
        .toString();
}

FieldSettings loadDescriptor(const QString &descriptor, const FieldSettings &reset)
{
    FieldSettings s = reset;
    if (descriptor.isEmpty())
        return s;
    const QStringList pieces = descriptor.split(u':');
    const QString tag = descriptorTag(descriptor);

    if (tag == kConstantTag) {
        s.kind = FieldSettings::Kind::Constant;
        if (pieces.size() > 1)
            s.constantText = pieces.at(1);
        return s;
    }
    if (tag != kFieldTag)
        return s;

    s.kind = FieldSettings::Kind::Field;
    if (pieces.size() > 1)
        s.fieldName = QString(pieces.at(1)).remove(u'{').remove(u'}');
    if (pieces.size() > 2) {
        if (const auto length = TextTools::ToInteger(pieces.at(2), true))
            s.length = TextTools::FormatNumber(*length);
    }
    if (pieces.size() > 3) {
        s.alignment = alignmentOf(pieces.at(3));
    }
    if (pieces.size() > 4)
        s.fill = pieces.at(4).left(1);
    if (pieces.size() > 5)
        s.prefix = pieces.at(5).left(1);
    if (pieces.size() > 6)
        s.suffix = pieces.at(6).left(1);
    if (pieces.size() > 7) {
        if (const auto flag = TextTools::ToInteger(pieces.at(7), true))
            s.multiLine = *flag >= 0 && *flag <= 2 ? *flag : 0;
    }
    return s;
}

DescriptorForm descriptorForm(const QString &text)
{
    const QString tag = descriptorTag(text);
    const QStringList pieces = text.split(u':');
    if (tag == kConstantTag)
        return pieces.size() >= 2 && pieces.size() <= 3 && TextTools::trimSpaces(pieces.at(0)) == tag ? DescriptorForm::Constant
                                                                                 : DescriptorForm::Other;
    if (tag != kFieldTag || TextTools::trimSpaces(pieces.at(0)) != tag || pieces.size() < 5
        || pieces.size() > 8)
        return DescriptorForm::Other;
    const QString &identifier = pieces.at(1);
    const QStringView name = QStringView(identifier).sliced(qMin<qsizetype>(1, identifier.size()));
    const bool braced = identifier.startsWith(u'{') && identifier.endsWith(u'}') && identifier.size() >= 2
        && !name.chopped(1).contains(u'{') && !name.chopped(1).contains(u'}');
    const QStringView code = TextTools::trimSpaces(pieces.at(3));
    const bool aligned = code.isEmpty() || code == u"L" || code == u"C" || code == u"R";
    const bool single = std::all_of(pieces.begin() + 4, pieces.begin() + qMin<qsizetype>(7, pieces.size()),
                                    [](const QString &piece) { return piece.size() <= 1; });
    const bool flag = pieces.size() < 8 || pieces.at(7) == u"0" || pieces.at(7) == u"1" || pieces.at(7) == u"2";
    return braced && readLength(pieces.at(2)).kind == LengthReading::Kind::Valid && aligned && single && flag
               ? DescriptorForm::Field
               : DescriptorForm::Other;
}

qsizetype firstRefusedCharacter(QStringView text)
{
    const auto separator = std::find_if(text.cbegin(), text.cend(), [](QChar c) {
        return c == u':' || c == u';' || c.category() == QChar::Other_Control;
    });
    const qsizetype before = separator - text.cbegin();
    const qsizetype unstorable = CodePage::firstUnstorable(text.first(before));
    if (unstorable >= 0)
        return unstorable;
    return separator == text.cend() ? -1 : before;
}

FieldSettings suggestedSettings(const DesignField &field, int length)
{
    FieldSettings s;
    s.fieldName = field.field;
    s.length = QString::number(length);
    const QString &sample = field.formattedSample;
    const bool number = !sample.isEmpty()
        && std::all_of(sample.begin(), sample.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    s.alignment = number ? FieldSettings::Right : FieldSettings::Left;
    s.fill = number ? QStringLiteral("0") : QStringLiteral(" ");
    return s;
}

bool canStoreFieldName(const QString &name)
{
    return firstRefusedCharacter(name) < 0 && !name.contains(u'{') && !name.contains(u'}');
}

QString readableText(const QString &cellText)
{
    // Read in place: every cell in view is shown so on every paint.
    const QString tag = descriptorTag(cellText);
    const bool field = tag == kFieldTag;
    if (!field && tag != kConstantTag)
        return cellText;
    QString shown;
    shown.reserve(cellText.size());
    const auto add = [&shown](QStringView part) {
        if (part.isEmpty())
            return;
        if (!shown.isEmpty())
            shown += u' ';
        shown += part;
    };
    int i = 0;
    for (const QStringView piece : QStringTokenizer(cellText, u':')) {
        if (field) {
            if (i == 1) {
                for (const QChar c : piece) {
                    if (c != u'{' && c != u'}')
                        shown += c;
                }
            } else if (i == 2) {
                add(piece);
            } else if (i == 3) {
                add(TextTools::trimSpaces(piece));
            } else if (i == 4) {
                add(QString(piece.toString()).replace(u' ', kShownSpace));
                break;
            }
        } else if (i == 1) {
            shown += u'\'';
            shown += QString(piece.toString()).replace(kLineBreak.toString(), QString(kShownNewLine)).replace(u' ', kShownSpace);
            shown += u'\'';
        } else if (i == 2) {
            add(piece);
            break;
        }
        ++i;
    }
    if (!field && i == 1)
        return QStringLiteral("''");   // a constant without its text
    // A field with no component to show is shown as stored, never as empty.
    return shown.isEmpty() ? cellText : shown;
}
