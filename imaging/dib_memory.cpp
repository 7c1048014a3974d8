// SPDX-License-Identifier: MIT
#include "dib_memory.h"

#include <QMutex>
#include <QMutexLocker>

#include <map>

namespace {

struct Block {
    QByteArray bytes;
    int locks = 0;
};

// Handles are never reused, so a stale handle can only miss, never reach another block.
struct Registry {
    QMutex mutex;
    std::map<qintptr, Block> blocks;
    qintptr nextHandle = 1;
};

Registry& registry() {
    static Registry r;
    return r;
}

} // namespace

qsizetype GlobalSize(qintptr handle) {
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    const auto it = r.blocks.find(handle);
    return it == r.blocks.end() ? 0 : it->second.bytes.size();
}

const uchar* GlobalLock(qintptr handle) {
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    const auto it = r.blocks.find(handle);
    if (it == r.blocks.end())
        return nullptr;
    it->second.locks++;
    return reinterpret_cast<const uchar*>(it->second.bytes.constData());
}

bool GlobalUnlock(qintptr handle) {
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    const auto it = r.blocks.find(handle);
    if (it == r.blocks.end() || it->second.locks == 0)
        return false;
    it->second.locks--;
    return true;
}

namespace imaging {

DibMemoryBlock::DibMemoryBlock(QByteArray bytes) {
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    handle_ = r.nextHandle++;
    r.blocks.emplace(handle_, Block{std::move(bytes), 0});
}

DibMemoryBlock::~DibMemoryBlock() {
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    r.blocks.erase(handle_);
}

} // namespace imaging
