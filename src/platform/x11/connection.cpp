// SPDX-License-Identifier: MIT
#include "platform/x11/connection.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <cstdlib>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xfixes.h>

namespace x11 {
namespace {

// Properties a transfer at a time may use; a late answer to one given up
// comes back only after this many other transfers.
constexpr unsigned propertyCount = 256;

xcb_atom_t internAtom(xcb_connection_t *xcb, const QByteArray &name) {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(xcb, xcb_intern_atom(xcb, 0, uint16_t(name.size()), name.data()),
                              nullptr),
        &std::free);
    return reply ? reply->atom : XCB_NONE;
}

/// The process at the other end of a local socket; 0 when it cannot be told.
pid_t peerOf(int fd) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return 0;
    return credentials.pid;
}

pid_t parentOf(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // "pid (name) state ppid ...": the name may hold spaces and parentheses.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 1 ? pid_t(fields[1].toInt()) : 0;
}

pid_t waylandCompositor() {
    QString path = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (path.isEmpty())
        return 0;
    if (!QDir::isAbsolutePath(path))
        path = QDir(qEnvironmentVariable("XDG_RUNTIME_DIR")).filePath(path);
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || size_t(name.size()) >= sizeof address.sun_path)
        return 0;
    std::copy(name.begin(), name.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    pid_t pid = 0;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        pid = peerOf(fd);
    ::close(fd);
    return pid;
}

} // namespace

std::unique_ptr<Connection> Connection::open(const QByteArray &display, Result *whyNot) {
    const QString subject =
        QString::fromLocal8Bit(display.isEmpty() ? qgetenv("DISPLAY") : display);
    const auto fail = [&](const QString &why) {
        if (whyNot)
            *whyNot = {Reason::NoClipboard, subject, why};
        return nullptr;
    };
    xcb_connection_t *xcb = xcb_connect(display.isEmpty() ? nullptr : display.constData(), nullptr);
    if (xcb_connection_has_error(xcb)) {
        xcb_disconnect(xcb);
        return fail(QStringLiteral("no X server answers there"));
    }
    const auto intern = [xcb](const char *name) {
        return internAtom(xcb, name);
    };
    std::unique_ptr<Connection> connection(
        new Connection(xcb, intern("CLIPBOARD"), intern("TARGETS"), intern("INCR")));
    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(xcb, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return fail(QStringLiteral("the X server lacks XFixes"));
    connection->m_xfixesEvent = xfixes->first_event;
    std::free(xcb_xfixes_query_version_reply(xcb, xcb_xfixes_query_version(xcb, 1, 0), nullptr));

    connection->m_window = connection->takeWindow();
    xcb_flush(xcb);
    return connection;
}

xcb_window_t Connection::takeWindow() {
    if (!m_spareWindows.empty()) {
        const xcb_window_t window = m_spareWindows.back();
        m_spareWindows.pop_back();
        return window;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_xcb)).data;
    const xcb_window_t window = xcb_generate_id(m_xcb);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(m_xcb, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    return window;
}

void Connection::giveBack(xcb_window_t window, bool reuse) {
    if (reuse && m_spareWindows.size() < 16)
        m_spareWindows.push_back(window);
    else
        xcb_destroy_window(m_xcb, window); // with what was left on it
}

Connection::Connection(xcb_connection_t *xcb, xcb_atom_t clipboardAtom, xcb_atom_t targetsAtom,
                       xcb_atom_t incrAtom)
    : clipboard(clipboardAtom)
    , targets(targetsAtom)
    , incr(incrAtom)
    , m_xcb(xcb) {}

Connection::~Connection() {
    xcb_disconnect(m_xcb);
}

void Connection::listenToClipboard() {
    xcb_xfixes_select_selection_input(m_xcb, m_window, clipboard,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(m_xcb);
}

xcb_atom_t Connection::atom(const QByteArray &name) {
    if (m_atoms.size() >= 1024)
        m_atoms.clear(); // names asked for by owners, past the few this program uses
    auto found = m_atoms.find(name);
    if (found == m_atoms.end())
        found = m_atoms.insert(name, internAtom(m_xcb, name));
    return *found;
}

QStringList Connection::names(const std::vector<xcb_atom_t> &atoms) {
    // Names of atoms that exist, as many as a few long lists have: owners
    // may list atoms by the million, made up or made for the purpose.
    constexpr size_t cached = 8192;
    if (size_t(m_names.size()) + atoms.size() > cached)
        m_names.clear();
    std::vector<std::pair<xcb_atom_t, xcb_get_atom_name_cookie_t>> asked;
    for (xcb_atom_t atom : atoms) {
        if (!m_names.contains(atom))
            asked.emplace_back(atom, xcb_get_atom_name(m_xcb, atom));
    }
    for (const auto &[atom, cookie] : asked) {
        xcb_get_atom_name_reply_t *reply = xcb_get_atom_name_reply(m_xcb, cookie, nullptr);
        if (!reply)
            continue; // no such atom
        m_names.insert(atom, QString::fromUtf8(xcb_get_atom_name_name(reply),
                                               xcb_get_atom_name_name_length(reply)));
        std::free(reply);
    }
    QStringList found;
    QSet<QString> seen;
    for (xcb_atom_t atom : atoms) {
        if (const QString name = m_names.value(atom); !name.isEmpty() && !seen.contains(name)) {
            seen.insert(name);
            found << name;
        }
    }
    return found;
}

xcb_atom_t Connection::nextProperty() {
    const unsigned n = m_nextProperty++ % propertyCount;
    return atom(QByteArrayLiteral("ORLO_TRANSFER_") + QByteArray::number(n));
}

Belongs serverBelongsToWaylandSession(xcb_connection_t *xcb) {
    const pid_t server = peerOf(xcb_get_file_descriptor(xcb));
    const pid_t compositor = waylandCompositor();
    if (server <= 0 || compositor <= 0)
        return Belongs::CannotTell; // a server over the network, or in another namespace
    // The peer is whoever listens on the X socket: the compositor itself
    // where it opens XWayland's sockets (mutter, GNOME Shell, KWin, wlroots),
    // else XWayland, its child, or a child of a helper it started.
    pid_t ancestor = server;
    for (int generation = 0; generation <= 4 && ancestor > 1; ++generation) {
        if (ancestor == compositor)
            return Belongs::ToThisSession;
        ancestor = parentOf(ancestor);
    }
    return ancestor == 0 ? Belongs::CannotTell : Belongs::Elsewhere;
}

} // namespace x11
