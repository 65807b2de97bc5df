#include "statusbar.h"

#include "components/gui/lockkeys.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTimer>


namespace {

QLabel *addPanel(QStatusBar *bar, const char *name, const QString &text, int stretch)
{
    auto *panel = new QLabel(text, bar);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    if (stretch == 0)
        panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(text) + 16);
    bar->addPermanentWidget(panel, stretch);
    return panel;
}

} // namespace

DesignerStatusBar::DesignerStatusBar(QWidget *parent)
    : QStatusBar(parent)
    , m_timer(new QTimer(this))
{
    setSizeGripEnabled(true);
    m_text = addPanel(this, "textPanel", QString(), 1);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A screen reader reads the lengths themselves as the panel's name: a
    // label without a name of its own is named by its text, and tells each
    // change of it. What they are is its description.
    m_text->setAccessibleDescription(tr("Line lengths"));
    // The window's least width never follows the text: the panel takes the
    // room the others leave, at least that of one-digit lengths.
    m_text->setSizePolicy(QSizePolicy::Ignored, m_text->sizePolicy().verticalPolicy());
    m_text->setMinimumWidth(m_text->fontMetrics().horizontalAdvance(QStringLiteral("Total Length = 0 Colume Length = 0"))
                            + 16);
    setAccessibleName(tr("Status"));
    m_caps = addPanel(this, "capsPanel", QStringLiteral("CAPS"), 0);
    m_num = addPanel(this, "numPanel", QStringLiteral("NUM"), 0);
    m_ins = addPanel(this, "insPanel", QStringLiteral("INS"), 0);
    m_scrl = addPanel(this, "scrlPanel", QStringLiteral("SCRL"), 0);
    m_date = addPanel(this, "datePanel", QString(), 0);
    m_time = addPanel(this, "timePanel", QString(), 0);
    m_date->setMinimumWidth(fontMetrics().horizontalAdvance(
                                QLocale().toString(QDate(2000, 12, 28), QLocale::ShortFormat)) + 16);
    m_time->setMinimumWidth(fontMetrics().horizontalAdvance(
                                QLocale().toString(QTime(23, 58, 58), QLocale::ShortFormat)) + 16);

    qApp->installEventFilter(this);
    connect(m_timer, &QTimer::timeout, this, &DesignerStatusBar::refresh);
    m_timer->start(250);
    refresh();
}

DesignerStatusBar::~DesignerStatusBar()
{
    qApp->removeEventFilter(this);
}

void DesignerStatusBar::setPanelText(const QString &text)
{
    m_text->setText(text);
}

void DesignerStatusBar::setLit(QLabel *panel, bool on)
{
    panel->setEnabled(on);
    panel->setAccessibleDescription(on ? tr("on") : tr("off"));
}

void DesignerStatusBar::refresh()
{
    const LockKeys::States states = LockKeys::current();
    setLit(m_caps, states.caps);
    setLit(m_num, states.num);
    setLit(m_scrl, states.scroll);
    setLit(m_ins, m_insert);
    const QDateTime now = QDateTime::currentDateTime();
    m_date->setText(QLocale().toString(now.date(), QLocale::ShortFormat));
    m_time->setText(QLocale().toString(now.time(), QLocale::ShortFormat));
}

bool DesignerStatusBar::eventFilter(QObject *watched, QEvent *event)
{
    // Only the window's own key presses count, once each.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == window()) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Insert && !key->isAutoRepeat() && watched == qApp->focusWidget()) {
            m_insert = !m_insert;
            setLit(m_ins, m_insert);
        }
        if (key->key() == Qt::Key_CapsLock || key->key() == Qt::Key_NumLock
            || key->key() == Qt::Key_ScrollLock)
            QTimer::singleShot(0, this, &DesignerStatusBar::refresh);
    }
    return QStatusBar::eventFilter(watched, event);
}
