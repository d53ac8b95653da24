#pragma once

#include <string>
#include <vector>

namespace pellix {

// The click through ALSA's "default" PCM, for systems where no sound server
// answers. The device is opened for each play and closed after it, so that it
// is never held between clicks.
class TAlsaOutput {
public:
    TAlsaOutput(unsigned rate, unsigned channels, std::vector<char> samples);

    // Whether the default PCM opens now; the reason when not.
    bool Available(std::string& why) const;
    // Plays the samples and returns once the device has played them (drained)
    // or failed.
    bool Play() const;

private:
    unsigned FRate;
    unsigned FChannels;
    std::vector<char> FSamples;
};

} // namespace pellix
