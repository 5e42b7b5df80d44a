#pragma once
// An in-memory registry for the native tests: keys in a 32-bit and a 64-bit view, subkeys
// enumerated in the order the test lists them, and switches for the failures the platform can
// produce.

#include "common/automation_text.h"
#include "registry/registry_access.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace folivex::testing {

class MemoryRegistry : public RegistryAccess {
public:
    struct Key {
        std::vector<std::string> subKeys; // in enumeration order
        bool denyOpen = false;
        bool failQuery = false;
        std::set<std::uint32_t> failEnum;             // indexes whose enumeration fails
        std::optional<std::uint32_t> reportedMaxName; // a longest-name length that lies
    };

    struct OpenCall {
        RegistryRoot root;
        std::wstring subKey;
        std::uint32_t options;
        std::uint32_t access;
        RegistryView view;
    };

    // `nativeView` is the view the simulated process sees without a view flag.
    explicit MemoryRegistry(RegistryView nativeView = RegistryView::Registry64)
        : nativeView_(nativeView) {}

    Key& AddKey(RegistryView view, RegistryRoot root, const std::wstring& path,
                std::vector<std::string> subKeys = {}) {
        Key& key = keys_[{Resolve(view), root, AsciiLower(path)}];
        key.subKeys = std::move(subKeys);
        return key;
    }

    const std::vector<OpenCall>& Opens() const { return opens_; }
    std::size_t OpenHandles() const { return open_.size(); }
    std::size_t Closes() const { return closes_; }

    RegistryStatus OpenKey(RegistryRoot root, const std::wstring& subKey, std::uint32_t options,
                           std::uint32_t access, RegistryView view,
                           RegistryHandle& handle) override {
        opens_.push_back({root, subKey, options, access, view});
        auto it = keys_.find({Resolve(view), root, AsciiLower(subKey)});
        if (it == keys_.end()) {
            return kRegistryFileNotFound;
        }
        if (it->second.denyOpen) {
            return kRegistryAccessDenied;
        }
        handle = nextHandle_++;
        open_[handle] = &it->second;
        return kRegistrySuccess;
    }

    RegistryStatus QueryInfoKey(RegistryHandle handle, std::uint32_t& subKeys,
                                std::uint32_t& maxSubKeyLength) override {
        const Key* key = Find(handle);
        if (!key || key->failQuery) {
            return kRegistryAccessDenied;
        }
        std::uint32_t longest = 0;
        for (const std::string& name : key->subKeys) {
            longest = std::max(longest, static_cast<std::uint32_t>(name.size()));
        }
        subKeys = static_cast<std::uint32_t>(key->subKeys.size());
        maxSubKeyLength = key->reportedMaxName.value_or(longest);
        return kRegistrySuccess;
    }

    RegistryStatus EnumKey(RegistryHandle handle, std::uint32_t index, std::span<char> buffer,
                           std::uint32_t& length) override {
        const Key* key = Find(handle);
        if (!key || length > buffer.size()) {
            return kRegistryAccessDenied;
        }
        if (index >= key->subKeys.size()) {
            return kRegistryNoMoreItems;
        }
        const std::string& name = key->subKeys[index];
        if (key->failEnum.count(index)) {
            // Leave something number-like behind, as a careless reader would pick it up.
            std::fill(buffer.begin(), buffer.end(), '9');
            return kRegistryAccessDenied;
        }
        if (name.size() + 1 > length) {
            if (length > 0) {
                std::memcpy(buffer.data(), name.data(), length);
            }
            return kRegistryMoreData;
        }
        std::memcpy(buffer.data(), name.data(), name.size());
        buffer[name.size()] = '\0';
        length = static_cast<std::uint32_t>(name.size());
        return kRegistrySuccess;
    }

    RegistryStatus CloseKey(RegistryHandle handle) override {
        ++closes_;
        return open_.erase(handle) ? kRegistrySuccess : kRegistryAccessDenied;
    }

private:
    RegistryView Resolve(RegistryView view) const {
        return view == RegistryView::Native ? nativeView_ : view;
    }
    const Key* Find(RegistryHandle handle) const {
        auto it = open_.find(handle);
        return it == open_.end() ? nullptr : it->second;
    }

    RegistryView nativeView_;
    std::map<std::tuple<RegistryView, RegistryRoot, std::wstring>, Key> keys_;
    std::map<RegistryHandle, Key*> open_;
    std::vector<OpenCall> opens_;
    RegistryHandle nextHandle_ = 0x100;
    std::size_t closes_ = 0;
};

} // namespace folivex::testing
