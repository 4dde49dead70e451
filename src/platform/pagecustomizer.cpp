#include "pagecustomizer.h"

#include "core/strings.h"
#include "newwindowrequest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <utility>

namespace {

// Autocomplete tokens (and common field names) mapped to the store's keys. A field whose name,
// id or autocomplete token is itself a stored key needs no entry here.
constexpr std::pair<const char *, const char *> kFieldAliases[] = {
    {"honorific-prefix", "title"},
    {"given-name", "firstname"},
    {"family-name", "lastname"},
    {"email", "mail"},
    {"e-mail", "mail"},
    {"tel", "phone"},
    {"tel-national", "phone"},
    {"organization-title", "job"},
    {"username", "user"},
    {"address-line1", "address1"},
    {"street-address", "address1"},
    {"address-line2", "address2"},
    {"address-level2", "city"},
    {"address-level1", "state"},
    {"postal-code", "zip"},
    {"country-name", "country"},
    {"bday-day", "day"},
    {"bday-month", "month"},
    {"bday-year", "year"},
    {"cc-type", "cardtyp"},
    {"cc-number", "card_num"},
    {"cc-csc", "validation"},
    {"cc-exp-month", "exp_month"},
    {"cc-exp-year", "exp_year"},
    {"cc-name", "fullname"},
};

// Runs in the application's own script world, so page scripts can neither see nor alter it and
// it works when the page's scripts are switched off. Its arguments arrive as one JSON array:
// [[key, [values...]]..., [alias, key]...]. Returns the number of fields filled.
const char kFillFormScript[] = R"JS(
(function (entries, aliases) {
  'use strict';
  var data = new Map(entries);
  var alias = new Map(aliases);
  function lookup(token) {
    if (!token)
      return null;
    token = String(token).trim().toLowerCase();
    if (data.has(token))
      return data.get(token);
    if (alias.has(token) && data.has(alias.get(token)))
      return data.get(alias.get(token));
    return null;
  }
  function valuesFor(el) {
    var found = lookup(el.getAttribute('name')) || lookup(el.getAttribute('id'));
    if (found)
      return found;
    var tokens = (el.getAttribute('autocomplete') || '').split(/\s+/);
    for (var i = tokens.length - 1; i >= 0; --i) {
      found = lookup(tokens[i]);
      if (found)
        return found;
    }
    return null;
  }
  function visible(el) {
    if (el.disabled || el.readOnly)
      return false;
    var style = window.getComputedStyle(el);
    if (style.display === 'none' || style.visibility === 'hidden')
      return false;
    return el.getClientRects().length > 0;
  }
  function same(a, b) {
    a = String(a).trim();
    b = String(b).trim();
    if (a === '' || b === '')
      return false;
    if (/^\d+$/.test(a) && /^\d+$/.test(b))
      return parseInt(a, 10) === parseInt(b, 10);
    return a.toLowerCase() === b.toLowerCase();
  }
  // A key may hold a list position ahead of its text ("81", "Germany", "DE"): a text field
  // takes the first value that is not a bare number, or the first value when all are.
  function textValue(values) {
    for (var i = 0; values.length > 1 && i < values.length; ++i) {
      if (!/^\s*\d+\s*$/.test(values[i]))
        return values[i];
    }
    return values[0];
  }
  function optionIndex(select, values) {
    for (var v = 0; v < values.length; ++v) {
      for (var i = 0; i < select.options.length; ++i) {
        var option = select.options[i];
        if (!option.disabled && (same(option.value, values[v]) || same(option.text, values[v])))
          return i;
      }
    }
    return -1;
  }
  var filled = 0;
  var fields = document.querySelectorAll('input, select');
  for (var f = 0; f < fields.length; ++f) {
    var el = fields[f];
    var isSelect = el.tagName.toLowerCase() === 'select';
    if (!isSelect && ['text', 'email', 'tel'].indexOf(el.type) < 0)
      continue;
    if (el.value !== '' || !visible(el))
      continue;
    var values = valuesFor(el);
    if (!values)
      continue;
    if (isSelect) {
      var index = optionIndex(el, values);
      if (index < 0)
        continue;
      el.selectedIndex = index;
    } else {
      var text = textValue(values);
      if (text === '')
        continue;
      el.value = text;
    }
    el.dispatchEvent(new Event('input', { bubbles: true }));
    el.dispatchEvent(new Event('change', { bubbles: true }));
    ++filled;
  }
  return filled;
}).apply(null, %1);
)JS";

// Arguments: [placeholder text, placeholder address]. Returns the number of elements replaced.
const char kFlashFilterScript[] = R"JS(
(function (label, address) {
  'use strict';
  var FLASH_TYPE = 'application/x-shockwave-flash';
  var FLASH_CLASSID = 'clsid:d27cdb6e-ae6d-11cf-96b8-444553540000';
  function isSwf(url) {
    if (!url)
      return false;
    url = String(url).split(/[?#]/)[0].trim().toLowerCase();
    return url.length > 4 && url.slice(-4) === '.swf';
  }
  function isFlash(el) {
    if ((el.getAttribute('type') || '').trim().toLowerCase() === FLASH_TYPE)
      return true;
    if (el.tagName.toLowerCase() === 'embed')
      return isSwf(el.getAttribute('src'));
    if ((el.getAttribute('classid') || '').trim().toLowerCase() === FLASH_CLASSID)
      return true;
    if (isSwf(el.getAttribute('data')))
      return true;
    var params = el.querySelectorAll('param');
    for (var i = 0; i < params.length; ++i) {
      var name = (params[i].getAttribute('name') || '').toLowerCase();
      if ((name === 'movie' || name === 'src') && isSwf(params[i].getAttribute('value')))
        return true;
    }
    return false;
  }
  function size(el, attribute, measured) {
    var value = (el.getAttribute(attribute) || '').trim();
    if (/^\d+$/.test(value))
      return value + 'px';
    if (/^\d+(\.\d+)?%$/.test(value))
      return value;
    return measured > 0 ? Math.round(measured) + 'px' : '';
  }
  var replaced = 0;
  var elements = Array.prototype.slice.call(document.querySelectorAll('object, embed'));
  elements.forEach(function (el) {
    if (!el.isConnected || !el.parentNode || !isFlash(el))
      return;
    var rect = el.getBoundingClientRect();
    var link = document.createElement('a');
    link.href = address;
    link.target = '_top';
    link.title = label;
    link.textContent = label;
    link.style.cssText = 'display:inline-block;box-sizing:border-box;overflow:hidden;' +
      'min-width:8em;min-height:2em;padding:4px;border:1px solid #888;background:#eee;' +
      'color:#000;font:12px sans-serif;text-align:center;text-decoration:none;';
    link.style.width = size(el, 'width', rect.width);
    link.style.height = size(el, 'height', rect.height);
    el.parentNode.replaceChild(link, el);
    ++replaced;
  });
  return replaced;
}).apply(null, %1);
)JS";

QString scriptWithArguments(const char *script, const QJsonArray &arguments)
{
    // The arguments reach the script as a JSON literal, never as spliced text.
    const QString json = QString::fromUtf8(QJsonDocument(arguments).toJson(QJsonDocument::Compact));
    return QString::fromUtf8(script).arg(json);
}

} // namespace

PageCustomizer::PageCustomizer(QObject *parent)
    : QObject(parent)
{
}

PageCustomizer::~PageCustomizer() = default;

void PageCustomizer::attach(QWebEnginePage *page)
{
    m_page = page;
}

bool PageCustomizer::openDataFile(const QString &path)
{
    return m_store.openDataFile(path);
}

void PageCustomizer::clearValues()
{
    m_store.clearValues();
}

void PageCustomizer::setValue(const QString &key, const QString &value, bool cardData)
{
    m_store.setValue(key, value, cardData);
}

bool PageCustomizer::saveDataFile(const QString &path) const
{
    return m_store.saveDataFile(path);
}

QString PageCustomizer::value(const QString &key) const
{
    return m_store.value(key);
}

void PageCustomizer::fillForm(std::function<void(bool filled)> done)
{
    // Values grouped by lower-case key, in write order; card data stays out of the page
    // altogether while protected.
    QList<QString> keys;
    QHash<QString, QJsonArray> values;
    for (const FormStore::Entry &entry : m_store.entries()) {
        if (entry.cardData && m_cardProtection)
            continue;
        const QString key = entry.key.trimmed().toLower();
        if (key.isEmpty())
            continue;
        if (!values.contains(key))
            keys.append(key);
        values[key].append(entry.value);
    }
    if (!m_page || keys.isEmpty()) {
        if (done)
            done(false);
        return;
    }

    QJsonArray entries;
    for (const QString &key : std::as_const(keys))
        entries.append(QJsonArray{key, values.value(key)});
    QJsonArray aliases;
    for (const auto &[token, key] : kFieldAliases)
        aliases.append(QJsonArray{QLatin1String(token), QLatin1String(key)});

    QPointer<PageCustomizer> self(this);
    m_page->runJavaScript(scriptWithArguments(kFillFormScript, QJsonArray{entries, aliases}),
                          QWebEngineScript::ApplicationWorld,
                          [self, done = std::move(done)](const QVariant &result) {
                              if (self && done)
                                  done(result.toInt() > 0);
                          });
}

void PageCustomizer::flashFilter(std::function<void(int replaced)> done)
{
    if (!m_page) {
        if (done)
            done(0);
        return;
    }
    const QString label = loadResString(1157).remove(QLatin1Char('&')); // "Enable Flash"
    QPointer<PageCustomizer> self(this);
    m_page->runJavaScript(
        scriptWithArguments(kFlashFilterScript, QJsonArray{label, kEnableFlashAddress}),
        QWebEngineScript::ApplicationWorld,
        [self, done = std::move(done)](const QVariant &result) {
            if (self && done)
                done(result.toInt());
        });
}

bool PageCustomizer::popupAllowed(const NewWindowRequest &request)
{
    return request.isUserInitiated();
}

int PageCustomizer::backCount() const
{
    if (!m_page)
        return 0;
    return qMax(0, m_page->history()->currentItemIndex());
}

int PageCustomizer::forwardCount() const
{
    if (!m_page)
        return 0;
    const QWebEngineHistory *history = m_page->history();
    return qMax(0, history->count() - history->currentItemIndex() - 1);
}

bool PageCustomizer::historyElement(bool back, int index, QString &title, QString &url) const
{
    title.clear();
    url.clear();
    if (!m_page || index < 1 || index > (back ? backCount() : forwardCount()))
        return false;
    QWebEngineHistory *history = m_page->history();
    const int current = history->currentItemIndex();
    const QWebEngineHistoryItem item = history->itemAt(back ? current - index : current + index);
    if (!item.isValid())
        return false;
    title = item.title();
    url = item.url().toString();
    return true;
}

void PageCustomizer::historyLoad()
{
    m_history = HistoryStore::instance().snapshot();
    m_historyLoadedAt = QDateTime::currentDateTimeUtc();
}

bool PageCustomizer::historyItem(int index, QString &title, QString &url, double &ageDays) const
{
    title.clear();
    url.clear();
    ageDays = 0;
    if (index < 0 || index >= m_history.size())
        return false;
    const HistoryStore::Entry &entry = m_history.at(index);
    title = entry.title;
    url = entry.url;
    constexpr double kMsPerDay = 24.0 * 60 * 60 * 1000;
    ageDays = qMax<qint64>(0, entry.lastVisit.msecsTo(m_historyLoadedAt)) / kMsPerDay;
    return true;
}

void PageCustomizer::historyRelease()
{
    m_history.clear();
    m_historyLoadedAt = QDateTime();
}
