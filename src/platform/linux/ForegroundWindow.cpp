#include "platform/linux/ForegroundWindow.h"

#include <QString>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <memory>
#include <mutex>

namespace quorvel::platform {

namespace {

// A window may vanish between two requests; such an error must not end the program, as Xlib's default handler
// would.
std::mutex g_errorMutex;
int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

class ErrorGuard
{
public:
    explicit ErrorGuard(Display* display) : m_display(display), m_lock(g_errorMutex)
    {
        XSync(m_display, False);
        m_previous = XSetErrorHandler(&ignoreXErrors);
    }
    ~ErrorGuard()
    {
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
    }

private:
    Display* m_display;
    std::lock_guard<std::mutex> m_lock;
    int (*m_previous)(Display*, XErrorEvent*) = nullptr;
};

struct XFreeDeleter
{
    void operator()(unsigned char* data) const
    {
        if (data)
            XFree(data);
    }
};
using XData = std::unique_ptr<unsigned char, XFreeDeleter>;

XData property(Display* display, Window window, Atom name, Atom type, unsigned long& items)
{
    Atom actualType = None;
    int format = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    items = 0;
    if (XGetWindowProperty(display, window, name, 0, 1024, False, type, &actualType, &format, &items, &after, &data) !=
        Success)
        return nullptr;
    return XData(data);
}

QString windowName(Display* display, Window window)
{
    unsigned long items = 0;
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    if (XData name = property(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, items);
        name && items > 0)
        return QString::fromUtf8(reinterpret_cast<const char*>(name.get()), qsizetype(items));
    if (XData name = property(display, window, XA_WM_NAME, AnyPropertyType, items); name && items > 0)
        return QString::fromLocal8Bit(reinterpret_cast<const char*>(name.get()), qsizetype(items));
    return {};
}

Window activeWindow(Display* display, Window root)
{
    unsigned long items = 0;
    XData data = property(display, root, XInternAtom(display, "_NET_ACTIVE_WINDOW", False), XA_WINDOW, items);
    return data && items > 0 ? *reinterpret_cast<Window*>(data.get()) : None;
}

// A connection of our own, opened at the first question and kept: the toolkit's own connection is not reachable the
// same way in every Qt version, and the question is asked rarely.
Display* ownDisplay()
{
    static Display* const display = qEnvironmentVariableIsEmpty("DISPLAY") ? nullptr : XOpenDisplay(nullptr);
    return display;
}

} // namespace

QString foregroundWindowTitle()
{
    Display* display = ownDisplay();
    if (!display)
        return {};
    ErrorGuard guard(display);

    const Window root = DefaultRootWindow(display);
    Window window = None;
    int revert = 0;
    XGetInputFocus(display, &window, &revert);
    if (window == None || window == PointerRoot || window == root)
        window = activeWindow(display, root);

    // The focus often sits on a child of the top-level window; the title belongs to the nearest named ancestor.
    for (int depth = 0; window != None && window != root && depth < 64; ++depth) {
        const QString name = windowName(display, window);
        if (!name.isEmpty())
            return name;
        Window parent = None;
        Window treeRoot = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &treeRoot, &parent, &children, &count))
            break;
        if (children)
            XFree(children);
        window = parent;
    }
    return {};
}

} // namespace quorvel::platform
