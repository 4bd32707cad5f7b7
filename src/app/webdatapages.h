#pragma once

#include <QString>
#include <QUrl>

namespace tessaly {

// The chart page of `symbol` under `base` (ending with "/"), the symbol percent-encoded so no
// character can change the address.
QUrl ChartsPageUrl(const QString& symbol, const QString& base);
// The key statistics page of `symbol` under `base`.
QUrl FundamentalsPageUrl(const QString& symbol, const QString& base);

} // namespace tessaly
