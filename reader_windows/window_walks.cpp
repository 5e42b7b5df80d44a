#include "reader_windows/window_walks.h"

#include "common/automation_text.h"
#include "reader_windows/viewer_window_names.h"

#include <array>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace folivex {
namespace {

using namespace viewer_window;

// What a walk decides at one window, after its class and text have been read.
enum class Verdict {
    Descend,   // visit the children
    EndSearch, // return the window's text; its children are not visited
};

// The differences between the walks: the test at each window (match test, what a match does,
// end test) and whether a non-blank child result stops the visit of its later siblings.
class WalkVariant {
public:
    virtual ~WalkVariant() = default;
    virtual Verdict AtWindow(WindowHandle window, const std::wstring& className,
                             const std::wstring& text) = 0;
    virtual bool StopAtFirstResult() const = 0;
};

struct Node {
    std::wstring className;
    std::wstring text;
};

Node Examine(WindowTree& tree, WindowHandle window) {
    std::array<char, WindowTree::kClassNameBufferSize> buffer{};
    std::int32_t count = tree.ClassName(window, buffer);
    if (count < 0) {
        count = 0;
    }
    if (static_cast<std::size_t>(count) >= buffer.size()) {
        count = static_cast<std::int32_t>(buffer.size() - 1);
    }
    Node node;
    node.className =
        tree.AnsiToWide(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
    node.text = ReadWindowText(tree, window);
    return node;
}

// The window's direct children in Z-order. A sibling chain that comes back to a window already
// listed is cut there.
std::vector<WindowHandle> ListChildren(WindowTree& tree, WindowHandle window) {
    std::vector<WindowHandle> children;
    std::unordered_set<WindowHandle> listed;
    for (WindowHandle child = tree.FirstChild(window);
         child != 0 && children.size() < kMaxListedChildren; child = tree.NextSibling(child)) {
        if (!listed.insert(child).second) {
            break;
        }
        children.push_back(child);
    }
    return children;
}

std::wstring Walk(WindowTree& tree, WindowHandle root, WalkVariant& variant) {
    if (root == 0) {
        return {};
    }
    struct Frame {
        std::vector<WindowHandle> children;
        std::size_t next = 0;
        std::wstring result; // trimmed result of the child visited last
    };

    std::unordered_set<WindowHandle> visited;
    // Examines a window; true with `ended` set when the search ends at it.
    auto visit = [&](WindowHandle window, std::wstring& ended) {
        visited.insert(window);
        Node node = Examine(tree, window);
        if (variant.AtWindow(window, node.className, node.text) == Verdict::EndSearch) {
            ended = std::move(node.text);
            return true;
        }
        return false;
    };

    std::wstring ended;
    if (visit(root, ended)) {
        return ended;
    }
    std::vector<Frame> stack;
    stack.push_back(Frame{ListChildren(tree, root), 0, {}});
    while (true) {
        Frame& frame = stack.back();
        const bool stop = variant.StopAtFirstResult() && !frame.result.empty();
        if (!stop && frame.next < frame.children.size()) {
            const WindowHandle child = frame.children[frame.next++];
            // A window met again (a link looping back) or past the budget is not visited.
            if (child == 0 || visited.count(child) != 0 || visited.size() >= kMaxWalkWindows) {
                continue;
            }
            if (visit(child, ended)) {
                frame.result = TrimSpaces(ended);
            } else {
                // `frame` is not used after this push, which may move it.
                stack.push_back(Frame{ListChildren(tree, child), 0, {}});
            }
            continue;
        }
        std::wstring result = std::move(frame.result);
        stack.pop_back();
        if (stack.empty()) {
            return result;
        }
        // Already trimmed: the window's result is the trimmed result of its last child.
        stack.back().result = std::move(result);
    }
}

bool ContainsSpace(std::wstring_view text) {
    return text.find(L' ') != std::wstring_view::npos;
}

bool EndsWithPercent(std::wstring_view text) {
    return !text.empty() && text.back() == L'%';
}

std::wstring_view BeforeFirst(std::wstring_view text, wchar_t c) {
    return text.substr(0, text.find(c));
}

bool IsDocumentView(const std::wstring& className, const std::wstring& text, bool newLayout) {
    return className == kView && text == (newLayout ? kNullDocView : kPageView);
}

class CollectingWalk final : public WalkVariant {
public:
    CollectingWalk(bool newLayout, CapturedWindows& captured)
        : newLayout_(newLayout), captured_(captured) {}

    Verdict AtWindow(WindowHandle window, const std::wstring& className,
                     const std::wstring& text) override {
        if (Matches(className, text)) {
            captured_.Append(window, className, text);
        }
        return IsDocumentView(className, text, newLayout_) ? Verdict::EndSearch : Verdict::Descend;
    }
    bool StopAtFirstResult() const override { return true; }

private:
    bool Matches(const std::wstring& className, const std::wstring& text) const {
        if (IsTextBoxClass(className)) {
            return EndsWithPercent(text) ||
                   (newLayout_ ? IsNumericText(text) : ContainsSpace(text));
        }
        return className == kView &&
               (text == kToolBarView || text == kStatusLayoutView || text == kToolBarEasel ||
                text == kTabView || text == kWebSearchView);
    }

    bool newLayout_;
    CapturedWindows& captured_;
};

class PageBoxWalk final : public WalkVariant {
public:
    PageBoxWalk(WindowTree& tree, std::int16_t readerVersion, std::int32_t& lastPage)
        : tree_(tree), readerVersion_(readerVersion), newLayout_(IsNewLayout(readerVersion)),
          lastPage_(lastPage) {}

    Verdict AtWindow(WindowHandle window, const std::wstring& className,
                     const std::wstring& text) override {
        if (IsTextBoxClass(className)) {
            if (newLayout_ ? HasPageBoxWidth(window) : ContainsSpace(text)) {
                const std::wstring_view number =
                    newLayout_ ? std::wstring_view(text) : BeforeFirst(text, L' ');
                if (const auto page = TextToInt32(number)) {
                    lastPage_ = *page;
                }
                return Verdict::EndSearch;
            }
            return Verdict::Descend;
        }
        if (className == kView) {
            const bool ends = (readerVersion_ == 4 || readerVersion_ == 5)
                                  ? text == kTabView
                                  : (text == kPageView || text == kNullDocView);
            if (ends) {
                return Verdict::EndSearch;
            }
        }
        return Verdict::Descend;
    }
    bool StopAtFirstResult() const override { return !newLayout_; }

private:
    bool HasPageBoxWidth(WindowHandle window) {
        WindowRect rect;
        if (!tree_.Rect(window, rect)) {
            return false;
        }
        const std::int64_t width = RectWidth(rect);
        return width >= 26 && width <= 40;
    }

    WindowTree& tree_;
    std::int16_t readerVersion_;
    bool newLayout_;
    std::int32_t& lastPage_;
};

class ZoomBoxWalk final : public WalkVariant {
public:
    ZoomBoxWalk(bool newLayout, std::int16_t& lastZoomPct)
        : newLayout_(newLayout), lastZoomPct_(lastZoomPct) {}

    Verdict AtWindow(WindowHandle, const std::wstring& className,
                     const std::wstring& text) override {
        if (IsTextBoxClass(className) && EndsWithPercent(text)) {
            if (const auto zoom = TextToInt16(BeforeFirst(text, L'%'))) {
                lastZoomPct_ = *zoom;
            }
            return Verdict::EndSearch;
        }
        return IsDocumentView(className, text, newLayout_) ? Verdict::EndSearch : Verdict::Descend;
    }
    bool StopAtFirstResult() const override { return !newLayout_; }

private:
    bool newLayout_;
    std::int16_t& lastZoomPct_;
};

} // namespace

std::wstring ReadWindowText(WindowTree& tree, WindowHandle window) {
    if (window == 0) {
        return {};
    }
    std::intptr_t length = tree.TextLength(window);
    if (length <= 0) {
        return {};
    }
    if (length > kMaxWindowTextBytes) {
        length = kMaxWindowTextBytes;
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    std::intptr_t copied = tree.Text(window, buffer);
    // A window may answer with a count it did not copy; never read past what the buffer holds.
    if (copied <= 0) {
        return {};
    }
    if (copied > length) {
        copied = length;
    }
    return tree.AnsiToWide(std::string_view(buffer.data(), static_cast<std::size_t>(copied)));
}

std::wstring CollectViewerWindows(WindowTree& tree, WindowHandle root, std::int16_t readerVersion,
                                  CapturedWindows& captured) {
    CollectingWalk variant(IsNewLayout(readerVersion), captured);
    return Walk(tree, root, variant);
}

std::wstring FindPageBox(WindowTree& tree, WindowHandle root, std::int16_t readerVersion,
                         std::int32_t& lastPage) {
    PageBoxWalk variant(tree, readerVersion, lastPage);
    return Walk(tree, root, variant);
}

std::wstring FindZoomBox(WindowTree& tree, WindowHandle root, std::int16_t readerVersion,
                         std::int16_t& lastZoomPct) {
    ZoomBoxWalk variant(IsNewLayout(readerVersion), lastZoomPct);
    return Walk(tree, root, variant);
}

} // namespace folivex
