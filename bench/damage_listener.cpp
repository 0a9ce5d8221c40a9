// SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
// SPDX-License-Identifier: GPL-3.0-or-later

// A run as the X server sees it. Clicks Start in a shown window through XTest, then times
// every update of the window with XDamage until the window has been still for a while:
//
//   quorvane_damage WINDOW-ID ZOOM [--list]
//
// prints one line of figures in milliseconds: the updates counted, the first to the last,
// the longest interval between two updates and which interval it was (1 is the first
// after Start's release), Start's release to the first update, the last step to the first
// update of the run's end, the last but one update to the last, and that last update's own
// length. --list adds every update's start and length.
// An update is a burst of damage whose parts come less than 2 ms apart: Qt puts one repaint
// on the screen as several images in a row. Damage inside Start's own rectangle is left out:
// the button's face changes as it is released, apart from the run, and no stroke shows
// through it.

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double BurstGapMs = 2;
constexpr std::size_t Steps = 301;
constexpr int StillForMs = 1500;
constexpr int GiveUpAfterMs = 30000;
// Start's rectangle in window units: left, top, width, height.
constexpr double StartButton[4] = {624, 8, 73, 33};

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Update {
    Clock::time_point first;
    Clock::time_point last;
    long long pixels = 0;
};

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "quorvane_damage: %s\n", what);
    std::exit(1);
}

void roundTrip(xcb_connection_t *connection)
{
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

struct Area {
    int left, top, right, bottom;
    bool holds(const xcb_rectangle_t &r) const
    {
        return r.x >= left && r.y >= top && r.x + r.width <= right && r.y + r.height <= bottom;
    }
};

// Takes every event waiting; the damage ones outside the left-out area go into the list
// with the time they came.
void drain(xcb_connection_t *connection, int damageEvent, const Area &leftOut,
           std::vector<Update> *updates)
{
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
        const auto now = Clock::now();
        const auto *notify = reinterpret_cast<xcb_damage_notify_event_t *>(event);
        if ((event->response_type & 0x7f) == damageEvent && updates &&
            !leftOut.holds(notify->area)) {
            const long long pixels = (long long)notify->area.width * notify->area.height;
            if (!updates->empty() && msBetween(updates->back().last, now) < BurstGapMs) {
                updates->back().last = now;
                updates->back().pixels += pixels;
            } else {
                updates->push_back({now, now, pixels});
            }
        }
        std::free(event);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        fail("usage: quorvane_damage WINDOW-ID ZOOM [--list]");
    const auto window = xcb_window_t(std::strtoul(argv[1], nullptr, 0));
    const double zoom = std::strtod(argv[2], nullptr);
    const bool list = argc > 3 && std::strcmp(argv[3], "--list") == 0;

    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection))
        fail("cannot open the display");
    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(connection, &xcb_damage_id);
    const xcb_query_extension_reply_t *xtest = xcb_get_extension_data(connection, &xcb_test_id);
    if (!damage || !damage->present || !xtest || !xtest->present)
        fail("the X server has no DAMAGE or no XTEST");
    std::free(xcb_damage_query_version_reply(connection, xcb_damage_query_version(connection, 1, 1),
                                             nullptr));
    const int damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;

    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    auto *origin = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, screen->root, 0, 0), nullptr);
    if (!origin)
        fail("no such window");
    const int x = origin->dst_x + int((StartButton[0] + StartButton[2] / 2) * zoom);
    const int y = origin->dst_y + int((StartButton[1] + StartButton[3] / 2) * zoom);
    std::free(origin);
    // In the window's own coordinates, as damage is given, a pixel to spare around it.
    const Area button{int(StartButton[0] * zoom) - 1, int(StartButton[1] * zoom) - 1,
                      int((StartButton[0] + StartButton[2]) * zoom) + 2,
                      int((StartButton[1] + StartButton[3]) * zoom) + 2};

    const xcb_damage_damage_t watch = xcb_generate_id(connection);
    xcb_damage_create(connection, watch, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_test_fake_input(connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, screen->root,
                        int16_t(x), int16_t(y), 0);
    xcb_test_fake_input(connection, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    roundTrip(connection);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // What the press itself showed (Start's sunken face) is no part of the run.
    drain(connection, damageEvent, button, nullptr);

    xcb_test_fake_input(connection, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection);
    const auto released = Clock::now();
    roundTrip(connection);

    std::vector<Update> updates;
    pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
    for (;;) {
        drain(connection, damageEvent, button, &updates);
        const auto now = Clock::now();
        if (msBetween(released, now) > GiveUpAfterMs)
            break;
        if (!updates.empty() && msBetween(updates.back().last, now) > StillForMs)
            break;
        poll(&descriptor, 1, 50);
        if (xcb_connection_has_error(connection))
            fail("the connection broke");
    }
    if (updates.size() < 2)
        fail("the window hardly changed after Start");

    double longest = 0;
    std::size_t longestAt = 0;
    for (std::size_t i = 1; i < updates.size(); ++i) {
        const double gap = msBetween(updates[i - 1].first, updates[i].first);
        if (gap > longest) {
            longest = gap;
            longestAt = i;
        }
    }
    const std::size_t n = updates.size();
    // A run shows 301 steps, then its end, which a large zoom puts on the screen in a few
    // updates: the 302nd update is the end's first, where there are that many.
    const double stepToEnd =
        n > Steps ? msBetween(updates[Steps - 1].first, updates[Steps].first) : -1;
    std::printf("updates %zu run %.1f longest %.1f at %zu/%zu release-to-first %.1f "
                "step-to-end %.1f last-gap %.1f last-length %.1f\n",
                n, msBetween(updates.front().first, updates.back().first), longest, longestAt,
                n - 1, msBetween(released, updates.front().first), stepToEnd,
                msBetween(updates[n - 2].first, updates[n - 1].first),
                msBetween(updates.back().first, updates.back().last));
    if (list)
        for (const Update &update : updates)
            std::printf("%9.2f %7.2f %lld\n", msBetween(released, update.first),
                        msBetween(update.first, update.last), update.pixels);
    xcb_disconnect(connection);
    return 0;
}
