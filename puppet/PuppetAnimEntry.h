#pragma once

// What a puppet plays for one animation state: an animation of the registry
// and the timed tags of this puppet's "Anim" element, in file order.

#include "content/XMLHelper.h"
#include "puppet/PuppetTag.h"

#include <cstdint>
#include <memory>
#include <vector>

class PuppetAnimEntry {
public:
    PuppetAnimEntry();
    virtual ~PuppetAnimEntry();

    // Reads an "Anim" element: loads the animation its "name" names and keeps
    // its usable "Tag" children. False without a "name" or when the animation
    // cannot be loaded.
    bool loadTags(const XmlNode* element);

    // Appends the tags of that type, in order; out is not cleared.
    void getTagsOfType(int32_t type, std::vector<const PuppetTag*>& out) const;
    // Appends the tags whose Time lies in [from, to), in order; when from > to
    // the window has wrapped past the end of the animation and takes the times
    // from `from` on and those before `to`. out is not cleared.
    void collectTagsInWindow(float from, float to, std::vector<const PuppetTag*>& out) const;

    int32_t mAnim = -1; // PuppetRegistry::loadAnim
    std::vector<std::unique_ptr<PuppetTag>> mTags;
};
