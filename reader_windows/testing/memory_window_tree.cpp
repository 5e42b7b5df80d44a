#include "reader_windows/testing/memory_window_tree.h"

#include <algorithm>
#include <cstring>

namespace folivex::testing {

WindowHandle MemoryWindowTree::Add(WindowHandle parent, std::string className, std::string text,
                                   WindowRect rect) {
    const WindowHandle handle = nextHandle_;
    nextHandle_ += 4;
    Window window;
    window.parent = parent;
    window.className = std::move(className);
    window.text = std::move(text);
    window.rect = rect;
    windows_.emplace(handle, std::move(window));
    if (Window* p = Find(parent)) {
        p->children.push_back(handle);
    }
    return handle;
}

WindowHandle MemoryWindowTree::AddWithWidth(WindowHandle parent, std::string className,
                                            std::string text, std::int32_t width) {
    return Add(parent, std::move(className), std::move(text), WindowRect{100, 10, 100 + width, 30});
}

void MemoryWindowTree::Destroy(WindowHandle window) {
    Window* w = Find(window);
    if (w == nullptr) {
        return;
    }
    if (Window* p = Find(w->parent)) {
        std::erase(p->children, window);
    }
    // Without recursion: the tests build very deep trees.
    std::vector<WindowHandle> doomed{window};
    while (!doomed.empty()) {
        const WindowHandle next = doomed.back();
        doomed.pop_back();
        if (Window* d = Find(next)) {
            doomed.insert(doomed.end(), d->children.begin(), d->children.end());
            windows_.erase(next);
        }
    }
}

bool MemoryWindowTree::Exists(WindowHandle window) const {
    return Find(window) != nullptr;
}

void MemoryWindowTree::SetText(WindowHandle window, std::string text) {
    if (Window* w = Find(window)) {
        w->text = std::move(text);
    }
}

void MemoryWindowTree::SetRect(WindowHandle window, WindowRect rect) {
    if (Window* w = Find(window)) {
        w->rect = rect;
    }
}

void MemoryWindowTree::SetReportedTextLength(WindowHandle window, std::intptr_t length) {
    if (Window* w = Find(window)) {
        w->reportedLength = length;
    }
}

void MemoryWindowTree::SetReportedTextCount(WindowHandle window, std::intptr_t count) {
    if (Window* w = Find(window)) {
        w->reportedCount = count;
    }
}

void MemoryWindowTree::SetNextSibling(WindowHandle window, WindowHandle next) {
    if (Window* w = Find(window)) {
        w->nextOverride = next;
    }
}

void MemoryWindowTree::SetFirstChild(WindowHandle window, WindowHandle child) {
    if (Window* w = Find(window)) {
        w->firstChildOverride = child;
    }
}

int MemoryWindowTree::TextLengthMessages(WindowHandle window) const {
    const Window* w = Find(window);
    return w != nullptr ? w->lengthMessages : 0;
}

int MemoryWindowTree::TextMessages(WindowHandle window) const {
    const Window* w = Find(window);
    return w != nullptr ? w->textMessages : 0;
}

std::int32_t MemoryWindowTree::ClassName(WindowHandle window, std::span<char> buffer) {
    examined_.push_back(window);
    const Window* w = Find(window);
    if (w == nullptr || buffer.empty()) {
        return 0;
    }
    const std::size_t count = std::min(w->className.size(), buffer.size() - 1);
    std::memcpy(buffer.data(), w->className.data(), count);
    buffer[count] = '\0';
    return static_cast<std::int32_t>(count);
}

std::intptr_t MemoryWindowTree::TextLength(WindowHandle window) {
    Window* w = Find(window);
    if (w == nullptr) {
        return 0;
    }
    ++w->lengthMessages;
    return w->reportedLength.value_or(static_cast<std::intptr_t>(w->text.size()));
}

std::intptr_t MemoryWindowTree::Text(WindowHandle window, std::span<char> buffer) {
    Window* w = Find(window);
    if (w == nullptr || buffer.empty()) {
        return 0;
    }
    ++w->textMessages;
    const std::size_t count = std::min(w->text.size(), buffer.size() - 1);
    std::memcpy(buffer.data(), w->text.data(), count);
    buffer[count] = '\0';
    return w->reportedCount.value_or(static_cast<std::intptr_t>(count));
}

WindowHandle MemoryWindowTree::FirstChild(WindowHandle window) {
    const Window* w = Find(window);
    if (w == nullptr) {
        return 0;
    }
    if (w->firstChildOverride) {
        return *w->firstChildOverride;
    }
    return w->children.empty() ? 0 : w->children.front();
}

WindowHandle MemoryWindowTree::NextSibling(WindowHandle window) {
    const Window* w = Find(window);
    if (w == nullptr) {
        return 0;
    }
    if (w->nextOverride) {
        return *w->nextOverride;
    }
    const Window* p = Find(w->parent);
    if (p == nullptr) {
        return 0;
    }
    // Children are kept in the order they were added, which is the order of their handles: a
    // binary search keeps a walk over a very wide level linear, as GetWindow is.
    const auto it = std::lower_bound(p->children.begin(), p->children.end(), window);
    if (it == p->children.end() || *it != window || it + 1 == p->children.end()) {
        return 0;
    }
    return *(it + 1);
}

bool MemoryWindowTree::Rect(WindowHandle window, WindowRect& rect) {
    const Window* w = Find(window);
    if (w == nullptr) {
        return false;
    }
    rect = w->rect;
    return true;
}

std::wstring MemoryWindowTree::AnsiToWide(std::string_view bytes) const {
    std::wstring wide;
    wide.reserve(bytes.size());
    for (char c : bytes) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

MemoryWindowTree::Window* MemoryWindowTree::Find(WindowHandle window) {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

const MemoryWindowTree::Window* MemoryWindowTree::Find(WindowHandle window) const {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

void MemoryWindowActions::PostClose(WindowHandle window) {
    const bool exists = tree_.Exists(window);
    actions_.push_back({Action::Kind::PostClose, window, exists});
    if (exists) {
        posted_.push_back(window);
    }
}

void MemoryWindowActions::Enable(WindowHandle window, bool enable) {
    const bool exists = tree_.Exists(window);
    actions_.push_back({enable ? Action::Kind::Enable : Action::Kind::Disable, window, exists});
    if (exists) {
        enabled_[window] = enable;
    }
}

bool MemoryWindowActions::Rect(WindowHandle window, WindowRect& rect) {
    return tree_.Rect(window, rect);
}

bool MemoryWindowActions::IsEnabled(WindowHandle window) const {
    const auto it = enabled_.find(window);
    return it == enabled_.end() || it->second;
}

void MemoryWindowActions::DeliverPostedCloses() {
    for (WindowHandle window : posted_) {
        tree_.Destroy(window);
    }
    posted_.clear();
}

} // namespace folivex::testing
