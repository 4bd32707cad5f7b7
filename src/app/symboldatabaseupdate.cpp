#include "app/symboldatabaseupdate.h"

#include "browser/symboldatabase.h"
#include "engine/atomicfile.h"
#include "engine/numbers.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <system_error>

namespace tessaly {

namespace {

constexpr std::string_view kCancelledText = "Update is cancelled";

void ShowError(MessageBoxes& messages, std::string text) {
    if (text.size() > 255)
        text.resize(255);
    messages.Show(text, kSymbolDatabaseErrorCaption, MessageButtons::Ok, MessageIcon::Error);
}

std::string SourceUrl(const std::string& makerHost) {
    std::string url = makerHost;
    if (!url.empty() && url.back() != '/')
        url += '/';
    return url + std::string(kSymbolDatabaseSourcePath);
}

// The count of the second line: the number at the start of the text after its first "=".
int LineCount(std::string_view line) {
    const auto equals = line.find('=');
    const std::string_view value = equals == std::string_view::npos ? line : line.substr(equals + 1);
    return static_cast<int>(std::clamp<std::int64_t>(ReadInteger(value), 0, std::numeric_limits<int>::max()));
}

} // namespace

SymbolDatabaseUpdateResult UpdateSymbolDatabase(HttpTransport& transport, const Endpoints& endpoints,
                                                const std::filesystem::path& folder, Progress& progress,
                                                MessageBoxes& messages) {
    if (const std::string missing = MissingMakerHostText(endpoints); !missing.empty()) {
        ShowError(messages, missing);
        return SymbolDatabaseUpdateResult::Failed;
    }
    std::unique_ptr<HttpSession> session = transport.OpenSession(kSymbolDatabaseUserAgent);
    std::unique_ptr<HttpAnswer> answer;
    try {
        answer = session->OpenUrl(SourceUrl(endpoints.makerHost));
    } catch (const HttpError& error) {
        session->Close();
        ShowError(messages, error.what());
        return SymbolDatabaseUpdateResult::Failed;
    }
    // An error page is no symbol database: storing it would lose the good copy.
    if (const int status = answer->Status(); status != 0 && (status < 200 || status > 299)) {
        session->Close();
        ShowError(messages, "The update server answered with HTTP status " + std::to_string(status) +
                                "; the symbol database was not changed.");
        return SymbolDatabaseUpdateResult::Failed;
    }

    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::filesystem::path target = folder / kDownloadedSymbolDatabaseName;
    AtomicFile file(target);
    if (!file.IsOpen()) {
        session->Close();
        ShowError(messages, target.string() + " cannot be written: " + file.Error());
        return SymbolDatabaseUpdateResult::Failed;
    }

    std::string content;
    bool tooLarge = false;
    const auto append = [&](const std::string& line) {
        if (line.size() + 1 > kMaxSymbolDatabaseBytes - content.size()) {
            tooLarge = true;
            return false;
        }
        content += line;
        content += '\n';
        return true;
    };

    std::string line;
    int expected = 0;
    int received = 0;
    try {
        for (int head = 0; head < 2; ++head) {
            if (!answer->ReadLine(line))
                line.clear();
            append(line);
            if (head == 1)
                expected = LineCount(line);
        }
        progress.SetRange(0, expected, 1);
        while (!tooLarge && answer->ReadLine(line)) {
            if (!append(line))
                break;
            ++received;
            progress.StepIt();
            progress.PumpMessages(true);
            if (progress.IsCancelled()) {
                session->Close();
                file.Discard();
                messages.Show(kCancelledText, "", MessageButtons::Ok, MessageIcon::Information);
                return SymbolDatabaseUpdateResult::Cancelled;
            }
        }
    } catch (const HttpError& failure) {
        session->Close();
        file.Discard();
        ShowError(messages, failure.what());
        return SymbolDatabaseUpdateResult::Failed;
    }
    session->Close();

    if (tooLarge) {
        file.Discard();
        ShowError(messages, "The symbol database sent by the update server is larger than 64 MB; it was not "
                            "stored.");
        return SymbolDatabaseUpdateResult::Failed;
    }
    if (received < expected) {
        file.Discard();
        ShowError(messages, "The symbol database arrived incomplete (" + std::to_string(received) + " of " +
                                std::to_string(expected) + " lines); the previous copy is kept.");
        return SymbolDatabaseUpdateResult::Failed;
    }
    if (!file.Write(content) || !file.Commit()) {
        ShowError(messages, target.string() + " cannot be written: " + file.Error());
        return SymbolDatabaseUpdateResult::Failed;
    }
    if (SymbolDatabase::HasListLayout(content)) {
        std::string writeError;
        if (!AtomicFile::WriteWhole(folder / SymbolDatabase::kFileName, content, &writeError)) {
            ShowError(messages,
                      (folder / SymbolDatabase::kFileName).string() + " cannot be written: " + writeError);
            return SymbolDatabaseUpdateResult::Failed;
        }
    }
    return SymbolDatabaseUpdateResult::Updated;
}

} // namespace tessaly
