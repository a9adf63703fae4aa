#include "platform/render/CCDrawing.h"

#include "platform/render/CCTexture2D.h"

#include <GLES/gl.h>
#include <GLES/glext.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace cocos2d {

namespace {

constexpr ccBlendFunc kDefaultBlend{};
constexpr ccBlendFunc kAdditiveBlend{GL_ONE, GL_ONE};

// How fragments get their colour.
enum class Mode {
    Plain, // texture x vertex colour (GL_MODULATE)
    Tint,  // the combiner below: plain quads and tint quads alike
    Fill,  // vertex colour alone, no texture
};

// The tint combiner. Unit 0 samples a 2 x 1 selector texture (white, then
// black) with its own coordinates: 1 for the quads of a sprite, 0 for the
// quads of a tint. Unit 1 samples the quad's texture and keeps its colour
// where the selector is 1 and its alpha, in every channel, where it is 0.
// Unit 2 multiplies by the vertex colour. A sprite's quad thus gets texture
// x colour, exactly as GL_MODULATE gives it, and a tint quad, whose colour is
// the premultiplied tint with alpha 0, gets tint x texture alpha with alpha
// 0: under (ONE, ONE_MINUS_SRC_ALPHA) that adds to what lies under it,
// exactly as an additive pass would.
constexpr ccTex2F kSelectSprite{0.25f, 0.5f};
constexpr ccTex2F kSelectTint{0.75f, 0.5f};

struct Matrix {
    GLfloat m[16];
};

// The product a x b of column-major 4 x 4 matrices, summed in the order GL
// implementations use, so the frame coordinates match what GL computed when
// it held the node's transform itself.
Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix p;
    for (int i = 0; i < 4; ++i) {
        const GLfloat ai0 = a.m[i], ai1 = a.m[4 + i], ai2 = a.m[8 + i], ai3 = a.m[12 + i];
        for (int j = 0; j < 4; ++j)
            p.m[j * 4 + i] = ai0 * b.m[j * 4] + ai1 * b.m[j * 4 + 1] + ai2 * b.m[j * 4 + 2] +
                             ai3 * b.m[j * 4 + 3];
    }
    return p;
}

Matrix identity() {
    return Matrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

// The vertex in clip coordinates, computed as GL's fixed-function vertex
// stage does (x M0, then y M1 added in one rounding, then the translation),
// so that identity matrices in GL reproduce it exactly.
inline ccVertex3F toClip(const Matrix& clip, const ccVertex3F& v) {
    const GLfloat* m = clip.m;
    const auto row = [&](int r) {
        const float xy = std::fma(v.y, m[4 + r], v.x * m[r]);
        return std::fma(v.z, m[8 + r], xy) + m[12 + r];
    };
    return ccVertex3F{row(0), row(1), row(2)};
}

// The quads' corners in drawing order (top-left, bottom-left, top-right,
// bottom-right) in clip coordinates, into out. Where the processor fuses
// multiply-adds, a clone of this uses the instruction instead of the
// library's fma; the results are the same to the bit.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("fma", "default")))
#endif
void transformQuads(const Matrix& clip, const ccV3F_C4B_T2F_Quad* quads, size_t count,
                    ccV3F_C4B_T2F* out) {
    for (size_t i = 0; i < count; ++i) {
        for (const ccV3F_C4B_T2F* v : {&quads[i].tl, &quads[i].bl, &quads[i].tr, &quads[i].br})
            *out++ = ccV3F_C4B_T2F{toClip(clip, v->vertices), v->colors, v->texCoords};
    }
}

class QuadBatcher {
public:
    void beginFrame(float width, float height) {
        mPending = Key{};
        mCount = 0;
        mSelectors.clear();
        mGLMode = Mode::Plain;
        mGLBlend = kDefaultBlend;
        mGLTexture = ~0u;
        mStats = {};
        // The projection of the view's pixels (origin bottom-left) as
        // glOrthof(0, width, 0, height, -1024, 1024) builds it; GL itself
        // keeps identity matrices.
        const GLfloat nearZ = -1024, farZ = 1024;
        Matrix ortho{};
        ortho.m[0] = 2.0f / (width - 0);
        ortho.m[5] = 2.0f / (height - 0);
        ortho.m[10] = -2.0f / (farZ - nearZ);
        ortho.m[12] = -(width + 0) / (width - 0);
        ortho.m[13] = -(height + 0) / (height - 0);
        ortho.m[14] = -(farZ + nearZ) / (farZ - nearZ);
        ortho.m[15] = 1;
        mProjection = ortho;
        mStack.assign(1, identity());
        mClipStack.assign(1, ortho);
        mClip = ortho;
        // Loading them again each frame would make the driver revalidate its
        // vertex stage; only a node's own drawing changes them, and it puts
        // them back.
        if (!mGLIdentity)
            loadIdentityMatrices();
    }

    void pushTransform(const CCAffineTransform& t, float scale) {
        const Matrix node{
            {t.a, t.b, 0, 0, t.c, t.d, 0, 0, 0, 0, 1, 0, t.tx * scale, t.ty * scale, 0, 1}};
        mStack.push_back(multiply(mStack.back(), node));
        mClip = multiply(mProjection, mStack.back());
        mClipStack.push_back(mClip);
    }

    void popTransform() {
        // The parent's clip transform as it was computed when it was pushed.
        if (mStack.size() > 1) {
            mStack.pop_back();
            mClipStack.pop_back();
        }
        mClip = mClipStack.back();
    }

    void flush() {
        if (mCount == 0)
            return;
        applyState(mPending);
        const auto* base = reinterpret_cast<const char*>(mVertices.data());
        constexpr GLsizei stride = sizeof(ccV3F_C4B_T2F);
        glVertexPointer(3, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, vertices));
        glColorPointer(4, GL_UNSIGNED_BYTE, stride, base + offsetof(ccV3F_C4B_T2F, colors));
        glTexCoordPointer(2, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, texCoords));
        if (mPending.mode == Mode::Tint) {
            glClientActiveTexture(GL_TEXTURE0);
            glTexCoordPointer(2, GL_FLOAT, 0, mSelectors.data());
            glClientActiveTexture(GL_TEXTURE1);
            glTexCoordPointer(2, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, texCoords));
            glClientActiveTexture(GL_TEXTURE0);
        }
        const size_t quads = mCount / 4;
        if (quads == 1) {
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        } else {
            growIndices(quads);
            glDrawElements(GL_TRIANGLES, GLsizei(quads * 6), GL_UNSIGNED_INT, mIndices.data());
        }
        ++mStats.drawCalls;
        mCount = 0;
        mSelectors.clear();
    }

    void add(CCTexture2D* texture, const ccV3F_C4B_T2F_Quad* quads, size_t count,
             const ccBlendFunc& blend, Mode mode, const ccTex2F& selector) {
        Key key{texture ? texture->getName() : 0u, blend, mode};
        if (!(key == mPending)) {
            // A plain run goes on under the tint combiner with the same
            // pixels, so a tint joins the run instead of breaking it.
            const bool joins = key.texture == mPending.texture && key.blend == mPending.blend &&
                               key.mode != Mode::Fill && mPending.mode != Mode::Fill;
            if (joins && key.mode == Mode::Tint && mPending.mode != Mode::Tint) {
                // The sprites already in the run get their selectors now.
                mSelectors.assign(mCount, kSelectSprite);
                mPending.mode = Mode::Tint;
            } else if (!joins) {
                flush();
            }
            if (!joins || mCount == 0)
                mPending = key;
        }
        const size_t added = count * 4;
        if (mCount + added > mVertices.size())
            mVertices.resize(std::max(mCount + added, mVertices.size() * 2));
        transformQuads(mClip, quads, count, mVertices.data() + mCount);
        mCount += added;
        // Only the tint combiner reads selectors.
        if (mPending.mode == Mode::Tint)
            mSelectors.insert(mSelectors.end(), added, selector);
        if (mCount >= kMaxVertices)
            flush();
    }

    // A rectangle filled with one colour, drawn at once (fills are few).
    void fill(const ccVertex3F (&corners)[4], const ccColor4F& color, const ccBlendFunc& blend) {
        flush();
        setMode(Mode::Fill);
        ++mStats.modeSwitches;
        ccVertex3F clip[4];
        for (int i = 0; i < 4; ++i)
            clip[i] = toClip(mClip, corners[i]);
        glColor4f(color.r, color.g, color.b, color.a);
        glBlendFunc(blend.src, blend.dst);
        glVertexPointer(3, GL_FLOAT, 0, clip);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        ++mStats.drawCalls;
        glColor4f(1, 1, 1, 1);
        glBlendFunc(kDefaultBlend.src, kDefaultBlend.dst);
        mGLBlend = kDefaultBlend;
    }

    // Back to the renderer's default state, which the next frame assumes.
    void endFrame() {
        flush();
        if (mGLMode != Mode::Plain)
            setMode(Mode::Plain);
        glBlendFunc(kDefaultBlend.src, kDefaultBlend.dst);
        mGLBlend = kDefaultBlend;
    }

    // Hands GL to a node's own drawing: what is pending drawn, the default
    // state back, the node's transform in GL's matrices.
    void beginCustom() {
        flush();
        if (mGLMode != Mode::Plain)
            setMode(Mode::Plain);
        glBlendFunc(kDefaultBlend.src, kDefaultBlend.dst);
        mGLBlend = kDefaultBlend;
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(mProjection.m);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(mStack.back().m);
        mGLIdentity = false;
    }

    // Takes GL back: identity matrices and the default state, with nothing
    // assumed about what the node left bound.
    void endCustom() {
        loadIdentityMatrices();
        glActiveTexture(GL_TEXTURE0);
        glClientActiveTexture(GL_TEXTURE0);
        ccApplyDefaultState();
        mGLMode = Mode::Plain;
        mGLBlend = kDefaultBlend;
        mGLTexture = ~0u;
    }

    const ccDrawStats& stats() const { return mStats; }
    void forgetObjects() {
        mSelector = 0;
        mGLIdentity = false;
    }

private:
    static constexpr size_t kMaxVertices = 1u << 20;

    struct Key {
        GLuint texture = 0;
        ccBlendFunc blend;
        Mode mode = Mode::Plain;
        bool operator==(const Key&) const = default;
    };

    void loadIdentityMatrices() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        mGLIdentity = true;
    }

    void growIndices(size_t quads) {
        for (size_t i = mIndices.size() / 6; i < quads; ++i) {
            const auto first = GLuint(i * 4);
            for (GLuint corner : {0u, 1u, 2u, 2u, 1u, 3u})
                mIndices.push_back(first + corner);
        }
    }

    void applyState(const Key& key) {
        if (key.mode != mGLMode) {
            setMode(key.mode);
            ++mStats.modeSwitches;
        }
        if (key.texture != mGLTexture || key.mode == Mode::Tint) {
            if (key.mode == Mode::Tint) {
                glActiveTexture(GL_TEXTURE1);
                glBindTexture(GL_TEXTURE_2D, key.texture);
                glActiveTexture(GL_TEXTURE0);
            } else if (key.mode == Mode::Plain) {
                glBindTexture(GL_TEXTURE_2D, key.texture);
            }
            mGLTexture = key.texture;
        }
        if (!(key.blend == mGLBlend)) {
            glBlendFunc(key.blend.src, key.blend.dst);
            mGLBlend = key.blend;
        }
    }

    void setMode(Mode mode) {
        // Leave the current mode.
        if (mGLMode == Mode::Tint) {
            for (GLenum unit : {GL_TEXTURE2, GL_TEXTURE1}) {
                glActiveTexture(unit);
                glDisable(GL_TEXTURE_2D);
                glClientActiveTexture(unit);
                glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            }
            glActiveTexture(GL_TEXTURE0);
            glClientActiveTexture(GL_TEXTURE0);
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        } else if (mGLMode == Mode::Fill) {
            glEnable(GL_TEXTURE_2D);
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glEnableClientState(GL_COLOR_ARRAY);
        }
        mGLTexture = ~0u;
        mGLMode = mode;
        if (mode == Mode::Fill) {
            glDisable(GL_TEXTURE_2D);
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            glDisableClientState(GL_COLOR_ARRAY);
        } else if (mode == Mode::Tint) {
            setUpTintCombiner();
        }
    }

    void setUpTintCombiner() {
        const GLuint selector = selectorTexture();
        const auto combine = [](GLenum rgb, GLenum alpha) {
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
            glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, rgb);
            glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, alpha);
        };
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, selector);
        combine(GL_REPLACE, GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_RGB, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_ALPHA, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);

        glActiveTexture(GL_TEXTURE1);
        glEnable(GL_TEXTURE_2D);
        combine(GL_INTERPOLATE, GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_RGB, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_SRC1_RGB, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_ALPHA);
        glTexEnvi(GL_TEXTURE_ENV, GL_SRC2_RGB, GL_PREVIOUS);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_ALPHA, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
        glClientActiveTexture(GL_TEXTURE1);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);

        glActiveTexture(GL_TEXTURE2);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, selector);
        combine(GL_MODULATE, GL_MODULATE);
        for (GLenum source : {GL_SRC0_RGB, GL_SRC0_ALPHA})
            glTexEnvi(GL_TEXTURE_ENV, source, GL_PRIMARY_COLOR);
        for (GLenum source : {GL_SRC1_RGB, GL_SRC1_ALPHA})
            glTexEnvi(GL_TEXTURE_ENV, source, GL_PREVIOUS);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_ALPHA, GL_SRC_ALPHA);
        glClientActiveTexture(GL_TEXTURE2);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glClientActiveTexture(GL_TEXTURE0);
        glActiveTexture(GL_TEXTURE0);
    }

    // The 2 x 1 selector, made in the current context on first use.
    GLuint selectorTexture() {
        if (mSelector != 0)
            return mSelector;
        const GLubyte texels[8] = {255, 255, 255, 255, 0, 0, 0, 0};
        glGenTextures(1, &mSelector);
        glBindTexture(GL_TEXTURE_2D, mSelector);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        return mSelector;
    }

    Key mPending;
    // The pending vertices are the first mCount; the vector only grows, so
    // appending is a plain write.
    std::vector<ccV3F_C4B_T2F> mVertices;
    size_t mCount = 0;
    std::vector<ccTex2F> mSelectors;
    std::vector<GLuint> mIndices;
    Matrix mProjection{};
    std::vector<Matrix> mStack;
    std::vector<Matrix> mClipStack; // mProjection x each of mStack
    Matrix mClip{};
    Mode mGLMode = Mode::Plain;
    bool mGLIdentity = false; // GL's projection and model-view are identity
    ccBlendFunc mGLBlend;
    GLuint mGLTexture = ~0u;
    GLuint mSelector = 0;
    ccDrawStats mStats;
};

QuadBatcher& batcher() {
    static QuadBatcher instance;
    return instance;
}

} // namespace

void ccApplyDefaultState() {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glBlendFunc(kDefaultBlend.src, kDefaultBlend.dst);
    glColor4f(1, 1, 1, 1);
}

ccColor4B ccPremultiplied(const ccColor3B& color, uint8_t opacity) {
    const auto scale = [opacity](uint8_t c) { return uint8_t((c * opacity + 127) / 255); };
    return ccc4(scale(color.r), scale(color.g), scale(color.b), opacity);
}

void ccBeginDrawFrame(float width, float height) {
    batcher().beginFrame(width, height);
}

void ccEndDrawFrame() {
    batcher().endFrame();
}

ccDrawStats ccGetDrawStats() {
    return batcher().stats();
}

void ccPushNodeTransform(const CCAffineTransform& nodeToParent, float contentScale) {
    batcher().pushTransform(nodeToParent, contentScale);
}

void ccPopNodeTransform() {
    batcher().popTransform();
}

void ccFlushQuads() {
    batcher().flush();
}

ccCustomGLDraw::ccCustomGLDraw() {
    batcher().beginCustom();
}

ccCustomGLDraw::~ccCustomGLDraw() {
    batcher().endCustom();
}

void ccForgetDrawingObjects() {
    batcher().forgetObjects();
}

void ccDrawQuads(CCTexture2D* texture, const ccV3F_C4B_T2F_Quad* quads, size_t count,
                 const ccBlendFunc& blend) {
    if (count == 0)
        return;
    batcher().add(texture, quads, count, blend, Mode::Plain, kSelectSprite);
}

void ccDrawTintedQuad(CCTexture2D* texture, const ccV3F_C4B_T2F_Quad& quad,
                      const ccBlendFunc& blend, const ccColor3B& tint, uint8_t opacity) {
    QuadBatcher& b = batcher();
    if (tint == ccBLACK || opacity == 0) {
        b.add(texture, &quad, 1, blend, Mode::Plain, kSelectSprite);
        return;
    }
    ccV3F_C4B_T2F_Quad tinted = quad;
    ccColor4B color = ccPremultiplied(tint, opacity);
    color.a = 0;
    for (ccV3F_C4B_T2F* v : {&tinted.tl, &tinted.bl, &tinted.tr, &tinted.br})
        v->colors = color;
    // The tint adds: under the default blend its alpha of 0 makes it so;
    // under another blend it goes in a run of its own, added.
    const ccBlendFunc tintBlend = blend == kDefaultBlend ? blend : kAdditiveBlend;
    b.add(texture, &quad, 1, blend, Mode::Tint, kSelectSprite);
    b.add(texture, &tinted, 1, tintBlend, Mode::Tint, kSelectTint);
}

void ccFillQuad(float x0, float y0, float x1, float y1, const ccColor4F& color,
                const ccBlendFunc& blend) {
    const ccVertex3F corners[4] = {{x0, y1, 0}, {x0, y0, 0}, {x1, y1, 0}, {x1, y0, 0}};
    batcher().fill(corners, color, blend);
}

} // namespace cocos2d
