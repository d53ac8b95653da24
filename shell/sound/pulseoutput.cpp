#include "pulseoutput.h"

#include "seam/vendor.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/proplist.h>
#include <pulse/rtclock.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <cstdint>

namespace pellix {

namespace {

// What the server is asked to keep queued ahead of the sink: small, so that
// the click follows the key at once, and still safe from underruns.
constexpr pa_usec_t TargetLatencyUs = 25'000;
// Longest wait for the server's answer to a connection or a new stream.
constexpr pa_usec_t AnswerUs = 2'000'000;

void Signal(pa_threaded_mainloop* loop) {
    pa_threaded_mainloop_signal(loop, 0);
}

struct TDeadline {
    pa_threaded_mainloop* Loop;
    bool Passed = false;
};

// Waits on the main loop (whose lock the caller holds) until done() holds or
// the time is up; returns done().
template <class Done>
bool WaitWithin(pa_threaded_mainloop* loop, pa_context* context, pa_usec_t usec, Done done) {
    TDeadline deadline{loop};
    pa_time_event* timer = pa_context_rttime_new(
        context, pa_rtclock_now() + usec,
        [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data) {
            auto* d = static_cast<TDeadline*>(data);
            d->Passed = true;
            Signal(d->Loop);
        },
        &deadline);
    if (timer == nullptr) {
        return done(); // no way to bound the wait: do not wait at all
    }
    while (!done() && !deadline.Passed) {
        pa_threaded_mainloop_wait(loop);
    }
    pa_threaded_mainloop_get_api(loop)->time_free(timer);
    return done();
}

bool Settled(pa_context_state_t state) {
    return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
}

bool Settled(pa_stream_state_t state) {
    return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
}

struct TDrain {
    pa_threaded_mainloop* Loop;
    bool Done = false;
};

} // namespace

TPulseOutput::TPulseOutput(const pa_sample_spec& format, std::vector<char> samples)
    : FFormat(format), FSamples(std::move(samples)) {}

TPulseOutput::~TPulseOutput() {
    Disconnect();
}

bool TPulseOutput::Ready() const {
    return FContext != nullptr && pa_context_get_state(FContext) == PA_CONTEXT_READY;
}

bool TPulseOutput::Connect(std::string& why) {
    if (FLoop != nullptr) {
        pa_threaded_mainloop_lock(FLoop);
        const bool ready = Ready();
        pa_threaded_mainloop_unlock(FLoop);
        if (ready) {
            return true;
        }
        Disconnect();
    }
    FLoop = pa_threaded_mainloop_new();
    if (FLoop == nullptr || pa_threaded_mainloop_start(FLoop) < 0) {
        why = "the PulseAudio client could not start its thread";
        Disconnect();
        return false;
    }
    pa_threaded_mainloop_lock(FLoop);
    FContext = pa_context_new(pa_threaded_mainloop_get_api(FLoop), ProgramName);
    bool ready = false;
    if (FContext == nullptr) {
        why = "the PulseAudio client could not be set up";
    } else {
        pa_context_set_state_callback(
            FContext,
            [](pa_context*, void* loop) { Signal(static_cast<pa_threaded_mainloop*>(loop)); },
            FLoop);
        // A calculator never starts a sound server of its own.
        if (pa_context_connect(FContext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
            WaitWithin(FLoop, FContext, AnswerUs,
                       [this] { return Settled(pa_context_get_state(FContext)); });
        }
        ready = Ready();
        if (!ready) {
            why = pa_context_get_state(FContext) == PA_CONTEXT_FAILED ||
                          pa_context_errno(FContext) != PA_OK
                      ? std::string("no sound server answers (") +
                            pa_strerror(pa_context_errno(FContext)) + ")"
                      : std::string("the sound server did not answer in time");
        }
    }
    pa_threaded_mainloop_unlock(FLoop);
    if (!ready) {
        Disconnect();
    }
    return ready;
}

bool TPulseOutput::Play() {
    if (FLoop == nullptr) {
        return false;
    }
    pa_threaded_mainloop_lock(FLoop);
    if (!Ready()) {
        pa_threaded_mainloop_unlock(FLoop);
        return false;
    }
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "event");
    pa_stream* stream =
        pa_stream_new_with_proplist(FContext, "Key click", &FFormat, nullptr, props);
    pa_proplist_free(props);
    if (stream != nullptr) {
        pa_stream_set_state_callback(
            stream,
            [](pa_stream*, void* loop) { Signal(static_cast<pa_threaded_mainloop*>(loop)); },
            FLoop);
        constexpr auto Default = static_cast<std::uint32_t>(-1);
        pa_buffer_attr attr{Default,
                            static_cast<std::uint32_t>(pa_usec_to_bytes(TargetLatencyUs, &FFormat)),
                            Default, Default, Default};
        const auto state = [stream] { return pa_stream_get_state(stream); };
        if (pa_stream_connect_playback(stream, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr,
                                       nullptr) >= 0 &&
            WaitWithin(FLoop, FContext, AnswerUs, [&] { return Settled(state()); }) &&
            state() == PA_STREAM_READY &&
            pa_stream_write(stream, FSamples.data(), FSamples.size(), nullptr, 0,
                            PA_SEEK_RELATIVE) == 0) {
            // Drained: the server has played every sample, so the play lasts
            // as long as the click and the next one is never cut short.
            TDrain drain{FLoop};
            pa_operation* op = pa_stream_drain(
                stream,
                [](pa_stream*, int, void* data) {
                    auto* d = static_cast<TDrain*>(data);
                    d->Done = true;
                    Signal(d->Loop);
                },
                &drain);
            if (op != nullptr) {
                const pa_usec_t length = pa_bytes_to_usec(FSamples.size(), &FFormat);
                WaitWithin(FLoop, FContext, length + AnswerUs,
                           [&] { return drain.Done || !PA_STREAM_IS_GOOD(state()); });
                if (!drain.Done) {
                    pa_operation_cancel(op);
                }
                pa_operation_unref(op);
            }
        }
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }
    const bool ready = Ready();
    pa_threaded_mainloop_unlock(FLoop);
    return ready;
}

void TPulseOutput::Disconnect() {
    if (FLoop != nullptr) {
        pa_threaded_mainloop_stop(FLoop);
    }
    if (FContext != nullptr) {
        pa_context_disconnect(FContext);
        pa_context_unref(FContext);
        FContext = nullptr;
    }
    if (FLoop != nullptr) {
        pa_threaded_mainloop_free(FLoop);
        FLoop = nullptr;
    }
}

} // namespace pellix
