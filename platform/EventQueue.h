#pragma once
#include <deque>

#include "platform/Platform.h"

// The events of a platform with no window system to queue them (headless
// runs, the page): what the platform, the page and the program put in,
// taken out oldest first.
class EventQueue {
public:
    void push(const PlatformEvent& event) { events_.push_back(event); }
    // The drawing area's size; resized when the picture itself now has it.
    void pushSize(int width, int height, bool resized = false)
    {
        PlatformEvent size;
        size.type = PlatformEvent::Type::Size;
        size.width = width;
        size.height = height;
        size.resized = resized;
        push(size);
    }
    void pushUser(int code)
    {
        PlatformEvent user;
        user.type = PlatformEvent::Type::User;
        user.code = code;
        push(user);
    }
    // The Escape key, which ends the demo.
    void pushEscape()
    {
        PlatformEvent escape;
        escape.type = PlatformEvent::Type::KeyDown;
        escape.key = kKeyEscape;
        push(escape);
    }
    // False when there is none.
    bool take(PlatformEvent& event)
    {
        if (events_.empty())
            return false;
        event = events_.front();
        events_.pop_front();
        return true;
    }

private:
    std::deque<PlatformEvent> events_;
};
