#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// What the browser makes of text the user gives it where an address goes (typed, picked from a
// list, handed over on the command line, or held by a shortcut file): an address, or words to look
// up with the web search of the user's choice ("how to bake bread", "bread").
namespace TypedAddress {

// The address of the web search for a query; empty when there is no search to use.
using SearchAddress = std::function<QString(const QString &query)>;

// True for text that is no address: words with blanks between them, or one word that names no
// host (no dot, no port, no path, not "localhost"). Text with a scheme the browser handles, a
// path to a file and anything else that reads as a host stay addresses.
bool isSearchText(const QString &typed);

// True for a script address ("javascript:..."), however it is spelled: the engine ignores
// blanks and control characters before an address, tabs and line breaks anywhere in it, and
// letter case in its scheme.
bool isScriptAddress(const QString &text);

// The address to load for the text: the address searchAddress gives for search text (when it
// gives one), otherwise the text read as an address (an existing file relative to the working
// folder included). A script address gives an empty address: typed or handed over, it would run
// in whatever page is showing.
QUrl resolve(const QString &text, const QString &workingFolder, const SearchAddress &searchAddress);

// The text a document opens for the text given: a shortcut file ("name.url" in any letter case,
// as a path or a "file:///" address) gives the address it holds (empty when it holds none or
// cannot be read); any other text is itself.
QString followShortcut(const QString &text);

// What the text given stands for, as one answer: every way an address arrives (Enter, Go,
// Go New, a pick from the list, the side bar, a hand-over, the command line, File > Open)
// applies this and nothing else.
struct Decision
{
    enum Kind {
        Refused,  // nothing to load: no text, a script address, a shortcut that holds none
        Address,  // the text read as an address (a file's path included)
        Search,   // words, looked up with the web search
        Shortcut, // a shortcut file: the address it holds, read as any text is
    };
    Kind kind = Refused;
    // The text the frame names the load by (its tab's caption, the typed-address list): the
    // text given, or the address a shortcut holds.
    QString text;
    // What to load; empty when refused.
    QUrl url;
};

// What the text stands for: a shortcut file is followed (followShortcut), and the text (or the
// address it holds) is resolved with the search address.
Decision decide(const QString &text, const QString &workingFolder, const SearchAddress &searchAddress);

// ---- Enter in the address field.

// The text that Ctrl+Enter completes to: "http://www." + text + ".com".
QString completeAddress(const QString &text);

struct EnterInput
{
    QString text;
    bool ctrl = false;  // complete to "http://www." + text + ".com"
    bool shift = false; // search instead of navigating
    bool goNewDown = false;
    bool hasActiveDocument = false;
    QStringList typedAddresses;
};

struct EnterOutcome
{
    enum Action { Nothing, Search, OpenNewTab, NavigateActive };
    Action action = Nothing;
    QString text;                 // the (completed) text the action uses
    bool addToTypedList = false;  // insert text at the top of the list
    bool focusDocument = false;   // give the active document the focus afterwards
};

// What Enter does with the text of the address field.
EnterOutcome decideEnter(const EnterInput &input);

} // namespace TypedAddress
