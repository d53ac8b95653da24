// Key-to-screen latency of an X window: the time from a key press sent with
// XTest to the first damage of the window's contents (the first repaint
// reaching the screen) and to the last damage of that repaint, with the
// rectangles it drew.
//
// Usage: keylatency WINDOW ROUNDS KEY...
//   WINDOW  the window's id (decimal or 0x hex), e.g. from xdotool search
//   KEY     a character (1, +) or one of Return, KP_Add, BackSpace, Escape
// Each round presses and releases the keys in order. Prints one line per key:
// medians over the rounds of the first repaint and of the end of the repaint
// in microseconds, the damaged area as a share of the window's, and the
// union of the damaged rectangles of the last round; then a line "all" with
// the medians over every press.

#include "xkeys.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A repaint is over when no damage has come for this long.
constexpr int QuietMs = 40;
// A key that repaints nothing within this time counts as no repaint.
constexpr int GiveUpMs = 1000;

struct Rect {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0; // x2, y2 exclusive
    bool Empty() const { return x2 <= x1 || y2 <= y1; }
    void Unite(const Rect& r) {
        if (Empty()) {
            *this = r;
        } else {
            x1 = std::min(x1, r.x1);
            y1 = std::min(y1, r.y1);
            x2 = std::max(x2, r.x2);
            y2 = std::max(y2, r.y2);
        }
    }
};

struct Repaint {
    double firstUs = -1; // -1: none
    double endUs = -1;
    long area = 0; // sum of the damaged rectangles' areas
    Rect bounds;
};

struct Key {
    std::string name;
    xcb_keysym_t sym = 0;
    xcb_keycode_t code = 0;
    std::vector<Repaint> repaints;
};

class Display {
public:
    Display() : c_(xcb_connect(nullptr, nullptr)) {}
    ~Display() { xcb_disconnect(c_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    bool Ok() const { return xcb_connection_has_error(c_) == 0; }
    xcb_connection_t* C() const { return c_; }

    bool HasExtensions() {
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c_, &xcb_damage_id);
        const xcb_query_extension_reply_t* test = xcb_get_extension_data(c_, &xcb_test_id);
        if (damage == nullptr || !damage->present || test == nullptr || !test->present) {
            return false;
        }
        damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_damage_query_version_reply(c_, xcb_damage_query_version(c_, 1, 1), nullptr));
        return true;
    }

    // Waits up to timeoutMs for the next damage event of the window; returns
    // its rectangle, or nothing.
    bool NextDamage(int timeoutMs, Rect& rect) {
        const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
                const bool damage = (e->response_type & 0x7f) == damageEvent_;
                if (damage) {
                    const auto* d = reinterpret_cast<xcb_damage_notify_event_t*>(e);
                    rect = {d->area.x, d->area.y, d->area.x + d->area.width,
                            d->area.y + d->area.height};
                }
                free(e);
                if (damage) {
                    return true;
                }
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
            if (left <= 0 || xcb_connection_has_error(c_)) {
                return false;
            }
            pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
            poll(&p, 1, static_cast<int>(left));
        }
    }

    void Drain() {
        Rect ignored;
        while (NextDamage(QuietMs, ignored)) {
        }
    }

private:
    xcb_connection_t* c_;
    uint8_t damageEvent_ = 0;
};

double Median(std::vector<double> v) {
    if (v.empty()) {
        return -1;
    }
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s WINDOW ROUNDS KEY...\n", argv[0]);
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const int rounds = std::atoi(argv[2]);
    Display x;
    if (!x.Ok() || !x.HasExtensions()) {
        std::fprintf(stderr, "keylatency: no X display with the DAMAGE and XTEST extensions\n");
        return 1;
    }
    xcb_connection_t* c = x.C();
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &free);
    if (!geometry) {
        std::fprintf(stderr, "keylatency: no window %s\n", argv[1]);
        return 1;
    }
    const long windowArea = long(geometry->width) * geometry->height;

    std::vector<Key> keys;
    for (int i = 3; i < argc; ++i) {
        Key k;
        k.name = argv[i];
        k.sym = KeysymOf(k.name);
        k.code = k.sym != 0 ? KeycodeOf(c, k.sym) : 0;
        if (k.code == 0) {
            std::fprintf(stderr, "keylatency: no key for %s\n", argv[i]);
            return 2;
        }
        keys.push_back(k);
    }

    const xcb_damage_damage_t damage = xcb_generate_id(c);
    xcb_damage_create(c, damage, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    xcb_flush(c);
    x.Drain();

    for (int r = 0; r < rounds; ++r) {
        for (Key& k : keys) {
            Repaint p;
            const auto t0 = Clock::now();
            xcb_test_fake_input(c, XCB_KEY_PRESS, k.code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
            xcb_flush(c);
            Rect rect;
            if (x.NextDamage(GiveUpMs, rect)) {
                auto us = [&] {
                    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
                };
                p.firstUs = p.endUs = us();
                do {
                    p.endUs = us();
                    p.area += long(rect.x2 - rect.x1) * (rect.y2 - rect.y1);
                    p.bounds.Unite(rect);
                } while (x.NextDamage(QuietMs, rect));
            }
            k.repaints.push_back(p);
            xcb_test_fake_input(c, XCB_KEY_RELEASE, k.code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
            xcb_flush(c);
            x.Drain();
        }
    }

    std::vector<double> allFirst, allEnd;
    for (const Key& k : keys) {
        std::vector<double> first, end, share;
        for (const Repaint& p : k.repaints) {
            if (p.firstUs >= 0) {
                first.push_back(p.firstUs);
                end.push_back(p.endUs);
                share.push_back(100.0 * double(p.area) / double(windowArea));
            }
        }
        allFirst.insert(allFirst.end(), first.begin(), first.end());
        allEnd.insert(allEnd.end(), end.begin(), end.end());
        const Rect& b = k.repaints.back().bounds;
        std::printf(
            "%-10s first repaint %7.0f us  end %7.0f us  area %5.1f %%  bounds %d,%d-%d,%d  "
            "(%zu of %d repainted)\n",
            k.name.c_str(), Median(first), Median(end), Median(share), b.x1, b.y1, b.x2, b.y2,
            first.size(), rounds);
    }
    std::printf("%-10s first repaint %7.0f us  end %7.0f us  (%zu presses)\n", "all",
                Median(allFirst), Median(allEnd), allFirst.size());
    xcb_damage_destroy(c, damage);
    xcb_flush(c);
    return 0;
}
