#include "lockkeys.h"

#ifdef ZN7_HAVE_X11
#include <QGuiApplication>

// Xlib's macros clash with Qt names; it is included last and only here.
#include <X11/XKBlib.h>
#endif

namespace LockKeys {

States current()
{
    States states;
#ifdef ZN7_HAVE_X11
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return states;
    unsigned int indicators = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &indicators) != Success)
        return states;
    states.caps = indicators & 0x1;
    states.num = indicators & 0x2;
    states.scroll = indicators & 0x4;
#endif
    return states;
}

} // namespace LockKeys
