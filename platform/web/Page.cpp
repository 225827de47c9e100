#include "platform/web/Page.h"

#include <emscripten.h>

// The page's callbacks reached from C++.  Pictures are copied out of the
// module's memory before they are handed over, since that memory may move
// when it grows and the page may keep what it gets.

EM_JS(void, qh_page_show_message, (const char* text, const char* caption), {
    var page = Module["qhPage"];
    if (page && page.showMessage) page.showMessage(UTF8ToString(text), UTF8ToString(caption));
});

EM_JS(int, qh_page_backdrop, (int x, int y, int width, int height, unsigned char* out), {
    var page = Module["qhPage"];
    if (!page || !page.backdrop) return 0;
    var pixels = page.backdrop(x, y, width, height);
    if (!pixels || pixels.length != width * height * 4) return 0;
    HEAPU8.set(pixels, out);
    return 1;
});

EM_JS(void, qh_page_show_splash, (int x, int y, int width, int height, const unsigned char* rgba), {
    var page = Module["qhPage"];
    if (page && page.showSplash)
        page.showSplash(x, y, width, height, new Uint8ClampedArray(HEAPU8.slice(rgba, rgba + width * height * 4)));
});

EM_JS(void, qh_page_hide_splash, (), {
    var page = Module["qhPage"];
    if (page && page.hideSplash) page.hideSplash();
});

EM_JS(void, qh_page_sound_failed, (const char* reason), {
    var page = Module["qhPage"];
    if (page && page.soundFailed) page.soundFailed(UTF8ToString(reason));
});

EM_JS(void, qh_page_part_started, (int part, double musicSeconds), {
    var page = Module["qhPage"];
    if (page && page.partStarted) page.partStarted(part, musicSeconds);
});

EM_JS(void, qh_page_frame, (double index, int width, int height, const unsigned char* rgba), {
    var page = Module["qhPage"];
    if (page && page.frame) page.frame(index, width, height, HEAPU8.slice(rgba, rgba + width * height * 4));
});

EM_JS(void, qh_viewport_size, (int* size), {
    HEAP32[size >> 2] = window.innerWidth;
    HEAP32[(size >> 2) + 1] = window.innerHeight;
});

EM_JS(void, qh_canvas_device_size, (int* size), {
    var canvas = Module["canvas"];
    var box = canvas ? canvas.getBoundingClientRect() : { width: 0, height: 0 };
    var ratio = window.devicePixelRatio || 1;
    HEAP32[size >> 2] = Math.round(box.width * ratio);
    HEAP32[(size >> 2) + 1] = Math.round(box.height * ratio);
});

EM_JS(void, qh_set_canvas_size, (int width, int height), {
    var canvas = Module["canvas"];
    if (canvas && (canvas.width != width || canvas.height != height)) {
        canvas.width = width;
        canvas.height = height;
    }
});

EM_JS(int, qh_full_screen, (), { return document.fullscreenElement ? 1 : 0; });

EM_JS(void, qh_request_full_screen, (), {
    var canvas = Module["canvas"];
    if (canvas && !document.fullscreenElement && canvas.requestFullscreen)
        canvas.requestFullscreen().catch(function() {});
});

EM_JS(void, qh_leave_full_screen, (), {
    if (document.fullscreenElement && document.exitFullscreen) document.exitFullscreen().catch(function() {});
});

EM_JS(int, qh_resource_size, (), {
    var bytes = Module["qhResources"];
    return bytes ? bytes.length : 0;
});

EM_JS(void, qh_resource_copy, (unsigned char* out), { HEAPU8.set(Module["qhResources"], out); });

namespace page {

void showMessage(const char* text, const char* caption)
{
    qh_page_show_message(text, caption);
}

bool backdrop(int x, int y, int width, int height, std::vector<std::uint8_t>& rgba)
{
    rgba.assign(static_cast<std::size_t>(width) * height * 4, 0);
    return qh_page_backdrop(x, y, width, height, rgba.data()) != 0;
}

void showSplash(int x, int y, int width, int height, const std::uint8_t* rgba)
{
    qh_page_show_splash(x, y, width, height, rgba);
}

void hideSplash()
{
    qh_page_hide_splash();
}

void soundFailed(const char* reason)
{
    qh_page_sound_failed(reason);
}

void partStarted(int part, double musicSeconds)
{
    qh_page_part_started(part, musicSeconds);
}

void frame(std::uint64_t index, int width, int height, const std::uint8_t* rgba)
{
    qh_page_frame(static_cast<double>(index), width, height, rgba);
}

void viewportSize(int& width, int& height)
{
    int size[2] = {0, 0};
    qh_viewport_size(size);
    width = size[0];
    height = size[1];
}

void canvasDeviceSize(int& width, int& height)
{
    int size[2] = {0, 0};
    qh_canvas_device_size(size);
    width = size[0];
    height = size[1];
}

void setCanvasSize(int width, int height)
{
    qh_set_canvas_size(width, height);
}

bool fullScreen()
{
    return qh_full_screen() != 0;
}

void requestFullScreen()
{
    qh_request_full_screen();
}

void leaveFullScreen()
{
    qh_leave_full_screen();
}

std::vector<unsigned char> resourceBytes()
{
    std::vector<unsigned char> bytes(static_cast<std::size_t>(qh_resource_size()));
    if (!bytes.empty())
        qh_resource_copy(bytes.data());
    return bytes;
}

}  // namespace page
