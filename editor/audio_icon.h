// SPDX-License-Identifier: MIT
#pragma once
// The 18 x 18, 16-colour mark that a slide with an audio file carries on its thumbnail.

#include <QImage>

QImage makeAudioIcon();
// The part of the icon that is copied onto a thumbnail, and where it goes.
inline constexpr int AudioMarkWidth = 18;
inline constexpr int AudioMarkHeight = 17;
inline constexpr int AudioMarkTop = 33;
