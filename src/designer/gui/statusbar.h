#pragma once

#include <QStatusBar>

class QLabel;
class QTimer;

// The designer's status bar: a text panel, then the Caps Lock, Num Lock,
// Insert and Scroll Lock indicators, the date and the time. The indicators,
// date and time keep themselves current; a lock indicator is dimmed while its
// lock is off. Lock states are read from the windowing system where it tells
// them (X11); elsewhere they stay dimmed.
class DesignerStatusBar final : public QStatusBar
{
    Q_OBJECT

public:
    explicit DesignerStatusBar(QWidget *parent = nullptr);
    ~DesignerStatusBar() override;

    // The first panel's text. The panels are named textPanel, capsPanel,
    // numPanel, insPanel, scrlPanel, datePanel and timePanel.
    void setPanelText(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    static void setLit(QLabel *panel, bool on);

    QLabel *m_text;
    QLabel *m_caps;
    QLabel *m_num;
    QLabel *m_ins;
    QLabel *m_scrl;
    QLabel *m_date;
    QLabel *m_time;
    QTimer *m_timer;
    bool m_insert = true;
};
