#pragma once
// The fixed-function state every scene relies on, and the helpers through which all drawing
// code changes it; each helper stands for one policy so the same decision always looks the same.
#include "render/math.h"

// The matrix stacks selectMatrix can make current; any other value changes nothing.
enum MatrixTarget : int { TextureMatrix = 0, ModelViewMatrix = 1, ProjectionMatrix = 2 };

// Sets the resting state once the rendering context is current, before anything is drawn:
// lights at the eye, the 4:3 frustum (near 0.6, far 1900), the initial view and additive blending.
void initRenderState();

void setLighting(bool on);
void setCulling(bool on);
void setBlending(bool on);
void setDepthTest(bool on);
void setDepthWrite(bool on);

// Glows, halos and backgrounds.
void blendAdditive();
// Ordinary transparency.
void blendAlpha();

// Environment mapping: on enables both texture-coordinate generators in sphere-map mode; off
// disables them only, so meshes use their own texture coordinates again.
void setSphereMap(bool on);

void selectMatrix(int target);
void loadIdentity();
void pushMatrix();
void popMatrix();
void translate(const Vec3& v);
void scaleUniform(float s);
void scale(const Vec3& v);
void rotate(const Vec3& axis, float degrees);

void setColour3(const Vec3& rgb);
void setColour4(const Vec3& rgb, float alpha);
void setWhite();
void setSpecular(const Vec3& rgb);
void setShininess(float s);

void vertex(const Vec3& v);
void texCoord(const float* uv);
