#pragma once

#include <pulse/sample.h>

#include <string>
#include <vector>

struct pa_context;
struct pa_threaded_mainloop;

namespace pellix {

// One PulseAudio connection (PipeWire's pulse server answers it too) over
// which the click is played. The connection is made on demand and kept, so
// that a click costs one stream and not a handshake; a server that goes away
// is noticed at the next play, which then connects afresh. Never starts a
// server, and every wait is bounded: a stopped or hung server delays a play,
// it never blocks the worker for good.
class TPulseOutput {
public:
    TPulseOutput(const pa_sample_spec& format, std::vector<char> samples);
    ~TPulseOutput();
    TPulseOutput(const TPulseOutput&) = delete;
    TPulseOutput& operator=(const TPulseOutput&) = delete;

    // Connects unless connected; false with the reason when no server answers.
    bool Connect(std::string& why);
    // Plays the samples and returns once the server has played them (drained).
    // False when not connected or the connection broke meanwhile.
    bool Play();

private:
    void Disconnect();
    bool Ready() const;

    pa_sample_spec FFormat;
    std::vector<char> FSamples;
    pa_threaded_mainloop* FLoop = nullptr;
    pa_context* FContext = nullptr;
};

} // namespace pellix
