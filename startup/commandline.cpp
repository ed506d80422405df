#include "commandline.h"

#include "additive.h"
#include "card.h"
#include "export.h"
#include "labelanalyser.h"
#include "programconstants.h"
#include "provenance.h"
#include "register.h"
#include "resource.h"
#include "search.h"
#include "toolkitfrench.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <array>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace korvelan {

namespace {

// Exit codes.
constexpr int kSuccess = 0;
constexpr int kFailure = 1; // no additive with that code or name, or the output could not be written
constexpr int kBadUse = 2;  // unknown option, missing or wrong value, word refused, no label text

// The options that the toolkit's application objects read, with one dash or two.
// clang-format off
constexpr std::array<QStringView, 18> kToolkitOptionsWithValue = {
    u"platform", u"platformpluginpath", u"platformtheme", u"plugin", u"qwindowgeometry", u"geometry",
    u"qwindowtitle", u"title", u"qwindowicon", u"icon", u"session", u"style", u"stylesheet", u"display",
    u"name", u"visual", u"ncols", u"qmljsdebugger"};
constexpr std::array<QStringView, 8> kToolkitFlags = {u"reverse", u"widgetcount", u"nograb", u"dograb",
                                                      u"sync", u"cmap", u"testability", u"nocrashhandler"};
// clang-format on

template <size_t N> bool isOneOf(QStringView name, const std::array<QStringView, N> &names)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Writes text to a standard stream in UTF-8, whatever the locale.
void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// A message for the terminal: lines joined by "\n" rather than CR LF.
QString terminalLines(QString text)
{
    return text.replace(LineBreak, u"\n"_s);
}

int badUse(const QString &message)
{
    write(stderr, u"korvelan : "_s + message + u"\nPour l'aide : korvelan --help\n"_s);
    return kBadUse;
}

QString helpText()
{
    return u"Usage : korvelan [option]\n"
           u"Les KORVELAN : les additifs alimentaires (numéros E), en français.\n"
           u"Sans option, le programme ouvre sa fenêtre.\n"
           u"\n"
           u"Options :\n"
           u"  -h, --help           affiche cette aide\n"
           u"  -v, --version        affiche la version du programme\n"
           u"  --fiche CODE|NOM...  affiche la fiche de chaque additif nommé : un code (E950,\n"
           u"                       e950 ou 950) ou un nom (aspartame, « acésulfame K »)\n"
           u"  --recherche MOT      cherche MOT dans les mots clés des additifs, comme la page\n"
           u"                       Rechercher, accents et majuscules ignorés : une ligne par\n"
           u"                       additif (code, nom, catégorie, risque, séparés par des\n"
           u"                       tabulations) ; le nombre trouvé sur la sortie d'erreur\n"
           u"  --etiquette TEXTE    lit une liste d'ingrédients (TEXTE, ou l'entrée standard\n"
           u"                       avec « - ») : une ligne par additif nommé (code, nom,\n"
           u"                       catégorie, risque, texte lu) ; le nombre sur la sortie d'erreur\n"
           u"  --export FORMAT      écrit toute la base des additifs, FORMAT csv ou json ;\n"
           u"                       en json, chaque additif porte aussi \"corrections\" (ses\n"
           u"                       valeurs imposées par le format de la base, avec valeur\n"
           u"                       réelle, source et raison) et \"sources\" (la source de\n"
           u"                       chaque valeur sourcée)\n"
           u"  --reel               avec --fiche, --recherche, --etiquette ou --export : la\n"
           u"                       valeur réelle à la place de chaque valeur imposée par le\n"
           u"                       format de la base\n"
           u"\n"
           u"Sans --reel, la fiche garde les valeurs de la base et termine chaque ligne dont la\n"
           u"valeur est imposée par sa valeur réelle et sa source : (en réalité : Oui ; ...).\n"
           u"\n"
           u"Codes de sortie : 0 réussite, 1 additif inconnu ou écriture impossible,\n"
           u"2 mauvais usage (option inconnue, valeur manquante, mot refusé, texte vide).\n"
           u"La base des additifs est publiée sous la licence ODbL 1.0 ; voir korvelan(1).\n"_s;
}

// Reads the database as the windows do; nothing when it cannot be read.
std::optional<AdditiveTable> loadDatabase()
{
    DatabaseLoad load = loadAdditiveTable(readEmbeddedResource);
    if (load.failure) {
        write(stderr, terminalLines(startupErrorText(*load.failure, kDatabaseErrorCode)).trimmed() + u'\n');
        return std::nullopt;
    }
    return std::move(load.table);
}

// The records an argument of --fiche names: a code (any letter case, with or without its E), else a
// name or synonym (accents and letter case ignored). The names are indexed only when an argument is
// not a code, so a card asked by its code does not pay for them.
QList<int> recordsNamed(const QString &argument, const AdditiveTable &table, std::optional<LabelAnalyser> &names)
{
    QList<int> records = recordsWithCode(argument, table);
    if (records.isEmpty() && !argument.isEmpty() && argument.front().isDigit())
        records = recordsWithCode(u"E"_s + argument, table);
    if (records.isEmpty()) {
        if (!names)
            names.emplace(table, labelNamesText());
        if (const int r = names->lookup(argument))
            records = recordsWithCode(table.field(ENumber, r), table);
    }
    return records;
}

int printCards(const QStringList &arguments, const Truth &truth)
{
    const std::optional<AdditiveTable> table = loadDatabase();
    if (!table)
        return kFailure;
    std::optional<LabelAnalyser> names;
    int code = kSuccess;
    QString out;
    for (const QString &argument : arguments) {
        const QList<int> records = recordsNamed(argument, *table, names);
        if (records.isEmpty()) {
            write(stderr, u"korvelan : aucun additif ne porte le code ou le nom « "_s + argument + u" ».\n"_s);
            code = kFailure;
        }
        for (int r : records) {
            if (!out.isEmpty())
                out += u'\n';
            out += additiveCard(table->record(r), r, truth);
        }
    }
    write(stdout, out);
    return code;
}

int printSearch(const QString &typed, const Truth &truth)
{
    // Accents and letter case are folded first ("lécithine" is searched as "lecithine"); then the search
    // page refuses what its input check would take out, and waits for a second character.
    const QString word = foldForComparison(typed);
    if (!checkSearchInput(word).removed.isEmpty()) {
        write(stderr, terminalLines(disallowedCharacterMessage()) + u'\n');
        return kBadUse;
    }
    if (word.size() < MinimumSearchLength)
        return badUse(u"le mot cherché doit compter au moins %1 caractères."_s.arg(MinimumSearchLength));
    const std::optional<AdditiveTable> table = loadDatabase();
    if (!table)
        return kFailure;
    const SearchResult result = searchKeywords(word, *table);
    QString rows;
    for (int r : result.records)
        rows += foundLine(table->record(r), r, truth);
    write(stdout, rows);
    write(stderr, resultCaption(int(result.records.size())) + u'\n');
    return kSuccess;
}

// Reads an ingredient list, given or on the standard input ("-"), and prints one line per additive it
// names: code, name, category, risk class and the text that named it, separated by tabs.
int printLabel(const QString &given, const Truth &truth)
{
    QString text = given;
    if (given == u"-") {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly))
            return badUse(u"l'entrée standard ne peut pas être lue."_s);
        text = QString::fromUtf8(in.readAll());
    }
    if (text.trimmed().isEmpty())
        return badUse(u"aucun texte d'étiquette à lire."_s);
    const std::optional<AdditiveTable> table = loadDatabase();
    if (!table)
        return kFailure;
    const LabelAnalyser analyser(*table, labelNamesText());
    const QList<LabelFinding> found = analyser.analyse(text);
    QString out;
    for (const LabelFinding &f : found) {
        // The line of a search result, with the text that named the additive as its last column.
        QString line = foundLine(table->record(f.record), f.record, truth);
        line.back() = u'\t';
        out += line;
        QString named = f.text;
        named.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
        out += named + u'\n';
    }
    write(stdout, out);
    write(stderr, labelCountCaption(found.size()) + u'\n');
    return kSuccess;
}

int printExport(const QString &format, const Truth &truth)
{
    if (format != u"csv" && format != u"json")
        return badUse(u"format d'export inconnu « "_s + format + u" » : csv ou json."_s);
    const std::optional<AdditiveTable> table = loadDatabase();
    if (!table)
        return kFailure;
    write(stdout, format == u"csv" ? exportCsv(*table, truth) : exportJson(*table, truth));
    return kSuccess;
}

int run(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"affiche cette aide"_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"affiche la version du programme"_s);
    const QCommandLineOption fiche(u"fiche"_s, u"affiche la fiche d'un additif"_s, u"CODE"_s);
    const QCommandLineOption recherche(u"recherche"_s, u"cherche un mot clé"_s, u"MOT"_s);
    const QCommandLineOption exportFormat(u"export"_s, u"écrit toute la base"_s, u"FORMAT"_s);
    const QCommandLineOption etiquette(u"etiquette"_s, u"lit une liste d'ingrédients"_s, u"TEXTE"_s);
    const QCommandLineOption reel(u"reel"_s, u"les valeurs réelles à la place des valeurs imposées"_s);
    parser.addOptions({help, version, fiche, recherche, exportFormat, etiquette, reel});

    const QStringList withName = QStringList{u"korvelan"_s} + arguments;
    if (!parser.parse(withName)) {
        // The parser words its messages in the language of the installed translation.
        ToolkitFrench french;
        QCoreApplication::installTranslator(&french);
        parser.parse(withName);
        return badUse(parser.errorText());
    }
    if (parser.isSet(help)) {
        write(stdout, helpText());
        return kSuccess;
    }
    if (parser.isSet(version)) {
        write(stdout, AppTitle + u' ' + AppVersion + u'\n');
        return kSuccess;
    }
    const QStringList cards = parser.values(fiche), words = parser.values(recherche),
                      formats = parser.values(exportFormat), labels = parser.values(etiquette);
    // --fiche takes every argument that follows it.
    if (!parser.positionalArguments().isEmpty() && cards.isEmpty())
        return badUse(u"argument inattendu « "_s + parser.positionalArguments().constFirst() + u" »."_s);
    const qsizetype modes = cards.size() + words.size() + formats.size() + labels.size();
    if (parser.isSet(reel) && modes == 0)
        return badUse(u"--reel s'emploie avec --fiche, --recherche, --etiquette ou --export."_s);
    if (modes != 1)
        return badUse(u"une seule des options --fiche, --recherche, --export et --etiquette à la fois."_s);
    // The cards, searches, label readings and exports say what the registers know of the values they show.
    const Truth truth{&FactRegister::embedded(), parser.isSet(reel)};
    if (!cards.isEmpty())
        return printCards(cards + parser.positionalArguments(), truth);
    if (!labels.isEmpty())
        return printLabel(labels.constFirst(), truth);
    if (!words.isEmpty())
        return printSearch(words.constFirst(), truth);
    return printExport(formats.constFirst(), truth);
}

} // namespace

QStringList withoutToolkitOptions(const QStringList &arguments)
{
    QStringList left;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (!argument.startsWith(u'-') || argument == u"-" || argument == u"--") {
            left.append(argument);
            continue;
        }
        QStringView name = QStringView(argument).sliced(argument.startsWith(u"--") ? 2 : 1);
        const qsizetype equals = name.indexOf(u'=');
        if (equals >= 0) {
            if (isOneOf(name.first(equals), kToolkitOptionsWithValue))
                continue; // -style=fusion
        } else if (isOneOf(name, kToolkitOptionsWithValue)) {
            ++i; // its value follows
            continue;
        } else if (isOneOf(name, kToolkitFlags)) {
            continue;
        }
        left.append(argument);
    }
    return left;
}

std::optional<int> runCommandLine(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const QStringList own = withoutToolkitOptions(arguments);
    // "--" ends the options: with nothing after it, there are none, and the window opens.
    if (own.isEmpty() || own == QStringList{u"--"_s})
        return std::nullopt;

    // No display, no lock, no splash: a core application is all the terminal answers need.
    QCoreApplication app(argc, argv);
    const int code = run(own);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        write(stderr, u"korvelan : écriture impossible sur la sortie standard.\n"_s);
        return kFailure;
    }
    return code;
}

} // namespace korvelan
