#pragma once

// A puppet definition: which parts a puppet has (each hangs an attachment on a
// bone), which animation with which tags plays for each animation state, and
// its size, corner offset and scale. Loaded once per puppet file by
// PuppetRegistry::loadPuppet, which owns it; live puppets only read it.
//
// The file's root children are walked twice: first its "Attachments" are
// registered, so that parts anywhere in the file may name them, then the
// "Part", "Anim" and size elements are read in document order. Element and
// attribute names are matched exactly, "type" values without regard to case;
// unusable children are skipped silently.

#include "content/XMLHelper.h"
#include "puppet/AnimState.h"
#include "puppet/PuppetAnimEntry.h"
#include "puppet/PuppetReplacement.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class PuppetAnim;

// One "Part" element.
class PuppetPartDef {
public:
    PuppetPartDef();
    virtual ~PuppetPartDef();

    // The attachment the part shows for a puppet's active replacement
    // categories: that of the first pair, in file order, whose category is
    // active (possibly -1: nothing), else the default attachment.
    int32_t pickAttachment(const std::vector<int32_t>& activeCategories) const;

    int32_t mBone = -1;              // PuppetRegistry::boneIndex
    int32_t mDefaultAttachment = -1; // PuppetRegistry::loadAttachment; -1 none
    PuppetReplacements mReplacements;
    int32_t mOrder = 0; // parts of the file loaded before this one
};

class PuppetDefinition {
public:
    PuppetDefinition();
    virtual ~PuppetDefinition();

    // Reads a puppet file's root element (never null); always true.
    bool load(const XmlNode* root);

    // The animation the puppet plays for an animation state; null for a state
    // outside 0..51, a state without an entry or an entry whose animation the
    // registry does not hold.
    const PuppetAnim* getAnimForState(int32_t state) const;

    // Entry k plays for animation state k; null: no animation for it.
    std::array<std::unique_ptr<PuppetAnimEntry>, cAnimStateCount> mAnimEntries;
    // Positions 0..25 are the part slots (null: none); parts whose "type" names
    // no slot follow in file order.
    std::vector<std::unique_ptr<PuppetPartDef>> mParts;
    float mSizeX = 0.0f; // half the file's value, as every user reads it
    float mSizeY = 0.0f;
    float mCornerOffsetX = 0.0f; // half the file's value
    float mCornerOffsetY = 0.0f;
    float mScaleX = 1.0f; // as written
    float mScaleY = 1.0f;

private:
    void loadAttachments(const XmlNode* attachments);
    void loadPart(const XmlNode* element, int32_t& partsLoaded);
    void loadAnim(const XmlNode* element);
};
