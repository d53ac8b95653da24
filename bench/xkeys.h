#pragma once

// Keys by name for the benchmarks that press them through XTest.

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string>

// A character (1, +) or one of Return, KP_Add, BackSpace, Escape; 0 for others.
inline xcb_keysym_t KeysymOf(const std::string& name) {
    static const struct {
        const char* name;
        xcb_keysym_t sym;
    } named[] = {{"Return", 0xff0d}, {"KP_Add", 0xffab}, {"BackSpace", 0xff08}, {"Escape", 0xff1b}};
    for (const auto& n : named) {
        if (name == n.name) {
            return n.sym;
        }
    }
    if (name.size() == 1) {
        return static_cast<unsigned char>(name[0]); // Latin-1 keysyms are the characters
    }
    return 0;
}

// The keycode whose first keysym is sym; 0 when none is.
inline xcb_keycode_t KeycodeOf(xcb_connection_t* c, xcb_keysym_t sym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&free)> map(
        xcb_get_keyboard_mapping_reply(
            c, xcb_get_keyboard_mapping(c, setup->min_keycode, static_cast<uint8_t>(count)),
            nullptr),
        &free);
    if (!map) {
        return 0;
    }
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int per = map->keysyms_per_keycode;
    for (int i = 0; i < count; ++i) {
        if (syms[i * per] == sym) {
            return static_cast<xcb_keycode_t>(setup->min_keycode + i);
        }
    }
    return 0;
}
