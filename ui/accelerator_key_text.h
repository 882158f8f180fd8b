// The text a menu shows for an accelerator's keys: fixed modifier order, then the key's name.
// Free of Win32, so that it builds and runs natively too; flags and key codes are those of an
// accelerator table's entries (ACCEL's fVirt and key).
#pragma once

#include <cstdint>
#include <string>

// The flags of an entry that the text shows.
enum AcceleratorFlag : uint8_t {
    AcceleratorVirtualKey = 0x01, // the key is a virtual-key code, not a character code
    AcceleratorShift = 0x04,
    AcceleratorControl = 0x08,
    AcceleratorAlt = 0x10,
};

// "Ctrl+Shift+F5" and the like; empty for a key without a name, which menus leave out.
std::wstring AcceleratorKeyText(uint8_t flags, uint16_t key);
