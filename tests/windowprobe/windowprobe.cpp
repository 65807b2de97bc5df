// Loaded into the real executable through QT_QPA_GENERIC_PLUGINS: for every
// window the program shows it writes one stderr line (class, title, and for a
// message box its icon, buttons and text), then closes it as a user would.
//
// Told so by the environment it works the program instead: ZN7_PROBE_ANSWERS
// ("yes,no") answers the Yes/No boxes in turn, ZN7_PROBE_OPEN is the file
// chosen in a file dialog, and ZN7_PROBE_STEPS (one a line) is done on the
// main window, while no dialog is open, in place of closing it:
// "trigger ACTION", "add" (the Add Row button), "set ROW SECTION TEXT" (a
// grid cell edited through the grid's model, as its cell editor does; a
// number for the type column), "dump" (the title and every filled cell,
// then "done") and "close".

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGenericPlugin>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

namespace {

void report(QString line)
{
    std::fprintf(stderr, "zn7-window-probe\t%s\n", line.replace(u'\n', u' ').toUtf8().constData());
}

QStringList fromEnvironment(const char *name, QChar separator)
{
    return qEnvironmentVariable(name).split(separator, Qt::SkipEmptyParts);
}

} // namespace

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
        QString line = QStringLiteral("%1\t%2").arg(QLatin1String(window->metaObject()->className()), window->windowTitle());
        auto *box = qobject_cast<QMessageBox *>(window);
        if (box)
            line += QStringLiteral("\t%1\t%2\t%3").arg(int(box->icon())).arg(box->standardButtons().toInt()).arg(box->text());
        report(line);
        auto *dialog = qobject_cast<QFileDialog *>(window);
        if (box && box->button(QMessageBox::Yes) && !m_answers.isEmpty()) {
            QAbstractButton *answer = box->button(m_answers.takeFirst() == u"yes" ? QMessageBox::Yes : QMessageBox::No);
            QTimer::singleShot(300, answer, &QAbstractButton::click);
        } else if (dialog && qEnvironmentVariableIsSet("ZN7_PROBE_OPEN")) {
            QTimer::singleShot(300, dialog, [dialog] {   // typed into the file name box, then OK
                dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(qEnvironmentVariable("ZN7_PROBE_OPEN"));
                static_cast<QDialog *>(dialog)->accept();
            });
        } else if (window->objectName() == u"frmCreatePattern" && !m_steps.isEmpty()) {
            QTimer::singleShot(300, window, [this, window] { work(window); });
        } else {
            QTimer::singleShot(300, window, &QWidget::close);   // dies with the window, should the program close it first
        }
        return false;
    }

private:
    void work(QWidget *window)
    {
        if (QApplication::activeModalWidget()) {   // a question first
            QTimer::singleShot(100, window, [this, window] { work(window); });
            return;
        }
        QAbstractItemModel *grid = window->findChild<QTableView *>(QStringLiteral("gridView"))->model();
        while (!m_steps.isEmpty()) {
            const QStringList step = m_steps.takeFirst().split(u' ');
            if (step[0] == u"trigger")
                window->findChild<QAction *>(step[1])->trigger();
            else if (step[0] == u"add")
                window->findChild<QToolButton *>(QStringLiteral("addRowButton"))->click();
            else if (step[0] == u"set")
                grid->setData(grid->index(step[1].toInt() - 1, step[2].toInt()),
                              step[2] == u"0" ? QVariant(step[3].toInt()) : QVariant(step.mid(3).join(u' ')));
            else if (step[0] == u"close")
                window->close();
            else if (step[0] == u"dump")
                dump(window, grid);
        }
    }

    static void dump(QWidget *window, const QAbstractItemModel *grid)
    {
        report(QStringLiteral("title\t") + window->windowTitle());
        for (int r = 0; r < grid->rowCount(); ++r) {
            for (int c = 0; c < grid->columnCount(); ++c) {
                if (const QString text = grid->index(r, c).data().toString(); !text.isEmpty())
                    report(QStringLiteral("cell\t%1\t%2\t%3").arg(r + 1).arg(c).arg(text));
            }
        }
        report(QStringLiteral("done"));
    }

    QStringList m_answers = fromEnvironment("ZN7_PROBE_ANSWERS", u',');
    QStringList m_steps = fromEnvironment("ZN7_PROBE_STEPS", u'\n');
};

#include "windowprobe.moc"
