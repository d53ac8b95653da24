// Synthesises the key-click sound: a mono 11025 Hz 16-bit PCM RIFF WAVE file of
// 1376 samples. Deterministic: the same bytes on every machine.
//
// The click is modelled as a key striking its stop: a short burst of noise
// (the impact), a bright damped mode of the key cap, a lower damped mode of the
// case, and a faint slowly decaying ring of the body. A quiet lead-in of 61 ms
// comes first, so the transient peaks at 64.0 ms.
//
// Usage: pellix-make-click OUTPUT.wav

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int SampleRate = 11025;
constexpr int SampleCount = 1376;
constexpr int PeakSample = 706; // 64.04 ms
constexpr int Peak = 26214;     // 80 % of full scale
constexpr double Pi = 3.14159265358979323846;

// Small deterministic generator for the noise parts (no library RNG whose
// sequence could differ between standard libraries).
class Noise {
public:
    double Next() { // uniform in [-1, 1)
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state_ >> 11) / 4503599627370496.0 - 1.0;
    }

private:
    std::uint64_t state_ = 0x2545F4914F6CDD1DULL;
};

std::vector<double> Transient(int length) {
    Noise noise;
    std::vector<double> s(static_cast<size_t>(length));
    for (int n = 0; n < length; ++n) {
        const double t = n / static_cast<double>(SampleRate);
        const double impact = 0.55 * noise.Next() * std::exp(-t / 0.0007);
        const double cap = std::exp(-t / 0.0020) * std::sin(2 * Pi * 3150 * t + 0.9);
        const double body = 0.12 * std::exp(-t / 0.0056) * std::sin(2 * Pi * 1380 * t + 0.3);
        const double ring = 0.0088 * std::exp(-t / 0.060) * std::sin(2 * Pi * 430 * t + 1.1);
        const double rattle = 0.0016 * noise.Next() * std::exp(-t / 0.030);
        // A two-sample attack keeps the onset sharp without a digital step.
        const double attack = n == 0 ? 0.35 : 1.0;
        s[static_cast<size_t>(n)] = attack * (impact + cap + body + ring + rattle);
    }
    return s;
}

std::vector<std::int16_t> Synthesise() {
    std::vector<double> wave(SampleCount, 0.0);
    Noise floor;
    for (double& v : wave) {
        v = 9.0 * floor.Next(); // the lead-in: a faint noise floor
    }
    // Place the transient so that its largest magnitude falls on PeakSample.
    const std::vector<double> tr = Transient(SampleCount);
    size_t loudest = 0;
    for (size_t i = 0; i < 40; ++i) {
        if (std::fabs(tr[i]) > std::fabs(tr[loudest])) {
            loudest = i;
        }
    }
    const int onset = PeakSample - static_cast<int>(loudest);
    const double scale = Peak / std::fabs(tr[loudest]);
    const double sign = tr[loudest] < 0 ? -1.0 : 1.0;
    for (int n = onset; n < SampleCount; ++n) {
        wave[static_cast<size_t>(n)] += sign * scale * tr[static_cast<size_t>(n - onset)];
    }
    std::vector<std::int16_t> pcm(SampleCount);
    for (int n = 0; n < SampleCount; ++n) {
        double v = std::round(wave[static_cast<size_t>(n)]);
        if (n == PeakSample) {
            v = Peak; // exactly 80 % of full scale
        } else if (std::fabs(v) >= Peak) {
            v = std::copysign(Peak - 1, v);
        }
        pcm[static_cast<size_t>(n)] = static_cast<std::int16_t>(v);
    }
    return pcm;
}

void Put16(std::vector<unsigned char>& out, unsigned v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(std::vector<unsigned char>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pellix-make-click OUTPUT.wav\n");
        return 2;
    }
    const std::vector<std::int16_t> pcm = Synthesise();
    const std::uint32_t dataBytes = SampleCount * 2;
    std::vector<unsigned char> out;
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, SampleRate);
    Put32(out, SampleRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (std::int16_t s : pcm) {
        Put16(out, static_cast<std::uint16_t>(s));
    }
    std::FILE* f = std::fopen(argv[1], "wb");
    if (f == nullptr || std::fwrite(out.data(), 1, out.size(), f) != out.size() ||
        std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
