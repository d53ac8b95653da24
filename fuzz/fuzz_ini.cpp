// The INI reader and writer over arbitrary bytes, in every encoding.

#include "ini/inidocument.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    pellix::TIniDocument doc(bytes);
    if (doc.Text() != bytes) {
        std::abort(); // an untouched document keeps its bytes
    }
    (void)doc.ReadString("ZunMain", "Left");
    (void)doc.ReadString("ZUNMAIN", "Zun.Mode");
    doc.WriteInteger("ZunMain", "Left", -5);
    doc.WriteFloat("ZunMain", "TotalScale", 1.1, ",");
    doc.WriteString("Other", "Key", "Value");
    if (doc.ReadString("ZunMain", "Left") != "-5" || doc.ReadString("other", "key") != "Value") {
        std::abort(); // a store reads back
    }
    pellix::TIniDocument again(doc.Text());
    if (again.ReadString("zunmain", "left") != "-5" || again.Encoding() != doc.Encoding() ||
        again.Text() != doc.Text()) {
        std::abort(); // written back in its own encoding, and stable
    }
    return 0;
}
