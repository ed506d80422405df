#pragma once

#include <QString>
#include <QStringView>

namespace korvelan {

// Run-time error codes that the selection of a list row can meet.
enum SelectionErrorCode : int {
    NoSelectionError = 0,
    OverflowError = 6,       // a number outside the signed 16-bit range
    SubscriptOutOfRange = 9, // a record number outside 1 to RecordCapacity
    TypeMismatch = 13,       // the text is not a number; ignored silently
};

// The record a list row leads to, or the error that reading it raises.
struct RowNumber {
    int record = 0;
    int error = NoSelectionError;

    bool ok() const { return error == NoSelectionError; }
};

// The text after the first "$" of a row, or the whole row when it holds no "$".
QStringView textAfterSeparator(QStringView row);

// Reads a signed 16-bit decimal number, spaces before and after it allowed, one sign allowed in
// front of the digits. Empty or malformed text gives TypeMismatch, a value outside -32768 to
// 32767 gives OverflowError.
RowNumber toInt16(QStringView text);

// The record number carried by a list row: the number after its first "$", which must name a slot
// of the table (1 to RecordCapacity). Slots past RecordCount are valid and read as empty records.
RowNumber rowRecordNumber(QStringView row);

// Title of the message box that reports a selection error.
inline constexpr QStringView SelectionErrorTitle = u"Erreur programme";

// Short French description of a run-time error code, without the final full stop.
QString errorDescription(int code);

// Text of the message box that reports a selection error: the code, "Interne 101", an empty line
// and the description followed by ".", lines joined by CR LF.
QString selectionErrorText(int code);

} // namespace korvelan
