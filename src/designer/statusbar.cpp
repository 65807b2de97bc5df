#include "statusbar.h"

#include "components/lockkeys.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTimer>


namespace {

QLabel *addPanel(QStatusBar *bar, const QString &text, int stretch)
{
    auto *panel = new QLabel(text, bar);
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
    m_text = addPanel(this, QString(), 1);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_caps = addPanel(this, QStringLiteral("CAPS"), 0);
    m_num = addPanel(this, QStringLiteral("NUM"), 0);
    m_ins = addPanel(this, QStringLiteral("INS"), 0);
    m_scrl = addPanel(this, QStringLiteral("SCRL"), 0);
    m_date = addPanel(this, QString(), 0);
    m_time = addPanel(this, QString(), 0);
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

QString DesignerStatusBar::panelText() const
{
    return m_text->text();
}

QList<QLabel *> DesignerStatusBar::panels() const
{
    return {m_text, m_caps, m_num, m_ins, m_scrl, m_date, m_time};
}

void DesignerStatusBar::setLit(QLabel *panel, bool on)
{
    panel->setEnabled(on);
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
