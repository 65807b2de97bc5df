#include "frmfield.h"

#include "components/appcontext.h"
#include "components/prompts.h"
#include "components/systemsettings.h"
#include "components/texttools.h"
#include "components/gui/twips.h"
#include "field/gui/componentvalidator.h"
#include "field/fieldpreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <qdrawutil.h>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QToolTip>
#include <QVariant>

#include <limits>

namespace {

constexpr int kKeyEnter = 13;

// Inner area of the dialog as designed, in twips.
constexpr int kDesignWidth = 7170;
constexpr int kDesignHeight = 5010;
// Widest the constant option may grow as its count changes, in twips.
constexpr int kConstantOptionWidth = 6495;

const QString kConstantCaption = QStringLiteral("&Constant (Use {NL} for NewLine)");

// A frame drawn as an etched line whose top runs half a text line below
// the frame's top, so that an option button laid over that edge reads as
// the frame's title.
class CaptionFrame final : public QFrame
{
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRect border = rect().adjusted(0, fontMetrics().height() / 2, 0, 0);
        qDrawShadeRect(&painter, border, palette(), true, 1, 0);
    }
};

QFont dialogFont(bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Arial")});
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

int checkValue(Qt::CheckState state)
{
    switch (state) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

Qt::CheckState checkState(int value)
{
    switch (value) {
    case 1: return Qt::Checked;
    case 2: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
    }
}

} // namespace

frmField::frmField(AppContext &context, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_context(context)
{
    setObjectName(QStringLiteral("frmField"));
    setWindowTitle(QStringLiteral("Field"));
    setFont(dialogFont(false));
    setFixedSize(Twips::toPixels(kDesignWidth, this), Twips::toPixels(kDesignHeight, this));
    createControls();
}

frmField::~frmField() = default;

void frmField::createControls()
{
    const auto place = [this](QWidget *control, const char *name, int left, int top, int width,
                              int height) {
        control->setObjectName(QLatin1String(name));
        control->setGeometry(Twips::toPixels(left, top, width, height, this));
    };
    const auto display = [](QLineEdit *box) {
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignCenter);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        box->setPalette(palette);
    };
    const auto oneCharacter = [](QLineEdit *box) {
        box->setMaxLength(1);
        box->setAlignment(Qt::AlignCenter);
    };

    // The option buttons come first in the focus chain. They lie over the
    // frames' top edges as their titles, so they are raised above the frames
    // and paint their own background across the border.
    Option1[0] = new QRadioButton(kConstantCaption, this);
    place(Option1[0], "Option1_0", 240, 0, kConstantOptionWidth, 495);
    Option1[1] = new QRadioButton(QStringLiteral("Fi&eld"), this);
    place(Option1[1], "Option1_1", 240, 1200, 735, 495);
    Option1[1]->setChecked(true);

    Frame1 = new CaptionFrame(this);
    place(Frame1, "Frame1", 120, 120, 6855, 975);
    Text1 = new QLineEdit(Frame1);
    place(Text1, "Text1", 240, 480, 6375, 285);
    // A constant too long for its count is refused on OK, not cut short
    // where it is loaded or typed.
    Text1->setMaxLength(std::numeric_limits<int>::max());

    Frame2 = new CaptionFrame(this);
    place(Frame2, "Frame2", 120, 1320, 6855, 3015);
    // The field list's own label, small, in the free strip between the
    // frame's top edge and the list, right of the option that titles it.
    Label9 = new QLabel(QStringLiteral("&Data field"), Frame2);
    place(Label9, "Label9", 1080, 180, 2295, 255);
    Combo1 = new QComboBox(Frame2);
    place(Combo1, "Combo1", 240, 480, 3135, 315);
    Text6 = new QLineEdit(Frame2);
    place(Text6, "Text6", 3480, 480, 3135, 315);
    display(Text6);

    // Each label ends where its box begins.
    Label3 = new QLabel(QStringLiteral("Fixed &Length"), Frame2);
    place(Label3, "Label3", 240, 1140, 1080, 255);
    Text4 = new QLineEdit(Frame2);
    place(Text4, "Text4", 1320, 1080, 615, 315);
    Label1 = new QLabel(QStringLiteral("&Alignment"), Frame2);
    place(Label1, "Label1", 2160, 1140, 840, 255);
    Combo2 = new QComboBox(Frame2);
    place(Combo2, "Combo2", 3000, 1080, 1335, 315);
    Combo2->addItems({QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")});
    Combo2->setCurrentIndex(-1);
    Label2 = new QLabel(QStringLiteral("Fill &Blank space with"), Frame2);
    place(Label2, "Label2", 4560, 1140, 1560, 255);
    Text3 = new QLineEdit(Frame2);
    place(Text3, "Text3", 6120, 1080, 495, 315);
    oneCharacter(Text3);

    Label4 = new QLabel(QStringLiteral("Sa&mple Data"), Frame2);
    place(Label4, "Label4", 240, 1620, 1080, 255);
    Text2 = new QLineEdit(Frame2);
    place(Text2, "Text2", 1320, 1560, 2055, 315);
    display(Text2);
    Label5 = new QLabel(QStringLiteral("F&ormated"), Frame2);
    place(Label5, "Label5", 3720, 1620, 840, 255);
    Text5 = new QLineEdit(Frame2);
    place(Text5, "Text5", 4560, 1560, 2055, 315);
    display(Text5);
    Label6 = new QLabel(QStringLiteral("Af&ter Adjusted"), Frame2);
    place(Label6, "Label6", 240, 2100, 1080, 255);
    Text7 = new QLineEdit(Frame2);
    place(Text7, "Text7", 1320, 2040, 5295, 315);
    display(Text7);

    Label7 = new QLabel(QStringLiteral("&Prefix"), Frame2);
    place(Label7, "Label7", 840, 2580, 480, 255);
    Text8 = new QLineEdit(Frame2);
    place(Text8, "Text8", 1320, 2520, 495, 315);
    oneCharacter(Text8);
    Label8 = new QLabel(QStringLiteral("&Suffix"), Frame2);
    place(Label8, "Label8", 2520, 2580, 480, 255);
    Text9 = new QLineEdit(Frame2);
    place(Text9, "Text9", 3000, 2520, 495, 315);
    oneCharacter(Text9);
    Check1 = new QCheckBox(QStringLiteral("Allow M&ulti line"), Frame2);
    place(Check1, "Check1", 4080, 2550, 1575, 255);

    for (QRadioButton *option : Option1) {
        option->setFont(dialogFont(true));
        option->setAutoFillBackground(true);
        option->resize(qMin(option->sizeHint().width(), option->width()), option->height());
        option->raise();
    }

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    place(Command1, "Command1", 1920, 4440, 1455, 375);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    place(Command2, "Command2", 3600, 4440, 1455, 375);
    for (QPushButton *button : {Command1, Command2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    // Each label names its box for screen readers, and its underlined
    // letter with Alt reaches the box; the boxes without a label are named
    // after what they hold.
    const std::pair<QLabel *, QWidget *> buddies[] = {{Label9, Combo1}, {Label3, Text4}, {Label1, Combo2}, {Label2, Text3},
                                                      {Label4, Text2}, {Label5, Text5}, {Label6, Text7},
                                                      {Label7, Text8}, {Label8, Text9}};
    for (const auto &[label, box] : buddies)
        label->setBuddy(box);
    Frame1->setAccessibleName(QStringLiteral("Constant"));
    Frame2->setAccessibleName(QStringLiteral("Field settings"));
    Text1->setAccessibleName(QStringLiteral("Constant text"));
    Combo1->setAccessibleName(QStringLiteral("Data field"));
    Text6->setAccessibleName(QStringLiteral("Field name"));

    for (QLineEdit *box : {Text1, Text3, Text8, Text9}) {
        auto *validator = new ComponentValidator(box);
        connect(validator, &ComponentValidator::refused, this,
                [this, box](const QString &hint) { showRefusal(box, hint); });
        box->setValidator(validator);
    }

    QWidget *order[] = {Option1[0], Option1[1], Command1, Command2, Text1, Text4, Text3, Combo1,
                        Combo2, Text2, Text5, Text6, Text7, Text8, Text9, Check1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(Combo1, &QComboBox::currentIndexChanged, this, &frmField::Combo1_Click);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &frmField::Combo2_Click);
    connect(Text1, &QLineEdit::textChanged, this, &frmField::Text1_Change);
    connect(Text3, &QLineEdit::textChanged, this, &frmField::Text3_Change);
    // A greyed state comes only from a loaded descriptor; a click leaves it
    // for good, so the user toggles between off and on.
    connect(Check1, &QCheckBox::clicked, this, [this] { Check1->setTristate(false); });
    connect(Command1, &QPushButton::clicked, this, &frmField::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmField::Command2_Click);
    Text4->installEventFilter(this);
}

void frmField::SetFormat(const QString &Caption, const QString &PMODE, const QString &Data)
{
    setWindowTitle(Caption);
    loadFieldList(PMODE);
    selectField(0);
    selectAlignment(FieldSettings::Left);
    Text4->setText(QStringLiteral("1"));
    if (Data.isEmpty())
        return;
    applyLoaded(descriptorTag(Data), loadDescriptor(Data, settings()));
    MDATA = Data;
}

void frmField::loadFieldList(const QString &mode)
{
    // Read once: the name and samples of each pick come from this list. A
    // field whose name a cell cannot hold is left out, and said so once a run.
    static QSet<QString> leftOutBefore;
    QStringList leftOut;
    m_fields.clear();
    for (const DesignField &field : DesignDatabase(m_context.systemSettings().DesignConnection()).fields(mode).value_or(
             QList<DesignField>())) {
        if (canStoreFieldName(field.field))
            m_fields.append(field);
        else if (!leftOutBefore.contains(field.field))
            leftOut.append(field.field);
    }
    if (!leftOut.isEmpty()) {
        leftOutBefore.unite(QSet<QString>(leftOut.cbegin(), leftOut.cend()));
        m_context.notices().tell(QStringLiteral("ฟิลด์ต่อไปนี้มีอักขระที่ไฟล์ Pattern เก็บไม่ได้ จึงไม่แสดงในรายการ: %1\n"
                                                "These fields of the design database are not offered: their names "
                                                "hold a character a pattern cannot store (\":\", \";\", a brace, a "
                                                "control character or one windows-874 lacks): %1")
                                     .arg(leftOut.join(QStringLiteral(", "))),
                                 Notices::Icon::Warning);
    }
    const QSignalBlocker blocker(Combo1);
    Combo1->clear();
    for (const DesignField &field : std::as_const(m_fields))
        Combo1->addItem(field.field);
}

void frmField::setLoadedText(QLineEdit *box, const QString &text)
{
    if (auto *validator = box->findChild<ComponentValidator *>())
        validator->setLoaded(text);
    box->setText(text);
}

void frmField::applyLoaded(const QString &tag, const FieldSettings &loaded)
{
    // The controls are set in the order a user would, each firing its event,
    // so the name, samples, preview and counter follow.
    if (tag == kConstantTag) {
        Option1[0]->setChecked(true);
        setLoadedText(Text1, loaded.constantText);
    } else if (tag == kFieldTag) {
        Option1[1]->setChecked(true);
        selectField(Combo1->findText(loaded.fieldName, Qt::MatchExactly | Qt::MatchCaseSensitive));
        Text4->setText(loaded.length);
        selectAlignment(loaded.alignment);
        setLoadedText(Text3, loaded.fill);
        setLoadedText(Text8, loaded.prefix);
        setLoadedText(Text9, loaded.suffix);
        Check1->setCheckState(checkState(loaded.multiLine));
    }
}

FieldSettings frmField::settings() const
{
    FieldSettings s;
    s.kind = Option1[0]->isChecked() ? FieldSettings::Kind::Constant : FieldSettings::Kind::Field;
    s.constantText = Text1->text();
    s.fieldName = Combo1->currentText();
    s.length = Text4->text();
    s.alignment = Combo2->currentIndex();
    s.fill = Text3->text();
    s.prefix = Text8->text();
    s.suffix = Text9->text();
    s.multiLine = checkValue(Check1->checkState());
    return s;
}

QString frmField::GetFormat() const
{
    return formatDescriptor(settings());
}

void frmField::FormatAdj()
{
    // A length that is no 16-bit number lays out nothing.
    const int width = TextTools::ToInteger(Text4->text(), true).value_or(0);
    Text7->setText(FieldPreview::adjust(Text5->text(), Text3->text(), width, Combo2->currentIndex()));
}

void frmField::selectField(int index)
{
    // An empty list, or a name it does not hold, keeps the selection.
    if (index < 0 || index >= Combo1->count())
        return;
    {
        const QSignalBlocker blocker(Combo1);
        Combo1->setCurrentIndex(index);
    }
    Combo1_Click();
}

void frmField::selectAlignment(int index)
{
    {
        const QSignalBlocker blocker(Combo2);
        Combo2->setCurrentIndex(index);
    }
    Combo2_Click();
}

void frmField::Combo1_Click()
{
    const DesignField field = m_fields.value(Combo1->currentIndex());
    Text6->setText(field.name);
    Text2->setText(field.sample);
    Text5->setText(field.formattedSample);
    // The beginning of a long name or sample is what identifies it.
    for (QLineEdit *box : {Text6, Text2, Text5})
        box->setCursorPosition(0);
    FormatAdj();
}

void frmField::Combo2_Click()
{
    FormatAdj();
}

void frmField::Text3_Change()
{
    FormatAdj();
}

void frmField::Text1_Change()
{
    showConstantCount();
}

void frmField::Form_Activate()
{
    showConstantCount();
}

void frmField::showConstantCount()
{
    const int count = Option1[1]->isChecked() ? 0 : constantLength(Text1->text());
    QRadioButton *option = Option1[0];
    option->setText(kConstantCaption + QStringLiteral(" - [ ") + QString::number(count)
                    + QStringLiteral(" character]"));
    // Only as wide as its caption, so the frame's border shows beyond it.
    option->resize(qMin(option->sizeHint().width(), Twips::toPixels(kConstantOptionWidth, this)),
                   option->height());
}

void frmField::Text4_KeyDown(int keyCode, int)
{
    if (keyCode == kKeyEnter)
        confirmLength();
}

bool frmField::confirmLength()
{
    // A number too large for a length would silently become 1: the user
    // is told instead. Any other text that is no 16-bit number counts as
    // 0, and so becomes 1.
    if (readLength(Text4->text()).kind == LengthReading::Kind::TooLarge) {
        m_context.notices().tell(QStringLiteral("ความยาวต้องไม่เกิน %1 ตัวอักษร\n"
                                                "The length %2 is more than a field can have: the largest "
                                                "length is %1.")
                                     .arg(kLongestLength)
                                     .arg(Text4->text().trimmed()),
                                 Notices::Icon::Warning);
        Text4->setFocus();
        return false;
    }
    const int length = TextTools::ToInteger(Text4->text(), true).value_or(0);
    Text4->setText(length < 1 ? QStringLiteral("1") : TextTools::FormatNumber(length));
    FormatAdj();
    return true;
}

void frmField::Command1_Click()
{
    if (Option1[0]->isChecked() && Text1->text().isEmpty()) {
        m_context.notices().tell(QStringLiteral("กรุณาระบุ Constant"));
        Text1->setFocus();
        return;
    }
    if (const int count = constantLength(Text1->text()); Option1[0]->isChecked() && count > kLongestLength) {
        m_context.notices().tell(QStringLiteral("ข้อความคงที่ต้องยาวไม่เกิน %1 ตัวอักษร\n"
                                                "The constant has %2 characters: the longest constant is %1.")
                                     .arg(kLongestLength)
                                     .arg(count),
                                 Notices::Icon::Warning);
        Text1->setFocus();
        return;
    }
    // The length is a data field's alone: a constant is not held up by it.
    if (Option1[1]->isChecked() && !confirmLength())
        return;
    MDATA = GetFormat();
    accept();
}

void frmField::Command2_Click()
{
    reject();
}

void frmField::showRefusal(QLineEdit *box, const QString &hint)
{
    // Said where the user types, and only while the dialog is up: text the
    // program puts into a box is never refused.
    if (box->isVisible())
        QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), hint, box);
}

bool frmField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text4 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            Text4_KeyDown(kKeyEnter, int(key->modifiers() & Qt::ShiftModifier ? 1 : 0));
    }
    return QDialog::eventFilter(watched, event);
}

void frmField::keyPressEvent(QKeyEvent *event)
{
    // Neither button is the default or the cancel button.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void frmField::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // As on tabbing into a group of option buttons, the selected one takes
    // the focus.
    if (!focusWidget())
        (Option1[0]->isChecked() ? Option1[0] : Option1[1])->setFocus();
}

void frmField::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}
