#pragma once
#include "platform/HeadlessPlatform.h"

// A headless run inside a page (the test mode, the benchmark): the virtual
// clock as everywhere, but a loop that gives control back to the browser
// between passes, which run one after the other as fast as the browser lets
// them, not held to its display frames.
class YieldingHeadlessPlatform : public HeadlessPlatform {
public:
    using HeadlessPlatform::HeadlessPlatform;
    [[noreturn]] void runLoop(void (*pass)()) override;
};
