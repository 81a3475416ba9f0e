#include "contacts/outlooklanguages.h"

#include <QHash>
#include <initializer_list>
#include <utility>

namespace {

using Names = std::initializer_list<std::pair<const char *, const char *>>; // English, local

struct Language {
    const char *name;
    const char *firstName;
    const char *lastName;
    Names names;
};

// Each header as Outlook in that language writes it, and its English name. The same
// English name may come twice where Outlook versions differ.
// clang-format off
const Language languages[] = {
    {"German", "Vorname", "Nachname", {
        {"Title", "Anrede"}, {"Middle Name", "Weitere Vornamen"}, {"Suffix", "Suffix"},
        {"Company", "Firma"}, {"Primary Phone", "Haupttelefon"}, {"Mobile Phone", "Mobiltelefon"},
        {"Home Phone", "Telefon privat"}, {"Home Phone", "Telefon (privat)"},
        {"Home Phone 2", "Telefon privat 2"}, {"Home Phone 2", "Telefon (privat 2)"},
        {"Business Phone", "Telefon geschäftlich"}, {"Business Phone 2", "Telefon geschäftlich 2"},
        {"Other Phone", "Weiteres Telefon"}, {"Company Main Phone", "Telefon Firma"},
        {"Car Phone", "Autotelefon"}, {"Assistant's Phone", "Telefon Assistent"},
        {"Callback", "Rückmeldung"}, {"Pager", "Pager"}, {"ISDN", "ISDN"},
        {"TTY/TDD Phone", "Telefon für Hörbehinderte"},
        {"E-mail Address", "E-Mail-Adresse"}, {"E-mail 2 Address", "E-Mail 2: Adresse"},
        {"E-mail 3 Address", "E-Mail 3: Adresse"},
        {"Home Street", "Straße privat"}, {"Home Street 2", "Straße privat 2"},
        {"Home Street 3", "Straße privat 3"}, {"Home PO Box", "Postfach privat"},
        {"Home City", "Ort privat"}, {"Home State", "Bundesland/Kanton privat"},
        {"Home Postal Code", "Postleitzahl privat"}, {"Home Country/Region", "Land/Region privat"},
        {"Business Street", "Straße geschäftlich"}, {"Business Street 2", "Straße geschäftlich 2"},
        {"Business Street 3", "Straße geschäftlich 3"}, {"Business PO Box", "Postfach geschäftlich"},
        {"Business City", "Ort geschäftlich"}, {"Business State", "Region geschäftlich"},
        {"Business Postal Code", "Postleitzahl geschäftlich"},
        {"Business Country/Region", "Land/Region geschäftlich"},
        {"Other Street", "Weitere Straße"}, {"Other Street 2", "Weitere Straße 2"},
        {"Other Street 3", "Weitere Straße 3"}, {"Other PO Box", "Weiteres Postfach"},
        {"Other City", "Weiterer Ort"}, {"Other State", "Weiteres/r Bundesland/Kanton"},
        {"Other Postal Code", "Weitere Postleitzahl"}, {"Other Country/Region", "Weiteres/e Land/Region"},
        {"Birthday", "Geburtstag"}}},
    // French Outlook names both the courtesy title and the job title "Titre": neither is
    // taken.
    {"French", "Prénom", "Nom", {
        {"Middle Name", "Deuxième prénom"}, {"Suffix", "Suffixe"}, {"Company", "Société"},
        {"Primary Phone", "Téléphone principal"}, {"Mobile Phone", "Tél. mobile"},
        {"Home Phone", "Téléphone (domicile)"}, {"Home Phone 2", "Téléphone 2 (domicile)"},
        {"Business Phone", "Téléphone (bureau)"}, {"Business Phone 2", "Téléphone 2 (bureau)"},
        {"Other Phone", "Téléphone (autre)"}, {"Company Main Phone", "Téléphone société"},
        {"Car Phone", "Téléphone (voiture)"}, {"Assistant's Phone", "Téléphone de l'assistant(e)"},
        {"Callback", "Rappel"}, {"Radio Phone", "Radio téléphone"},
        {"Pager", "Récepteur de radiomessagerie"}, {"ISDN", "RNIS"},
        {"TTY/TDD Phone", "Téléphone TDD/TTY"},
        {"E-mail Address", "Adresse de messagerie"}, {"E-mail 2 Address", "Adresse de messagerie 2"},
        {"E-mail 3 Address", "Adresse de messagerie 3"},
        {"Home Street", "Rue (domicile)"}, {"Home Street 2", "Rue (domicile) 2"},
        {"Home Street 3", "Rue (domicile) 3"}, {"Home PO Box", "Boîte postale du domicile"},
        {"Home City", "Ville (domicile)"}, {"Home State", "Dép/Région (domicile)"},
        {"Home Postal Code", "Code postal (domicile)"}, {"Home Country/Region", "Pays/Région (domicile)"},
        {"Business Street", "Rue (bureau)"}, {"Business Street 2", "Rue (bureau) 2"},
        {"Business Street 3", "Rue (bureau) 3"}, {"Business PO Box", "B.P. professionnelle"},
        {"Business City", "Ville (bureau)"}, {"Business State", "Dép/Région (bureau)"},
        {"Business Postal Code", "Code postal (bureau)"},
        {"Business Country/Region", "Pays/Région (bureau)"},
        {"Other Street", "Rue (autre)"}, {"Other Street 2", "Rue (autre) 2"},
        {"Other Street 3", "Rue (autre) 3"}, {"Other PO Box", "Autre boîte postale"},
        {"Other City", "Ville (autre)"}, {"Other State", "Dép/Région (autre)"},
        {"Other Postal Code", "Code postal (autre)"}, {"Other Country/Region", "Pays/Région (autre)"},
        {"Birthday", "Anniversaire"}}},
    // Spanish Outlook keeps some headers in English ("Mobile Phone", "Home Street",
    // "E-mail Address", "Birthday"): those are read as they are.
    {"Spanish", "Nombre", "Apellidos", {
        {"Middle Name", "Segundo nombre"}, {"Company", "Organización"},
        {"Primary Phone", "Teléfono principal"}, {"Home Phone", "Particular"},
        {"Business Phone", "Teléfono del trabajo"}, {"Other Phone", "Otro teléfono"},
        {"Company Main Phone", "Número de centralita de la organización"},
        {"Callback", "Devolución de llamada"}, {"Radio Phone", "Radioteléfono"},
        {"TTY/TDD Phone", "Número de teletipo"},
        {"E-mail 2 Address", "Dirección de correo electrónico 2"},
        {"E-mail 3 Address", "Dirección del correo electrónico 3"},
        {"Home PO Box", "Apartado postal de la dirección personal"},
        {"Home Country/Region", "País o región del domicilio"},
        {"Business Street", "Calle del trabajo"}, {"Business Street 2", "Calle del trabajo 2"},
        {"Business Street 3", "Calle del trabajo 3"},
        {"Business PO Box", "Apartado postal de la dirección del trabajo"},
        {"Business City", "Ciudad de trabajo"}, {"Business State", "Provincia o estado de trabajo"},
        {"Business Postal Code", "Código postal del trabajo"},
        {"Business Country/Region", "País o región del trabajo"},
        {"Other Street", "Otra calle"}, {"Other Street 2", "Otra calle 2"},
        {"Other Street 3", "Otra calle 3"}, {"Other PO Box", "Otro apartado postal"},
        {"Other City", "Otra ciudad"}, {"Other State", "Otra provincia o estado"},
        {"Other Postal Code", "Otro código postal"}, {"Other Country/Region", "Otro país o región"}}},
    {"Italian", "Nome", "Cognome", {
        {"Title", "Titolo"}, {"Middle Name", "Secondo nome"}, {"Suffix", "Titolo straniero"},
        {"Company", "Società"}, {"Primary Phone", "Telefono principale"}, {"Mobile Phone", "Cellulare"},
        {"Home Phone", "Abitazione"}, {"Home Phone 2", "Abitazione 2"}, {"Business Phone", "Ufficio"},
        {"Business Phone 2", "Ufficio 2"}, {"Other Phone", "Altro telefono"},
        {"Company Main Phone", "Telefono principale società"}, {"Car Phone", "Telefono auto"},
        {"Assistant's Phone", "Telefono assistente"}, {"Callback", "Richiamata automatica"},
        {"Radio Phone", "Radiotelefono"}, {"Pager", "Cercapersone"}, {"ISDN", "ISDN"},
        {"TTY/TDD Phone", "Telefono TTY/TDD"},
        {"E-mail Address", "Indirizzo posta elettronica"},
        {"E-mail 2 Address", "Indirizzo posta elettronica 2"},
        {"E-mail 3 Address", "Indirizzo posta elettronica 3"},
        {"Home Street", "Via (ab.)"}, {"Home Street 2", "Via (ab.) 2"}, {"Home Street 3", "Via (ab.) 3"},
        {"Home PO Box", "Indirizzo (ab.) - Casella postale"}, {"Home City", "Città (ab.)"},
        {"Home State", "Provincia (ab.)"}, {"Home Postal Code", "CAP (ab.)"},
        {"Home Country/Region", "Paese (ab.)"},
        {"Business Street", "Via (uff.)"}, {"Business Street 2", "Via (uff.) 2"},
        {"Business Street 3", "Via (uff.) 3"}, {"Business PO Box", "Indirizzo (uff.) - Casella postale"},
        {"Business City", "Città (uff.)"}, {"Business State", "Provincia (uff.)"},
        {"Business Postal Code", "CAP (uff.)"}, {"Business Country/Region", "Paese (uff.)"},
        {"Other Street", "Altra via"}, {"Other Street 2", "Altra via 2"}, {"Other Street 3", "Altra via 3"},
        {"Other PO Box", "Altro indirizzo - Casella postale"}, {"Other City", "Altra città"},
        {"Other State", "Altra provincia"}, {"Other Postal Code", "Altro CAP"},
        {"Other Country/Region", "Altro paese"}, {"Birthday", "Compleanno"}}},
    {"Dutch", "Voornaam", "Achternaam", {
        {"Title", "Titel"}, {"Middle Name", "Middelste naam"}, {"Suffix", "Achtervoegsel"},
        {"Company", "Bedrijf"}, {"Primary Phone", "Hoofdtelefoon"}, {"Mobile Phone", "Mobiele telefoon"},
        {"Home Phone", "Telefoon thuis"}, {"Home Phone 2", "Telefoon thuis 2"},
        {"Business Phone", "Telefoon op werk"}, {"Business Phone 2", "Telefoon op werk 2"},
        {"Other Phone", "Andere telefoon"}, {"Company Main Phone", "Hoofdtelefoon bedrijf"},
        {"Car Phone", "Autotelefoon"}, {"Assistant's Phone", "Telefoon assistent"},
        {"Callback", "Terugbellen"}, {"Radio Phone", "Radiotelefoon"}, {"Pager", "Pager"},
        {"ISDN", "ISDN"}, {"TTY/TDD Phone", "Teksttelefoon"},
        {"E-mail Address", "E-mailadres"}, {"E-mail 2 Address", "E-mailadres 2"},
        {"E-mail 3 Address", "E-mailadres 3"},
        {"Home Street", "Huisadres, straat"}, {"Home Street 2", "Huisadres, straat 2"},
        {"Home Street 3", "Huisadres, straat 3"}, {"Home PO Box", "Huisadres, postbusnummer"},
        {"Home City", "Huisadres, plaats"}, {"Home State", "Huisadres, provincie"},
        {"Home Postal Code", "Huisadres, postcode"}, {"Home Country/Region", "Land/regio (thuis)"},
        {"Business Street", "Werkadres, straat"}, {"Business Street 2", "Werkadres 2, straat"},
        {"Business Street 3", "Werkadres 3, straat"}, {"Business PO Box", "Werkadres, postbusnummer"},
        {"Business City", "Werkadres, plaats"}, {"Business State", "Werkadres, provincie"},
        {"Business Postal Code", "Werkadres, postcode"}, {"Business Country/Region", "Land/regio (werk)"},
        {"Other Street", "Ander adres, straat"}, {"Other Street 2", "Ander adres, straat 2"},
        {"Other Street 3", "Ander adres, straat 3"}, {"Other PO Box", "Ander adres, postbusnummer"},
        {"Other City", "Ander adres, plaats"}, {"Other State", "Ander adres, provincie"},
        {"Other Postal Code", "Ander adres, postcode"}, {"Other Country/Region", "Land/regio (anders)"},
        {"Birthday", "Verjaardag"}}},
    // Brazilian Outlook keeps some headers in English ("E-mail Address", "Business
    // Street", "Business City", "Birthday"): those are read as they are.
    {"Portuguese (Brazil)", "Primeiro nome", "Sobrenome", {
        {"Title", "Tratamento"}, {"Middle Name", "Segundo nome"}, {"Suffix", "Sufixo"},
        {"Company", "Empresa"}, {"Primary Phone", "Telefone principal"},
        {"Mobile Phone", "Telefone celular"}, {"Home Phone", "Telefone residencial"},
        {"Home Phone 2", "Telefone residencial 2"}, {"Business Phone", "Telefone comercial"},
        {"Business Phone 2", "Telefone comercial 2"}, {"Other Phone", "Outro telefone"},
        {"Company Main Phone", "Telefone principal da empresa"}, {"Car Phone", "Telefone do carro"},
        {"Assistant's Phone", "Telefone do assistente"}, {"Callback", "Retorno de chamada"},
        {"Radio Phone", "Radiofone"}, {"TTY/TDD Phone", "Telefone TTY/TDD"},
        {"E-mail 2 Address", "Endereço de email 2"}, {"E-mail 3 Address", "Endereço de email 3"},
        {"Home Street", "Endereço residencial"}, {"Home Street 2", "Endereço residencial 2"},
        {"Home Street 3", "Endereço residencial 3"}, {"Home PO Box", "Caixa postal do endereço residencial"},
        {"Home City", "Cidade do endereço residencial"}, {"Home State", "Estado"},
        {"Home Postal Code", "CEP do endereço residencial"},
        {"Home Country/Region", "País/Região de Residência"},
        {"Business Street 2", "Rua do endereço comercial 2"},
        {"Business Street 3", "Rua do endereço comercial 3"},
        {"Business PO Box", "Caixa postal do endereço comercial"},
        {"Business Country/Region", "País/Região da Empresa"},
        {"Other Street", "Outro endereço"}, {"Other Street 2", "Outro endereço 2"},
        {"Other Street 3", "Outro endereço 3"}, {"Other PO Box", "Caixa postal de outro endereço"},
        {"Other City", "Cidade"}, {"Other State", "Outro Estado"}, {"Other Postal Code", "CEP"},
        {"Other Country/Region", "Outro País/Região"}}},
};
// clang-format on

QString folded(const QString &name) {
    return name.trimmed().toCaseFolded();
}

} // namespace

std::optional<QStringList> outlookHeadersInEnglish(const QStringList &names) {
    QHash<QString, qsizetype> at;
    for (qsizetype i = 0; i < names.size(); ++i)
        at.insert(folded(names[i]), i);
    for (const Language &language : languages) {
        const auto first = at.constFind(folded(QString::fromUtf8(language.firstName)));
        const auto last = at.constFind(folded(QString::fromUtf8(language.lastName)));
        if (first == at.cend() || last == at.cend())
            continue;
        QStringList english = names;
        english[*first] = QStringLiteral("First Name");
        english[*last] = QStringLiteral("Last Name");
        for (const auto &[inEnglish, local] : language.names) {
            if (const auto found = at.constFind(folded(QString::fromUtf8(local)));
                found != at.cend())
                english[*found] = QString::fromUtf8(inEnglish);
        }
        return english;
    }
    return std::nullopt;
}

QString outlookLanguageList() {
    QStringList listed;
    for (const Language &language : languages)
        listed << QStringLiteral("%1 (\"%2\", \"%3\")")
                      .arg(QLatin1String(language.name), QString::fromUtf8(language.firstName),
                           QString::fromUtf8(language.lastName));
    return listed.join(QStringLiteral(", "));
}
