// zn7quitafterpaint: a generic Qt plugin that the start-up benchmark loads
// into the programs it times (QT_QPA_GENERIC_PLUGINS): the program ends once
// its first window has painted for the first time, so a whole-process
// start-up is timed to the first frame without the program knowing.

#include "exitafterfirstpaint.h"

#include <QGenericPlugin>
#include <QWidget>

class QuitAfterPaint final : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "quitafterpaint.json")

public:
    // The application deletes what this returns as it ends; the plugin itself watches.
    QObject *create(const QString &, const QString &) override
    {
        QCoreApplication::instance()->installEventFilter(this);
        return new QObject(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !m_watching) {
            if (auto *window = qobject_cast<QWidget *>(watched); window && window->windowType() == Qt::Window) {
                m_watching = true;
                window->installEventFilter(new ExitAfterFirstPaint(window));
            }
        }
        return false;
    }

private:
    bool m_watching = false;
};

#include "quitafterpaint.moc"
