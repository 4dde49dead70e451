#include "frmdocument.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

frmDocument::frmDocument(QWidget *parent) : QWidget(parent), m_view(new QWebEngineView(this))
{
    setObjectName(QStringLiteral("frmDocument"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &QWebEngineView::titleChanged, this, [this](const QString &title) {
        if (!title.isEmpty())
            setWindowTitle(title);
    });
}

void frmDocument::NavigateDoc(const QString &address)
{
    m_view->setUrl(QUrl::fromUserInput(address));
}

QString frmDocument::LocationURL() const
{
    return m_view->url().toString();
}

QString frmDocument::LocationName() const
{
    return m_view->title();
}
