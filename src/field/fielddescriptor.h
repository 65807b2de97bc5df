#pragma once

#include <QString>
#include <QStringView>

struct DesignField;

// The settings of one field cell as the field dialog shows them, and the
// descriptor text the cell and the pattern file store:
//   data field  [F]:{NAME}:length:alignment:fill:prefix:suffix:multiline
//   constant    [C]:text:count   ("{NL}" marks a line break, not counted)
struct FieldSettings
{
    enum class Kind { Field, Constant };
    enum Alignment { NoAlignment = -1, Left = 0, Center = 1, Right = 2 };

    Kind kind = Kind::Field;
    QString constantText;
    QString fieldName;        // without braces
    QString length = QStringLiteral("1");   // as the length box shows it, "1,000" included
    int alignment = Left;
    QString fill;
    QString prefix;
    QString suffix;
    int multiLine = 0;        // check box state: 0 off, 1 on, 2 greyed

    friend bool operator==(const FieldSettings &, const FieldSettings &) = default;
};

// The tags of the two kinds of descriptor, and the marker that stands for a
// line break in a constant's text.
inline constexpr QStringView kFieldTag = u"[F]";
inline constexpr QStringView kConstantTag = u"[C]";
inline constexpr QStringView kLineBreak = u"{NL}";

// A descriptor read in place, for what reads every cell of a pattern again
// and again (the line lengths, the preview, the checks): its kind by its
// tag, trimmed of spaces as loadDescriptor takes it, and its components as
// views into the text, which must outlive the view. A component the text
// does not have is empty.
struct DescriptorView
{
    enum class Kind { Field, Constant, Other };

    explicit DescriptorView(QStringView descriptor);

    // The identifier without its braces; a copy only where braces stand
    // inside it, else a view of the text.
    QString name() const;
    // The line breaks a constant's text holds.
    qsizetype lineBreaks() const;

    Kind kind = Kind::Other;
    QStringView identifier;   // a data field's, braces and all
    QStringView text;         // a constant's
    QStringView length;       // the third component: a field's length, a constant's count
    bool hasLength = false;   // whether there is a third component
    QStringView alignment;
    QStringView fill;         // the fifth component's first character
};

// The longest a field or a constant can be: every length is read as a
// 16-bit number, so a longer one would be counted as none.
inline constexpr int kLongestLength = 32767;

// How a data field's length component reads. Valid: a whole number from 1
// to kLongestLength, as the length display counts it (the locale's
// grouping taken, "1,000"); `value` holds it. Otherwise why it is none:
// empty, no whole number ("abc", "1.5"), below 1, or a whole number beyond
// kLongestLength (the 16-bit reading refuses it).
struct LengthReading
{
    enum class Kind { Valid, Missing, NotANumber, BelowOne, TooLarge };
    Kind kind = Kind::Missing;
    int value = 0;
};
LengthReading readLength(const QString &text);

// The number of characters of a constant text once every "{NL}" marker
// (taken left to right, not overlapping) is left out.
int constantLength(const QString &text);

// The descriptor for the settings. Nothing is trimmed, checked or converted.
QString formatDescriptor(const FieldSettings &settings);

// Loads a descriptor on top of `reset`, the state the dialog starts from.
// An empty text or an unknown tag (compared exactly: "[f]" is unknown) loads
// nothing; a missing component, or a length or flag that is no 16-bit number,
// leaves the reset value; the tag and the alignment code are trimmed of
// spaces (only), the other components are not; an unknown alignment code means Left; the fill,
// prefix and suffix keep their first character, as their boxes hold one;
// the length is shown with the locale's grouping; a flag other than 0, 1 or 2
// means unchecked; a constant's stored count is ignored.
FieldSettings loadDescriptor(const QString &descriptor, const FieldSettings &reset);

// The alignment of a descriptor's alignment code: "C" Center, "R" Right,
// anything else Left; spaces around it do not count.
FieldSettings::Alignment alignmentOf(QStringView code);

// The descriptor tag of a text: the first three characters of its first
// component, trimmed of spaces ("[F]", "[C]" or anything else).
QString descriptorTag(const QString &descriptor);

// What a cell text is, judged by the form the field dialog writes. Field:
// tag "[F]", then 4 to 7 components: an identifier in braces, a length
// that readLength takes, an alignment code "L", "C", "R" or none (spaces
// around it aside), a fill, prefix and suffix of at most one character
// each, and a multi-line flag "0", "1" or "2". Constant: tag "[C]" and its
// text (empty too), with or without a count, right or not. Other: anything
// else.
enum class DescriptorForm { Field, Constant, Other };
DescriptorForm descriptorForm(const QString &text);

// The position of the first character that a typed component (constant text,
// fill, prefix, suffix) can never hold, or -1 when there is none. Refused are
// the colon, which separates a descriptor's components; the semicolon, which
// separates the fields of a pattern file line; control characters, a line
// break above all, which would split the line; and whatever the pattern
// file's code page, windows-874, cannot encode, since saving would lose it.
// A surrogate pair is judged as the one character it is.
qsizetype firstRefusedCharacter(QStringView text);

// The settings a data field gets where it is put into a cell without the
// field dialog (dropped from the field list, imported from a bank's
// table): the field at `length`, left aligned and filled with spaces; a
// field whose formatted sample is a number (digits only) right aligned
// and filled with zeros, as amounts and counts are written.
FieldSettings suggestedSettings(const DesignField &field, int length);

// Whether a data field of this name (as listed, without braces) can be
// written into a cell and a pattern file and read back as itself: not with
// a character a component can never hold (firstRefusedCharacter: ":" would
// split the descriptor, ";" the line), nor with a brace, which marks where
// the name begins and ends.
bool canStoreFieldName(const QString &name);

// What a cell shows when the grid shows cells readably: a data field as its
// identifier, length, alignment code and fill ("PAYAMT 15 R 0"), a constant
// as its text in quotes and its stored count ("'H' 1"), any other text as it
// is stored. A space is shown as "·" and a line break marker as "↵", two
// characters the pattern's code page cannot hold, so they are never read as
// stored ones; an empty component is left out. The stored text is the truth:
// this is for the eye only.
QString readableText(const QString &cellText);
