// Loaded into the real executable through QT_QPA_GENERIC_PLUGINS: for every
// window the program shows it writes one stderr line (class, title, and for a
// message box its icon, buttons and text), then closes it as a user would
// (a question answered No);
// a shown window's new title gets a line of its own.

#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
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
        if (!window || (window->windowType() != Qt::Window && window->windowType() != Qt::Dialog))
            return false;
        if (event->type() == QEvent::WindowTitleChange && window->isVisible()) {
            std::fprintf(stderr, "zn7-window-title\t%s\t%s\n", window->metaObject()->className(), window->windowTitle().toUtf8().constData());
            return false;
        }
        if (event->type() != QEvent::Show)
            return false;
        QString line = QStringLiteral("zn7-window-probe\t%1\t%2")
                           .arg(QLatin1String(window->metaObject()->className()), window->windowTitle());
        if (auto *box = qobject_cast<QMessageBox *>(window))
            line += QStringLiteral("\t%1\t%2\t%3").arg(int(box->icon())).arg(box->standardButtons().toInt()).arg(box->text());
        std::fprintf(stderr, "%s\n", line.replace(u'\n', u' ').toUtf8().constData());
        closeLater(window);
        return false;
    }

private:
    // As a user would: not while a modal box stands before the window, and
    // a question's No rather than its close box.
    void closeLater(QWidget *window)
    {
        QTimer::singleShot(300, window, [this, window] {   // dies with the window, should the program close it first
            const auto *box = qobject_cast<QMessageBox *>(window);
            if (QApplication::activeModalWidget() && QApplication::activeModalWidget() != window)
                closeLater(window);
            else
                box && box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click() : void(window->close());
        });
    }
};

#include "windowprobe.moc"
