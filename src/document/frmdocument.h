#pragma once

#include <QWidget>

class QWebEngineView;

// A document window: one page behind one tab of the frame.
class frmDocument : public QWidget
{
    Q_OBJECT
public:
    explicit frmDocument(QWidget *parent = nullptr);

    void NavigateDoc(const QString &address);
    QString LocationURL() const;
    QString LocationName() const;
    QWebEngineView *WebBrowser() const { return m_view; }

private:
    QWebEngineView *m_view = nullptr;
};
