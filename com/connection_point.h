#pragma once
// Outgoing (event) interfaces: a connection point per event interface, and the container part
// an object exposes. Events are fired through the sinks' IDispatch; a sink may unadvise, or
// release the object, from inside its handler.

#include "com/com_ptr.h"
#include "com/object.h"

#include <ocidl.h>
#include <olectl.h>

#include <vector>

namespace folivex::com {

class ConnectionPoint : public Object<ConnectionPoint, IConnectionPoint> {
public:
    // `container` is not referenced: the container owns this point and calls Detach() when it
    // goes away.
    ConnectionPoint(IConnectionPointContainer* container, REFIID eventInterface);

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

    // Calls member `id` on every sink with the given arguments (DISPPARAMS order: last
    // argument first). By-reference arguments see the sinks' writes.
    void Fire(DISPID id, DISPPARAMS& params);
    bool HasSinks() const { return !sinks_.empty(); }
    void Detach();

private:
    struct Sink {
        DWORD cookie;
        ComPtr<IDispatch> dispatch;
    };

    IConnectionPointContainer* container_;
    IID eventInterface_;
    std::vector<Sink> sinks_;
    DWORD nextCookie_ = 1;
};

// IConnectionPointContainer for an object with a fixed set of event interfaces.
class ConnectionPoints {
public:
    void Add(IConnectionPointContainer* container, REFIID eventInterface);
    ConnectionPoint* Find(REFIID eventInterface) const;
    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** out) const;
    HRESULT EnumConnectionPoints(IEnumConnectionPoints** out) const;
    void DetachAll();

private:
    std::vector<ComPtr<ConnectionPoint>> points_;
};

} // namespace folivex::com
