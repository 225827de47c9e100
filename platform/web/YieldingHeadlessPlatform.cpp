#include "platform/web/YieldingHeadlessPlatform.h"

#include <emscripten.h>

// Hands control back to the browser with the loop in place, as a main loop
// started "instead of returning" does, and without holding the runtime
// alive: the run's own exit ends it.
EM_JS(void, qh_return_to_the_browser, (), { throw "unwind"; });

void YieldingHeadlessPlatform::runLoop(void (*pass)())
{
    emscripten_set_main_loop(pass, 0, 0);
    emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 0);
    qh_return_to_the_browser();
    __builtin_unreachable();
}
