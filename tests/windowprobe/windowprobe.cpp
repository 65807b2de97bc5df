// A generic Qt plugin for the process-level start-up test: loaded into the
// real executable through QT_QPA_GENERIC_PLUGINS, it writes one line to stderr
// for every window the program shows (class, title, and for a message box its
// icon, buttons and text), then closes it as a user would; a box with only OK
// closes as OK. The program itself knows nothing of it.

#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {

class WindowProbe final : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWidget *>(watched);
        if (event->type() != QEvent::Show || !window || !window->isWindow()
            || (window->windowType() != Qt::Window && window->windowType() != Qt::Dialog))
            return false;
        auto *box = qobject_cast<QMessageBox *>(window);
        const QStringList fields = {QStringLiteral("zn7-window-probe"), window->metaObject()->className(),
                                    window->windowTitle(), QString::number(box ? int(box->icon()) : -1),
                                    QString::number(box ? int(box->standardButtons()) : -1),
                                    box ? box->text().replace(u'\n', u' ') : QString()};
        std::fprintf(stderr, "%s\n", fields.join(u'\t').toUtf8().constData());
        std::fflush(stderr);
        // The timer dies with the window, should the program close it first.
        QTimer::singleShot(300, window, &QWidget::close);
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
