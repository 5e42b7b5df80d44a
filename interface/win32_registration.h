#pragma once

#include <windows.h>

namespace folivex {

enum class RegistrationScope { Machine, User };

HRESULT RegisterServer(RegistrationScope scope);
HRESULT UnregisterServer(RegistrationScope scope);

} // namespace folivex
