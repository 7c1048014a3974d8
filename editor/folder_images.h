// SPDX-License-Identifier: MIT
#pragma once
// The images of the folder the browser lists, one per row of the folder grid: the full path, the
// thumbnail (drawn the first time its row is painted or added) and whether it is drawn for the
// folder listed now. Owned by the main window.

#include <QImage>
#include <QStringList>
#include <array>
#include <memory>

struct FolderImages {
    static constexpr int MaxRows = 500;
    static constexpr int SlotCount = MaxRows + 1;

    QStringList FolderImagePaths;
    std::unique_ptr<std::array<QImage, SlotCount>> FolderThumbnails =
        std::make_unique<std::array<QImage, SlotCount>>();
    std::array<bool, SlotCount> FolderThumbnailReady{};

    int count() const { return int(FolderImagePaths.size()); }
    // A new listing: no paths, no thumbnail drawn.
    void clear() {
        FolderImagePaths.clear();
        FolderThumbnailReady.fill(false);
    }
};
