#pragma once

#include <QString>

namespace korvelan {

// What can go wrong while the two resources are turned into tables. Each class has one stable
// number, shown in the error report so that a report from a user says which failure it was.
enum class LoadFailure {
    ResourceUnavailable = 1, // the resource is missing or cannot be read
    TooFewLines = 2,         // the database has fewer lines than the program expects
    TooManyRecords = 3,      // more records expected than the tables can hold
    MissingSeparator = 4,    // a database line has fewer than 18 "$"
    LineTooLong = 5,         // a "$" lies beyond the 16-bit position range of a line
    TooFewKeywords = 6,      // the keyword list is shorter than the letter counts say
};

// The codes that tell which step reported the failure.
inline constexpr int kDatabaseErrorCode = 100;
inline constexpr int kKeywordErrorCode = 102;
inline constexpr int kSuggestionErrorCode = 103;

// Short French description of a failure class.
QString failureDescription(LoadFailure failure);

// The number shown for a failure class.
int failureNumber(LoadFailure failure);

// The text of the error report: the description, 17 spaces, CR LF, "Erreur interne ", the code,
// " - " and the failure number.
QString startupErrorText(const QString &description, int failureNumber, int code);
QString startupErrorText(LoadFailure failure, int code);

} // namespace korvelan
