#pragma once

#include <QString>

// Compares two texts in natural order: runs of ASCII digits compare by their
// numeric value (of any length), other runs by the user's locale. A text that
// ends where a run of the other ends counts as equal to it ("Name" and
// "Name2"). Returns a negative number, 0 or a positive number.
int NaturalCompare(const QString& a, const QString& b);
