// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the packages' players as their "images.vrx": a block is read or refused
// without fault, and what is read holds one entry per slide, motions whose frames lie inside the
// picture at every moment, and a fade within its range.

#include "package_extras.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    constexpr int Slides = 3;
    const auto extras = PackageExtras::Read(bytes, Slides);
    if (!extras)
        return 0;
    if (extras->motions.size() != Slides || extras->looks.size() != Slides || extras->fadeMs < 0 ||
        extras->fadeMs > 60000)
        std::abort();
    for (const auto& motion : extras->motions)
        for (double t : {-1.0, 0.0, 0.3, 1.0, 2.0})
            if (motion) {
                const PackageExtras::Frame f = ShowRules::frameAt(*motion, t);
                if (!(f.w > 0 && f.h > 0 && f.x >= 0 && f.y >= 0 && f.x + f.w <= 1 + 1e-6 &&
                      f.y + f.h <= 1 + 1e-6))
                    std::abort();
            }
    for (const std::string& name : extras->music)
        if (name.empty())
            std::abort();
    return 0;
}
