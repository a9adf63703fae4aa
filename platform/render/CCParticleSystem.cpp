#include "platform/render/CCParticleSystem.h"

#include "platform/engine/CCFileUtils.h"
#include "platform/render/CCTexture2D.h"
#include "platform/render/CCTextureCache.h"

#include <GLES/gl.h>
#include <rapidxml/rapidxml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

namespace cocos2d {

namespace {

// A soft white dot, for systems whose texture is missing.
CCTexture2D* defaultTexture() {
    static CCTexture2D* dot = [] {
        constexpr int kSize = 32;
        std::vector<uint8_t> pixels(kSize * kSize * 4);
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                const float dx = (float(x) + 0.5f) / kSize * 2 - 1;
                const float dy = (float(y) + 0.5f) / kSize * 2 - 1;
                const float fade = std::clamp(1.0f - std::sqrt(dx * dx + dy * dy), 0.0f, 1.0f);
                uint8_t* p = &pixels[size_t(y * kSize + x) * 4];
                p[0] = p[1] = p[2] = 255;
                p[3] = uint8_t(fade * fade * 255);
            }
        }
        auto* texture = new CCTexture2D();
        texture->initWithData(pixels, kSize, kSize);
        return texture;
    }();
    return dot;
}

// The dictionary of a property list: key to value text ("true"/"false" for
// the boolean elements).
std::map<std::string, std::string> readDictionary(std::string text) {
    std::map<std::string, std::string> values;
    rapidxml::xml_document<> document;
    try {
        document.parse<0>(text.data());
    } catch (const rapidxml::parse_error&) {
        return values;
    }
    rapidxml::xml_node<>* plist = document.first_node("plist");
    rapidxml::xml_node<>* dict = plist ? plist->first_node("dict") : nullptr;
    if (!dict)
        return values;
    for (rapidxml::xml_node<>* key = dict->first_node("key"); key; key = key->next_sibling("key")) {
        rapidxml::xml_node<>* value = key->next_sibling();
        if (!value)
            break;
        const std::string kind(value->name(), value->name_size());
        const std::string name(key->value(), key->value_size());
        if (kind == "true" || kind == "false")
            values[name] = kind;
        else
            values[name] = std::string(value->value(), value->value_size());
    }
    return values;
}

class Properties {
public:
    explicit Properties(std::map<std::string, std::string> values) : mValues(std::move(values)) {}
    float number(const char* key, float fallback = 0.0f) const {
        const auto found = mValues.find(key);
        if (found == mValues.end())
            return fallback;
        try {
            return std::stof(found->second);
        } catch (...) {
            return fallback;
        }
    }
    std::string text(const char* key) const {
        const auto found = mValues.find(key);
        return found == mValues.end() ? std::string() : found->second;
    }
    ccColor4F color(const std::string& prefix) const {
        return ccColor4F{number((prefix + "Red").c_str()), number((prefix + "Green").c_str()),
                         number((prefix + "Blue").c_str()), number((prefix + "Alpha").c_str())};
    }
    bool empty() const { return mValues.empty(); }

private:
    std::map<std::string, std::string> mValues;
};

float radians(float degrees) {
    return degrees * std::numbers::pi_v<float> / 180.0f;
}

uint32_t nextSeed() {
    static uint32_t seed = 5489u;
    return seed++;
}

} // namespace

CCParticleSystem::CCParticleSystem() : mRandom(nextSeed()) {
    setAnchorPoint(CCPoint(0.5f, 0.5f));
}

void CCParticleSystem::onEnter() {
    CCNode::onEnter();
    scheduleUpdateWithPriority(1);
}

void CCParticleSystem::onExit() {
    unscheduleUpdate();
    CCNode::onExit();
}

CCParticleSystem::~CCParticleSystem() {
    ccSafeRelease(mTexture);
}

bool CCParticleSystem::initWithFile(const std::string& file) {
    std::ifstream in(CCFileUtils::fullPathFromRelativePath(file), std::ios::binary);
    std::stringstream text;
    if (in)
        text << in.rdbuf();
    const size_t slash = file.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "" : file.substr(0, slash + 1);
    mFailed = true; // until the text reads
    if (!in || !initWithText(text.str(), folder)) {
        std::printf("Particle file failed to load: %s\n", file.c_str());
        return false;
    }
    return true;
}

bool CCParticleSystem::initWithText(const std::string& text, const std::string& folder) {
    const Properties p(readDictionary(text));
    mParticles.clear();
    mTotalParticles = std::max(0, int(p.number("maxParticles")));
    if (p.empty() || mTotalParticles == 0) {
        mFailed = true;
        mIsActive = false;
        return false;
    }
    mFailed = false;
    mDuration = p.number("duration", -1);
    mEmitterMode = int(p.number("emitterType"));
    mAngle = p.number("angle");
    mAngleVar = p.number("angleVariance");
    mLife = p.number("particleLifespan");
    mLifeVar = p.number("particleLifespanVariance");
    mStartSize = p.number("startParticleSize");
    mStartSizeVar = p.number("startParticleSizeVariance");
    mEndSize = p.number("finishParticleSize", -1);
    mEndSizeVar = p.number("finishParticleSizeVariance");
    mStartSpin = p.number("rotationStart");
    mStartSpinVar = p.number("rotationStartVariance");
    mEndSpin = p.number("rotationEnd");
    mEndSpinVar = p.number("rotationEndVariance");
    mStartColor = p.color("startColor");
    mStartColorVar = p.color("startColorVariance");
    mEndColor = p.color("finishColor");
    mEndColorVar = p.color("finishColorVariance");
    mSourcePosition = CCPoint(p.number("sourcePositionx"), p.number("sourcePositiony"));
    mPosVar = CCPoint(p.number("sourcePositionVariancex"), p.number("sourcePositionVariancey"));
    mGravity = CCPoint(p.number("gravityx"), p.number("gravityy"));
    mSpeed = p.number("speed");
    mSpeedVar = p.number("speedVariance");
    mRadialAccel = p.number("radialAcceleration");
    mRadialAccelVar = p.number("radialAccelVariance");
    mTangentialAccel = p.number("tangentialAcceleration");
    mTangentialAccelVar = p.number("tangentialAccelVariance");
    mStartRadius = p.number("maxRadius");
    mStartRadiusVar = p.number("maxRadiusVariance");
    mEndRadius = p.number("minRadius");
    mRotatePerSecond = p.number("rotatePerSecond");
    mRotatePerSecondVar = p.number("rotatePerSecondVariance");
    mBlendFunc.src = uint32_t(p.number("blendFuncSource", GL_ONE));
    mBlendFunc.dst = uint32_t(p.number("blendFuncDestination", GL_ONE_MINUS_SRC_ALPHA));
    mEmissionRate = p.number("emissionRate", mLife > 0 ? float(mTotalParticles) / mLife : 0);
    mParticles.reserve(size_t(mTotalParticles));

    CCTexture2D* texture = nullptr;
    const std::string textureName = p.text("textureFileName");
    if (!textureName.empty())
        texture = CCTextureCache::sharedTextureCache()->addImage(folder + textureName);
    setTexture(texture ? texture : defaultTexture());
    resetSystem();
    return true;
}

void CCParticleSystem::setTexture(CCTexture2D* texture) {
    if (texture)
        texture->retain();
    ccSafeRelease(mTexture);
    mTexture = texture;
}

void CCParticleSystem::stopSystem() {
    mIsActive = false;
    mElapsed = mDuration;
    mEmitCounter = 0;
}

void CCParticleSystem::resetSystem() {
    mIsActive = !mFailed;
    mElapsed = 0;
    mEmitCounter = 0;
    mParticles.clear();
}

float CCParticleSystem::random11() {
    return std::uniform_real_distribution<float>(-1.0f, 1.0f)(mRandom);
}

void CCParticleSystem::emitParticle() {
    Particle p;
    p.timeToLive = std::max(0.0f, mLife + mLifeVar * random11());
    p.pos = CCPoint(mSourcePosition.x + mPosVar.x * random11(),
                    mSourcePosition.y + mPosVar.y * random11());
    const auto vary = [this](const ccColor4F& c, const ccColor4F& v) {
        return ccColor4F{std::clamp(c.r + v.r * random11(), 0.0f, 1.0f),
                         std::clamp(c.g + v.g * random11(), 0.0f, 1.0f),
                         std::clamp(c.b + v.b * random11(), 0.0f, 1.0f),
                         std::clamp(c.a + v.a * random11(), 0.0f, 1.0f)};
    };
    const ccColor4F start = vary(mStartColor, mStartColorVar);
    const ccColor4F end = vary(mEndColor, mEndColorVar);
    p.color = start;
    const float life = std::max(p.timeToLive, 1e-6f);
    p.deltaColor = ccColor4F{(end.r - start.r) / life, (end.g - start.g) / life,
                             (end.b - start.b) / life, (end.a - start.a) / life};
    p.size = std::max(0.0f, mStartSize + mStartSizeVar * random11());
    if (mEndSize >= 0) {
        const float endSize = std::max(0.0f, mEndSize + mEndSizeVar * random11());
        p.deltaSize = (endSize - p.size) / life;
    }
    p.rotation = mStartSpin + mStartSpinVar * random11();
    p.deltaRotation = (mEndSpin + mEndSpinVar * random11() - p.rotation) / life;
    p.startPos = convertToWorldSpace(CCPointZero);
    const float angle = radians(mAngle + mAngleVar * random11());
    if (mEmitterMode == 0) {
        const float speed = mSpeed + mSpeedVar * random11();
        p.dir = CCPoint(std::cos(angle) * speed, std::sin(angle) * speed);
        p.radialAccel = mRadialAccel + mRadialAccelVar * random11();
        p.tangentialAccel = mTangentialAccel + mTangentialAccelVar * random11();
    } else {
        const float startRadius = mStartRadius + mStartRadiusVar * random11();
        const float endRadius = mEndRadius + mEndRadiusVar * random11();
        p.radius = startRadius;
        p.deltaRadius = (endRadius - startRadius) / life;
        p.angle = angle;
        p.degreesPerSecond = radians(mRotatePerSecond + mRotatePerSecondVar * random11());
    }
    mParticles.push_back(p);
}

void CCParticleSystem::advance(Particle& p, float dt) {
    if (mEmitterMode == 0) {
        const CCPoint offset = ccpSub(p.pos, mSourcePosition);
        const float length = ccpLength(offset);
        const CCPoint radial = length > 0 ? ccpMult(offset, 1.0f / length) : CCPointZero;
        const CCPoint tangential(-radial.y, radial.x);
        const CCPoint accel =
            ccpAdd(ccpAdd(ccpMult(radial, p.radialAccel), ccpMult(tangential, p.tangentialAccel)),
                   mGravity);
        p.dir = ccpAdd(p.dir, ccpMult(accel, dt));
        p.pos = ccpAdd(p.pos, ccpMult(p.dir, dt));
    } else {
        p.angle += p.degreesPerSecond * dt;
        p.radius += p.deltaRadius * dt;
        p.pos = CCPoint(mSourcePosition.x - std::cos(p.angle) * p.radius,
                        mSourcePosition.y - std::sin(p.angle) * p.radius);
    }
    p.color.r += p.deltaColor.r * dt;
    p.color.g += p.deltaColor.g * dt;
    p.color.b += p.deltaColor.b * dt;
    p.color.a += p.deltaColor.a * dt;
    p.size = std::max(0.0f, p.size + p.deltaSize * dt);
    p.rotation += p.deltaRotation * dt;
}

void CCParticleSystem::update(ccTime dt) {
    if (mIsActive && mEmissionRate > 0) {
        const float rate = 1.0f / mEmissionRate;
        mEmitCounter += dt;
        while (!isFull() && mEmitCounter > rate) {
            emitParticle();
            mEmitCounter -= rate;
        }
        if (isFull())
            mEmitCounter = std::min(mEmitCounter, rate);
        mElapsed += dt;
        if (mDuration >= 0 && mElapsed > mDuration)
            stopSystem();
    }
    for (size_t i = 0; i < mParticles.size();) {
        Particle& p = mParticles[i];
        p.timeToLive -= dt;
        if (p.timeToLive > 0) {
            advance(p, dt);
            ++i;
        } else {
            p = mParticles.back();
            mParticles.pop_back();
        }
    }
    if (!mIsActive && mParticles.empty() && (mIsAutoRemoveOnFinish || mFailed)) {
        unscheduleUpdate();
        removeFromParentAndCleanup(true);
    }
}

} // namespace cocos2d
