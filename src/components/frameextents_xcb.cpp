#include "components/frameextents.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <thread>
#include <xcb/xcb.h>

namespace arcavio {
namespace {

// How long a window manager that announced the request gets to answer it.
constexpr std::chrono::milliseconds kAnswerTime{250};

template <class Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply> ReplyPtr<Reply> owned(Reply* reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const auto reply = owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

ReplyPtr<xcb_get_property_reply_t> property(xcb_connection_t* connection, xcb_window_t window,
                                            xcb_atom_t name, xcb_atom_t type, std::uint32_t length)
{
    return owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, length), nullptr));
}

// The 32-bit values of a property, or none.
std::span<const std::uint32_t> values(const xcb_get_property_reply_t* reply)
{
    if (reply == nullptr || reply->format != 32)
        return {};
    return {static_cast<const std::uint32_t*>(xcb_get_property_value(reply)),
            static_cast<std::size_t>(xcb_get_property_value_length(reply)) / 4};
}

// The window manager's own window, when an EWMH window manager runs: it names itself on the root
// and on that window, so a check left behind by a manager that has quit does not count.
bool windowManagerRuns(xcb_connection_t* connection, xcb_window_t root)
{
    const xcb_atom_t check = atom(connection, "_NET_SUPPORTING_WM_CHECK");
    const auto onRoot = property(connection, root, check, XCB_ATOM_WINDOW, 1);
    const auto rootValues = values(onRoot.get());
    if (rootValues.empty())
        return false;
    const auto onManager = property(connection, rootValues.front(), check, XCB_ATOM_WINDOW, 1);
    const auto managerValues = values(onManager.get());
    return !managerValues.empty() && managerValues.front() == rootValues.front();
}

bool supports(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t feature)
{
    const auto supported =
        property(connection, root, atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 4096);
    for (const std::uint32_t value : values(supported.get()))
        if (value == feature)
            return true;
    return false;
}

xcb_connection_t* x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

std::optional<xcb_window_t> rootOf(xcb_connection_t* connection, xcb_window_t id)
{
    const auto tree = owned(xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr));
    return tree ? std::optional<xcb_window_t>(tree->root) : std::nullopt;
}

} // namespace

// An EWMH window manager tells the frame of a window it does not manage yet when asked with
// _NET_REQUEST_FRAME_EXTENTS: it sets _NET_FRAME_EXTENTS on the window, computed from the
// window's current type, hints and size limits.
std::optional<QMargins> frameMarginsBeforeMapping(QWidget* window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        const QWindow* handle = window->windowHandle();
        return handle != nullptr ? std::optional<QMargins>(handle->frameMargins()) : std::nullopt;
    }
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr)
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const std::optional<xcb_window_t> found = rootOf(connection, id);
    if (!found)
        return std::nullopt;
    const xcb_window_t root = *found;
    if (!windowManagerRuns(connection, root))
        return QMargins(); // nothing frames the window
    const xcb_atom_t request = atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    if (!supports(connection, root, request))
        return std::nullopt;

    const xcb_atom_t extents = atom(connection, "_NET_FRAME_EXTENTS");
    xcb_delete_property(connection, id, extents);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);

    const auto deadline = std::chrono::steady_clock::now() + kAnswerTime;
    do {
        const auto answer = property(connection, id, extents, XCB_ATOM_CARDINAL, 4);
        const auto sides = values(answer.get());
        if (sides.size() == 4) {
            // Left, right, top, bottom, in device pixels.
            const qreal ratio = window->devicePixelRatioF();
            const auto logical = [ratio](std::uint32_t v) { return qRound(v / ratio); };
            return QMargins(logical(sides[0]), logical(sides[2]), logical(sides[1]), logical(sides[3]));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

std::optional<QPoint> clientPositionOnScreen(QWidget* window)
{
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr)
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const std::optional<xcb_window_t> root = rootOf(connection, id);
    if (!root)
        return std::nullopt;
    const auto place = owned(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, id, *root, 0, 0), nullptr));
    if (!place)
        return std::nullopt;
    const qreal ratio = window->devicePixelRatioF();
    return QPoint(qRound(place->dst_x / ratio), qRound(place->dst_y / ratio));
}

} // namespace arcavio
