#pragma once

#include "testhome.h"

#include <QSize>
#include <QStringList>

// A user's home for one program under test: HOME and the XDG folders in a temporary folder of
// its own, removed at the end (or when the benchmark is stopped). A fresh home is used once; a
// warm home is kept and used again, so that later runs find what an earlier run of the same
// program left (engine caches, databases).
class BenchHome : public TestHome
{
public:
    enum class Kind { Fresh, Warm };

    explicit BenchHome(Kind kind);
    ~BenchHome();

    Kind kind() const { return m_kind; }

    // Quarvel's settings for a start that opens the given pages as its saved pages (several),
    // or only the command-line address (none): no first-run tour, no crash notice, no update or
    // default-browser check, and a blank home page so nothing leaves this machine. The window is
    // maximized, and its normal size is the whole screen too, so that its pages get as much room
    // as the bare view's maximized window. Other values of a warm home's settings are kept.
    void seedQuarvel(const QStringList &savedPages, const QSize &screen);

private:
    Kind m_kind;
};

QString homeKindName(BenchHome::Kind kind);
