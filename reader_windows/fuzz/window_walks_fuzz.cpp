// The three walks over generated window trees: any shape (deep, wide, with sibling and child
// links that loop back), misbehaving text messages, windows destroyed between queries. Each walk
// ends, examines every window at most once, and keeps the captured list within its bounds.

#include "common/fuzz/fuzz_input.h"
#include "reader_windows/readouts.h"
#include "reader_windows/testing/memory_window_tree.h"
#include "reader_windows/window_walks.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace folivex;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Class names and texts the walks look for, so that generated trees reach their branches.
constexpr std::array<const char*, 8> kNames = {"AVL_AVView",     "Edit",          "RichEdit20A",
                                               "AVToolBarEasel", "AVToolBarView", "AVNullDocView",
                                               "AVPageView",     "AVTabView"};

std::string Name(fuzzing::FuzzInput& input) {
    const std::uint8_t pick = input.Byte();
    if (pick < kNames.size() * 24) {
        return kNames[pick % kNames.size()];
    }
    return input.BytesUntil(0);
}

WindowHandle Pick(fuzzing::FuzzInput& input, const std::vector<WindowHandle>& windows) {
    const std::uint16_t pick = input.Word();
    // Now and then a handle that is no window at all.
    if (windows.empty() || pick % 61 == 60) {
        return pick;
    }
    return windows[pick % windows.size()];
}

void CheckWalk(testing::MemoryWindowTree& tree) {
    const std::vector<WindowHandle>& examined = tree.Examined();
    Check(examined.size() <= kMaxWalkWindows);
    const std::set<WindowHandle> distinct(examined.begin(), examined.end());
    Check(distinct.size() == examined.size());
    tree.ClearExamined();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::FuzzInput input(data, size);
    testing::MemoryWindowTree tree;
    std::vector<WindowHandle> windows{tree.Add(0, "Folivex")};
    const auto version = static_cast<std::int16_t>(input.Byte() % 12);

    while (!input.Empty() && windows.size() < 100000) {
        switch (input.Byte() % 8) {
        case 0:
        case 1: {
            const WindowHandle parent = windows[input.Word() % windows.size()];
            std::string className = Name(input);
            std::string text = Name(input);
            windows.push_back(tree.Add(parent, std::move(className), std::move(text)));
            break;
        }
        case 2: { // a wide level: many children of one window
            const WindowHandle parent = windows[input.Word() % windows.size()];
            // Now and then a level wider than the walks list (32,767 children); mostly
            // narrower ones, so that each run stays quick.
            const std::uint16_t wide = input.Word();
            const std::size_t count = (wide & 0xFF00) == 0xFF00 ? 40000 : wide % 64;
            const std::string className = Name(input);
            for (std::size_t i = 0; i < count; ++i) {
                windows.push_back(tree.Add(parent, className, "AVToolBarView"));
            }
            break;
        }
        case 3: {
            const WindowHandle window = Pick(input, windows);
            tree.SetNextSibling(window, Pick(input, windows));
            break;
        }
        case 4: {
            const WindowHandle window = Pick(input, windows);
            tree.SetFirstChild(window, Pick(input, windows));
            break;
        }
        case 5: {
            const WindowHandle window = Pick(input, windows);
            const auto length = static_cast<std::int32_t>(input.Dword());
            if (input.Byte() & 1) {
                tree.SetReportedTextLength(window, length);
            } else {
                tree.SetReportedTextCount(window, length);
            }
            break;
        }
        case 6:
            tree.Destroy(Pick(input, windows));
            break;
        case 7: {
            const WindowHandle window = Pick(input, windows);
            tree.SetText(window, Name(input));
            break;
        }
        }
    }

    const WindowHandle root = windows.front();
    CapturedWindows captured;
    CollectViewerWindows(tree, root, version, captured);
    CheckWalk(tree);
    Check(captured.WindowCount >= 0);
    Check(captured.Size() == static_cast<std::size_t>(captured.WindowCount));
    Check(captured.WindowHandles.size() == captured.Size());
    std::int32_t lastPageTotal = 0;
    std::int32_t pageTotal = 0;
    PageTotal(captured, lastPageTotal, pageTotal);

    std::int32_t lastPage = -7;
    FindPageBox(tree, root, version, lastPage);
    CheckWalk(tree);
    std::int16_t lastZoom = -7;
    FindZoomBox(tree, root, version, lastZoom);
    CheckWalk(tree);
    return 0;
}
