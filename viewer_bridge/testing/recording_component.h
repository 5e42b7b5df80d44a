#pragma once
// A viewer component that records every call with copies of its arguments, and can be told to
// fail. For the native tests of anything that calls the component.

#include "viewer_bridge/viewer_component.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace folivex::testing {

struct RecordedArg {
    ComponentArg::Kind kind;
    std::variant<std::int32_t, float, AutoBool, std::wstring> value;
    const void* target; // where the by-reference argument pointed
};

struct RecordedCall {
    int dispid;
    std::vector<RecordedArg> args;
};

class RecordingComponent : public ViewerComponent {
public:
    HResult Invoke(int dispid, std::span<const ComponentArg> args) override {
        RecordedCall call{dispid, {}};
        for (const ComponentArg& arg : args) {
            RecordedArg recorded{arg.kind, {}, arg.target};
            switch (arg.kind) {
            case ComponentArg::Kind::LongRef:
                recorded.value = *static_cast<std::int32_t*>(arg.target);
                break;
            case ComponentArg::Kind::SingleRef:
                recorded.value = *static_cast<float*>(arg.target);
                break;
            case ComponentArg::Kind::BoolRef:
                recorded.value = *static_cast<AutoBool*>(arg.target);
                break;
            case ComponentArg::Kind::StringValue:
            case ComponentArg::Kind::StringRef:
                recorded.value = *static_cast<std::wstring*>(arg.target);
                if (arg.kind == ComponentArg::Kind::StringRef && !writeBack.empty()) {
                    *static_cast<std::wstring*>(arg.target) = writeBack;
                }
                break;
            }
            call.args.push_back(std::move(recorded));
        }
        calls.push_back(std::move(call));
        return failWith;
    }

    HResult PutSource(const std::wstring& path) override {
        source = path;
        return failWith;
    }
    HResult GetSource(std::wstring& path) override {
        path = source;
        return failWith;
    }
    HResult Print() override {
        ++printRequests;
        return failWith;
    }

    HResult failWith = kOk;
    std::wstring writeBack; // written into by-reference strings when set
    std::vector<RecordedCall> calls;
    std::wstring source;
    int printRequests = 0;
};

} // namespace folivex::testing
