#pragma once

#include <QString>
#include <QWidget>

class OptionsHost;

// One page of the options dialog. A page fills its controls from the settings when it is made,
// whether or not it is ever shown, and writes them back only through save().
class OptionsPage : public QWidget
{
    Q_OBJECT
public:
    explicit OptionsPage(OptionsHost &host, QWidget *parent = nullptr);

    // Empty while the page's controls can be saved; else the message that says why not. The
    // dialog asks every page before any page writes.
    virtual QString refusal() const { return QString(); }
    // Copies the controls into the settings (in memory; they reach the store at exit).
    virtual void save() = 0;

    // Replaces the resource numbers the page's controls carry by their texts: a label's own
    // text, every other widget's "tag" property (caption) and tool tip, tab texts from the tab
    // data, column headers from their tag role. A text that is no number, or a number without a
    // string, stays as it is.
    void localise();

protected:
    OptionsHost &host() const { return m_host; }

private:
    OptionsHost &m_host;
};
