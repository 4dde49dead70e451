#pragma once

#include <QProcessEnvironment>
#include <QSize>
#include <QTemporaryDir>

// A user's home for one program under test: HOME and the XDG folders in a temporary folder of
// its own, removed at the end. A fresh home is used once; a warm home is kept and used again, so
// that later runs find what an earlier run of the same program left (engine caches, databases).
class BenchHome
{
public:
    enum class Kind { Fresh, Warm };

    explicit BenchHome(Kind kind);
    ~BenchHome();
    BenchHome(const BenchHome &) = delete;
    BenchHome &operator=(const BenchHome &) = delete;

    Kind kind() const { return m_kind; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // A new, empty runtime folder (mode 0700): the instance lock and hand-over socket of an
    // earlier run are never found.
    void resetRuntimeFolder();
    // The environment of a program living in this home (on top of base).
    QProcessEnvironment environment(const QProcessEnvironment &base) const;

    // Quarvel's settings for a start that opens the given pages as its saved pages (several),
    // or only the command-line address (none): no first-run tour, no crash notice, no update or
    // default-browser check, and a blank home page so nothing leaves this machine. The window is
    // maximized, and its normal size is the whole screen too, so that its pages get as much room
    // as the bare view's maximized window. Other values of a warm home's settings are kept.
    void seedQuarvel(const QStringList &savedPages, const QSize &screen);

private:
    Kind m_kind;
    QTemporaryDir m_dir;
};

QString homeKindName(BenchHome::Kind kind);
