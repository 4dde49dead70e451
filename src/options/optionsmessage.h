#pragma once

#include <QMessageBox>
#include <QString>

#include <concepts>
#include <functional>
#include <type_traits>

class QWidget;

// How the options dialog and its pages tell the user something: a message box titled with the
// program's name unless another title is given; tests put a recorder in its place.
class OptionsMessage
{
public:
    using Show = std::function<void(QMessageBox::Icon icon, const QString &title, const QString &text)>;

    OptionsMessage() = default;
    // Anything called with the icon, the title and the text.
    template <typename F>
        requires(!std::same_as<std::remove_cvref_t<F>, OptionsMessage>
                 && std::invocable<F &, QMessageBox::Icon, const QString &, const QString &>)
    OptionsMessage(F show) : m_show(std::move(show))
    {
    }

    void operator()(QMessageBox::Icon icon, const QString &text) const;
    void operator()(QMessageBox::Icon icon, const QString &title, const QString &text) const;

private:
    Show m_show;
};

// The message box shown over parent.
OptionsMessage optionsMessageBox(QWidget *parent);
