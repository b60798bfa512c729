#pragma once

namespace qex {

struct LockKeyState {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// The keyboard's lock keys, where the display can tell (X11); all off elsewhere.
LockKeyState QueryLockKeys();

} // namespace qex
