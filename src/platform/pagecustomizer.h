#pragma once

#include "core/formstore.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWebEnginePage>

#include <functional>

class NewWindowRequest;

// The page customizer of a document: fills the page's forms from the form filler's store,
// replaces plug-in content by placeholders and answers whether a popup was asked for by the user.
class PageCustomizer : public QObject
{
    Q_OBJECT
public:
    explicit PageCustomizer(QObject *parent = nullptr);
    ~PageCustomizer() override;

    // The page whose content this customizer works on; nullptr detaches.
    void attach(QWebEnginePage *page);

    // The form filler's store (see FormStore): read from its file, emptied in memory.
    bool openDataFile(const QString &path);
    void clearValues();

    // Fills the empty, visible text, e-mail, telephone and list fields of the page whose name,
    // id or autocomplete token names a stored key (in any letter case); card data stays out
    // while protect is set. done (when given) receives whether at least one field was filled; it
    // runs at once when there is nothing to do, and is dropped if this object goes away first.
    void fillForm(bool protect, std::function<void(bool filled)> done = {});

    // Replaces the page's Flash content (embed and object elements) by links to
    // kEnableFlashAddress. done (when given) receives the number of elements replaced.
    void flashFilter(std::function<void(int replaced)> done = {});
    // An address whose navigation passes the page's navigation check (so the document can
    // cancel it; "about:blank" addresses bypass that check) and that can never be reached
    // (".invalid" does not resolve).
    static inline const QString kEnableFlashAddress =
        QStringLiteral("http://flash.invalid/ENABLEFLASH");

    // Whether the page asked for this new window in answer to the user's own action.
    static bool popupAllowed(const NewWindowRequest &request);

private:
    QPointer<QWebEnginePage> m_page;
    FormStore m_store;
};
