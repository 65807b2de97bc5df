// A generic Qt plugin for the process-level tests: loaded into the real
// executable through QT_QPA_GENERIC_PLUGINS, it writes one line to stderr for
// every window or dialog the program shows, then acts as a user would: it
// presses OK on a message box and closes any other window. The program
// itself knows nothing of it.

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

QByteArray oneLine(QString text)
{
    text.replace(u'\\', QLatin1String("\\\\"));
    text.replace(u'\n', QLatin1String("\\n"));
    text.replace(u'\t', QLatin1String("\\t"));
    return text.toUtf8();
}

class WindowProbe final : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        const Qt::WindowType type = widget->windowType();
        if (!widget->isWindow() || (type != Qt::Window && type != Qt::Dialog))
            return false;

        auto *box = qobject_cast<QMessageBox *>(widget);
        QByteArray line = "zn7-window-probe\tshown\t";
        line += widget->metaObject()->className();
        line += '\t' + oneLine(widget->windowTitle());
        line += '\t' + QByteArray::number(box ? int(box->icon()) : -1);
        line += '\t' + QByteArray::number(box ? int(box->standardButtons()) : -1);
        line += '\t' + oneLine(box ? box->text() : QString());
        line += '\n';
        std::fputs(line.constData(), stderr);
        std::fflush(stderr);

        const QPointer<QWidget> shown(widget);
        QTimer::singleShot(300, this, [shown] {
            if (!shown)
                return;
            auto *messageBox = qobject_cast<QMessageBox *>(shown.data());
            QAbstractButton *ok = messageBox ? messageBox->button(QMessageBox::Ok) : nullptr;
            if (ok)
                ok->click();
            else
                shown->close();
        });
        return false;
    }
};

class WindowProbePlugin final : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "windowprobe.json")

public:
    QObject *create(const QString &, const QString &) override
    {
        auto *probe = new WindowProbe;
        QCoreApplication::instance()->installEventFilter(probe);
        return probe;
    }
};

} // namespace

#include "windowprobe.moc"
