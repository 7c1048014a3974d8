// SPDX-License-Identifier: MIT
// How the decoders and the encoder report their progress: a percentage from 0 to 99 while working.
#pragma once

#include <functional>

namespace imaging {

using ProgressCallback = std::function<void(int percent)>;

} // namespace imaging
