#include "displayplatform.h"

namespace pellix {

bool ChooseDisplayPlatform() {
    return false; // one platform: "windows"
}

void ForgetDisplayPlatformChoice() {}

} // namespace pellix
