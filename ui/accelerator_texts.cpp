#include "ui/accelerator_texts.h"

#include <vector>

#include "ui/accelerator_key_text.h"

static_assert(AcceleratorVirtualKey == FVIRTKEY && AcceleratorShift == FSHIFT && AcceleratorControl == FCONTROL
                  && AcceleratorAlt == FALT,
              "the flags of an accelerator's text are those of its table entry");

std::wstring AcceleratorText(const ACCEL& accelerator)
{
    return AcceleratorKeyText(accelerator.fVirt, accelerator.key);
}

bool AddAcceleratorTexts(HACCEL table, std::map<UINT, std::wstring>& texts)
{
    const int count = ::CopyAcceleratorTableW(table, nullptr, 0);
    if (count < 0)
        return false;
    std::vector<ACCEL> entries(static_cast<size_t>(count));
    if (count > 0 && ::CopyAcceleratorTableW(table, entries.data(), count) != count)
        return false;
    for (const ACCEL& entry : entries) {
        const std::wstring text = AcceleratorText(entry);
        if (!text.empty())
            texts[entry.cmd] = text;
    }
    return true;
}
