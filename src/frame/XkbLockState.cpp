#include "frame/XkbLockState.h"

#ifdef VORLISK_HAVE_X11

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

// Bit of the named indicator in the indicator state, or 0 when the keyboard
// has no indicator of that name.
unsigned IndicatorMask(Display* display, const char* name)
{
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None)
        return 0;
    int index = -1;
    if (!XkbGetNamedIndicator(display, atom, &index, nullptr, nullptr, nullptr))
        return 0;
    if (index < 0 || index >= XkbNumIndicators)
        return 0;
    return 1u << index;
}

struct IndicatorMasks {
    Display* display = nullptr;
    bool haveExtension = false;
    unsigned caps = 0;
    unsigned num = 0;
    unsigned scroll = 0;
};

} // namespace

std::optional<LockState> ReadXkbLockState(void* displayHandle)
{
    auto* display = static_cast<Display*>(displayHandle);
    if (!display)
        return std::nullopt;

    // The indicator positions are looked up once per display; they belong to
    // the keyboard description and do not move while the program runs.
    static IndicatorMasks masks;
    if (masks.display != display) {
        masks = IndicatorMasks{};
        masks.display = display;
        int opcode = 0, event = 0, error = 0;
        int major = XkbMajorVersion, minor = XkbMinorVersion;
        masks.haveExtension = XkbQueryExtension(display, &opcode, &event, &error, &major, &minor);
        if (masks.haveExtension) {
            masks.caps = IndicatorMask(display, "Caps Lock");
            masks.num = IndicatorMask(display, "Num Lock");
            masks.scroll = IndicatorMask(display, "Scroll Lock");
        }
    }
    if (!masks.haveExtension)
        return std::nullopt;

    unsigned state = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    LockState result;
    result.capsLock = (state & masks.caps) != 0;
    result.numLock = (state & masks.num) != 0;
    result.scrollLock = (state & masks.scroll) != 0;
    return result;
}

#else

std::optional<LockState> ReadXkbLockState(void*)
{
    return std::nullopt;
}

#endif
