#pragma once
// The container operations on the component's site window (the extender a form would give a
// child control). Coordinates are pixels of the control's client area.

#include <cstdint>

namespace folivex {

class ComponentSite {
public:
    virtual ~ComponentSite() = default;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    virtual void Move(std::int32_t left, std::int32_t top, std::int32_t width,
                      std::int32_t height) = 0;
    virtual std::int32_t Top() const = 0;
    // Gives the component the keyboard focus; false when that failed.
    virtual bool SetFocus() = 0;
};

} // namespace folivex
