#include "failure.h"

using namespace Qt::StringLiterals;

namespace korvelan {

QString failureDescription(LoadFailure failure)
{
    switch (failure) {
    case LoadFailure::ResourceUnavailable: return u"Ressource introuvable ou illisible"_s;
    case LoadFailure::TooFewLines: return u"La base de données est incomplète"_s;
    case LoadFailure::TooManyRecords: return u"Trop d'enregistrements pour la table"_s;
    case LoadFailure::MissingSeparator: return u"Séparateur « $ » manquant dans une ligne"_s;
    case LoadFailure::LineTooLong: return u"Ligne trop longue"_s;
    case LoadFailure::TooFewKeywords: return u"La liste des mots clés est incomplète"_s;
    }
    return u"Erreur inconnue"_s;
}

int failureNumber(LoadFailure failure)
{
    return static_cast<int>(failure);
}

QString startupErrorText(const QString &description, int number, int code)
{
    return description + QString(17, u' ') + u"\r\nErreur interne "_s + QString::number(code) + u" - "_s +
        QString::number(number);
}

QString startupErrorText(LoadFailure failure, int code)
{
    return startupErrorText(failureDescription(failure), failureNumber(failure), code);
}

} // namespace korvelan
