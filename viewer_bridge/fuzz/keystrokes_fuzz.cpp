// The keystroke-string parser and the lowering to injected inputs, on any text. Whatever the
// string, a parse either fails whole (no events) or yields a sequence in which every key
// pressed is released again, so nothing sent can leave a key held down; the lowered inputs keep
// that promise too.

#include "common/fuzz/fuzz_input.h"
#include "viewer_bridge/keystrokes.h"
#include "viewer_bridge/testing/fake_keyboard_layout.h"

#include <cstdlib>
#include <map>
#include <optional>
#include <utility>

namespace {

using namespace folivex;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Every press is matched by a later release and nothing is released that was not pressed.
template <typename Event, typename KeyOf>
void CheckBalanced(const std::vector<Event>& events, KeyOf keyOf) {
    std::map<std::pair<int, std::uint32_t>, long> held;
    for (const Event& event : events) {
        long& count = held[keyOf(event)];
        count += event.up ? -1 : 1;
        Check(count >= 0);
    }
    for (const auto& [key, count] : held) {
        Check(count == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    folivex::fuzzing::FuzzInput input(data, size);
    const std::wstring keys = input.RestAsText();

    const KeystrokeParse parse = ParseKeystrokes(keys);
    if (!parse.Ok()) {
        Check(parse.events.empty());
        Check(parse.errorOffset <= keys.size());
        return 0;
    }
    Check(parse.events.size() <= kMaxKeystrokeEvents);
    CheckBalanced(parse.events, [](const KeyEvent& e) {
        return std::pair<int, std::uint32_t>(static_cast<int>(e.kind), e.code);
    });

    const folivex::testing::FakeKeyboardLayout layout;
    const std::vector<KeyInput> inputs = LowerKeyEvents(parse.events, layout);
    CheckBalanced(inputs, [](const KeyInput& i) {
        return std::pair<int, std::uint32_t>(static_cast<int>(i.kind), i.code);
    });
    return 0;
}
