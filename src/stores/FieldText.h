#pragma once
// What a text field of a record may hold: the one check the editors and the
// spreadsheet import both make, so whatever one accepts the other does too.
// Texts are stored exactly as typed (edge spaces kept); a control character
// or a line break is refused, since no printout, list or file can show it
// faithfully, and so is a text longer than any name or remark needs to be.

#include <QString>

namespace FieldText {
constexpr int MaxShort = 200;   // names, numbers, 规格
constexpr int MaxLong = 1000;   // remarks

// Why the text cannot be stored as the field, named in the message; empty when it can.
QString Fault(const QString &field, const QString &text, int maxLength = MaxShort);
} // namespace FieldText
