#include "com/connection_point.h"

#include "com/enumerator.h"
#include "com/excep_info.h"

namespace folivex::com {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer* container, REFIID eventInterface)
    : container_(container), eventInterface_(eventInterface) {}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) {
        return E_POINTER;
    }
    *iid = eventInterface_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (!out) {
        return E_POINTER;
    }
    *out = container_;
    if (!container_) {
        return E_UNEXPECTED;
    }
    container_->AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) {
        return E_POINTER;
    }
    *cookie = 0;
    if (!sink) {
        return E_POINTER;
    }
    ComPtr<IDispatch> dispatch;
    // A sink implements the event dispinterface; some only answer for IDispatch.
    void* raw = nullptr;
    if (SUCCEEDED(sink->QueryInterface(eventInterface_, &raw))) {
        dispatch.Attach(static_cast<IDispatch*>(raw));
    } else if (FAILED(sink->QueryInterface(IID_PPV_ARGS(&dispatch)))) {
        return CONNECT_E_CANNOTCONNECT;
    }
    sinks_.push_back({nextCookie_, dispatch});
    *cookie = nextCookie_++;
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->cookie == cookie) {
            sinks_.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** out) {
    if (!out) {
        return E_POINTER;
    }
    std::vector<CONNECTDATA> items;
    for (const Sink& sink : sinks_) {
        items.push_back({sink.dispatch.Get(), sink.cookie});
    }
    auto enumerator =
        Make<Enumerator<IEnumConnections, CONNECTDATA, ConnectDataTraits>>(std::move(items));
    *out = enumerator ? enumerator.Detach() : nullptr;
    return *out ? S_OK : E_OUTOFMEMORY;
}

void ConnectionPoint::Fire(DISPID id, DISPPARAMS& params) {
    // A handler may advise, unadvise or release the source: fire over a snapshot, and keep
    // this point alive until the loop ends.
    ComPtr<ConnectionPoint> self(this);
    const std::vector<Sink> snapshot = sinks_;
    for (const Sink& sink : snapshot) {
        ExcepInfo exception;
        sink.dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                              exception.Out(), nullptr);
    }
}

void ConnectionPoint::Detach() {
    container_ = nullptr;
    sinks_.clear();
}

void ConnectionPoints::Add(IConnectionPointContainer* container, REFIID eventInterface) {
    auto point = Make<ConnectionPoint>(container, eventInterface);
    if (point) {
        points_.push_back(point);
    }
}

ConnectionPoint* ConnectionPoints::Find(REFIID eventInterface) const {
    for (const auto& point : points_) {
        IID iid;
        point->GetConnectionInterface(&iid);
        if (IsEqualIID(iid, eventInterface)) {
            return point.Get();
        }
    }
    return nullptr;
}

HRESULT ConnectionPoints::FindConnectionPoint(REFIID iid, IConnectionPoint** out) const {
    if (!out) {
        return E_POINTER;
    }
    *out = Find(iid);
    if (!*out) {
        return CONNECT_E_NOCONNECTION;
    }
    (*out)->AddRef();
    return S_OK;
}

HRESULT ConnectionPoints::EnumConnectionPoints(IEnumConnectionPoints** out) const {
    if (!out) {
        return E_POINTER;
    }
    std::vector<IConnectionPoint*> items;
    for (const auto& point : points_) {
        items.push_back(point.Get());
    }
    auto enumerator =
        Make<Enumerator<IEnumConnectionPoints, IConnectionPoint*, InterfaceItemTraits>>(
            std::move(items));
    *out = enumerator ? enumerator.Detach() : nullptr;
    return *out ? S_OK : E_OUTOFMEMORY;
}

void ConnectionPoints::DetachAll() {
    for (const auto& point : points_) {
        point->Detach();
    }
    points_.clear();
}

} // namespace folivex::com
