#include "com/dispatch.h"

#include "com/module.h"

namespace folivex::com {

HRESULT LoadModuleTypeInfo(REFGUID interfaceId, ITypeInfo** typeInfo) {
    ComPtr<ITypeLib> library;
    // The library is resource TYPELIB 1 of this module; oleaut32 caches loaded libraries.
    HRESULT hr = ::LoadTypeLibEx(Module::Path(), REGKIND_NONE, &library);
    if (FAILED(hr)) {
        return hr;
    }
    return library->GetTypeInfoOfGuid(interfaceId, typeInfo);
}

} // namespace folivex::com
