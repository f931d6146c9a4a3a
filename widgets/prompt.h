#ifndef PROMPT_H
#define PROMPT_H

#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Every modal question to the user goes through here, so that tests can answer without a person.
class Prompt
{
public:
    enum Kind { Information, Warning, Critical, Question, GetText, GetItem, OpenFile, SaveFile, ExistingDirectory };

    struct Request {
        Kind kind = Information;
        QString title;
        QString text;                 // message, label or caption
        QString value;                // default text, start folder or file name
        QString filter;               // file dialogs
        QStringList items;            // GetItem
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        QLineEdit::EchoMode echo = QLineEdit::Normal;
        Qt::WindowFlags flags;        // GetText: added to the dialog's own
    };
    struct Reply {
        QMessageBox::StandardButton button = QMessageBox::Ok;
        QString text;                 // entered text, picked item or chosen path
        bool ok = true;
    };
    using Handler = std::function<Reply(const Request &)>;

    // Replaces the real dialogs (tests); an empty handler brings them back.
    static void setHandler(Handler handler);

    static QMessageBox::StandardButton information(QWidget *parent, const QString &title, const QString &text,
                                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    static QMessageBox::StandardButton warning(QWidget *parent, const QString &title, const QString &text,
                                               QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    static QMessageBox::StandardButton critical(QWidget *parent, const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    static QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No);
    static QString getText(QWidget *parent, const QString &title, const QString &label,
                           QLineEdit::EchoMode echo = QLineEdit::Normal, const QString &text = QString(),
                           bool *ok = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    static QString getItem(QWidget *parent, const QString &title, const QString &label, const QStringList &items,
                           int current = 0, bool *ok = nullptr);
    static QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir = QString(),
                                   const QString &filter = QString());
    static QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir = QString(),
                                   const QString &filter = QString());
    static QString getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir = QString());

private:
    static Reply ask(QWidget *parent, const Request &request);
};

#endif // PROMPT_H
