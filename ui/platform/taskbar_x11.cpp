// SPDX-License-Identifier: MIT
#include "taskbar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace vorrel {
namespace {

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

// Adds _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER to the window's _NET_WM_STATE
// before each map, where the window manager is KWin. Others take the skip states further than the
// task bar: openbox leaves such a window out of Alt+Tab and never gives it the focus when another
// window goes away, GNOME's mutter leaves it out of Alt+Tab, and the designer would be out of the
// keyboard's reach there. KWin keeps a window out of its switcher only for a state of its own,
// which this does not set. The window manager reads the property when it takes the window on and
// drops it when the window is withdrawn, so the choice is made again on every show (another window
// manager may have replaced the first); Qt, when it maps the window, merges its own states into the
// property and keeps these.
class SkipTaskbarOnShow : public QObject {
public:
    SkipTaskbarOnShow(QWidget *window, xcb_connection_t *connection)
        : QObject(window), connection_(connection)
    {
        const auto request = [this](const char *name) {
            return xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)),
                                   name);
        };
        const auto atom = [this](xcb_intern_atom_cookie_t cookie) {
            const ReplyPtr<xcb_intern_atom_reply_t> reply(
                xcb_intern_atom_reply(connection_, cookie, nullptr));
            return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        };
        // All requests go out before the first answer is awaited.
        const auto state = request("_NET_WM_STATE");
        const auto skipTaskbar = request("_NET_WM_STATE_SKIP_TASKBAR");
        const auto skipPager = request("_NET_WM_STATE_SKIP_PAGER");
        const auto check = request("_NET_SUPPORTING_WM_CHECK");
        const auto name = request("_NET_WM_NAME");
        const auto utf8 = request("UTF8_STRING");
        state_ = atom(state);
        skipTaskbar_ = atom(skipTaskbar);
        skipPager_ = atom(skipPager);
        check_ = atom(check);
        name_ = atom(name);
        utf8_ = atom(utf8);
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Qt sends the show event before it maps the window; a spontaneous one comes from the
        // window manager for a window it already manages.
        if (event->type() == QEvent::Show && !event->spontaneous() && windowManagerIsKWin())
            addSkipStates(static_cast<xcb_window_t>(static_cast<QWidget *>(watched)->winId()));
        return false;
    }

private:
    // The window manager names itself on the window that the root window's
    // _NET_SUPPORTING_WM_CHECK points to; that window points to itself as well, which tells a
    // running window manager from a stale property left by one that has gone.
    bool windowManagerIsKWin() const
    {
        if (check_ == XCB_ATOM_NONE || name_ == XCB_ATOM_NONE || utf8_ == XCB_ATOM_NONE)
            return false;
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        if (!screen)
            return false;
        const auto supportingWindow = [this](xcb_window_t window) {
            const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
                connection_,
                xcb_get_property(connection_, 0, window, check_, XCB_ATOM_WINDOW, 0, 1), nullptr));
            if (!reply || reply->type != XCB_ATOM_WINDOW || reply->format != 32 ||
                xcb_get_property_value_length(reply.get()) != sizeof(xcb_window_t))
                return xcb_window_t{XCB_WINDOW_NONE};
            return *static_cast<const xcb_window_t *>(xcb_get_property_value(reply.get()));
        };
        const xcb_window_t manager = supportingWindow(screen->root);
        if (manager == XCB_WINDOW_NONE)
            return false;
        const auto nameCookie = xcb_get_property(connection_, 0, manager, name_, utf8_, 0, 64);
        const bool current = supportingWindow(manager) == manager;
        const ReplyPtr<xcb_get_property_reply_t> name(
            xcb_get_property_reply(connection_, nameCookie, nullptr));
        if (!current || !name || name->type != utf8_ || name->format != 8)
            return false;
        const std::string_view managerName(
            static_cast<const char *>(xcb_get_property_value(name.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(name.get())));
        return managerName == "KWin";
    }

    void addSkipStates(xcb_window_t window)
    {
        if (state_ == XCB_ATOM_NONE || skipTaskbar_ == XCB_ATOM_NONE || skipPager_ == XCB_ATOM_NONE)
            return;
        std::vector<xcb_atom_t> states;
        const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, state_, XCB_ATOM_ATOM, 0, 1024),
            nullptr));
        if (reply && reply->type == XCB_ATOM_ATOM && reply->format == 32) {
            const auto *first =
                static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
            states.assign(first, first + xcb_get_property_value_length(reply.get()) /
                                             static_cast<int>(sizeof(xcb_atom_t)));
        }
        const std::size_t before = states.size();
        for (const xcb_atom_t skip : {skipTaskbar_, skipPager_}) {
            if (std::find(states.begin(), states.end(), skip) == states.end())
                states.push_back(skip);
        }
        if (states.size() == before)
            return;
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, state_, XCB_ATOM_ATOM, 32,
                            static_cast<std::uint32_t>(states.size()), states.data());
        xcb_flush(connection_);
    }

    xcb_connection_t *connection_;
    xcb_atom_t state_ = XCB_ATOM_NONE;
    xcb_atom_t skipTaskbar_ = XCB_ATOM_NONE;
    xcb_atom_t skipPager_ = XCB_ATOM_NONE;
    xcb_atom_t check_ = XCB_ATOM_NONE;
    xcb_atom_t name_ = XCB_ATOM_NONE;
    xcb_atom_t utf8_ = XCB_ATOM_NONE;
};

} // namespace

void keepOutOfTaskbarIfReachable(QWidget *window)
{
    // Null on every platform but X11 (Wayland, offscreen): nothing to set there.
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    new SkipTaskbarOnShow(window, x11->connection());
}

} // namespace vorrel
