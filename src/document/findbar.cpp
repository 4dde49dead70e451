#include "findbar.h"

#include "core/strings.h"
#include "platform/webbrowser.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

FindBar::FindBar(WebBrowser *browser, QWidget *parent) : QWidget(parent), m_browser(browser)
{
    setObjectName(QStringLiteral("FindBar"));
    // As tall as its controls: the page keeps the rest.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("txtFind"));
    m_text->setPlaceholderText(loadResString(1112));
    m_text->setClearButtonEnabled(true);
    m_text->setMinimumWidth(220);
    m_text->installEventFilter(this);

    auto makeButton = [this](const char *name, int caption, Qt::ArrowType arrow) {
        auto *button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setText(loadResString(caption));
        button->setArrowType(arrow);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::TabFocus);
        return button;
    };
    m_next = makeButton("cmdNext", 1145, Qt::DownArrow);
    m_previous = makeButton("cmdPrevious", 1146, Qt::UpArrow);

    // No access key: Alt+C belongs to the menu bar's Content menu.
    m_matchCase = new QCheckBox(QStringLiteral("Match case"), this);
    m_matchCase->setObjectName(QStringLiteral("chkMatchCase"));

    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("lblResult"));

    auto *closeButton = new QToolButton(this);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closeButton->setAutoRaise(true);
    closeButton->setFocusPolicy(Qt::NoFocus);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(4);
    layout->addWidget(m_text);
    layout->addWidget(m_next);
    layout->addWidget(m_previous);
    layout->addWidget(m_matchCase);
    layout->addWidget(m_result, 1);
    layout->addWidget(closeButton);

    // Searching as the text changes goes on from the match selected now.
    connect(m_text, &QLineEdit::textChanged, this, [this] { find(false); });
    connect(m_next, &QToolButton::clicked, this, &FindBar::findNext);
    connect(m_previous, &QToolButton::clicked, this, &FindBar::findPrevious);
    connect(m_matchCase, &QCheckBox::toggled, this, [this] { find(false, true); });
    connect(closeButton, &QToolButton::clicked, this, &FindBar::dismiss);
    connect(m_browser, &WebBrowser::findFinished, this, &FindBar::onFindFinished);
}

void FindBar::open()
{
    show();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
}

void FindBar::dismiss()
{
    hide();
    m_browser->findText(QString(), false, false);
    m_result->clear();
    m_browser->setFocus(Qt::OtherFocusReason);
}

void FindBar::findNext()
{
    find(false);
}

void FindBar::findPrevious()
{
    find(true);
}

QString FindBar::text() const
{
    return m_text->text();
}

void FindBar::find(bool backward, bool restart)
{
    const QString text = m_text->text();
    // An empty field ends the search; a search's late result is not shown then.
    if (text.isEmpty())
        m_result->clear();
    m_starting = true;
    if (restart)
        m_browser->findText(QString(), false, false);
    m_browser->findText(text, backward, m_matchCase->isChecked());
    m_starting = false;
}

void FindBar::onFindFinished(int activeMatch, int matches)
{
    if (m_starting || !isVisible() || m_text->text().isEmpty())
        return;
    if (matches > 0)
        m_result->setText(QStringLiteral("%1 of %2").arg(activeMatch).arg(matches));
    else
        m_result->setText(QStringLiteral("Phrase not found"));
    Q_EMIT resultShown(activeMatch, matches);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            find(key->modifiers() & Qt::ShiftModifier);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    // Esc anywhere in the bar (the text field passes it on).
    if (event->key() == Qt::Key_Escape) {
        dismiss();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
