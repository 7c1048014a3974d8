// SPDX-License-Identifier: MIT
// Handles to memory blocks that the imaging component owns and lends out (the packed bitmaps of
// CopyDib), with accessors in the manner of the Windows global memory functions. A handle stays valid
// until its owner frees the block; afterwards every accessor treats it as unknown.
#pragma once

#include <QByteArray>
#include <QtGlobal>

// Size in bytes of the block, 0 for an unknown handle.
qsizetype GlobalSize(qintptr handle);
// Start of the block and one more lock on it; nullptr for an unknown handle.
const uchar* GlobalLock(qintptr handle);
// Releases one lock; true when the handle is known and was locked.
bool GlobalUnlock(qintptr handle);

namespace imaging {

// Owns one block and the handle that names it; the handle dies with the object.
class DibMemoryBlock {
  public:
    explicit DibMemoryBlock(QByteArray bytes);
    ~DibMemoryBlock();
    DibMemoryBlock(const DibMemoryBlock&) = delete;
    DibMemoryBlock& operator=(const DibMemoryBlock&) = delete;

    qintptr handle() const { return handle_; }

  private:
    qintptr handle_;
};

} // namespace imaging
