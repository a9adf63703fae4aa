#include "puppet/PuppetAnim.h"

PuppetAnim::PuppetAnim() = default;

PuppetAnim::~PuppetAnim() = default;

bool PuppetAnim::loadNodes(const XmlNode*) {
    return true;
}
