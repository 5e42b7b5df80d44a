#pragma once
// An in-memory window tree for the native tests, answering the queries as user32 does: class
// names cut to the buffer, texts copied with a terminator, children in Z-order, and a destroyed
// window answering like no window at all. Bytes are taken as Latin-1.
//
// It records every class-name query (the walks examine each window they visit once, class name
// first), so a test can see which windows a walk visited and in what order, and every text
// message.

#include "reader_windows/toolbar.h"
#include "reader_windows/window_tree.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace folivex::testing {

class MemoryWindowTree : public WindowTree {
public:
    // Adds a window below the last child of `parent` (0: a window without parent, such as the
    // control's own window). Handles are unique and never 0.
    WindowHandle Add(WindowHandle parent, std::string className, std::string text = {},
                     WindowRect rect = {});
    // Adds a window `width` pixels wide at left 100.
    WindowHandle AddWithWidth(WindowHandle parent, std::string className, std::string text,
                              std::int32_t width);

    // The window and its subtree stop being windows.
    void Destroy(WindowHandle window);
    bool Exists(WindowHandle window) const;

    void SetText(WindowHandle window, std::string text);
    void SetRect(WindowHandle window, WindowRect rect);
    // Makes WM_GETTEXTLENGTH answer `length` whatever the text is (a misbehaving window).
    void SetReportedTextLength(WindowHandle window, std::intptr_t length);
    // Makes WM_GETTEXT answer `count` whatever it copied (a misbehaving window).
    void SetReportedTextCount(WindowHandle window, std::intptr_t count);
    // Replaces the next-sibling or first-child answer, to model broken links and cycles.
    void SetNextSibling(WindowHandle window, WindowHandle next);
    void SetFirstChild(WindowHandle window, WindowHandle child);

    // Windows whose class name was asked for, in order of asking.
    const std::vector<WindowHandle>& Examined() const { return examined_; }
    void ClearExamined() { examined_.clear(); }
    // Number of WM_GETTEXTLENGTH and WM_GETTEXT messages a window received.
    int TextLengthMessages(WindowHandle window) const;
    int TextMessages(WindowHandle window) const;

    std::int32_t ClassName(WindowHandle window, std::span<char> buffer) override;
    std::intptr_t TextLength(WindowHandle window) override;
    std::intptr_t Text(WindowHandle window, std::span<char> buffer) override;
    WindowHandle FirstChild(WindowHandle window) override;
    WindowHandle NextSibling(WindowHandle window) override;
    bool Rect(WindowHandle window, WindowRect& rect) override;
    std::wstring AnsiToWide(std::string_view bytes) const override;

private:
    struct Window {
        WindowHandle parent = 0;
        std::string className;
        std::string text;
        WindowRect rect;
        std::vector<WindowHandle> children;
        std::optional<std::intptr_t> reportedLength;
        std::optional<std::intptr_t> reportedCount;
        std::optional<WindowHandle> nextOverride;
        std::optional<WindowHandle> firstChildOverride;
        int lengthMessages = 0;
        int textMessages = 0;
    };
    Window* Find(WindowHandle window);
    const Window* Find(WindowHandle window) const;

    std::map<WindowHandle, Window> windows_;
    WindowHandle nextHandle_ = 0x1000;
    std::vector<WindowHandle> examined_;
};

// WindowActions over a MemoryWindowTree, recording what was done. A handle that is no window
// of the tree is recorded as a failed action.
class MemoryWindowActions : public WindowActions {
public:
    struct Action {
        enum class Kind { PostClose, Enable, Disable } kind;
        WindowHandle window;
        bool succeeded;
        bool operator==(const Action&) const = default;
    };

    explicit MemoryWindowActions(MemoryWindowTree& tree) : tree_(tree) {}

    void PostClose(WindowHandle window) override;
    void Enable(WindowHandle window, bool enable) override;
    bool Rect(WindowHandle window, WindowRect& rect) override;

    const std::vector<Action>& Actions() const { return actions_; }
    // The windows still enabled or not, as the recorded actions left them (all start enabled).
    bool IsEnabled(WindowHandle window) const;
    // Lets the posted closes take effect: the windows are destroyed.
    void DeliverPostedCloses();

private:
    MemoryWindowTree& tree_;
    std::vector<Action> actions_;
    std::map<WindowHandle, bool> enabled_;
    std::vector<WindowHandle> posted_;
};

} // namespace folivex::testing
