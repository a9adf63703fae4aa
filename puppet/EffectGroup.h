#pragma once

// Effect groups: named, data-driven bundles of particle systems and puppets
// spawned together at one point (an action's impact, an animation tag).
// A group is read once from "data/<name>.EffectGroup" into one process-wide
// registry and addressed by index from then on. Children of the root:
// "Particle" (a "Filename", optional "OffsetX" and "OffsetY") and "Puppet"
// (a "Filename" of a puppet, loaded at once); other elements are ignored.
// Main thread only.

#include "content/XMLHelper.h"
#include "platform/engine/CCGeometry.h"
#include "platform/engine/ccTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cocos2d {
class CCNode;
}

class EffectGroup {
public:
    enum Kind : int32_t { cParticle = 0, cPuppet = 1 };

    struct Entry {
        int32_t mKind = cParticle;
        int32_t mPuppet = -1;     // PuppetRegistry index; -1 when the puppet failed
        std::string mFilename;    // particle system file
        cocos2d::CCPoint mOffset; // added to a particle system's position
    };

    // The group's registry index, reading its file on first use; -1 when
    // the file cannot be read (not remembered: a later call tries again).
    static int32_t load(std::string_view name);
    // The group of an index, or null.
    static EffectGroup* get(int32_t index);
    // Adds the entries of the root's children; always true.
    bool parse(const XmlNode* root);
    // Adds the group's effects to parent at position and zOrder: particles at
    // once (with their offsets), puppets hidden until the delay has passed,
    // then playing "Ability" (with ability) or "Play" once and holding their
    // last pose. Nothing without a group or a parent.
    static void spawn(const EffectGroup* group, cocos2d::CCNode* parent,
                      const cocos2d::CCPoint& position, int zOrder, float delay, bool ability,
                      const cocos2d::ccColor3B& colour);
    // Deletes every group and forgets every name.
    static void clearRegistry();
    static void destroy(EffectGroup* group);

    std::vector<Entry> mEntries; // in file order
};
