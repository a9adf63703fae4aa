#include "platform/engine/CCAutoreleasePool.h"

namespace cocos2d {

CCAutoreleasePool::~CCAutoreleasePool() {
    clear();
}

void CCAutoreleasePool::addObject(CCObject* object) {
    ++object->mAutoreleaseCount;
    mObjects.push_back(object);
}

void CCAutoreleasePool::clear() {
    // Swap first: a destructor may autorelease into this pool while we walk.
    while (!mObjects.empty()) {
        std::vector<CCObject*> batch;
        batch.swap(mObjects);
        for (CCObject* object : batch) {
            --object->mAutoreleaseCount;
            object->release();
        }
    }
}

CCPoolManager* CCPoolManager::sharedPoolManager() {
    static CCPoolManager* manager = new CCPoolManager();
    return manager;
}

CCPoolManager::CCPoolManager() {
    push();
}

void CCPoolManager::finalize() {
    getCurrentPool()->clear();
}

void CCPoolManager::push() {
    mPools.push_back(new CCAutoreleasePool());
}

void CCPoolManager::pop() {
    if (mPools.size() <= 1) {
        finalize();
        return;
    }
    CCAutoreleasePool* pool = mPools.back();
    pool->clear();
    mPools.pop_back();
    pool->release();
}

void CCPoolManager::addObject(CCObject* object) {
    getCurrentPool()->addObject(object);
}

CCAutoreleasePool* CCPoolManager::getCurrentPool() {
    return mPools.back();
}

} // namespace cocos2d
