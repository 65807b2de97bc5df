// Loaded into the real executable through QT_QPA_GENERIC_PLUGINS: for every
// window the program shows it writes one stderr line (class, title, and for a
// message box its icon, buttons and text), then closes it as a user would.

#include <QCoreApplication>
#include <QGenericPlugin>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

class WindowProbe final : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "windowprobe.json")

public:
    // The application deletes what this returns as it ends; the plugin itself watches.
    QObject *create(const QString &, const QString &) override
    {
        QCoreApplication::instance()->installEventFilter(this);
        return new QObject(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWidget *>(watched);
        if (event->type() != QEvent::Show || !window || (window->windowType() != Qt::Window && window->windowType() != Qt::Dialog))
            return false;
        QString line = QStringLiteral("zn7-window-probe\t%1\t%2")
                           .arg(QLatin1String(window->metaObject()->className()), window->windowTitle());
        if (auto *box = qobject_cast<QMessageBox *>(window))
            line += QStringLiteral("\t%1\t%2\t%3").arg(int(box->icon())).arg(box->standardButtons().toInt()).arg(box->text());
        std::fprintf(stderr, "%s\n", line.replace(u'\n', u' ').toUtf8().constData());
        QTimer::singleShot(300, window, &QWidget::close);   // dies with the window, should the program close it first
        return false;
    }
};

#include "windowprobe.moc"
