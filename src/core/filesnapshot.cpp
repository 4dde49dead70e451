#include "filesnapshot.h"

#include "userfile.h"

#include <QFile>

#include <sys/stat.h>

FileSnapshot FileSnapshot::of(const QString &path)
{
    FileSnapshot snapshot;
    snapshot.m_path = path;
    switch (UserFile::find(path)) {
    case UserFile::Found::Nothing:
        snapshot.m_state = State::Nothing;
        break;
    case UserFile::Found::File:
        if (UserFile::read(path, &snapshot.m_bytes))
            snapshot.m_state = State::File;
        break;
    case UserFile::Found::NotAFile:
        break;
    }
    return snapshot;
}

bool FileSnapshot::restore() const
{
    switch (m_state) {
    case State::Unknown:
        return false;
    case State::File:
        return UserFile::save(m_path, m_bytes);
    case State::Nothing: {
        // Only a regular file (not a link, whatever it leads to) made since goes again.
        struct stat status;
        if (::lstat(QFile::encodeName(m_path).constData(), &status) != 0)
            return true;
        return S_ISREG(status.st_mode) && QFile::remove(m_path);
    }
    }
    return false;
}
