#include "clicksource.h"

#include "seam/filepath.h"
#include "settingspaths.h"
#include "shell/soundmodule.h"

namespace pellix {

// The sound module's player, the module being found relative to the executable.
std::unique_ptr<IClickPlayer> PlatformClickPlayer() {
    return std::make_unique<TModuleClickPlayer>(
        SoundModuleCandidates(DisplayPath(ProgramFile().parent_path())));
}

} // namespace pellix
