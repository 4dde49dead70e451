#include "formrecord.h"

#include "core/formstore.h"

#include <initializer_list>

namespace {

struct Country
{
    const char *name;
    const char *code;
};

// The country list in its stored order: a position names the same country in every store.
const Country kCountries[] = {
    {"Afghanistan", "AF"}, {"Albania", "AL"}, {"Algeria", "DZ"}, {"American Samoa", "AS"},
    {"Andorra", "AD"}, {"Angola", "AO"}, {"Anguilla", "AI"}, {"Antarctica", "AQ"},
    {"Antigua and Barbuda", "AG"}, {"Argentina", "AR"}, {"Armenia", "AM"}, {"Aruba", "AW"},
    {"Australia", "AU"}, {"Austria", "AT"}, {"Azerbaijan", "AZ"}, {"Bahamas", "BS"},
    {"Bahrain", "BH"}, {"Bangladesh", "BD"}, {"Barbados", "BB"}, {"Belarus", "BY"},
    {"Belgium", "BE"}, {"Belize", "BZ"}, {"Benin", "BJ"}, {"Bermuda", "BM"}, {"Bhutan", "BT"},
    {"Bolivia", "BO"}, {"Bosnia and Herzegovina", "BA"}, {"Botswana", "BW"},
    {"Bouvet Island", "BV"}, {"Brazil", "BR"}, {"British Indian Ocean Territory", "IO"},
    {"Brunei", "BN"}, {"Bulgaria", "BG"}, {"Burkina Faso", "BF"}, {"Burundi", "BI"},
    {"Cambodia", "KH"}, {"Cameroon", "CM"}, {"Canada", "CA"}, {"Cape Verde", "CV"},
    {"Cayman Islands", "KY"}, {"Central African Republic", "CF"}, {"Chad", "TD"},
    {"Chile", "CL"}, {"China", "CN"}, {"Christmas Island", "CX"},
    {"Cocos (Keeling) Islands", "CC"}, {"Colombia", "CO"}, {"Comoros", "KM"}, {"Congo", "CG"},
    {"Cook Islands", "CK"}, {"Costa Rica", "CR"}, {"C\u00f4te d'Ivoire", "CI"},
    {"Croatia (Hrvatska)", "HR"}, {"Cuba", "CU"}, {"Cyprus", "CY"}, {"Czech Republic", "CZ"},
    {"Congo (DRC)", "CD"}, {"Denmark", "DK"}, {"Djibouti", "DJ"}, {"Dominica", "DM"},
    {"Dominican Republic", "DO"}, {"East Timor", "TP"}, {"Ecuador", "EC"}, {"Egypt", "EG"},
    {"El Salvador", "SV"}, {"Equatorial Guinea", "GQ"}, {"Eritrea", "ER"}, {"Estonia", "EE"},
    {"Ethiopia", "ET"}, {"Falkland Islands (Islas Malvinas)", "FK"}, {"Faroe Islands", "FO"},
    {"Fiji Islands", "FJ"}, {"Finland", "FI"}, {"France", "FR"}, {"French Guiana", "GF"},
    {"French Polynesia", "PF"}, {"French Southern and Antarctic Lands", "TF"}, {"Gabon", "GA"},
    {"Gambia", "GM"}, {"Georgia", "GE"}, {"Germany", "DE"}, {"Ghana", "GH"},
    {"Gibraltar", "GI"}, {"Greece", "GR"}, {"Greenland", "GL"}, {"Grenada", "GD"},
    {"Guadeloupe", "GP"}, {"Guam", "GU"}, {"Guatemala", "GT"}, {"Guinea", "GN"},
    {"Guinea-Bissau", "GW"}, {"Guyana", "GY"}, {"Haiti", "HT"},
    {"Heard Island and McDonald Islands", "HM"}, {"Honduras", "HN"}, {"Hong Kong SAR", "HK"},
    {"Hungary", "HU"}, {"Iceland", "IS"}, {"India", "IN"}, {"Indonesia", "ID"}, {"Iran", "IR"},
    {"Iraq", "IQ"}, {"Ireland", "IE"}, {"Israel", "IL"}, {"Italy", "IT"}, {"Jamaica", "JM"},
    {"Japan", "JP"}, {"Jordan", "JO"}, {"Kazakhstan", "KZ"}, {"Kenya", "KE"},
    {"Kiribati", "KI"}, {"Korea", "KR"}, {"Kuwait", "KW"}, {"Kyrgyzstan", "KG"},
    {"Laos", "LA"}, {"Latvia", "LV"}, {"Lebanon", "LB"}, {"Lesotho", "LS"}, {"Liberia", "LR"},
    {"Libya", "LY"}, {"Liechtenstein", "LI"}, {"Lithuania", "LT"}, {"Luxembourg", "LU"},
    {"Macao SAR", "MO"}, {"Macedonia", "MK"}, {"Madagascar", "MG"}, {"Malawi", "MW"},
    {"Malaysia", "MY"}, {"Maldives", "MV"}, {"Mali", "ML"}, {"Malta", "MT"},
    {"Marshall Islands", "MH"}, {"Martinique", "MQ"}, {"Mauritania", "MR"},
    {"Mauritius", "MU"}, {"Mayotte", "YT"}, {"Mexico", "MX"}, {"Micronesia", "FM"},
    {"Moldova", "MD"}, {"Monaco", "MC"}, {"Mongolia", "MN"}, {"Montserrat", "MS"},
    {"Morocco", "MA"}, {"Mozambique", "MZ"}, {"Myanmar", "MM"}, {"Namibia", "NA"},
    {"Nauru", "NR"}, {"Nepal", "NP"}, {"Netherlands", "NL"}, {"Netherlands Antilles", "AN"},
    {"New Caledonia", "NC"}, {"New Zealand", "NZ"}, {"Nicaragua", "NI"}, {"Niger", "NE"},
    {"Nigeria", "NG"}, {"Niue", "NU"}, {"Norfolk Island", "NF"}, {"North Korea", "KP"},
    {"Northern Mariana Islands", "MP"}, {"Norway", "NO"}, {"Oman", "OM"}, {"Pakistan", "PK"},
    {"Palau", "PW"}, {"Panama", "PA"}, {"Papua New Guinea", "PG"}, {"Paraguay", "PY"},
    {"Peru", "PE"}, {"Philippines", "PH"}, {"Pitcairn Islands", "PN"}, {"Poland", "PL"},
    {"Portugal", "PT"}, {"Puerto Rico", "PR"}, {"Qatar", "QA"}, {"Reunion", "RE"},
    {"Romania", "RO"}, {"Russia", "RU"}, {"Rwanda", "RW"}, {"Samoa", "WS"},
    {"San Marino", "SM"}, {"Saudi Arabia", "SA"}, {"Senegal", "SN"},
    {"Serbia and Montenegro", "YU"}, {"Seychelles", "SC"}, {"Sierra Leone", "SL"},
    {"Singapore", "SG"}, {"Slovakia", "SK"}, {"Slovenia", "SI"}, {"Solomon Islands", "SB"},
    {"Somalia", "SO"}, {"South Africa", "ZA"},
    {"South Georgia and the South Sandwich Islands", "GS"}, {"Spain", "ES"},
    {"Sri Lanka", "LK"}, {"St. Helena", "SH"}, {"St. Kitts and Nevis", "KN"},
    {"St. Lucia", "LC"}, {"St. Pierre and Miquelon", "PM"},
    {"St. Vincent and the Grenadines", "VC"}, {"Sudan", "SD"}, {"Suriname", "SR"},
    {"Svalbard and Jan Mayen", "SJ"}, {"Swaziland", "SZ"}, {"Sweden", "SE"},
    {"Switzerland", "CH"}, {"Syria", "SY"}, {"Taiwan", "TW"}, {"Tajikistan", "TJ"},
    {"Tanzania", "TZ"}, {"Thailand", "TH"}, {"Togo", "TG"}, {"Tokelau", "TK"}, {"Tonga", "TO"},
    {"Trinidad and Tobago", "TT"}, {"Tunisia", "TN"}, {"Turkey", "TR"},
    {"Turkmenistan", "TM"}, {"Turks and Caicos Islands", "TC"}, {"Tuvalu", "TV"},
    {"Uganda", "UG"}, {"Ukraine", "UA"}, {"United Arab Emirates", "AE"},
    {"United Kingdom", "UK"}, {"United States", "US"},
    {"United States Minor Outlying Islands", "UM"}, {"Uruguay", "UY"}, {"Uzbekistan", "UZ"},
    {"Vanuatu", "VU"}, {"Vatican City", "VA"}, {"Venezuela", "VE"}, {"Viet Nam", "VN"},
    {"Virgin Islands (British)", "VG"}, {"Virgin Islands", "VI"},
    {"Wallis and Futuna", "WF"}, {"Yemen", "YE"}, {"Zambia", "ZM"}, {"Zimbabwe", "ZW"},
};
constexpr int kCountryCount = int(std::size(kCountries));
static_assert(kCountryCount == 236);

constexpr int kDays = 31, kMonths = 12;

// The list position a stored number gives: empty is the blank entry, anything that is no
// position of a list of that many entries is -1.
int storedPosition(const QString &value, int entries)
{
    if (value.isEmpty())
        return 0;
    bool ok = false;
    const int position = value.toInt(&ok);
    return ok && position >= 0 && position <= entries ? position : -1;
}

// The position of the entry whose text matches the value without regard to case; 0 when none.
int matchingEntry(const QStringList &entries, const QString &value)
{
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!value.isEmpty() && entries.at(i).compare(value, Qt::CaseInsensitive) == 0)
            return int(i) + 1;
    }
    return 0;
}

class Writer
{
public:
    explicit Writer(FormStore &store) : m_store(store) {}
    // Writes the value under each key in turn.
    void put(std::initializer_list<const char *> keys, const QString &value, bool cardData = false)
    {
        for (const char *key : keys)
            m_store.setValue(QLatin1String(key), value, cardData);
    }
    // The same, for a value that is left out when empty.
    void putText(std::initializer_list<const char *> keys, const QString &value, bool cardData = false)
    {
        if (!value.isEmpty())
            put(keys, value, cardData);
    }
    // A list position, left out for the blank entry and for none.
    void putPosition(std::initializer_list<const char *> keys, int position, bool cardData = false)
    {
        if (position > 0)
            put(keys, QString::number(position), cardData);
    }

private:
    FormStore &m_store;
};

} // namespace

const QStringList &FormRecord::titles()
{
    static const QStringList list{QStringLiteral("Mr."), QStringLiteral("Mrs."), QStringLiteral("Ms."),
                                  QStringLiteral("Dr."), QStringLiteral("Prof."), QStringLiteral("Eng.")};
    return list;
}

const QStringList &FormRecord::sexes()
{
    static const QStringList list{QStringLiteral("Male"), QStringLiteral("Female")};
    return list;
}

const QStringList &FormRecord::cardTypes()
{
    static const QStringList list{
        QStringLiteral("Visa"),   QStringLiteral("Master Card"), QStringLiteral("American Express"),
        QStringLiteral("Carte Bleue"), QStringLiteral("CB"),     QStringLiteral("Diners Club"),
        QStringLiteral("Discover"), QStringLiteral("Delta"),     QStringLiteral("Solo"),
        QStringLiteral("Switch"), QStringLiteral("JCB")};
    return list;
}

const QStringList &FormRecord::countries()
{
    static const QStringList list = [] {
        QStringList names;
        for (const Country &country : kCountries)
            names.append(QString::fromUtf8(country.name));
        return names;
    }();
    return list;
}

QString FormRecord::countryCode(int position)
{
    if (position < 1 || position > kCountryCount)
        return QString();
    return QLatin1String(kCountries[position - 1].code);
}

FormRecord FormRecord::read(const FormStore &store,
                            const std::array<QString, kCustomFields> &customNames)
{
    auto text = [&](const char *key) { return store.value(QLatin1String(key)); };
    FormRecord r;
    r.title = matchingEntry(titles(), text("title"));
    const QString sex = text("sex").toUpper();
    r.sex = sex == u"M" ? 1 : sex == u"F" ? 2 : 0;
    r.firstName = text("firstname");
    r.lastName = text("lastname");
    r.phone = text("phone");
    r.fax = text("fax");
    r.birthDay = storedPosition(text("day"), kDays);
    r.birthMonth = storedPosition(text("month"), kMonths);
    r.birthYear = text("year");
    r.mail = text("mail");
    r.job = text("job");
    r.address1 = text("address1");
    r.address2 = text("address2");
    r.country = storedPosition(text("country"), kCountryCount);
    r.city = text("city");
    r.state = text("state");
    r.zipCode = text("postal");
    r.cardType = matchingEntry(cardTypes(), text("cardtyp"));
    r.cardNumber = text("card_num");
    r.validCode = text("validation");
    r.expMonth = storedPosition(text("exp_month"), kMonths);
    r.expYear = text("exp_year");
    r.userName = text("user");
    r.bank = text("bank");
    for (int i = 0; i < kCustomFields; ++i) {
        r.customName[i] = customNames[i];
        r.customValue[i] = customNames[i].isEmpty() ? QString() : store.value(customNames[i]);
    }
    return r;
}

void FormRecord::write(FormStore &store) const
{
    store.clearValues();
    Writer w(store);
    if (title > 0 && title <= titles().size())
        w.put({"title"}, titles().at(title - 1).toUpper());
    if (sex == 1) {
        w.put({"sex"}, QStringLiteral("M"));
        w.put({"sex"}, QStringLiteral("Male"));
        w.put({"gender"}, QStringLiteral("M"));
        w.put({"gender"}, QStringLiteral("Male"));
    } else if (sex == 2) {
        w.put({"sex", "gender"}, QStringLiteral("F"));
        w.put({"sex", "gender"}, QStringLiteral("Female"));
    }
    w.putText({"user"}, userName);
    if (!firstName.isEmpty() || !lastName.isEmpty()) {
        const QString fullName = firstName + u' ' + lastName;
        w.put({"fullname", "full_name"}, fullName);
        w.putText({"firstname", "fname", "first_name"}, firstName);
        w.putText({"lastname", "lname", "last_name"}, lastName);
        w.put({"name"}, fullName);
    }
    w.putText({"phon", "phone"}, phone);
    w.putText({"fax"}, fax);
    w.putPosition({"day"}, birthDay);
    w.putPosition({"exp_month", "expmonth", "expir_month", "expirmonth"}, expMonth, true);
    w.putText({"exp_year", "expyear", "expir_year", "expiryear"}, expYear, true);
    w.putPosition({"month"}, birthMonth);
    w.putText({"year"}, birthYear);
    w.put({"mail"}, mail);
    w.put({"Job", "occup"}, job);
    w.putText({"Address2", "Address_2", "Addr2", "Addr_2"}, address2);
    w.putText({"Address1", "Address_1", "Addr1", "Addr_1", "Addr"}, address1);
    if (country > 0 && country <= kCountryCount) {
        w.put({"Country"}, QString::number(country));
        w.put({"Country"}, countries().at(country - 1));
        w.put({"Country"}, countryCode(country));
    }
    w.putText({"City"}, city);
    w.putText({"State", "Prov"}, state);
    w.putText({"zip", "postal"}, zipCode);
    if (cardType > 0 && cardType <= cardTypes().size())
        w.put({"cardtyp", "card_typ"}, cardTypes().at(cardType - 1), true);
    w.putText({"card_num", "credit_num", "card_no", "credit_no", "cardnum", "creditnum", "cardno",
               "creditno"},
              cardNumber, true);
    w.putText({"validation", "valid_num", "valid_code", "validnum", "validcode", "v_num", "v_code",
               "vnum", "vcode"},
              validCode, true);
    w.putText({"bank"}, bank);
    for (int i = 0; i < kCustomFields; ++i) {
        if (!customName[i].isEmpty())
            store.setValue(customName[i], customValue[i], false);
    }
}

const QStringList &FormRecord::builtInKeys()
{
    // A record with every field set writes every key the record knows (the "sex" value chosen
    // writes both of its keys).
    static const QStringList keys = [] {
        FormRecord full;
        full.title = full.sex = full.birthDay = full.birthMonth = full.country = 1;
        full.cardType = full.expMonth = 1;
        for (QString *text : {&full.firstName, &full.lastName, &full.phone, &full.fax, &full.birthYear,
                              &full.mail, &full.job, &full.address1, &full.address2, &full.city,
                              &full.state, &full.zipCode, &full.cardNumber, &full.validCode,
                              &full.expYear, &full.userName, &full.bank})
            *text = QStringLiteral("x");
        FormStore store;
        full.write(store);
        QStringList names;
        for (const FormStore::Entry &entry : store.entries()) {
            const QString key = entry.key.toLower();
            if (!names.contains(key))
                names.append(key);
        }
        return names;
    }();
    return keys;
}
