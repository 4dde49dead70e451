#pragma once

#include "core/formstore.h"
#include "core/historystore.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWebEnginePage>

#include <functional>

class NewWindowRequest;

// The page customizer of a document: fills the page's forms from the form filler's store,
// replaces plug-in content by placeholders, answers whether a popup was asked for by the user,
// zooms, and reads the page's back and forward lists. The same class serves as the form-data
// store of the form-data page and as the history reader of the history tree.
class PageCustomizer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool cardProtection MEMBER cardProtection)
public:
    explicit PageCustomizer(QObject *parent = nullptr);
    ~PageCustomizer() override;

    // The page whose content this customizer works on; nullptr detaches.
    void attach(QWebEnginePage *page);
    QWebEnginePage *page() const { return m_page; }

    // The form filler's store (see FormStore).
    bool openDataFile(const QString &path);
    void clearValues();
    void setValue(const QString &key, const QString &value, bool cardData);
    bool saveDataFile(const QString &path) const;
    QString value(const QString &key) const;
    const FormStore &store() const { return m_store; }

    // While true, values stored as card data are not filled into forms.
    bool cardProtection = false;

    // Fills the empty, visible text, e-mail, telephone and list fields of the page whose name,
    // id or autocomplete token names a stored key (in any letter case). protect becomes the card
    // protection in force. done (when given) receives whether at least one field was filled; it
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

    // Zoom of the page in percent (100 is the normal size).
    void setZoom(int percent);

    // The page's travel log: entries behind and ahead of the current one. Index 1 is the entry
    // next to the current one. historyElement returns false (and empty texts) for an index
    // outside the list.
    int backCount() const;
    int forwardCount() const;
    bool historyElement(bool back, int index, QString &title, QString &url) const;

    // The history reader: historyLoad takes a snapshot of the browsing history (most recent
    // first) that stays as it is until historyRelease or the next historyLoad. Ages are in days
    // (fractions included) counted back from the time of the load.
    void historyLoad();
    int historyCount() const;
    bool historyItem(int index, QString &title, QString &url, double &ageDays) const;
    void historyRelease();

private:
    QPointer<QWebEnginePage> m_page;
    FormStore m_store;
    QList<HistoryStore::Entry> m_history;
    QDateTime m_historyLoadedAt;
};
