#include "window_frames.h"

#include <QTest>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace arcavio::test {
namespace {

template <class Reply> std::unique_ptr<Reply, decltype(&std::free)> owned(Reply* reply)
{
    return {reply, &std::free};
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const auto reply = owned(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::vector<uint32_t> cardinals(xcb_connection_t* c, xcb_window_t window, const char* name, xcb_atom_t type)
{
    const auto reply = owned(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, atom(c, name), type, 0, 1024), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {data, data + xcb_get_property_value_length(reply.get()) / 4};
}

std::string atomName(xcb_connection_t* c, xcb_atom_t value)
{
    const auto reply = owned(xcb_get_atom_name_reply(c, xcb_get_atom_name(c, value), nullptr));
    if (!reply)
        return {};
    return std::string(xcb_get_atom_name_name(reply.get()),
                       static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get())));
}

} // namespace

WindowFrames::WindowFrames() : connection_(xcb_connect(nullptr, nullptr))
{
    if (xcb_connection_has_error(connection_) == 0)
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

WindowFrames::~WindowFrames()
{
    xcb_disconnect(connection_);
}

std::optional<ManagedFrame> WindowFrames::now(const QWidget* window) const
{
    xcb_connection_t* c = connection_;
    const auto client = static_cast<xcb_window_t>(window->winId());
    const auto attributes =
        owned(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, client), nullptr));
    if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
        return std::nullopt;
    // The frame is the client's ancestor just below the root.
    xcb_window_t top = client;
    for (;;) {
        const auto tree = owned(xcb_query_tree_reply(c, xcb_query_tree(c, top), nullptr));
        if (!tree)
            return std::nullopt;
        if (tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE)
            break;
        top = tree->parent;
    }
    if (top == client)
        return std::nullopt;
    const auto frame = owned(xcb_get_geometry_reply(c, xcb_get_geometry(c, top), nullptr));
    const auto inner = owned(xcb_get_geometry_reply(c, xcb_get_geometry(c, client), nullptr));
    const auto onScreen =
        owned(xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, client, root_, 0, 0), nullptr));
    if (!frame || !inner || !onScreen)
        return std::nullopt;
    ManagedFrame result;
    result.outer = QRect(frame->x, frame->y, frame->width + 2 * frame->border_width,
                         frame->height + 2 * frame->border_width);
    result.inner = QRect(onScreen->dst_x, onScreen->dst_y, inner->width, inner->height);
    const std::vector<uint32_t> extents = cardinals(c, client, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL);
    if (extents.size() == 4)
        result.extents = QMargins(static_cast<int>(extents[0]), static_cast<int>(extents[2]),
                                  static_cast<int>(extents[1]), static_cast<int>(extents[3]));
    return result;
}

ManagedFrame WindowFrames::settled(const QWidget* window, std::vector<QRect>* seen) const
{
    std::optional<ManagedFrame> last;
    int still = 0;
    for (int round = 0; round < 400; ++round) {
        const std::optional<ManagedFrame> current = now(window);
        if (current) {
            if (seen != nullptr && (seen->empty() || seen->back() != current->outer))
                seen->push_back(current->outer);
            still = last && last->outer == current->outer && last->inner == current->inner ? still + 1 : 0;
            last = current;
            if (still >= 15)
                return *last;
        }
        QTest::qWait(10);
    }
    ADD_FAILURE() << "the window was never framed and still";
    return last.value_or(ManagedFrame{});
}

bool WindowFrames::gone(const QWidget* window) const
{
    for (int round = 0; round < 300; ++round) {
        const auto attributes = owned(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, static_cast<xcb_window_t>(window->winId())),
            nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            return true;
        QTest::qWait(10);
    }
    return false;
}

std::vector<std::string> WindowFrames::allowedActions(const QWidget* window) const
{
    std::vector<std::string> names;
    for (const uint32_t value : cardinals(connection_, static_cast<xcb_window_t>(window->winId()),
                                          "_NET_WM_ALLOWED_ACTIONS", XCB_ATOM_ATOM))
        names.push_back(atomName(connection_, value));
    return names;
}

std::vector<QRect> WindowFrames::mappedPopups() const
{
    std::vector<QRect> mapped;
    const auto tree = owned(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
    if (!tree)
        return mapped;
    const auto rootGeometry =
        owned(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, root_), nullptr));
    const QRect screen = rootGeometry ? QRect(0, 0, rootGeometry->width, rootGeometry->height) : QRect();
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const auto attributes = owned(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, children[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE ||
            attributes->override_redirect == 0)
            continue;
        const auto geometry =
            owned(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, children[i]), nullptr));
        // The toolkit parks helper windows of its own off the screen.
        const QRect rect =
            geometry ? QRect(geometry->x, geometry->y, geometry->width, geometry->height) : QRect();
        if (rect.intersects(screen))
            mapped.push_back(rect);
    }
    return mapped;
}

} // namespace arcavio::test
