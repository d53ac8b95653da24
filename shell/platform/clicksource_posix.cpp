#include "clicksource.h"

#include "soundmodule.h"

#include <QCoreApplication>

namespace pellix {

std::unique_ptr<IClickPlayer> PlatformClickPlayer() {
    return std::make_unique<TModuleClickPlayer>(
        SoundModuleCandidates(QCoreApplication::applicationDirPath()));
}

} // namespace pellix
