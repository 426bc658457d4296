#pragma once
// The look-at camera. Both forms multiply onto the current modelview matrix; callers load the
// identity first.
#include "render/math.h"

// Eye at `position`, looking along `viewDir`: for everything that lives in the world.
void lookFromCamera(const Vec3& position, const Vec3& viewDir, const Vec3& up);

// The camera's rotation without its translation, for a background that stays at infinity.
void lookFromOrigin(const Vec3& viewDir, const Vec3& up);
