#include "clicksource.h"

#include "settingspaths.h"
#include "shell/soundmodule.h"

namespace pellix {

std::unique_ptr<IClickPlayer> PlatformClickPlayer() {
    return std::make_unique<TModuleClickPlayer>(
        SoundModuleCandidates(DisplayPath(ProgramFile().parent_path())));
}

} // namespace pellix
