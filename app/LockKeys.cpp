#include "app/LockKeys.h"

#include <QGuiApplication>

#if defined(QEX_HAVE_X11)
#include <X11/XKBlib.h>
#endif

namespace qex {

LockKeyState QueryLockKeys()
{
    LockKeyState state;
#if defined(QEX_HAVE_X11)
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        unsigned int indicators = 0;
        if (Display* display = x11->display(); display != nullptr &&
                                               XkbGetIndicatorState(display, XkbUseCoreKbd, &indicators) == Success) {
            state.caps = (indicators & 0x1) != 0;
            state.num = (indicators & 0x2) != 0;
            state.scroll = (indicators & 0x4) != 0;
        }
    }
#endif
    return state;
}

} // namespace qex
