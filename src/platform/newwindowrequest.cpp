#include "newwindowrequest.h"

#include <QWebEngineNewWindowRequest>

QString NewWindowRequest::requestedAddress() const
{
    return m_request.requestedUrl().toString();
}

bool NewWindowRequest::isUserInitiated() const
{
    return m_request.isUserInitiated();
}

bool NewWindowRequest::isBackgroundTab() const
{
    return m_request.destination() == QWebEngineNewWindowRequest::InNewBackgroundTab;
}

void NewWindowRequest::openIn(QWebEnginePage *page)
{
    m_request.openIn(page);
}
