#ifndef CHANGINGFILE_H
#define CHANGINGFILE_H

#include <QFile>

// A file that another program changes while it is read: after a given
// number of reads from the disk, its length on the disk becomes newSize
// (cut short, or extended with zero bytes).
class ChangingFile : public QFile
{
public:
    ChangingFile(const QString &name, int readsBeforeChange, qint64 newSize)
        : QFile(name)
        , readsLeft(readsBeforeChange)
        , size(newSize)
    {
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 got = QFile::readData(data, maxSize);
        if (readsLeft >= 0 && --readsLeft < 0)
            QFile::resize(fileName(), size);
        return got;
    }

private:
    int readsLeft;
    qint64 size;
};

#endif // CHANGINGFILE_H
