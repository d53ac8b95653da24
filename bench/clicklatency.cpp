// Key-to-click latency: the time from a key press sent with XTest to the
// first sample of the click that reaches a PulseAudio sink, measured on the
// sink's monitor.
//
// Usage: clicklatency WINDOW MONITOR CLICK_WAV PRESSES KEY...
//   WINDOW    the window's id (decimal or 0x hex), given the keyboard focus
//   MONITOR   the monitor source of the sink the program plays to
//   CLICK_WAV the click the program plays: where its peak lies in it
// Presses the keys in turn, one every 400 ms, and prints each latency, then
// the median and the worst in milliseconds.
//
// The click's loudest sample is found in the recording and dated from the
// time its chunk was read less the recording's own latency; the click began
// as long before that as its peak lies in the WAVE file.

#include "xkeys.h"

#include <pulse/simple.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr std::uint32_t Rate = 44100;
constexpr int Loud = 6000; // a click's transient is louder than this
constexpr auto PeakSearch = std::chrono::milliseconds(15);
constexpr auto GiveUp = std::chrono::milliseconds(1000);

// Where the loudest sample of a 16-bit mono WAVE file lies, from its start.
std::optional<Ms> PeakOffset(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> file((std::istreambuf_iterator<char>(in)), {});
    if (file.size() < 44) {
        return std::nullopt;
    }
    const auto u32 = [&](size_t at) {
        return std::uint32_t(std::uint8_t(file[at])) |
               std::uint32_t(std::uint8_t(file[at + 1])) << 8 |
               std::uint32_t(std::uint8_t(file[at + 2])) << 16 |
               std::uint32_t(std::uint8_t(file[at + 3])) << 24;
    };
    const std::uint32_t rate = u32(24);
    size_t best = 0;
    int loudest = -1;
    for (size_t at = 44; at + 1 < file.size(); at += 2) {
        const int v = std::abs(int(std::int16_t(std::uint16_t(std::uint8_t(file[at])) |
                                                std::uint16_t(std::uint8_t(file[at + 1])) << 8)));
        if (v > loudest) {
            loudest = v;
            best = (at - 44) / 2;
        }
    }
    return rate == 0 ? std::nullopt : std::optional<Ms>(Ms(1000.0 * double(best) / rate));
}

// Reads the monitor continuously and dates the peak of each click.
class Listener {
public:
    explicit Listener(const char* source) {
        const pa_sample_spec format{PA_SAMPLE_S16LE, Rate, 1};
        const pa_buffer_attr attr{std::uint32_t(-1), std::uint32_t(-1), std::uint32_t(-1),
                                  std::uint32_t(-1),
                                  std::uint32_t(pa_usec_to_bytes(2000, &format))};
        int error = 0;
        s_ = pa_simple_new(nullptr, "clicklatency", PA_STREAM_RECORD, source, "monitor", &format,
                           nullptr, &attr, &error);
        if (s_ != nullptr) {
            thread_ = std::thread([this] { Run(); });
        }
    }
    ~Listener() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        if (s_ != nullptr) {
            pa_simple_free(s_);
        }
    }
    bool Ok() const { return s_ != nullptr; }

    // The time of the next click peak after `after`, if one comes in time.
    std::optional<Clock::time_point> PeakAfter(Clock::time_point after) {
        std::unique_lock lock(mutex_);
        const bool got = heard_.wait_until(lock, after + GiveUp, [&] {
            return std::any_of(peaks_.begin(), peaks_.end(), [&](auto t) { return t > after; });
        });
        if (!got) {
            return std::nullopt;
        }
        return *std::find_if(peaks_.begin(), peaks_.end(), [&](auto t) { return t > after; });
    }

private:
    void Run() {
        std::vector<std::int16_t> chunk(88); // 2 ms
        bool loud = false;                   // within a click, since loudSince
        Clock::time_point loudSince;
        int loudest = 0;
        Clock::time_point loudestAt;
        while (!stop_) {
            int error = 0;
            if (pa_simple_read(s_, chunk.data(), chunk.size() * 2, &error) < 0) {
                return;
            }
            const auto read = Clock::now();
            const auto latency = std::chrono::microseconds(pa_simple_get_latency(s_, &error));
            for (size_t i = 0; i < chunk.size(); ++i) {
                const auto at =
                    read - latency -
                    std::chrono::microseconds((chunk.size() - 1 - i) * 1'000'000 / Rate);
                const int v = std::abs(int(chunk[i]));
                if (!loud && v > Loud) {
                    loud = true;
                    loudSince = at;
                    loudest = 0;
                }
                if (loud && v > loudest) {
                    loudest = v;
                    loudestAt = at;
                }
                if (loud && at - loudSince > PeakSearch) {
                    {
                        std::lock_guard lock(mutex_);
                        peaks_.push_back(loudestAt);
                    }
                    heard_.notify_all();
                    loud = false;
                }
            }
        }
    }

    pa_simple* s_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable heard_;
    std::vector<Clock::time_point> peaks_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s WINDOW MONITOR CLICK_WAV PRESSES KEY...\n", argv[0]);
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const auto peak = PeakOffset(argv[3]);
    const int presses = std::atoi(argv[4]);
    if (!peak) {
        std::fprintf(stderr, "clicklatency: %s is no WAVE file\n", argv[3]);
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
        std::fprintf(stderr, "clicklatency: no X display\n");
        return 1;
    }
    std::vector<xcb_keycode_t> keys;
    for (int i = 5; i < argc; ++i) {
        const xcb_keycode_t code = KeycodeOf(c, KeysymOf(argv[i]));
        if (code == 0) {
            std::fprintf(stderr, "clicklatency: no key for %s\n", argv[i]);
            return 2;
        }
        keys.push_back(code);
    }
    Listener listener(argv[2]);
    if (!listener.Ok()) {
        std::fprintf(stderr, "clicklatency: cannot record %s\n", argv[2]);
        return 1;
    }
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    xcb_flush(c);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    std::vector<double> ms;
    int missed = 0;
    for (int i = 0; i < presses; ++i) {
        const xcb_keycode_t code = keys[size_t(i) % keys.size()];
        const auto t0 = Clock::now();
        xcb_test_fake_input(c, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(c, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(c);
        if (const auto at = listener.PeakAfter(t0)) {
            ms.push_back(Ms(*at - t0).count() - peak->count());
            std::printf("key %2d: %6.1f ms\n", i + 1, ms.back());
        } else {
            ++missed;
            std::printf("key %2d: no click\n", i + 1);
        }
        std::this_thread::sleep_until(t0 + std::chrono::milliseconds(400));
    }
    xcb_disconnect(c);
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) {
        std::printf("no click heard for %d keys\n", presses);
        return 1;
    }
    std::printf("key to the click's first sample: median %.1f ms, worst %.1f ms, %zu of %d keys "
                "heard\n",
                ms[ms.size() / 2], ms.back(), ms.size(), presses);
    return missed == 0 ? 0 : 1;
}
