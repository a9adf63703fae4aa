#pragma once

// One animation file: the key-framed tracks that move a puppet's bones, loaded
// once by name through PuppetRegistry::loadAnim, which owns it. Puppet
// definitions refer to it by index from their animation entries; a live
// puppet evaluates the node of each part's bone every frame. Immutable after
// loading; evaluation only reads.

#include "content/XMLHelper.h"
#include "puppet/PuppetAnimNode.h"

#include <cstdint>
#include <memory>
#include <vector>

class PuppetAnim {
public:
    PuppetAnim();
    virtual ~PuppetAnim();

    // Loads every "node" child of the root in order, skipping those that
    // fail, and sets the length; true for any root.
    bool loadNodes(const XmlNode* root);

    // Evaluates node nodeIndex at t seconds into out, a negative scale raised
    // to 0; out stays as it was when there is no such node.
    void applyAtTime(int32_t nodeIndex, float t, PuppetKeyframe& out) const;

    std::vector<std::unique_ptr<PuppetAnimNode>> mNodes; // in file order
    float mLength = 0.0f; // seconds: the latest last frame of its nodes
};
