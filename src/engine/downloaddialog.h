#pragma once

#include <string_view>

namespace tessaly {

// The open download dialog as a download run uses it: the run reads the overwrite choice anew for
// every security, shows where it is, and pauses between securities so that the dialog can take
// a click on Cancel (which then sets the engine's abort flag).
class DownloadDialog {
public:
    virtual ~DownloadDialog() = default;

    // The "Overwrite all records" choice as it is now.
    virtual bool OverwriteAllRecords() const = 0;
    virtual void SetCurrentSymbol(std::string_view symbol) = 0;
    virtual void SetElapsedTime(std::string_view text) = 0;
    virtual void SetRemainingTime(std::string_view text) = 0;
    virtual void SetProgressRange(int lower, int upper) = 0;
    virtual void SetProgressPosition(int position) = 0;
    // The pause between securities: lets pending window events through.
    virtual void PauseBetweenSecurities() = 0;
    // The busy cursor: shown at the start of the run and again after each pause; the cursor it
    // replaced first comes back at the end.
    virtual void ShowWaitCursor() {}
    virtual void RestoreCursor() {}
};

} // namespace tessaly
