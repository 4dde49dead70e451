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
// replaces plug-in content by placeholders, answers whether a popup was asked for by the user
// and reads the page's back and forward lists. The same class serves as the form-data store of
// the form-data page and as the history reader of the history tree.
class PageCustomizer : public QObject
{
    Q_OBJECT
public:
    explicit PageCustomizer(QObject *parent = nullptr);
    ~PageCustomizer() override;

    // The page whose content this customizer works on; nullptr detaches.
    void attach(QWebEnginePage *page);

    // The form filler's store (see FormStore): read from its file, emptied in memory, added to
    // (a key keeps several values in write order), written whole, and read by key (the first
    // value, keys in any letter case; empty when missing).
    bool openDataFile(const QString &path);
    void clearValues();
    void setValue(const QString &key, const QString &value, bool cardData);
    bool saveDataFile(const QString &path) const;
    QString value(const QString &key) const;

    // While set, values stored as card data are not filled into forms.
    bool cardProtection() const { return m_cardProtection; }
    void setCardProtection(bool on) { m_cardProtection = on; }

    // Fills the empty, visible text, e-mail, telephone and list fields of the page whose name,
    // id or autocomplete token names a stored key (in any letter case); card data only while the
    // card protection is off. done (when given) receives whether at least one field was filled;
    // it runs at once when there is nothing to do, and is dropped if this object goes away first.
    void fillForm(std::function<void(bool filled)> done = {});

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

    // The page's travel log: entries behind and ahead of the current one. Index 1 is the entry
    // next to the current one. historyElement returns false (and empty texts) for an index
    // outside the list, and without a page.
    int backCount() const;
    int forwardCount() const;
    bool historyElement(bool back, int index, QString &title, QString &url) const;

    // The history reader: historyLoad takes a snapshot of the browsing history (most recent
    // first) that stays as it is until historyRelease or the next historyLoad. Ages are in days
    // (fractions included) counted back from the time of the load.
    void historyLoad();
    int historyCount() const { return int(m_history.size()); }
    bool historyItem(int index, QString &title, QString &url, double &ageDays) const;
    void historyRelease();

private:
    QPointer<QWebEnginePage> m_page;
    FormStore m_store;
    bool m_cardProtection = false;
    QList<HistoryStore::Entry> m_history;
    QDateTime m_historyLoadedAt;
};
