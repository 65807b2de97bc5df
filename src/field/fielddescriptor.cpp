#include "fielddescriptor.h"

#include "components/texttools.h"

#include <QStringList>

namespace {

const QString kNewLine = QStringLiteral("{NL}");

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

int constantLength(const QString &text)
{
    return int(text.size() - text.count(kNewLine) * kNewLine.size());
}

QString formatDescriptor(const FieldSettings &s)
{
    if (s.kind == FieldSettings::Kind::Constant)
        return QStringLiteral("[C]:") + s.constantText + u':' + QString::number(constantLength(s.constantText));

    const QChar code = alignmentCode(s.alignment);
    QString out = QStringLiteral("[F]:{") + s.fieldName + QStringLiteral("}:") + s.length + u':';
    if (!code.isNull())
        out += code;
    out += u':' + s.fill + u':' + s.prefix + u':' + s.suffix + u':'
        + QString::number(qAbs(s.multiLine));
    return out;
}

QString descriptorTag(const QString &descriptor)
{
    return descriptor.section(u':', 0, 0).trimmed().left(3);
}

FieldSettings loadDescriptor(const QString &descriptor, const FieldSettings &reset)
{
    FieldSettings s = reset;
    if (descriptor.isEmpty())
        return s;
    const QStringList pieces = descriptor.split(u':');
    const QString tag = pieces.constFirst().trimmed().left(3);

    if (tag == QLatin1String("[C]")) {
        s.kind = FieldSettings::Kind::Constant;
        if (pieces.size() > 1)
            s.constantText = pieces.at(1);
        return s;
    }
    if (tag != QLatin1String("[F]"))
        return s;

    s.kind = FieldSettings::Kind::Field;
    if (pieces.size() > 1)
        s.fieldName = QString(pieces.at(1)).remove(u'{').remove(u'}');
    if (pieces.size() > 2) {
        if (const auto length = TextTools::ToInteger(pieces.at(2), true))
            s.length = TextTools::FormatNumber(*length);
    }
    if (pieces.size() > 3) {
        const QString code = pieces.at(3).trimmed().left(1);
        s.alignment = code == u"C" ? FieldSettings::Center
                    : code == u"R" ? FieldSettings::Right
                                   : FieldSettings::Left;
    }
    if (pieces.size() > 4)
        s.fill = pieces.at(4).left(1);
    if (pieces.size() > 5)
        s.prefix = pieces.at(5);
    if (pieces.size() > 6)
        s.suffix = pieces.at(6);
    if (pieces.size() > 7) {
        const auto flag = TextTools::ToInteger(pieces.at(7), true);
        s.multiLine = flag && *flag >= 0 && *flag <= 2 ? *flag : 0;
    }
    return s;
}
