// Building, choosing and destroying the parts of a live puppet.

#include "puppet/PuppetInstance.h"

#include "platform/render/CCSprite.h"
#include "puppet/PuppetAttachment.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetRegistry.h"
#include "rules/core/RNG.h"

#include <algorithm>

using namespace cocos2d;

PuppetPartInstance* PuppetInstance::makePart(int32_t attachmentIndex, int32_t bone,
                                             int32_t partSlot) {
    const PuppetAttachment* attachment = PuppetRegistry::getAttachment(attachmentIndex);
    if (!attachment)
        return nullptr;
    auto* part = new PuppetPartInstance();
    part->mAttachment = attachmentIndex;
    part->mBone = bone;
    part->mPartSlot = partSlot;
    if (CCSprite* colourSprite = attachment->createColorSprite()) {
        colourSprite->setColor(mPlayerColour);
        colourSprite->retain();
        part->mColorSprite = colourSprite;
    }
    auto* sprite = dynamic_cast<CCSprite*>(attachment->createSprite(this));
    if (sprite && part->mColorSprite) {
        sprite->addChild(part->mColorSprite);
        const CCSize& size = sprite->getContentSize();
        part->mColorSprite->setPosition(CCPoint(size.width * 0.5f, size.height * 0.5f));
    } else if (!sprite) {
        sprite = part->mColorSprite;
    }
    if (sprite) {
        sprite->retain();
        part->mSprite = sprite;
    }
    if (!attachment->mPuppetName.empty()) {
        const int32_t nested = PuppetRegistry::loadPuppet(attachment->mPuppetName);
        if (nested >= 0) {
            part->mNestedPuppet = create(nested, ccc3(255, 255, 255));
            part->mNestedPuppet->retain();
        }
    }
    return part;
}

void PuppetInstance::destroyPart(PuppetPartInstance* part) {
    if (!part)
        return;
    if (part->mColorSprite)
        part->mColorSprite->release();
    if (part->mSprite) {
        part->mSprite->removeFromParentAndCleanup(true);
        part->mSprite->release();
    }
    if (part->mNestedPuppet) {
        part->mNestedPuppet->removeFromParentAndCleanup(true);
        part->mNestedPuppet->release();
    }
    delete part;
}

void PuppetInstance::freeParts() {
    for (PuppetPartInstance* part : mParts)
        destroyPart(part);
    mParts.clear();
}

int32_t PuppetInstance::wantedAttachment(int32_t partSlot) const {
    for (auto entry = mOverrides.rbegin(); entry != mOverrides.rend(); ++entry)
        if (entry->first == partSlot)
            return entry->second;
    const PuppetDefinition* definition = getPuppet();
    return definition->mParts[partSlot]->pickAttachment(mCategories);
}

void PuppetInstance::rebuild() {
    const PuppetDefinition* definition = getPuppet();
    if (!definition)
        return;
    for (size_t slot = 0; slot < definition->mParts.size(); ++slot) {
        const PuppetPartDef* partDef = definition->mParts[slot].get();
        if (!partDef)
            continue;
        const auto partSlot = static_cast<int32_t>(slot);
        const int32_t wanted = wantedAttachment(partSlot);
        const auto built = std::find_if(mParts.begin(), mParts.end(), [partSlot](auto* part) {
            return part->mPartSlot == partSlot;
        });
        CCPoint position(0, 0);
        if (built != mParts.end()) {
            PuppetPartInstance* old = *built;
            if (old->mAttachment == wanted)
                continue;
            if (old->mSprite)
                position = old->mSprite->getPosition();
            else if (old->mNestedPuppet)
                position = old->mNestedPuppet->getPosition();
            *built = mParts.back();
            mParts.pop_back();
            destroyPart(old);
        }
        if (wanted == -1)
            continue;
        PuppetPartInstance* part = makePart(wanted, partDef->mBone, partSlot);
        if (!part || (!part->mSprite && !part->mNestedPuppet)) {
            destroyPart(part);
            continue;
        }
        applyOpacity(*part);
        if (part->mSprite) {
            part->mSprite->setColor(mColour);
            part->mSprite->setTintColor(mTint);
            part->mSprite->setPosition(position);
            addChild(part->mSprite, partDef->mOrder);
        }
        if (part->mColorSprite)
            part->mColorSprite->setTintColor(mTint);
        mParts.push_back(part);
        if (part->mNestedPuppet) {
            part->mNestedPuppet->setPosition(position);
            addChild(part->mNestedPuppet, partDef->mOrder);
            part->mNestedPuppet->playAnimation(0, static_cast<float>(gRng.rand()), true,
                                               cDefaultBlend);
        }
    }
}
