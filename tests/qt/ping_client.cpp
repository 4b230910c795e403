#include "qt/ping_client.h"

#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>

namespace {

using steady = std::chrono::steady_clock;

template <typename T>
using reply_ptr = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
reply_ptr<T> owned(T* reply) {
    return reply_ptr<T>(reply, &std::free);
}

}  // namespace

Cping_client::Cping_client() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return;
    }
    connection_ = connection;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    protocols_ = atom("WM_PROTOCOLS");
    ping_ = atom("_NET_WM_PING");
    delete_window_ = atom("WM_DELETE_WINDOW");
    pid_ = atom("_NET_WM_PID");
    const std::uint32_t mask =
        XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
    if (xcb_request_check(connection_, xcb_change_window_attributes_checked(
                                           connection_, root_, XCB_CW_EVENT_MASK, &mask)) !=
        nullptr) {
        // Another window manager runs; its desktop would get the answers.
        xcb_disconnect(connection_);
        connection_ = nullptr;
    }
}

Cping_client::~Cping_client() {
    if (connection_ != nullptr) {
        xcb_disconnect(connection_);
    }
}

xcb_atom_t Cping_client::atom(const char* name) {
    auto reply = owned(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::uint32_t Cping_client::cardinal(xcb_window_t window, xcb_atom_t property) {
    auto reply = owned(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, property, XCB_ATOM_CARDINAL, 0, 1),
        nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) < 4) {
        return 0;
    }
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

bool Cping_client::takes_ping(xcb_window_t window) {
    auto reply = owned(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, protocols_, XCB_ATOM_ATOM, 0, 32),
        nullptr));
    if (!reply) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, ping_) != atoms + count;
}

void Cping_client::serve_events(const std::function<void(std::uint32_t stamp)>& answered) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        switch (event->response_type & 0x7F) {
            case XCB_MAP_REQUEST:
                xcb_map_window(connection_,
                               reinterpret_cast<xcb_map_request_event_t*>(event)->window);
                break;
            case XCB_CONFIGURE_REQUEST: {
                const auto* request = reinterpret_cast<xcb_configure_request_event_t*>(event);
                const std::uint32_t values[] = {static_cast<std::uint32_t>(request->x),
                                                static_cast<std::uint32_t>(request->y),
                                                request->width,
                                                request->height,
                                                request->border_width,
                                                request->sibling,
                                                request->stack_mode};
                // The values follow the order of the mask bits; take those the window asked for.
                std::uint32_t asked[7];
                int count = 0;
                for (int bit = 0; bit < 7; ++bit) {
                    if (request->value_mask & (1u << bit)) {
                        asked[count++] = values[bit];
                    }
                }
                xcb_configure_window(connection_, request->window, request->value_mask, asked);
                break;
            }
            case XCB_CLIENT_MESSAGE: {
                const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
                if (message->window == root_ && message->data.data32[0] == ping_ && answered) {
                    answered(message->data.data32[1]);
                }
                break;
            }
            default:
                break;
        }
        std::free(event);
    }
    xcb_flush(connection_);
}

std::vector<xcb_window_t> Cping_client::windows_of(pid_t pid) {
    serve_events({});
    std::vector<xcb_window_t> found;
    auto tree =
        owned(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
    if (!tree) {
        return found;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const xcb_window_t window = children[i];
        auto attributes = owned(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, window), nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
            cardinal(window, pid_) == static_cast<std::uint32_t>(pid) && takes_ping(window)) {
            found.push_back(window);
        }
    }
    return found;
}

void Cping_client::send_protocol_message(xcb_window_t window, xcb_atom_t protocol,
                                         std::uint32_t stamp) {
    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = protocols_;
    message.data.data32[0] = protocol;
    message.data.data32[1] = stamp;
    message.data.data32[2] = window;
    xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
}

void Cping_client::close(xcb_window_t window) {
    send_protocol_message(window, delete_window_, XCB_CURRENT_TIME);
}

std::chrono::milliseconds Cping_client::longest_answer(pid_t pid,
                                                       std::chrono::milliseconds duration,
                                                       std::chrono::milliseconds interval) {
    // Each ping carries its own number where the time stamp goes; the answer echoes it.
    struct sent_ping {
        xcb_window_t window;
        steady::time_point at;
    };
    std::map<std::uint32_t, sent_ping> waiting;
    std::uint32_t next_stamp = 1;
    steady::duration longest{};
    const steady::time_point end = steady::now() + duration;
    steady::time_point next_ping = steady::now();
    // A window that has gone answers no more: its pings count no longer.
    const auto forget_gone_windows = [&](const std::vector<xcb_window_t>& windows) {
        for (auto ping = waiting.begin(); ping != waiting.end();) {
            const bool gone =
                std::find(windows.begin(), windows.end(), ping->second.window) == windows.end();
            ping = gone ? waiting.erase(ping) : std::next(ping);
        }
    };
    while (steady::now() < end) {
        if (steady::now() >= next_ping) {
            const std::vector<xcb_window_t> windows = windows_of(pid);
            forget_gone_windows(windows);
            for (const xcb_window_t window : windows) {
                waiting[next_stamp] = {window, steady::now()};
                send_protocol_message(window, ping_, next_stamp++);
            }
            next_ping += interval;
        }
        pollfd descriptor{xcb_get_file_descriptor(connection_), POLLIN, 0};
        ::poll(&descriptor, 1, 5);
        serve_events([&](std::uint32_t stamp) {
            const auto sent = waiting.find(stamp);
            if (sent != waiting.end()) {
                longest = std::max(longest, steady::now() - sent->second.at);
                waiting.erase(sent);
            }
        });
    }
    forget_gone_windows(windows_of(pid));
    for (const auto& unanswered : waiting) {
        longest = std::max(longest, steady::now() - unanswered.second.at);
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(longest);
}
