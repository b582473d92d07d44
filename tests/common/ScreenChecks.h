#pragma once
// What a GUI test waits for and looks at the way a user would: the window queue handled until
// something holds, and a message line that can really be seen.
#include <QColor>
#include <QImage>

#include <chrono>
#include <functional>

#include "platform/gui/TestHook.h"
#include "platform/gui/Window.h"

namespace vyn::test {

// Handles the window queue until the condition holds or the time is up; answers the condition.
inline bool WaitFor(const std::function<bool()>& cond, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!cond()) {
        if (std::chrono::steady_clock::now() > end) return false;
        TTestHook::ProcessEvents();
    }
    return true;
}

// The window is shown and its pixels hold red text: what a user sees of a message line.
inline bool ShowsRedText(TWindow& w)
{
    auto reddish = [&w] {
        const QImage* img = w.ClientImage();
        if (!w.IsWindowVisible() || !img) return false;
        for (int y = 0; y < img->height(); ++y)
            for (int x = 0; x < img->width(); ++x) {
                const QColor c(img->pixel(x, y));
                if (c.red() > 200 && c.green() < 90 && c.blue() < 90) return true;
            }
        return false;
    };
    return WaitFor(reddish, 2000);
}

}  // namespace vyn::test
