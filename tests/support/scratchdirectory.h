#ifndef SCRATCHDIRECTORY_H
#define SCRATCHDIRECTORY_H

#include <QDir>
#include <QString>
#include <QTemporaryDir>

// A new empty folder made the working directory while the object lives. The
// working directory affects the whole process: the previous one comes back
// however the test ends, before the folder is removed.
class ScratchDirectory
{
public:
    ScratchDirectory()
        : previous(QDir::currentPath())
    {
        entered = folder.isValid() && QDir::setCurrent(folder.path());
    }
    ~ScratchDirectory() { QDir::setCurrent(previous); }
    ScratchDirectory(const ScratchDirectory &) = delete;
    ScratchDirectory &operator=(const ScratchDirectory &) = delete;

    // False if the folder could not be made or entered.
    bool isValid() const { return entered; }
    QString path() const { return folder.path(); }
    QString filePath(const QString &name) const { return folder.filePath(name); }

private:
    QString previous;
    QTemporaryDir folder;
    bool entered = false;
};

#endif // SCRATCHDIRECTORY_H
