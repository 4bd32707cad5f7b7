#include "engine/completionsound.h"

#include <canberra.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

namespace tessaly {

namespace {

// How long a playing sound keeps its context; the chime is far shorter.
constexpr auto kLongestPlay = std::chrono::seconds(10);

struct Finished {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
};

void OnFinished(ca_context*, std::uint32_t, int, void* data) {
    auto* state = static_cast<Finished*>(data);
    const std::lock_guard lock(state->mutex);
    state->finished = true;
    state->done.notify_all();
}

// Connecting to the sound server can take a while when there is none, so the whole play happens
// on a thread of its own that lives until the sound has ended.
void Play(std::string file, bool useFile) {
    ca_context* context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS || context == nullptr)
        return;
    // Declared before the context goes, which may still call back for a sound it cancels.
    Finished state;
    ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Tessaly", CA_PROP_APPLICATION_ID,
                            "com.norvane.Tessaly", nullptr);
    ca_proplist* properties = nullptr;
    if (ca_proplist_create(&properties) == CA_SUCCESS) {
        if (useFile)
            ca_proplist_sets(properties, CA_PROP_MEDIA_FILENAME, file.c_str());
        else
            ca_proplist_sets(properties, CA_PROP_EVENT_ID, "complete");
        ca_proplist_sets(properties, CA_PROP_EVENT_DESCRIPTION, "Download complete");
        if (ca_context_play_full(context, 1, properties, &OnFinished, &state) == CA_SUCCESS) {
            std::unique_lock lock(state.mutex);
            state.done.wait_for(lock, kLongestPlay, [&] { return state.finished; });
        }
        ca_proplist_destroy(properties);
    }
    ca_context_destroy(context);
}

} // namespace

void PlayCompletionSound(const std::filesystem::path& soundFile) {
    std::error_code error;
    const bool useFile = std::filesystem::is_regular_file(soundFile, error);
    try {
        std::thread(Play, soundFile.string(), useFile).detach();
    } catch (const std::system_error&) {
        // No thread, no sound: the run has ended all the same.
    }
}

} // namespace tessaly
