#pragma once

#include <QProcessEnvironment>
#include <QSize>

#include <memory>

class QProcess;

// Where the programs under test show their windows: the X display in $DISPLAY when there is one;
// otherwise an Xvfb server of our own on a free display number with openbox managing its
// windows; only when Xvfb is missing, Qt's offscreen platform (no window manager, no X).
class BenchDisplay
{
public:
    enum class Kind { Existing, Xvfb, Offscreen };

    BenchDisplay();
    ~BenchDisplay();
    BenchDisplay(const BenchDisplay &) = delete;
    BenchDisplay &operator=(const BenchDisplay &) = delete;

    Kind kind() const { return m_kind; }
    bool isX() const { return m_kind != Kind::Offscreen; }
    // Whether close requests can go through a window manager (assumed for an existing display).
    bool hasWindowManager() const { return isX(); }
    QString description() const;
    QSize screenSize() const { return m_screenSize; }
    // The display of the programs under test, and of the tools that talk to their windows.
    void apply(QProcessEnvironment &env) const;

private:
    bool startXvfb();
    void stop(std::unique_ptr<QProcess> &process);

    Kind m_kind = Kind::Offscreen;
    bool m_askedForOffscreen = false;
    QString m_display;
    QSize m_screenSize{800, 600}; // the offscreen platform's screen
    std::unique_ptr<QProcess> m_xvfb;
    std::unique_ptr<QProcess> m_openbox;
};
