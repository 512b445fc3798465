#pragma once

#include <QString>
#include <QTextListFormat>

namespace richtext::detail {

// The marker text of list item number n (counted from 1): "•", "3.", "c.",
// "iv." and so on.
QString listMarker(QTextListFormat::Style style, int n);

} // namespace richtext::detail
