#ifndef MESSAGECAPTURE_H
#define MESSAGECAPTURE_H

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Records every message of the toolkit's logger while it lives; one at a
// time, since the logger has one handler.
class MessageCapture
{
public:
    struct Message
    {
        QtMsgType type;
        QString text;
        QString function;
    };

    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    QList<Message> messages() const;
    // The texts of the debug lines written from function, in order.
    QStringList textsFrom(const QString &function) const;
    bool contains(const QString &text, const QString &function) const;
    // How many debug lines read text, whatever function wrote them.
    int count(const QString &text) const;
    void clear();
};

#endif // MESSAGECAPTURE_H
