#include "puppet/PuppetAnim.h"

PuppetAnim::PuppetAnim() = default;

PuppetAnim::~PuppetAnim() = default;

bool PuppetAnim::loadNodes(const XmlNode* root) {
    if (!root)
        return true;
    for (const XmlNode* child = root->first_node("node"); child;
         child = child->next_sibling("node")) {
        auto node = std::make_unique<PuppetAnimNode>();
        if (!node->load(child))
            continue;
        if (node->endTime() > mLength)
            mLength = node->endTime();
        mNodes.push_back(std::move(node));
    }
    return true;
}

void PuppetAnim::applyAtTime(int32_t nodeIndex, float t, PuppetKeyframe& out) const {
    if (nodeIndex < 0 || static_cast<size_t>(nodeIndex) >= mNodes.size())
        return;
    mNodes[static_cast<size_t>(nodeIndex)]->evaluate(t, out);
    if (out.mScaleX < 0.0f)
        out.mScaleX = 0.0f;
    if (out.mScaleY < 0.0f)
        out.mScaleY = 0.0f;
}
