#pragma once

#include <QString>
#include <QUrl>

namespace tessaly {

// The quote host's main site, under which the chart and key statistics pages live.
inline constexpr const char* kQuoteHostBase = "https://finance.yahoo.com/";

// The chart page of `symbol`, the symbol percent-encoded so no character can change the address.
QUrl ChartsPageUrl(const QString& symbol, const QString& base = QString::fromLatin1(kQuoteHostBase));
// The key statistics page of `symbol`.
QUrl FundamentalsPageUrl(const QString& symbol, const QString& base = QString::fromLatin1(kQuoteHostBase));

} // namespace tessaly
