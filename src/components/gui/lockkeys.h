#pragma once

// The keyboard's lock states as the windowing system reports them. Where it
// reports none (no X11 display), every lock reads as off.
namespace LockKeys {

struct States
{
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

States current();

} // namespace LockKeys
