#include "widgets/prompt.h"

#include <QFileDialog>
#include <QInputDialog>

namespace {
Prompt::Handler &handlerSlot()
{
    static Prompt::Handler handler;
    return handler;
}

QMessageBox::StandardButton messageBox(QWidget *parent, QMessageBox::Icon icon, const Prompt::Request &r)
{
    QMessageBox box(icon, r.title, r.text, r.buttons, parent);
    return QMessageBox::StandardButton(box.exec());
}
} // namespace

void Prompt::setHandler(Handler handler)
{
    handlerSlot() = std::move(handler);
}

Prompt::Reply Prompt::ask(QWidget *parent, const Request &r)
{
    if (handlerSlot())
        return handlerSlot()(r);
    Reply reply;
    switch (r.kind) {
    case Information: reply.button = messageBox(parent, QMessageBox::Information, r); break;
    case Warning: reply.button = messageBox(parent, QMessageBox::Warning, r); break;
    case Critical: reply.button = messageBox(parent, QMessageBox::Critical, r); break;
    case Question: reply.button = messageBox(parent, QMessageBox::Question, r); break;
    case GetText: reply.text = QInputDialog::getText(parent, r.title, r.text, r.echo, r.value, &reply.ok, r.flags); break;
    case GetItem: reply.text = QInputDialog::getItem(parent, r.title, r.text, r.items, qMax(0, r.items.indexOf(r.value)), false, &reply.ok); break;
    case OpenFile: reply.text = QFileDialog::getOpenFileName(parent, r.text, r.value, r.filter); break;
    case SaveFile: reply.text = QFileDialog::getSaveFileName(parent, r.text, r.value, r.filter); break;
    case ExistingDirectory: reply.text = QFileDialog::getExistingDirectory(parent, r.text, r.value); break;
    }
    if (r.kind >= OpenFile)
        reply.ok = !reply.text.isEmpty();
    return reply;
}

static Prompt::Request boxRequest(Prompt::Kind kind, const QString &title, const QString &text,
                                  QMessageBox::StandardButtons buttons)
{
    Prompt::Request r;
    r.kind = kind;
    r.title = title;
    r.text = text;
    r.buttons = buttons;
    return r;
}

QMessageBox::StandardButton Prompt::information(QWidget *parent, const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons)
{
    return ask(parent, boxRequest(Information, title, text, buttons)).button;
}

QMessageBox::StandardButton Prompt::warning(QWidget *parent, const QString &title, const QString &text,
                                            QMessageBox::StandardButtons buttons)
{
    return ask(parent, boxRequest(Warning, title, text, buttons)).button;
}

QMessageBox::StandardButton Prompt::critical(QWidget *parent, const QString &title, const QString &text,
                                             QMessageBox::StandardButtons buttons)
{
    return ask(parent, boxRequest(Critical, title, text, buttons)).button;
}

QMessageBox::StandardButton Prompt::question(QWidget *parent, const QString &title, const QString &text,
                                             QMessageBox::StandardButtons buttons)
{
    return ask(parent, boxRequest(Question, title, text, buttons)).button;
}

QString Prompt::getText(QWidget *parent, const QString &title, const QString &label, QLineEdit::EchoMode echo,
                        const QString &text, bool *ok, Qt::WindowFlags flags)
{
    Request r;
    r.kind = GetText;
    r.flags = flags;
    r.title = title;
    r.text = label;
    r.value = text;
    r.echo = echo;
    const Reply reply = ask(parent, r);
    if (ok)
        *ok = reply.ok;
    return reply.ok ? reply.text : QString();
}

QString Prompt::getItem(QWidget *parent, const QString &title, const QString &label, const QStringList &items,
                        int current, bool *ok)
{
    Request r;
    r.kind = GetItem;
    r.title = title;
    r.text = label;
    r.items = items;
    r.value = items.value(current);
    const Reply reply = ask(parent, r);
    if (ok)
        *ok = reply.ok;
    return reply.ok ? reply.text : QString();
}

static QString fileRequest(QWidget *parent, Prompt::Kind kind, const QString &caption, const QString &dir,
                           const QString &filter, Prompt::Reply (*askFn)(QWidget *, const Prompt::Request &))
{
    Prompt::Request r;
    r.kind = kind;
    r.text = caption;
    r.title = caption;
    r.value = dir;
    r.filter = filter;
    const Prompt::Reply reply = askFn(parent, r);
    return reply.ok ? reply.text : QString();
}

QString Prompt::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    return fileRequest(parent, OpenFile, caption, dir, filter, &Prompt::ask);
}

QString Prompt::getSaveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    return fileRequest(parent, SaveFile, caption, dir, filter, &Prompt::ask);
}

QString Prompt::getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    return fileRequest(parent, ExistingDirectory, caption, dir, QString(), &Prompt::ask);
}
