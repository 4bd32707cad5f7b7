#pragma once

#include "engine/endpoints.h"
#include "engine/httpsession.h"
#include "engine/messagebox.h"
#include "engine/progress.h"

#include <cstddef>
#include <filesystem>
#include <string_view>

namespace tessaly {

inline constexpr std::string_view kSymbolDatabaseSourcePath = "forum/symboldatabase.txt";
inline constexpr std::string_view kDownloadedSymbolDatabaseName = "SymbolDatabase.dta";
inline constexpr std::string_view kSymbolDatabaseErrorCaption = "Tessaly Error Message";
inline constexpr std::string_view kSymbolDatabaseUserAgent = "MySession";
// The most the update takes from the server; a larger answer is refused.
inline constexpr std::size_t kMaxSymbolDatabaseBytes = 64u * 1024u * 1024u;

enum class SymbolDatabaseUpdateResult { Updated, Cancelled, Failed };

// Fetches the symbol list text from the maker host and stores it as "SymbolDatabase.dta" in
// `folder`, advancing `progress` one step per line after the second, whose count gives the range.
// The copy goes to a temporary file that replaces the old one only when the whole text has arrived
// (as many lines as the count says, within kMaxSymbolDatabaseBytes), so a cancel or a failure keeps
// the previous copy. A text with the layout of the listed securities ("SectorsNumber") also becomes
// the per-user "SymbolDatabaseEx2.dta" in `folder`, which the lists read before the shipped one.
// Every failure and the cancel are told through `messages`.
SymbolDatabaseUpdateResult UpdateSymbolDatabase(HttpTransport& transport, const Endpoints& endpoints,
                                                const std::filesystem::path& folder, Progress& progress,
                                                MessageBoxes& messages);

} // namespace tessaly
