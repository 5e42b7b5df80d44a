#include "com/excep_info.h"

#include <oleauto.h>

namespace folivex::com {

void ClearExcepInfo(EXCEPINFO& info) {
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
    info = {};
}

} // namespace folivex::com
