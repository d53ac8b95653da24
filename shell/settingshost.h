#pragma once

#include "state/settingsschema.h"

namespace pellix {

// The window's values in the settings file (see TWindowSettings). The window
// implements it and refreshes itself after a load; tests use a plain fake.
class ISettingsHost {
public:
    virtual ~ISettingsHost() = default;

    // The values as they stand, with the window's position where it is now:
    // the defaults of a load and what a store writes.
    virtual TWindowSettings WindowSettings() const = 0;

    // The values a load read. Only recorded: the window checks and applies
    // them once the load is done.
    virtual void SetWindowSettings(const TWindowSettings& values) = 0;
};

} // namespace pellix
