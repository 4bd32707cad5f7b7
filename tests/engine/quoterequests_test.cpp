#include "engine/downloader.h"
#include "engine/endpoints.h"
#include "engine/httpsession.h"
#include "engine/memoryprofile.h"
#include "engine/quoterequests.h"

#include "engine/clock.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(QuoteRequestsTest, HistoricalRequestCarriesTheKeysInOrder) {
    EXPECT_EQ(HistoricalRequest("MSFT", 20070002, 20071131, 0),
              "table.csv?s=MSFT&a=00&b=02&c=2007&d=11&e=31&f=2007&g=d&ignore=.csv");
    EXPECT_EQ(HistoricalRequest("IBM", 20070128, 20070201, 1),
              "table.csv?s=IBM&a=01&b=28&c=2007&d=02&e=01&f=2007&g=w&ignore=.csv");
    for (const int code : {2, 3, -1})
        EXPECT_EQ(HistoricalRequest("X", 20061131, 20070001, code),
                  "table.csv?s=X&a=11&b=31&c=2006&d=00&e=01&f=2007&g=m&ignore=.csv");
}

TEST(QuoteRequestsTest, CurrencyRequestTakesDayMonthYearAndThePairKey) {
    EXPECT_EQ(CurrencyRequest("$eurusd", 20070002, 20071131, 0),
              "FOREXQUOTE.txt?d=d&m=5&em=83&p=8&df=02&mf=00&yf=2007&dt=31&mt=11&yt=2007&f=EURUSD"
              "&e=.txt&dtf=1&tmf=1&MSOR=0&cn=EURUSD&sep=1&sep2=1&datf=1&at=0&fsp=1");
    const std::string gold = CurrencyRequest("$XAUUSD", 20070002, 20071131, 1);
    EXPECT_EQ(gold.find("&em="), std::string::npos);
    EXPECT_NE(gold.find("&m=5&p=9&df="), std::string::npos);
    EXPECT_NE(CurrencyRequest("$GBPUSD", 20070002, 20071131, 2).find("&em=86&p=10&"), std::string::npos);
    const std::pair<const char*, const char*> keys[] = {
        {"EURCHF", "&em=106"}, {"EURGBP", "&em=88"}, {"EURJPY", "&em=84"}, {"EURUSD", "&em=83"},
        {"GBPUSD", "&em=86"},  {"USDCHF", "&em=85"}, {"USDJPY", "&em=87"}, {"EURSEK", ""}};
    for (const auto& [pair, key] : keys)
        EXPECT_EQ(CurrencyPairKey(pair), key) << pair;
}

TEST(QuoteRequestsTest, RecentQuoteAndPageRequests) {
    EXPECT_EQ(RecentQuoteRequest("MSFT"), "d/quotes.csv?s=MSFT&f=sl1d1c1ohgv");
    EXPECT_EQ(QuotePageRequest("^GSPC"), "q?s=%5EGSPC");
}

TEST(QuoteRequestsTest, SymbolsArePercentEncoded) {
    EXPECT_EQ(PercentEncode("M&M.NS"), "M%26M.NS");
    EXPECT_EQ(PercentEncode("BRK-B_x~"), "BRK-B_x~");
    EXPECT_EQ(PercentEncode("A B+C=D?#/%"), "A%20B%2BC%3DD%3F%23%2F%25");
    EXPECT_EQ(PercentEncode("\xC3\xA9"), "%C3%A9");
    EXPECT_EQ(HistoricalRequest("M&M.NS", 20070002, 20071131, 0).substr(0, 24), "table.csv?s=M%26M.NS&a=0");
}

TEST(QuoteRequestsTest, BaseUrlsJoinWithOneSlash) {
    EXPECT_EQ(JoinUrl("http://h/", "q?s=A"), "http://h/q?s=A");
    EXPECT_EQ(JoinUrl("http://h/quotes", "q?s=A"), "http://h/quotes/q?s=A");
}

TEST(EndpointsTest, MissingValuesAreWrittenWithTheirDefaults) {
    MemoryProfile profile;
    profile.WriteString("Endpoints", "QuoteHost", "http://mine/");
    const Endpoints endpoints = LoadEndpoints(profile);
    EXPECT_EQ(endpoints.historicalHost, "yahoo-chart+https://query1.finance.yahoo.com/");
    EXPECT_EQ(endpoints.quoteHost, "http://mine/");
    EXPECT_EQ(endpoints.currencyHost, "yahoo-chart+https://query1.finance.yahoo.com/");
    EXPECT_EQ(endpoints.makerHost, "");
    EXPECT_EQ(endpoints.minRequestIntervalMs, 500);
    EXPECT_EQ(MissingMakerHostText(endpoints),
              "No update server is configured (Endpoints/MakerHost in the settings).");
    for (const char* name :
         {"HistoricalHost", "QuoteHost", "CurrencyHost", "MakerHost", "MinRequestIntervalMs"})
        EXPECT_TRUE(profile.HasValue("Endpoints", name)) << name;
    EXPECT_EQ(profile.GetString("Endpoints", "QuoteHost", ""), "http://mine/");

    profile.WriteString("Endpoints", "MakerHost", "http://maker/");
    profile.WriteInt("Endpoints", "MinRequestIntervalMs", -5);
    const Endpoints changed = LoadEndpoints(profile);
    EXPECT_EQ(MissingMakerHostText(changed), "");
    EXPECT_EQ(changed.minRequestIntervalMs, 0);
}

TEST(EndpointsTest, WebPagesUseAPlainQuoteHostElseTheQuoteSite) {
    const struct {
        const char* quoteHost;
        const char* base;
    } cases[] = {
        {"yahoo-chart+https://query1.finance.yahoo.com/", "https://finance.yahoo.com/"},
        {"http://127.0.0.1:8080/", "http://127.0.0.1:8080/"},
        {"https://quotes.example", "https://quotes.example/"},
        {"", "https://finance.yahoo.com/"},
        {"ftp://quotes.example/", "https://finance.yahoo.com/"},
        {"http://bad host/", "https://finance.yahoo.com/"},
    };
    for (const auto& entry : cases) {
        Endpoints endpoints = DefaultEndpoints();
        endpoints.quoteHost = entry.quoteHost;
        EXPECT_EQ(WebPagesBase(endpoints), entry.base) << entry.quoteHost;
    }
}

TEST(HttpErrorTest, PassingTroublesAreToldByKindAndByText) {
    for (const HttpErrorKind kind : {HttpErrorKind::TimedOut, HttpErrorKind::ConnectionReset,
                                     HttpErrorKind::ConnectionRefused, HttpErrorKind::InvalidAnswer})
        EXPECT_TRUE(IsTransientHttpError(HttpError(kind, "x")));
    EXPECT_FALSE(IsTransientHttpError(HttpError(HttpErrorKind::Other, "Could not resolve host")));
    EXPECT_TRUE(IsTransientHttpError(HttpError(HttpErrorKind::Other, "The operation timed out")));
    EXPECT_TRUE(IsTransientHttpError(
        HttpError(HttpErrorKind::Other, "The connection with the server could not be established")));
    EXPECT_EQ(std::string(HttpError(HttpErrorKind::Other, std::string(400, 'x')).what()).size(), 255u);
}

TEST(DateTextsTest, SlashDatesBecomeStoredDates) {
    EXPECT_EQ(CDownloader::SlashDateToStored("1/5/2007"), "5-Jan-07");
    EXPECT_EQ(CDownloader::SlashDateToStored("12/31/2026"), "31-Dec-26");
    EXPECT_EQ(CDownloader::SlashDateToStored("13/5/2007"), "5-13-07");
    EXPECT_EQ(CDownloader::SlashDateToStored("N/A"), "A-N-/A");
}

TEST(DateTextsTest, MonthAndDayNameADayOfTheCurrentYear) {
    ScopedClock clock(std::make_shared<FixedClock>(std::chrono::year{2026} / 12 / 11));
    EXPECT_EQ(CDownloader::MonthDayToDateNumber("Jan 5"), 20260105);
    EXPECT_EQ(CDownloader::MonthDayToDateNumber("Dec 11"), 20261211);
    for (const char* text : {"Jan", "Foo 5", "Feb 30", "Jan x", "Jan 123", ""})
        EXPECT_EQ(CDownloader::MonthDayToDateNumber(text), 0) << text;
}

TEST(DateTextsTest, ElapsedAndRemainingTimes) {
    EXPECT_EQ(CDownloader::ElapsedText(3723), "01:02:03");
    EXPECT_EQ(CDownloader::ElapsedText(25 * 3600), "01:00:00");
    EXPECT_EQ(CDownloader::RemainingText(60000, 2, 5), "25:00:00");
    EXPECT_EQ(CDownloader::RemainingText(10, 5, 5), "00:00:00");
    EXPECT_EQ(CDownloader::RemainingText(0, 2, 5), "00:00:00");
}

} // namespace
} // namespace tessaly
