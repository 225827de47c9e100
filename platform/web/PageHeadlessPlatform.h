#pragma once
#include "platform/HeadlessPlatform.h"

// A headless run inside a page (the test mode, the benchmark): the virtual
// clock as everywhere, the passes run one after the other as fast as the
// browser lets them, not held to its display frames.
class PageHeadlessPlatform : public HeadlessPlatform {
public:
    using HeadlessPlatform::HeadlessPlatform;
    [[noreturn]] void runLoop(void (*pass)()) override;
};
