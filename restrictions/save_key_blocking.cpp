#include "restrictions/save_key_blocking.h"

#include <algorithm>

namespace folivex {

SaveKeyClaims::~SaveKeyClaims() {
    if (installed_) {
        platform_.RemoveHook();
    }
}

bool SaveKeyClaims::Claim(const void* owner) {
    if (HasClaim(owner)) {
        return true;
    }
    if (!installed_) {
        if (!platform_.InstallHook()) {
            return false;
        }
        installed_ = true;
    }
    owners_.push_back(owner);
    return true;
}

void SaveKeyClaims::Release(const void* owner) {
    const auto found = std::find(owners_.begin(), owners_.end(), owner);
    if (found == owners_.end()) {
        return;
    }
    owners_.erase(found);
    if (owners_.empty() && installed_) {
        platform_.RemoveHook();
        installed_ = false;
    }
}

bool SaveKeyClaims::HasClaim(const void* owner) const {
    return std::find(owners_.begin(), owners_.end(), owner) != owners_.end();
}

void SaveKeyBlocking::PutDisableSaveKeys(AutoBool value) {
    if (terminated_) {
        return;
    }
    if (FromAutoBool(value)) {
        claims_.Claim(this);
    } else {
        claims_.Release(this);
    }
}

void SaveKeyBlocking::Terminate() {
    terminated_ = true;
    claims_.Release(this);
}

} // namespace folivex
