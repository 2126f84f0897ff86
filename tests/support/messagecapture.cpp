#include "messagecapture.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex messagesLock;
QList<MessageCapture::Message> capturedMessages;
QtMessageHandler previousHandler = nullptr;

void captureMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    {
        QMutexLocker locker(&messagesLock);
        capturedMessages.append({type, text, QString::fromUtf8(context.function)});
    }
    if (previousHandler)
        previousHandler(type, context, text);
}

} // namespace

MessageCapture::MessageCapture()
{
    clear();
    previousHandler = qInstallMessageHandler(captureMessage);
}

MessageCapture::~MessageCapture()
{
    qInstallMessageHandler(previousHandler);
}

QList<MessageCapture::Message> MessageCapture::messages() const
{
    QMutexLocker locker(&messagesLock);
    return capturedMessages;
}

QStringList MessageCapture::textsFrom(const QString &function) const
{
    QStringList texts;
    for (const Message &message : messages()) {
        if (message.type == QtDebugMsg && message.function == function)
            texts.append(message.text);
    }
    return texts;
}

bool MessageCapture::contains(const QString &text, const QString &function) const
{
    return textsFrom(function).contains(text);
}

int MessageCapture::count(const QString &text) const
{
    int found = 0;
    for (const Message &message : messages())
        found += message.type == QtDebugMsg && message.text == text;
    return found;
}

void MessageCapture::clear()
{
    QMutexLocker locker(&messagesLock);
    capturedMessages.clear();
}
