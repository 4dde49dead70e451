#pragma once

#include <QString>

class QWebEngineNewWindowRequest;
class QWebEnginePage;

// A page's request for a new window, as documents and the frame handle it. It refers to the
// engine's request, which lives only while the page's signal is being delivered: receivers act
// on it before they return (direct connections only).
class NewWindowRequest
{
public:
    explicit NewWindowRequest(QWebEngineNewWindowRequest &request) : m_request(request) {}
    NewWindowRequest(const NewWindowRequest &) = delete;
    NewWindowRequest &operator=(const NewWindowRequest &) = delete;

    // The address the page asked for.
    QString requestedAddress() const;
    // Whether a user's action (a click, a key) led to the request.
    bool isUserInitiated() const;
    // Whether the page asked for a tab behind the current one.
    bool isBackgroundTab() const;
    // Lets the request through: its page opens in the given page (see WebBrowser::acceptNewWindow).
    void openIn(QWebEnginePage *page);

private:
    QWebEngineNewWindowRequest &m_request;
};
