#pragma once
// A COM enumerator (IEnumXxx) over a snapshot of items, written once for every item kind.
// `Traits` says how an item is copied out (adding a reference) and let go of.

#include "com/object.h"

#include <ocidl.h>

#include <vector>

namespace folivex::com {

template <typename IEnum, typename Item, typename Traits>
class Enumerator : public Object<Enumerator<IEnum, Item, Traits>, IEnum> {
public:
    explicit Enumerator(std::vector<Item> items, std::size_t position = 0)
        : items_(std::move(items)), position_(position) {
        for (Item& item : items_) {
            Traits::Hold(item);
        }
    }
    ~Enumerator() override {
        for (Item& item : items_) {
            Traits::Drop(item);
        }
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) {
            return E_POINTER;
        }
        ULONG done = 0;
        while (done < count && position_ < items_.size()) {
            out[done] = items_[position_++];
            Traits::Hold(out[done]);
            ++done;
        }
        if (fetched) {
            *fetched = done;
        }
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const std::size_t left = items_.size() - position_;
        position_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnum** clone) override {
        if (!clone) {
            return E_POINTER;
        }
        auto copy = Make<Enumerator>(items_, position_);
        if (!copy) {
            *clone = nullptr;
            return E_OUTOFMEMORY;
        }
        *clone = copy.Detach();
        return S_OK;
    }

private:
    std::vector<Item> items_;
    std::size_t position_;
};

struct InterfaceItemTraits {
    template <typename T>
    static void Hold(T* item) {
        if (item) {
            item->AddRef();
        }
    }
    template <typename T>
    static void Drop(T* item) {
        if (item) {
            item->Release();
        }
    }
};

struct ConnectDataTraits {
    static void Hold(CONNECTDATA& item) {
        if (item.pUnk) {
            item.pUnk->AddRef();
        }
    }
    static void Drop(CONNECTDATA& item) {
        if (item.pUnk) {
            item.pUnk->Release();
        }
    }
};

} // namespace folivex::com
