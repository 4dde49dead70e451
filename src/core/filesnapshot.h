#pragma once

#include <QByteArray>
#include <QString>

// What one of the user's files held at a moment, so that it can be put back as it was: its
// bytes, or that nothing stood there. What was there but could not be read (not a file, not
// readable) is not known, and is then never touched when put back.
class FileSnapshot
{
public:
    // Takes what stands at path now.
    static FileSnapshot of(const QString &path);

    QString path() const { return m_path; }
    bool isKnown() const { return m_state != State::Unknown; }
    bool existed() const { return m_state == State::File; }
    QByteArray bytes() const { return m_bytes; }

    // Puts the file back as it was: its bytes written again, or a regular file that was not
    // there before removed. False when that could not be done, or nothing was known.
    bool restore() const;

private:
    enum class State { Unknown, Nothing, File };

    QString m_path;
    State m_state = State::Unknown;
    QByteArray m_bytes;
};
