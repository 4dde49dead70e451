#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The addresses the address bar offers while the user types: the typed addresses first (in their
// list's order), then the visited ones (most recent first), each offered once. The user's text
// matches the start of an address written in full, without its scheme, or without its scheme and
// a leading "www.", ignoring case: "exa", "www.exa" and "http://www.exa" all find
// "http://www.example.org/".
class AddressMatcher
{
public:
    // How many addresses one keystroke offers at most.
    static constexpr int kDefaultLimit = 10;

    void setTypedAddresses(const QStringList &addresses);
    // Most recently visited first.
    void setVisitedAddresses(const QStringList &addresses);

    QStringList matches(const QString &text, int limit = kDefaultLimit) const;

    // The address without its scheme and a leading "www." ("http://www.a.org/" -> "a.org/").
    static QStringView bareAddress(QStringView address);

private:
    // One candidate: the address and where its scheme-less and "www."-less forms begin.
    struct Candidate
    {
        QString address;
        qint16 afterScheme = 0;
        qint16 afterWww = 0;
    };

    static QList<Candidate> candidates(const QStringList &addresses);
    static bool isMatch(const Candidate &candidate, QStringView text);
    // What makes two addresses the same offer: the bare form, any case, no final "/".
    static QString sameOfferKey(QStringView address);

    QList<Candidate> m_typed;
    QList<Candidate> m_visited;
};
