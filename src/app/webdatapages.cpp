#include "app/webdatapages.h"

namespace tessaly {

namespace {
QString Encoded(const QString& symbol) {
    return QString::fromLatin1(QUrl::toPercentEncoding(symbol));
}
} // namespace

QUrl ChartsPageUrl(const QString& symbol, const QString& base) {
    return QUrl(base + QStringLiteral("q/ta?s=") + Encoded(symbol) +
                    QStringLiteral("&t=6m&l=on&z=m&q=b&p=e20,m50,m200&a=m26-12-9,ss&c="),
                QUrl::StrictMode);
}

QUrl FundamentalsPageUrl(const QString& symbol, const QString& base) {
    return QUrl(base + QStringLiteral("q/ks?s=") + Encoded(symbol), QUrl::StrictMode);
}

} // namespace tessaly
